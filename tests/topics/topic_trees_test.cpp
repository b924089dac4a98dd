// The four topic trees end to end: the real engine and reply cache against
// one orbe-dataserver for the whole program, the topic tables loaded by the
// windows' initialisers, every tree driven by injected clicks. What the trees
// select must be what our own SQLite queries of the server's file give.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dataservice/transfer_server.h"
#include "host/host_session.h"
#include "orbe/dictionary/reference_loaders.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/topics/topics.h"
#include "orbe/widgets/html_render.h"
#include "support/component_reexec.h"
#include "support/terminal_run.h"

namespace {

using orbe_test::RunResult;
using orbe_test::RunTerminal;

namespace fs = std::filesystem;
using Pairs = std::vector<std::pair<std::string, std::string>>;

bool RunWithBuiltComponents() {
  if (std::getenv("ORBE_COMPONENT_DIR") == nullptr) return true;
  return orbe_test::RunWithComponentFolder(ORBE_TEST_LIB_DIR);
}
const bool kWithBuiltComponents = RunWithBuiltComponents();

constexpr UINT kNotify = WM_USER + 7;
constexpr RECT kRect{0, 0, 300, 500};
const std::string kCategories = std::string(ORBE_SOURCE_DIR) + "/data/topics/bond_categories.xml";

// The codes a query gives, as the trees list them: unique, in byte order.
std::vector<std::string> Codes(const std::string& database, const std::string& sql) {
  sqlite3* db = nullptr;
  std::vector<std::string> codes;
  sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(statement, 0);
      codes.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
    }
  } else {
    ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

std::string Join(const std::vector<std::string>& codes) {
  std::string joined;
  for (const std::string& code : codes) joined += (joined.empty() ? "" : ",") + code;
  return joined;
}

// Bond codes as the bond loader suffixes them.
constexpr const char* kBondCode =
    "T003 || CASE T006 WHEN '012001' THEN '.SH' WHEN '012002' THEN '.SZ' WHEN '012004' THEN '.IB'"
    " WHEN '012016' THEN '.BC' WHEN '012999' THEN '.OO' ELSE '' END";
std::string Bonds(const std::string& where) {
  return std::string("SELECT ") + kBondCode + " FROM t100000050 WHERE " + where;
}
struct Branch {
  std::string title;  // GBK
  std::string sql;    // the codes the branch holds
};

// One kind of tree through its exports.
struct Kind {
  const char* name;
  bool (*init)(CWnd*);
  std::function<orbe::TopicTreeWnd*(CWnd*)> create;
  std::function<std::string(orbe::TopicTreeWnd&)> codes;
  std::function<Pairs(orbe::TopicTreeWnd&)> pairs;
  void (*destroy)(CWnd*);
  std::vector<Branch> branches;  // every top-level branch
  // The items under this branch that have children, and the codes of one of
  // them ("%s": its text); no title where the trees under the top are flat.
  Branch inner;
};

template <typename Window>
Window& As(orbe::TopicTreeWnd& window) {
  return dynamic_cast<Window&>(window);
}

const std::string kHkStocksOf = "SELECT T001 FROM t100000070 WHERE T005 IN ";
const std::string kFundsOf = "SELECT T002 FROM t100000040 WHERE ";

std::vector<Kind> Kinds() {
  std::vector<Branch> futures;
  for (const CKvxQHztWnd::Market& market : CKvxQHztWnd::Markets()) {
    futures.push_back({market.text, std::string("SELECT T001 FROM t100000060 WHERE T002 = '") + market.key + "'"});
  }
  return {
      {"gg", CKvxGGztWnd::InitGGSession,
       [](CWnd* parent) -> orbe::TopicTreeWnd* { return CKvxGGztWnd::CreateGGztWnd(parent, kRect, WS_CHILD | WS_VISIBLE, 5); },
       [](orbe::TopicTreeWnd& w) { return As<CKvxGGztWnd>(w).GetAllSelStockCode(); },
       [](orbe::TopicTreeWnd& w) {
         Pairs pairs;
         As<CKvxGGztWnd>(w).GetGGCodeAndName(pairs);
         return pairs;
       },
       CKvxGGztWnd::DeleteGGztWnd,
       {{"港股行业", kHkStocksOf + "(SELECT code FROM orbe_consts WHERE class = '809')"},
        {"港股板块", "SELECT T002 FROM t100000071"}},
       {"港股行业", kHkStocksOf + "(SELECT code FROM orbe_consts WHERE class = '809' AND parent = "
                                 "(SELECT code FROM orbe_consts WHERE class = '809' AND text = '%s'))"}},
      {"jj", CKvxJJztWnd::InitJJSession,
       [](CWnd* parent) -> orbe::TopicTreeWnd* { return CKvxJJztWnd::CreateJJztWnd(parent, kRect, WS_CHILD | WS_VISIBLE, 5); },
       [](orbe::TopicTreeWnd& w) { return As<CKvxJJztWnd>(w).GetSelJJCode(); },
       [](orbe::TopicTreeWnd& w) {
         Pairs pairs;
         As<CKvxJJztWnd>(w).GetJJCodeAndName(pairs);
         return pairs;
       },
       CKvxJJztWnd::DeleteJJztWnd,
       {{"基金类别", kFundsOf + "T005 IN (SELECT code FROM orbe_consts WHERE class = '998')"},
        {"投资类型", kFundsOf + "T006 IN (SELECT code FROM orbe_consts WHERE class = '004')"},
        {"投资风格", kFundsOf + "T007 IN (SELECT code FROM orbe_consts WHERE class = '005')"}},
       {}},
      {"qh", CKvxQHztWnd::InitQHSession,
       [](CWnd* parent) -> orbe::TopicTreeWnd* { return CKvxQHztWnd::CreateQHztWnd(parent, kRect, WS_CHILD | WS_VISIBLE, 5); },
       [](orbe::TopicTreeWnd& w) { return As<CKvxQHztWnd>(w).GetAllSelQHCode(); },
       [](orbe::TopicTreeWnd& w) {
         Pairs pairs;
         As<CKvxQHztWnd>(w).GetQHCodeAndName(pairs);
         return pairs;
       },
       CKvxQHztWnd::DeleteQHztWnd, futures,
       {"上海期货交易所", "SELECT T001 FROM t100000060 WHERE T002 = 'QS' AND T004 = '%s'"}},
      {"zq", CKvxZQztWnd::InitZQSession,
       [](CWnd* parent) -> orbe::TopicTreeWnd* {
         return CKvxZQztWnd::CreateZQztWnd(parent, kRect, WS_CHILD | WS_VISIBLE, 5, kCategories);
       },
       [](orbe::TopicTreeWnd& w) { return As<CKvxZQztWnd>(w).GetAllSelZQCode(); },
       [](orbe::TopicTreeWnd& w) {
         Pairs pairs;
         As<CKvxZQztWnd>(w).GetAllSelZQCodeAndName(pairs);
         return pairs;
       },
       CKvxZQztWnd::DeleteZQztWnd,
       {{"利率债", Bonds("T005 IN ('206001', '206002')")},
        {"金融债", Bonds("T005 = '206003'")},
        {"信用债", Bonds("T005 IN ('206004', '206005', '206007', '206008')")},
        {"可转换债券", Bonds("T005 = '206006' AND T006 IN ('012001', '012002')")},
        {"交易市场", Bonds("T006 IN ('012001', '012002', '012004', '012016', '012999')")}},
       {}},
  };
}

// The host: counts the tree's messages.
class HostWindow : public CWnd {
 public:
  int notified = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kNotify) {
      EXPECT_EQ(wparam, 0u);
      EXPECT_EQ(lparam, 0);
      ++notified;
      return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// Every item in pre-order with its check state: what the page must show.
std::vector<std::pair<std::string, int>> States(const CXHtmlTree& tree) {
  std::vector<std::pair<std::string, int>> states;
  for (HTREEITEM item = tree.GetRootItem(); item != 0; item = tree.GetNextItemInOrder(item)) {
    states.emplace_back(tree.GetItemText(item), static_cast<int>(tree.GetCheckState(item)));
  }
  return states;
}

std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;) text.replace(at, std::strlen(entity), plain);
  }
  return text;
}

