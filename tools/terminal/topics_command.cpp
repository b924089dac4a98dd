// topics --kind gg|jj|qh|zq [--check NAME]... [--click ITEM]... [--dblclick ITEM]...
//        [--categories FILE] [--no-head] [--html OUT] [connection options]
// : builds a topic selection tree from the data service, checks the named
// items as a host would, clicks as a user would, and prints the selection and
// the notifications the host received. Names and output are UTF-8.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "data_folder.h"
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/topics/topics.h"
#include "orbe/widgets/html_render.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

constexpr const char* kUsage =
    "usage: orbe-terminal topics --kind gg|jj|qh|zq [--check NAME]... [--click ITEM]... [--dblclick ITEM]... "
    "[--categories FILE] [--no-head] [--html OUT] ";
constexpr const char kBondCategories[] = "topics/bond_categories.xml";
constexpr UINT kCheckedMessage = WM_USER + 1;
constexpr UINT kDoubleClickMessage = WM_USER + 2;
constexpr RECT kTreeRect{0, 0, 360, 640};

using Pairs = std::vector<std::pair<std::string, std::string>>;

// What differs between the four kinds, reached through their exports.
struct TopicKind {
  const char* name;
  bool (*init)(CWnd* parent);
  TopicTreeWnd* (*create)(CWnd* parent, const std::string& categories);
  std::string (*codes)(TopicTreeWnd& window);
  void (*pairs)(TopicTreeWnd& window, Pairs& out);
  void (*destroy)(CWnd* window);
};

template <typename Window>
Window& As(TopicTreeWnd& window) {
  return static_cast<Window&>(window);
}

constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE;

const TopicKind kKinds[] = {
    {"gg", CKvxGGztWnd::InitGGSession,
     [](CWnd* parent, const std::string&) -> TopicTreeWnd* {
       return CKvxGGztWnd::CreateGGztWnd(parent, kTreeRect, kStyle, 100);
     },
     [](TopicTreeWnd& w) { return As<CKvxGGztWnd>(w).GetAllSelStockCode(); },
     [](TopicTreeWnd& w, Pairs& out) { As<CKvxGGztWnd>(w).GetGGCodeAndName(out); }, CKvxGGztWnd::DeleteGGztWnd},
    {"jj", CKvxJJztWnd::InitJJSession,
     [](CWnd* parent, const std::string&) -> TopicTreeWnd* {
       return CKvxJJztWnd::CreateJJztWnd(parent, kTreeRect, kStyle, 100);
     },
     [](TopicTreeWnd& w) { return As<CKvxJJztWnd>(w).GetSelJJCode(); },
     [](TopicTreeWnd& w, Pairs& out) { As<CKvxJJztWnd>(w).GetJJCodeAndName(out); }, CKvxJJztWnd::DeleteJJztWnd},
    {"qh", CKvxQHztWnd::InitQHSession,
     [](CWnd* parent, const std::string&) -> TopicTreeWnd* {
       return CKvxQHztWnd::CreateQHztWnd(parent, kTreeRect, kStyle, 100);
     },
     [](TopicTreeWnd& w) { return As<CKvxQHztWnd>(w).GetAllSelQHCode(); },
     [](TopicTreeWnd& w, Pairs& out) { As<CKvxQHztWnd>(w).GetQHCodeAndName(out); }, CKvxQHztWnd::DeleteQHztWnd},
    {"zq", CKvxZQztWnd::InitZQSession,
     [](CWnd* parent, const std::string& categories) -> TopicTreeWnd* {
       return CKvxZQztWnd::CreateZQztWnd(parent, kTreeRect, kStyle, 100, categories);
     },
     [](TopicTreeWnd& w) { return As<CKvxZQztWnd>(w).GetAllSelZQCode(); },
     [](TopicTreeWnd& w, Pairs& out) { As<CKvxZQztWnd>(w).GetAllSelZQCodeAndName(out); },
     CKvxZQztWnd::DeleteZQztWnd},
};

struct TopicsOptions {
  const TopicKind* kind = nullptr;
  std::vector<std::string> checks;  // GBK
  std::vector<std::string> clicks;
  std::vector<std::string> double_clicks;
  std::string categories;
  std::string html;
  bool head = true;
};

bool TakeTopicsOptions(const CommandArgs& args, TopicsOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--no-head") {
      options.head = false;
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = "missing value of " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--kind") {
      const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                     [&](const TopicKind& k) { return value == k.name; });
      if (kind == std::end(kKinds)) {
        *error = "unknown kind " + value + " (gg, jj, qh or zq)";
        return false;
      }
      options.kind = &*kind;
    } else if (name == "--check") {
      options.checks.push_back(Utf8ToGbk(value));
    } else if (name == "--click") {
      options.clicks.push_back(Utf8ToGbk(value));
    } else if (name == "--dblclick") {
      options.double_clicks.push_back(Utf8ToGbk(value));
    } else if (name == "--categories") {
      options.categories = value;
    } else if (name == "--html") {
      options.html = value;
    } else {
      *error = "unknown option " + name;
      return false;
    }
  }
  if (options.kind == nullptr) {
    *error = "--kind is needed";
    return false;
  }
  if (!options.double_clicks.empty() && std::string(options.kind->name) != "jj") {
    *error = "--dblclick is for the fund tree (--kind jj)";
    return false;
  }
  return true;
}

