// Opens a rendered report page in headless Chromium and checks that the
// screenshot shows something. Skipped where Chromium is missing or cannot start.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/scroll_container.h"
#include "orbe/widgets/vlist.h"
#include "support/browser_shot.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    char pattern[] = "/tmp/orbe_snapshot_XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
};

// The report window's stack: a list, a bar chart and a label.
struct ReportPage {
  ScrollContainer container;
  ReportPage() {
    container.Create(nullptr, RECT{0, 0, kWidth, kHeight}, 1, WS_VISIBLE);
    container.SetTitle("\xd6\xf7\xd2\xaa\xd6\xb8\xb1\xea", RGB(0, 0, 0), 30);              // 主要指标
    const int list_id = container.AddWnd("\xc3\xbf\xb9\xc9\xca\xd5\xd2\xe6", 0, 22, 120);  // 每股收益
    const int chart_id = container.AddWnd("chart", 1, 22, 260);
    const int label_id = container.AddWnd("note", 3, 22, 60);
    VList& list = *container.GetList(list_id);
    VListHead period, eps;
    period.title = "period";
    period.width = 120;
    eps.title = "eps";
    eps.data_kind = 1;
    eps.width = 120;
    list.SetHead({period, eps});
    const char* periods[] = {"2021", "2022", "2023"};
    for (int i = 0; i < 3; ++i) {
      list.AddRow();
      list.SetValue(i, 0, orbe::ListValue::Text(periods[i]));
      list.SetValue(i, 1, orbe::ListValue::Number(1.25 * (i + 1)));
    }
    CChartBarCtrl& chart = *container.GetChartBar(chart_id);
    chart.SetTitle("eps");
    chart.SetLeftMinMax(0, 5);
    for (int i = 0; i < 3; ++i) chart.AddBar(i, 1.25 * (i + 1), periods[i], CLR_NONE, i == 2);
    container.GetLabel(label_id)->SetText("\xd7\xa2\xa3\xba\xca\xfd\xbe\xdd\xc0\xb4\xd4\xb4", RGB(255, 0, 0));
  }
};

TEST(BrowserSnapshot, ReportPageRendersToANonBlankScreenshot) {
  if (!std::filesystem::exists(orbe_test::kChromium)) GTEST_SKIP() << "chromium is not installed";
  TempDir dir;
  ReportPage page;
  const std::string html = (dir.path / "report.html").string();
  const std::string png = (dir.path / "shot.png").string();
  ASSERT_TRUE(orbe::SaveWindowHtml(page.container, html));
  const int status = orbe_test::ChromiumScreenshot(html, png, kWidth, kHeight, dir.path.string());
  const auto bytes = orbe::ReadWholeFile(png);
  if (!bytes || bytes->empty()) {
    GTEST_SKIP() << "chromium could not take a screenshot (status " << status << ")";
  }
  const auto image = orbe_test::DecodePng(*bytes);
  ASSERT_TRUE(image.has_value()) << "not a PNG this test can read";
  EXPECT_EQ(image->width, kWidth);
  EXPECT_EQ(image->height, kHeight);
  EXPECT_GT(orbe_test::DistinctColours(*image), 2u);  // more than a background and one more colour
}

TEST(BrowserSnapshot, DecoderSeesABlankImageAsBlank) {
  // A 2x2 white RGB image, rows filtered "none": the check above must be able to fail.
  std::string raw;
  for (int y = 0; y < 2; ++y) raw += std::string("\0\xff\xff\xff\xff\xff\xff", 7);
  const std::string idat = orbe::Compress(raw);
  const auto chunk = [](const std::string& type, const std::string& data) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((data.size() >> shift) & 0xFF);
    return out + type + data + std::string(4, '\0');  // the reader does not check CRCs
  };
  const std::string ihdr("\0\0\0\x02\0\0\0\x02\x08\x02\0\0\0", 13);
  const std::string png =
      std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", idat) + chunk("IEND", "");
  const auto image = orbe_test::DecodePng(png);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(orbe_test::DistinctColours(*image), 1u);
  EXPECT_FALSE(orbe_test::DecodePng("not a png").has_value());
}

}  // namespace