// The items of a page in document order: (text as GBK, data-check).
std::vector<std::pair<std::string, int>> PageStates(const std::string& html) {
  std::vector<std::pair<std::string, int>> states;
  const std::string open = "<li data-check=\"";
  for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
    const int state = html[at + open.size()] - '0';
    std::size_t text = html.find('>', at) + 1;
    // The expander and the check box come first as character references.
    while (html.compare(text, 2, "&#") == 0) text = html.find(';', text) + 2;
    const std::size_t end = html.find('<', text);
    states.emplace_back(orbe::Utf8ToGbk(Unescape(html.substr(text, end - text))), state);
  }
  return states;
}

class TopicTreesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new std::string(orbe_test::ScratchFolder("topic_trees"));
    server_ = new orbe_test::TransferServer;
    if (!server_->Start(*folder_)) return;
    Connect();
  }
  static void TearDownTestSuite() {
    Disconnect();
    delete server_;
    fs::remove_all(*folder_);
    delete folder_;
  }
  static void Connect() {
    orbe::HostSessionOptions options;
    options.data_service = {"127.0.0.1", server_->DataPort()};
    options.file_server = orbe::HostAddress{"127.0.0.1", server_->FilePort()};
    options.private_folder = *folder_ + "home/";
    std::string error;
    session_ = orbe::HostSession::Start(options, nullptr, &error).release();
  }
  static void Disconnect() {
    delete session_;
    session_ = nullptr;
    orbe::ForgetTopicLoads();
  }

  void SetUp() override {
    ASSERT_TRUE(kWithBuiltComponents);
    ASSERT_NE(session_, nullptr) << "the data service or the session did not start";
    ASSERT_TRUE(host_.Create(nullptr, RECT{0, 0, 400, 600}, 1, WS_VISIBLE));
  }

  // A window of the kind, its topic table loaded, notifying the host.
  orbe::TopicTreeWnd* Open(const Kind& kind) {
    EXPECT_TRUE(kind.init(&host_)) << kind.name;
    orbe::TopicTreeWnd* window = kind.create(&host_);
    if (window != nullptr) window->RegisterCheckBoxNotify(&host_, kNotify);
    return window;
  }
  static CXHtmlTree& TreeOf(orbe::TopicTreeWnd& window) {
    return *dynamic_cast<CXHtmlTree*>(window.GetDlgItem(orbe::TopicTreeWnd::kTreeId));
  }
  static HTREEITEM Root(const CXHtmlTree& tree, const std::string& title) {
    for (HTREEITEM root = tree.GetRootItem(); root != 0; root = tree.GetNextSiblingItem(root)) {
      if (tree.GetItemText(root) == title) return root;
    }
    return 0;
  }
  static std::vector<std::string> Expected(const std::string& sql) { return Codes(server_->Database(), sql); }

  static std::string* folder_;
  static orbe_test::TransferServer* server_;
  static orbe::HostSession* session_;
  HostWindow host_;
};

