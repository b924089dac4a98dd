// Script container windows over the real engine, cache and orbe-dataserver
// (one server for the program): replies of a script that was reloaded, files
// fetched from the service's file root, and the company overview page filled
// by its requests, whose HTML shows what the database holds.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dataservice/transfer_server.h"
#include "orbe/env.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/f10_fun.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/kvx_container.h"
#include "orbe/widgets/switch_ex.h"
#include "script/script_server_environment.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

constexpr int kWait = 20000;

const bool kWithRealComponents = orbe_test::RunWithRealComponents("orbe_container_components");

using ServerEnvironment = orbe_test::ScriptServerEnvironment;
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment("container", kWithRealComponents));

using Database = orbe_test::ServerDatabase;

class Host : public IF10MessageNotify {
 public:
  std::vector<std::string> told;  // "name value", UTF-8
  void OnContainerMessage(const std::string&, const std::string&, const std::string& name,
                          const std::string& value) override {
    told.push_back(orbe::GbkToUtf8(name + " " + value));
  }
  std::string OnContainerQuery(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
    return "";
  }
  bool Heard(const std::string& line) const { return std::find(told.begin(), told.end(), line) != told.end(); }
};

class ContainerE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent_.Create(nullptr, RECT{0, 0, 1000, 800}, 1, WS_VISIBLE));
    window_ = CreateF10Wnd(&parent_, 0, 100, 0);
    ASSERT_NE(window_, nullptr);
    window_->SetMessageNotify(&host_);
    window_->MoveF10Wnd(0, 0, 1000, 720, 0);
  }
  void TearDown() override {
    DestroyF10Wnd(window_);
    orbe::RunUntilIdle();
  }
  std::string Write(const std::string& name, const std::string& source) {
    const std::string path = ServerEnvironment::Folder() + "scripts/" + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "def tell(c, name, value=''):\n    c.SendMessage('', '', name, str(value))\n" << source;
    return path;
  }

  CWnd parent_;
  Host host_;
  IF10Fun* window_ = nullptr;
};

// Requests of the old script are cancelled by a load: their replies free
// their handles and reach no function of the new script.
TEST_F(ContainerE2eTest, RepliesOfAReloadedScriptNeverReachTheNewOne) {
  const std::string old_page = Write("inflight_old.py", R"(
def InitContainer(c, arg):
    for i in range(3):
        tell(c, 'sent', c.FetchData('got', 'SELECT T001,T004 FROM 100000002', 0, ''))
def got(c, handle, status):
    tell(c, 'old got', status)
)");
  const std::string new_page = Write("inflight_new.py", R"(
def InitContainer(c, arg):
    tell(c, 'new page', arg)
def got(c, handle, status):
    tell(c, 'new got', status)
def ask(c):
    tell(c, 'asked', c.FetchData('got', 'SELECT T001 FROM 100000002', 0, ''))
)");
  ASSERT_TRUE(window_->LoadScript(old_page, "", "InitContainer"));
  EXPECT_EQ(std::count(host_.told.begin(), host_.told.end(), "sent 1"), 3);
  EXPECT_EQ(window_->GetMapCount(), 3);
  ASSERT_TRUE(window_->LoadScript(new_page, "fresh", "InitContainer"));
  EXPECT_EQ(window_->GetMapCount(), 3);  // still on their way, cancelled
  ASSERT_TRUE(orbe::PumpUntil([&] { return window_->GetMapCount() == 0; }, kWait));
  orbe::RunUntilIdle();
  EXPECT_TRUE(host_.Heard("new page fresh"));
  for (const std::string& line : host_.told) EXPECT_EQ(line.find("got"), std::string::npos) << line;
  // The new script's own request reaches it.
  ASSERT_TRUE(window_->CallPyFunction("ask", {}));
  ASSERT_TRUE(orbe::PumpUntil([&] { return host_.Heard("new got 100"); }, kWait));
  EXPECT_EQ(window_->GetMapCount(), 0);
}

