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

namespace {

constexpr const char kChromium[] = "/usr/bin/chromium";
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

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<std::uint8_t> pixels;  // rows of width * channels bytes
};

int Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// An 8-bit RGB or RGBA PNG without interlacing, which is what Chromium writes.
std::optional<Image> DecodePng(const std::string& png) {
  if (png.size() < 33 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return std::nullopt;
  Image image;
  std::string compressed;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = BigEndian32(png, at);
    const std::string type = png.substr(at + 4, 4);
    if (at + 12 + length > png.size()) return std::nullopt;
    if (type == "IHDR") {
      image.width = static_cast<int>(BigEndian32(png, at + 8));
      image.height = static_cast<int>(BigEndian32(png, at + 12));
      const int depth = png[at + 16], color = png[at + 17], interlace = png[at + 20];
      if (depth != 8 || (color != 2 && color != 6) || interlace != 0) return std::nullopt;
      image.channels = color == 6 ? 4 : 3;
    } else if (type == "IDAT") {
      compressed += png.substr(at + 8, length);
    }
    at += 12 + length;
  }
  if (image.width <= 0 || image.height <= 0 || image.width > 10000 || image.height > 10000)
    return std::nullopt;
  const std::size_t stride = static_cast<std::size_t>(image.width) * image.channels;
  const auto raw = orbe::Uncompress(compressed, (stride + 1) * image.height);
  if (!raw || raw->size() != (stride + 1) * image.height) return std::nullopt;
  image.pixels.resize(stride * image.height);
  for (int y = 0; y < image.height; ++y) {
    const auto filter = static_cast<unsigned char>((*raw)[y * (stride + 1)]);
    for (std::size_t x = 0; x < stride; ++x) {
      const int in = static_cast<unsigned char>((*raw)[y * (stride + 1) + 1 + x]);
      const int a =
          x >= static_cast<std::size_t>(image.channels) ? image.pixels[y * stride + x - image.channels] : 0;
      const int b = y > 0 ? image.pixels[(y - 1) * stride + x] : 0;
      const int c = y > 0 && x >= static_cast<std::size_t>(image.channels)
                        ? image.pixels[(y - 1) * stride + x - image.channels]
                        : 0;
      const int predictors[] = {0, a, b, (a + b) / 2, Paeth(a, b, c)};
      if (filter > 4) return std::nullopt;
      image.pixels[y * stride + x] = static_cast<std::uint8_t>(in + predictors[filter]);
    }
  }
  return image;
}

std::size_t DistinctColours(const Image& image) {
  std::vector<std::uint32_t> colours;
  for (std::size_t at = 0; at + 3 <= image.pixels.size(); at += image.channels) {
    const std::uint32_t rgb = image.pixels[at] << 16 | image.pixels[at + 1] << 8 | image.pixels[at + 2];
    if (std::find(colours.begin(), colours.end(), rgb) == colours.end()) colours.push_back(rgb);
    if (colours.size() > 16) break;
  }
  return colours.size();
}

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
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "chromium is not installed";
  TempDir dir;
  ReportPage page;
  const std::string html = (dir.path / "report.html").string();
  const std::string png = (dir.path / "shot.png").string();
  ASSERT_TRUE(orbe::SaveWindowHtml(page.container, html));
  // A fresh profile in the temp dir; no network use of its own; a hard
  // time limit so that a hanging browser cannot hold the suite.
  const std::string command = std::string("timeout -k 5 25 ") + kChromium +
                              " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                              " --disable-background-networking --disable-component-update --disable-sync"
                              " --user-data-dir=" +
                              (dir.path / "profile").string() + " --screenshot=" + png +
                              " --window-size=" + std::to_string(kWidth) + "," + std::to_string(kHeight) +
                              " file://" + html + " >" + (dir.path / "log").string() + " 2>&1";
  const int status = std::system(command.c_str());
  const auto bytes = orbe::ReadWholeFile(png);
  if (!bytes || bytes->empty()) {
    GTEST_SKIP() << "chromium could not take a screenshot (status " << status << ")";
  }
  const auto image = DecodePng(*bytes);
  ASSERT_TRUE(image.has_value()) << "not a PNG this test can read";
  EXPECT_EQ(image->width, kWidth);
  EXPECT_EQ(image->height, kHeight);
  EXPECT_GT(DistinctColours(*image), 2u);  // more than a background and one more colour
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
  const auto image = DecodePng(png);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(DistinctColours(*image), 1u);
  EXPECT_FALSE(DecodePng("not a png").has_value());
}

}  // namespace