std::string* TopicTreesTest::folder_ = nullptr;
orbe_test::TransferServer* TopicTreesTest::server_ = nullptr;
orbe::HostSession* TopicTreesTest::session_ = nullptr;

struct Closer {
  void (*destroy)(CWnd*);
  void operator()(orbe::TopicTreeWnd* window) const { destroy(window); }
};
using Window = std::unique_ptr<orbe::TopicTreeWnd, Closer>;

TEST_F(TopicTreesTest, EachTopLevelBranchSelectsWhatTheTopicTablesHold) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    Window window(Open(kind), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    CXHtmlTree& tree = TreeOf(*window);
    int roots = 0;
    for (HTREEITEM root = tree.GetRootItem(); root != 0; root = tree.GetNextSiblingItem(root)) ++roots;
    EXPECT_EQ(roots, static_cast<int>(kind.branches.size()));
    bool any = false;
    for (const Branch& branch : kind.branches) {
      SCOPED_TRACE(orbe::GbkToUtf8(branch.title));
      const HTREEITEM root = Root(tree, branch.title);
      ASSERT_NE(root, 0);
      // Title roots carry -1; a bond category at the top is a category itself.
      const bool category = std::string(kind.name) == "zq" && branch.title != "交易市场";
      EXPECT_EQ(tree.GetItemData(root) == orbe::TopicTreeWnd::kRootValue, !category);
      const int before = host_.notified;
      ASSERT_TRUE(tree.ClickCheckBox(root));
      EXPECT_EQ(host_.notified, before + 1);
      const std::vector<std::string> expected = Expected(branch.sql);
      any = any || !expected.empty();
      EXPECT_EQ(kind.codes(*window), Join(expected));
      std::vector<std::string> paired;
      for (const auto& [code, name] : kind.pairs(*window)) {
        EXPECT_FALSE(name.empty()) << code;
        paired.push_back(code);
      }
      EXPECT_EQ(paired, expected);
      // Unchecked again, nothing is selected: an empty text, not ",".
      ASSERT_TRUE(tree.ClickCheckBox(root));
      EXPECT_EQ(kind.codes(*window), "");
      EXPECT_TRUE(kind.pairs(*window).empty());
      EXPECT_TRUE(window->GetCheckItem().empty());
    }
    EXPECT_TRUE(any) << "the sample market gives this tree nothing to select";
  }
}