// A file fetched from the service: a zlib stream arrives inflated in the
// session's cache folder, a plain file as it is; an empty file and one of
// 4 MiB or more are not delivered.
TEST_F(ContainerE2eTest, FetchedFilesAreInflatedAndBoundedBeforeTheyReachTheScript) {
  const std::string root = ServerEnvironment::Server().Root() + "/";
  const std::string text = "\xb9\xab\xcb\xbe\xb8\xc5\xbf\xf6 overview data\r\n";  // GBK, as a host would keep it
  std::string big(4194304, 'x');
  struct Case {
    std::string name;
    std::string served;
    bool delivered;
    std::string content;  // what the callback's file holds
  };
  const std::vector<Case> cases = {
      {"page_compressed.dat", orbe::Compress(text), true, text},
      {"page_plain.dat", text, true, text},
      {"page_empty.dat", "", false, ""},
      {"page_big.dat", big, false, ""},
  };
  const std::string page = Write("fetcher.py", R"(
def fetch(c, name):
    tell(c, 'fetching', c.FetchFile('fetched', name))
def fetched(c, path):
    with open(path, 'rb') as f:
        tell(c, 'fetched', path + ' ' + f.read().hex())
)");
  ASSERT_TRUE(window_->LoadScript(page, "", ""));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(orbe::WriteFileAtomically(root + c.name, c.served));
    host_.told.clear();
    ASSERT_TRUE(window_->CallPyFunction("fetch", {c.name}));
    ASSERT_TRUE(host_.Heard("fetching 1"));
    const std::string cache_file = (fs::path(ServerEnvironment::Folder()) / "cache" / "cachem" / c.name).string();
    // The fetch ends with the served file in the cache folder; the window
    // then delivers it or not.
    orbe::PumpUntil(
        [&] {
          std::error_code failure;
          return host_.told.size() > 1 || (!c.delivered && fs::file_size(cache_file, failure) == c.served.size() &&
                                           !failure);
        },
        kWait);
    orbe::PumpFor(200);
    const bool delivered = host_.told.size() > 1;
    EXPECT_EQ(delivered, c.delivered);
    if (!delivered || !c.delivered) continue;
    const std::string line = host_.told[1];
    const std::size_t blank = line.rfind(' ');
    ASSERT_NE(blank, std::string::npos);
    EXPECT_EQ(fs::path(line.substr(8, blank - 8)).filename(), c.name);
    std::string hex;
    for (const unsigned char byte : c.content) hex += orbe::Format("%02x", byte);
    EXPECT_EQ(line.substr(blank + 1), hex);
  }
}

// The overview page of data/scripts: its three replies fill the heading, the
// grid of key figures and the profit bars; the HTML snapshot shows what the
// database holds, tab by tab.
TEST_F(ContainerE2eTest, TheOverviewPageShowsTheDatabasesFiguresInItsGridAndChart) {
  const Database db(ServerEnvironment::Server().Database());
  const auto companies = db.Rows("SELECT T003 FROM t100000013 GROUP BY T003 HAVING count(*) >= 8 ORDER BY T003 LIMIT 1");
  ASSERT_EQ(companies.size(), 1u);
  const std::string code = companies[0][0];
  const auto figures = db.Rows("SELECT T005, T006, T009 FROM t100000013 WHERE T003 = '" + code +
                               "' ORDER BY T005 DESC LIMIT 6");
  const auto profits = db.Rows("SELECT T005, T016 FROM t100000011 WHERE T003 = '" + code +
                               "' AND T005 % 10000 = 1231 ORDER BY T005");
  const auto name = db.Rows("SELECT T004 FROM t100000002 WHERE T002 = '" + code + "'");
  ASSERT_EQ(figures.size(), 6u);
  ASSERT_FALSE(profits.empty());
  ASSERT_EQ(name.size(), 1u);

  const std::string page = std::string(ORBE_SOURCE_DIR) + "/data/scripts/company_overview.py";
  ASSERT_TRUE(window_->LoadScript(page, code, "InitContainer"));
  ASSERT_TRUE(orbe::PumpUntil(
      [&] { return std::any_of(host_.told.begin(), host_.told.end(),
                               [](const std::string& line) { return line.rfind("PAGE_READY", 0) == 0; }); },
      kWait));
  EXPECT_TRUE(host_.Heard("PAGE_READY 6 periods, " + std::to_string(profits.size()) + " years"));
  auto& widgets = *dynamic_cast<CKVXContainer*>(window_->GetF10Wnd());
  const CGridCtrl* grid = widgets.GetGrid(10001);
  ASSERT_NE(grid, nullptr);
  const auto period = [](const std::string& yyyymmdd) {
    return yyyymmdd.substr(0, 4) + "-" + yyyymmdd.substr(4, 2) + "-" + yyyymmdd.substr(6, 2);
  };
  const auto fixed = [](const std::string& value, int decimals) {
    return orbe::Format("%.*f", decimals, std::atof(value.c_str()));
  };
  for (int tab = 0; tab < 2; ++tab) {
    SCOPED_TRACE(tab);
    if (tab == 1) {
      ASSERT_TRUE(widgets.GetSwitch(10000)->ClickLabel(1));
    }
    const std::string html = orbe::RenderWindowHtml(*window_->GetF10Wnd());
    for (std::size_t col = 0; col < figures.size(); ++col) {
      const std::string heading = period(figures[col][0]);
      // Tab 0 shows earnings per share (3 places), tab 1 the return on equity (2).
      const std::string value = tab == 0 ? fixed(figures[col][1], 3) : fixed(figures[col][2], 2);
      EXPECT_EQ(grid->GetItemText(0, static_cast<int>(col) + 1), heading);
      EXPECT_EQ(grid->GetItemText(1, static_cast<int>(col) + 1), value);
      EXPECT_NE(html.find(">" + value + "<"), std::string::npos) << value;
      EXPECT_NE(html.find(heading), std::string::npos) << heading;
    }
  }
  const std::string html = orbe::RenderWindowHtml(*window_->GetF10Wnd());
  EXPECT_NE(html.find(orbe::GbkToUtf8(name[0][0])), std::string::npos);
  std::size_t bars = 0;
  for (std::size_t at = html.find("class=\"bar\""); at != std::string::npos; at = html.find("class=\"bar\"", at + 1)) {
    ++bars;
  }
  EXPECT_EQ(bars, profits.size());
}

}  // namespace