// The host's window: counts the tree's messages as a host would see them.
class HostWindow : public CWnd {
 public:
  int checked = 0;
  std::vector<std::string> double_clicked;  // "VALUE TEXT", GBK

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kCheckedMessage) {
      ++checked;
      return 0;
    }
    if (message == kDoubleClickMessage) {
      double_clicked.push_back(std::to_string(static_cast<LPARAM>(wparam)) + " " +
                               reinterpret_cast<const char*>(lparam));
      return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// Every name the options give that no item of the tree carries.
std::vector<std::string> UnknownNames(const CXHtmlTree& tree, const TopicsOptions& options) {
  std::vector<std::string> unknown;
  for (const auto* names : {&options.checks, &options.clicks, &options.double_clicks}) {
    for (const std::string& name : *names) {
      if (tree.FindItem(name) == 0 && std::find(unknown.begin(), unknown.end(), name) == unknown.end()) {
        unknown.push_back(name);
      }
    }
  }
  return unknown;
}

void PrintSelection(TopicTreeWnd& window, const TopicKind& kind) {
  for (const std::string& text : window.GetCheckItem()) PrintField("checked", text);
  PrintField("codes", kind.codes(window));
  Pairs pairs;
  kind.pairs(window, pairs);
  for (const auto& [code, name] : pairs) PrintField("security", code + " " + name);
  PrintField("selected", std::to_string(pairs.size()));
}

int Act(TopicTreeWnd& window, HostWindow& host, const TopicsOptions& options) {
  auto* tree = dynamic_cast<CXHtmlTree*>(window.GetDlgItem(TopicTreeWnd::kTreeId));
  if (tree == nullptr) return Fail(1, "the topic window has no tree");
  PrintField("tree", window.TopicTitle() + " (" + std::to_string(tree->GetCount()) + " items)");
  const std::vector<std::string> unknown = UnknownNames(*tree, options);
  for (const std::string& name : unknown) Fail(1, "unknown item " + GbkToUtf8(name));
  if (!unknown.empty()) return 1;
  window.ShowHead(window.TopicTitle(), options.head);
  window.RegisterCheckBoxNotify(&host, kCheckedMessage);
  if (auto* funds = dynamic_cast<CKvxJJztWnd*>(&window)) funds->RegisterDBClickItemNotify(&host, kDoubleClickMessage);
  if (!options.checks.empty()) window.SetCheckItem(options.checks);
  for (const std::string& item : options.clicks) {
    const int before = host.checked;
    tree->ClickCheckBox(tree->FindItem(item));
    PrintField("click", item + ": " + std::to_string(host.checked - before) + " notification(s)");
  }
  for (const std::string& item : options.double_clicks) {
    tree->DoubleClickItem(tree->FindItem(item));
    PrintField("double-click", item);
  }
  for (const std::string& reported : host.double_clicked) PrintField("double-click notification", reported);
  PrintSelection(window, *options.kind);
  PrintField("notifications", std::to_string(host.checked));
  if (!options.html.empty()) {
    // The snapshot shows every item: each branch opened, as a user would,
    // and the window tall enough for all of them.
    tree->ExpandAll(true);
    constexpr int kRowHeight = 20;
    window.MoveWindow(0, 0, kTreeRect.right,
                      std::max<int>(kTreeRect.bottom, TopicTreeWnd::kHeadHeight + (tree->GetCount() + 1) * kRowHeight));
    if (!SaveWindowHtml(window, options.html)) return Fail(1, "cannot write " + options.html);
    PrintField("html", options.html);
  }
  return 0;
}

}  // namespace

int RunTopics(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  TopicsOptions options;
  if (!TakeTopicsOptions(args, options, &error)) return Fail(2, error + "\n" + kUsage + kConnectionUsage);
  if (std::string(options.kind->name) == "zq" && options.categories.empty()) {
    options.categories = DataFolder(kBondCategories) + "/" + kBondCategories;
  }
  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  HostWindow host_window;
  if (!host_window.Create(nullptr, RECT{0, 0, 400, 700}, 1, WS_VISIBLE)) return Fail(1, "cannot make a window");
  if (!options.kind->init(&host_window)) return Fail(1, "the topic table did not load from the data service");
  const std::unique_ptr<TopicTreeWnd, void (*)(CWnd*)> window(options.kind->create(&host_window, options.categories),
                                                               options.kind->destroy);
  if (window == nullptr) return Fail(1, "cannot create the topic window");
  if (auto* bonds = dynamic_cast<CKvxZQztWnd*>(window.get()); bonds != nullptr && !bonds->GetCategoryError().empty()) {
    Fail(0, "bond categories from " + options.categories + ": " + bonds->GetCategoryError());
  }
  return Act(*window, host_window, options);
}

}  // namespace orbe::terminal