// Below the top: an item whose children hold the securities. Checking it
// checks them and selects every security of all of them.
TEST_F(TopicTreesTest, CheckingAnInnerParentSelectsAllItsSecurities) {
  for (const Kind& kind : Kinds()) {
    if (kind.inner.title.empty()) continue;
    SCOPED_TRACE(kind.name);
    Window window(Open(kind), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    CXHtmlTree& tree = TreeOf(*window);
    const HTREEITEM branch = Root(tree, kind.inner.title);
    ASSERT_NE(branch, 0);
    int tried = 0;
    for (HTREEITEM item = tree.GetChildItem(branch); item != 0; item = tree.GetNextSiblingItem(item)) {
      if (tree.GetChildItem(item) == 0) continue;
      const std::string text = tree.GetItemText(item);
      SCOPED_TRACE(orbe::GbkToUtf8(text));
      ASSERT_TRUE(tree.ClickCheckBox(item));
      for (HTREEITEM child = tree.GetChildItem(item); child != 0; child = tree.GetNextSiblingItem(child)) {
        EXPECT_TRUE(tree.GetCheck(child));
      }
      EXPECT_NE(tree.GetCheckState(branch), TreeCheck::kUnchecked);
      EXPECT_EQ(kind.codes(*window), Join(Expected(orbe::Format(kind.inner.sql.c_str(), text.c_str()))));
      ASSERT_TRUE(tree.ClickCheckBox(item));
      ++tried;
    }
    EXPECT_GT(tried, 1);
  }
}

TEST_F(TopicTreesTest, TheCodeListIsInAscendingByteOrderWithoutATrailingComma) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    Window window(Open(kind), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    CXHtmlTree& tree = TreeOf(*window);
    EXPECT_EQ(kind.codes(*window), "");
    std::string everything;
    for (const Branch& branch : kind.branches) {
      ASSERT_TRUE(tree.ClickCheckBox(Root(tree, branch.title)));
      everything += (everything.empty() ? "" : " UNION ") + branch.sql;
    }
    // A security under several checked items is listed once.
    const std::string codes = kind.codes(*window);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes, Join(Expected(everything)));
    EXPECT_NE(codes.back(), ',');
    EXPECT_EQ(codes.find(",,"), std::string::npos);
    std::vector<std::string> pieces;
    for (std::size_t start = 0; start <= codes.size();) {
      const std::size_t comma = std::min(codes.find(',', start), codes.size());
      pieces.push_back(codes.substr(start, comma - start));
      start = comma + 1;
    }
    const auto bytes_less = [](const std::string& a, const std::string& b) {
      return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
      });
    };
    EXPECT_TRUE(std::adjacent_find(pieces.begin(), pieces.end(), [&](const std::string& a, const std::string& b) {
                  return !bytes_less(a, b);
                }) == pieces.end());
    const Pairs pairs = kind.pairs(*window);
    ASSERT_EQ(pairs.size(), pieces.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) EXPECT_EQ(pairs[i].first, pieces[i]);
  }
}

