// Script container windows over the real engine, cache and orbe-dataserver
// (one server for the program): replies of a script that was reloaded, files
// fetched from the service's file root, and the company overview page filled
// by its requests, whose HTML shows what the database holds.
#include <gtest/gtest.h>
#include <sqlite3.h>

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
#include "support/component_reexec.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

constexpr int kWait = 20000;

bool RunWithRealComponents() {
  const std::string lib = ORBE_TEST_LIB_DIR;
  return orbe_test::RunWithComponentFolder(orbe_test::LinkComponentFolder(
      "orbe_container_components", lib + "/libFinDataComm.so", lib + "/libFinCacheStore.so"));
}

const bool kWithRealComponents = RunWithRealComponents();

struct ComponentFolderCleanup {
  ~ComponentFolderCleanup() {
    if (const char* folder = std::getenv("ORBE_COMPONENT_DIR")) {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  }
} kCleanup;

class ServerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(kWithRealComponents);
    folder_ = orbe_test::ScratchFolder("container");
    ASSERT_TRUE(server_.Start(folder_));
    const std::string ini = folder_ + "comm.ini";
    for (const auto& [section, key, value] :
         std::vector<std::tuple<const char*, const char*, std::string>>{
             {"CWSYS", "CWHostNum", "1"},
             {"CWSYS", "CWHost01", "127.0.0.1"},
             {"CWSYS", "CWPort01", std::to_string(server_.DataPort())},
             {"CWSYS", "GeneralDB", "3"},
             {"FILESRV", "Num", "1"},
             {"FILESRV", "Host01", "127.0.0.1"},
             {"FILESRV", "Port01", std::to_string(server_.FilePort())}}) {
      ASSERT_TRUE(orbe::WriteProfileString(ini, section, key, value));
    }
    SetPrivPath(folder_);
    ASSERT_EQ(InitDataEngin(folder_ + "cache/", ini, -1, nullptr), 1u);
  }
  void TearDown() override {
    UnInitDataEngin();
    server_.Stop(SIGTERM);
    fs::remove_all(folder_);
  }

  static const orbe_test::TransferServer& Server() { return server_; }
  static const std::string& Folder() { return folder_; }

 private:
  static inline orbe_test::TransferServer server_;
  static inline std::string folder_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

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

}  // namespace