TEST_F(TopicTreesTest, SetCheckItemWithAnEmptyListLeavesTheTreeAsItIs) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    Window window(Open(kind), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    CXHtmlTree& tree = TreeOf(*window);
    const HTREEITEM first = tree.GetChildItem(tree.GetRootItem());
    ASSERT_NE(first, 0);
    ASSERT_TRUE(tree.ClickCheckBox(first));
    const auto states = States(tree);
    const std::string codes = kind.codes(*window);
    const std::vector<std::string> checked = window->GetCheckItem();
    ASSERT_FALSE(checked.empty());

    window->SetCheckItem({});
    EXPECT_EQ(States(tree), states);
    EXPECT_EQ(kind.codes(*window), codes);
    window->SetCheckItem({"不存在的名称"});
    EXPECT_EQ(States(tree), states);

    // A named item is checked with its subtree; nothing is unchecked.
    HTREEITEM last = 0;
    for (HTREEITEM item = tree.GetRootItem(); item != 0; item = tree.GetNextItemInOrder(item)) last = item;
    const std::string name = tree.GetItemText(last);
    window->SetCheckItem({name});
    EXPECT_TRUE(tree.GetCheck(last));
    EXPECT_TRUE(tree.GetCheck(first));
    const std::vector<std::string> now = window->GetCheckItem();
    EXPECT_NE(std::find(now.begin(), now.end(), name), now.end());
    for (const std::string& text : checked) EXPECT_NE(std::find(now.begin(), now.end(), text), now.end());
  }
}

std::string Quoted(const std::string& gbk) { return "'" + orbe::GbkToUtf8(gbk) + "'"; }

// The terminal checks and clicks as a host and a user would; the page it
// writes shows every item with the state the same actions give here.
TEST_F(TopicTreesTest, TheHtmlSnapshotShowsTheCheckStateOfEveryItem) {
  const std::string connection = "--server 127.0.0.1:" + std::to_string(server_->DataPort()) +
                                 " --files 127.0.0.1:" + std::to_string(server_->FilePort()) + " --home " +
                                 *folder_ + "terminal";
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    Window window(Open(kind), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    CXHtmlTree& tree = TreeOf(*window);
    const std::string checked = tree.GetItemText(tree.GetRootItem());
    HTREEITEM last = 0;
    for (HTREEITEM item = tree.GetRootItem(); item != 0; item = tree.GetNextItemInOrder(item)) last = item;
    const std::string clicked = tree.GetItemText(last);
    window->SetCheckItem({checked});
    ASSERT_TRUE(tree.ClickCheckBox(tree.FindItem(clicked)));

    const std::string page = *folder_ + kind.name + ".html";
    const std::string categories = std::string(kind.name) == "zq" ? " --categories " + kCategories : "";
    const RunResult run = RunTerminal("topics --kind " + std::string(kind.name) + " --check " + Quoted(checked) +
                                      " --click " + Quoted(clicked) + " --html " + page + categories + " " +
                                      connection);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("codes: " + orbe::GbkToUtf8(kind.codes(*window)) + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("notifications: 1\n"), std::string::npos) << run.out;
    std::ifstream in(page);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto states = PageStates(html);
    EXPECT_EQ(states, States(tree));
    EXPECT_GT(std::count_if(states.begin(), states.end(), [](const auto& s) { return s.second == 1; }), 0);
    EXPECT_GT(std::count_if(states.begin(), states.end(), [](const auto& s) { return s.second == 0; }), 0);
  }
  // Unknown items are reported, bad options refused before connecting.
  const RunResult unknown = RunTerminal("topics --kind gg --check nosuch --click nothing " + connection);
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.out.find("unknown item nosuch"), std::string::npos) << unknown.out;
  EXPECT_NE(unknown.out.find("unknown item nothing"), std::string::npos) << unknown.out;
  EXPECT_EQ(RunTerminal("topics --kind hk " + connection).status, 2);
  EXPECT_EQ(RunTerminal("topics --check x " + connection).status, 2);
  EXPECT_EQ(RunTerminal("topics --kind gg --dblclick x " + connection).status, 2);
}

// Without the topic table (here: without a main session to load it into) a
// window still comes up, with an empty tree that selects nothing.
TEST_F(TopicTreesTest, ALoaderThatFailsGivesAnEmptyTree) {
  Disconnect();
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    EXPECT_FALSE(kind.init(&host_));
    Window window(kind.create(&host_), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    window->RegisterCheckBoxNotify(&host_, kNotify);
    CXHtmlTree& tree = TreeOf(*window);
    EXPECT_EQ(tree.GetCount(), 0);
    EXPECT_FALSE(tree.ClickCheckBox(1));
    window->SetCheckItem({"x"});
    EXPECT_EQ(kind.codes(*window), "");
    EXPECT_TRUE(kind.pairs(*window).empty());
    EXPECT_TRUE(window->GetCheckItem().empty());
    EXPECT_EQ(host_.notified, 0);
  }
  Connect();
  ASSERT_NE(session_, nullptr);
  for (const Kind& kind : Kinds()) EXPECT_TRUE(kind.init(&host_)) << kind.name;
}

// The members only some kinds have, and what every window does for its host.
TEST_F(TopicTreesTest, HostFacingMembers) {
  // Each kind is a window of its own class: default procedure, arrow
  // cursor, white background, class style 11.
  for (const Kind& kind : Kinds()) {
    Window window(Open(kind), Closer{kind.destroy});
    ASSERT_NE(window, nullptr);
    char name[32] = {};
    ASSERT_GT(GetClassNameA(window->GetSafeHwnd(), name, sizeof name), 0);
    EXPECT_STREQ(name, window->ClassName());
    EXPECT_EQ(std::string("CKvx") + orbe::AsciiUpper(kind.name) + "ztWnd", name);
    orbe::WindowClassLook look;
    ASSERT_TRUE(orbe::GetWindowClassLook(window->GetSafeHwnd(), &look));
    EXPECT_EQ(look.style, 11u);
    EXPECT_TRUE(look.has_background);
    EXPECT_EQ(look.background, RGB(255, 255, 255));
    EXPECT_EQ(look.cursor_id, reinterpret_cast<std::uintptr_t>(IDC_ARROW));
  }

  // Head: an 18-pixel strip with the title, or none.
  Window funds(Open(Kinds()[1]), Closer{CKvxJJztWnd::DeleteJJztWnd});
  ASSERT_NE(funds, nullptr);
  auto* strip = dynamic_cast<CSwitchEx*>(funds->GetDlgItem(orbe::TopicTreeWnd::kSwitchId));
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->GetLabel(0)->text, "基金类别");
  CXHtmlTree& tree = TreeOf(*funds);
  RECT place;
  tree.GetWindowRect(&place);
  EXPECT_EQ(place.top, orbe::TopicTreeWnd::kHeadHeight);
  funds->ShowHead("我的基金", false);
  EXPECT_EQ(strip->GetLabel(0)->text, "我的基金");
  EXPECT_FALSE(strip->IsWindowVisible());
  tree.GetWindowRect(&place);
  EXPECT_EQ(place.top, 0);
  EXPECT_EQ(place.bottom, kRect.bottom);
  // The category branch is open from the start.
  EXPECT_TRUE(tree.IsExpanded(tree.FindItem("基金类别")));

  // Double clicks are reported with the item's value and text.
  struct DoubleClicks : CWnd {
    std::vector<std::pair<LPARAM, std::string>> seen;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
      if (message == kNotify + 1) seen.emplace_back(static_cast<LPARAM>(wparam), reinterpret_cast<const char*>(lparam));
      return CWnd::WindowProc(message, wparam, lparam);
    }
  } listener;
  ASSERT_TRUE(listener.Create(nullptr, RECT{}, 2));
  As<CKvxJJztWnd>(*funds).RegisterDBClickItemNotify(&listener, kNotify + 1);
  const HTREEITEM stock_funds = tree.FindItem("股票型");
  ASSERT_TRUE(tree.DoubleClickItem(stock_funds));
  ASSERT_TRUE(tree.DoubleClickItem(tree.FindItem("投资类型")));
  ASSERT_EQ(listener.seen.size(), 2u);
  EXPECT_EQ(listener.seen[0], (std::pair<LPARAM, std::string>{998001, "股票型"}));
  EXPECT_EQ(listener.seen[1], (std::pair<LPARAM, std::string>{-1, "投资类型"}));
  // Without check boxes the tree takes no check clicks.
  As<CKvxJJztWnd>(*funds).ShowTreeCheckBox(false);
  EXPECT_FALSE(tree.ClickCheckBox(stock_funds));
  As<CKvxJJztWnd>(*funds).ShowTreeCheckBox(true);
  EXPECT_TRUE(tree.ClickCheckBox(stock_funds));
  // A window of another class is not deleted as this one; a target that is
  // gone is not sent to.
  CKvxGGztWnd::DeleteGGztWnd(funds.get());
  EXPECT_TRUE(IsWindow(funds->GetSafeHwnd()));
  listener.DestroyWindow();
  EXPECT_TRUE(tree.DoubleClickItem(stock_funds));
  EXPECT_EQ(listener.seen.size(), 2u);

  // Bonds: the fixed node of a code, and a category file that cannot be read.
  Window bonds(Open(Kinds()[3]), Closer{CKvxZQztWnd::DeleteZQztWnd});
  ASSERT_NE(bonds, nullptr);
  EXPECT_EQ(As<CKvxZQztWnd>(*bonds).GetCategoryError(), "");
  EXPECT_EQ(As<CKvxZQztWnd>(*bonds).GetFixedZQNameByCode("019001.SH"), "上海证券交易所");
  EXPECT_EQ(As<CKvxZQztWnd>(*bonds).GetFixedZQNameByCode("2601001.IB"), "银行间债券市场");
  EXPECT_EQ(As<CKvxZQztWnd>(*bonds).GetFixedZQNameByCode("019001"), "");
  EXPECT_EQ(As<CKvxZQztWnd>(*bonds).GetFixedZQNameByCode("019001.XX"), "");
  Window plain(CKvxZQztWnd::CreateZQztWnd(&host_, kRect, WS_CHILD, 6, *folder_ + "missing.xml"),
               Closer{CKvxZQztWnd::DeleteZQztWnd});
  ASSERT_NE(plain, nullptr);
  EXPECT_NE(As<CKvxZQztWnd>(*plain).GetCategoryError(), "");
  CXHtmlTree& fixed_only = TreeOf(*plain);
  EXPECT_EQ(fixed_only.GetItemText(fixed_only.GetRootItem()), "交易市场");
  EXPECT_EQ(fixed_only.GetNextSiblingItem(fixed_only.GetRootItem()), 0);

  // A parent without a window gives no window.
  CWnd nowhere;
  EXPECT_EQ(CKvxGGztWnd::CreateGGztWnd(&nowhere, kRect, WS_CHILD, 7), nullptr);
}

}  // namespace
