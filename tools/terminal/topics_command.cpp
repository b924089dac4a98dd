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
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/html_render.h"
#include "terminal_output.h"
#include "topic_kinds.h"

namespace orbe::terminal {
namespace {

constexpr const char* kUsage =
    "usage: orbe-terminal topics --kind gg|jj|qh|zq [--check NAME]... [--click ITEM]... [--dblclick ITEM]... "
    "[--categories FILE] [--no-head] [--html OUT] ";
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
      options.kind = FindTopicKind(value);
      if (options.kind == nullptr) {
        *error = "unknown kind " + value + " (gg, jj, qh or zq)";
        return false;
      }
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

int Act(TopicTreeWnd& window, TopicHostWindow& host, const TopicsOptions& options) {
  auto* tree = dynamic_cast<CXHtmlTree*>(window.GetDlgItem(TopicTreeWnd::kTreeId));
  if (tree == nullptr) return Fail(1, "the topic window has no tree");
  PrintField("tree", window.TopicTitle() + " (" + std::to_string(tree->GetCount()) + " items)");
  const std::vector<std::string> unknown = UnknownNames(*tree, options);
  for (const std::string& name : unknown) Fail(1, "unknown item " + GbkToUtf8(name));
  if (!unknown.empty()) return 1;
  window.ShowHead(window.TopicTitle(), options.head);
  host.Listen(window);
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
  if (options.categories.empty()) options.categories = DefaultTopicCategories(*options.kind);
  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  TopicHostWindow host_window;
  if (!host_window.Create(nullptr, RECT{0, 0, 400, 700}, 1, WS_VISIBLE)) return Fail(1, "cannot make a window");
  if (!options.kind->init(&host_window)) return Fail(1, "the topic table did not load from the data service");
  const std::unique_ptr<TopicTreeWnd, void (*)(CWnd*)> window(
      options.kind->create(&host_window, options.categories), options.kind->destroy);
  if (window == nullptr) return Fail(1, "cannot create the topic window");
  if (auto* bonds = dynamic_cast<CKvxZQztWnd*>(window.get());
      bonds != nullptr && !bonds->GetCategoryError().empty()) {
    Fail(0, "bond categories from " + options.categories + ": " + bonds->GetCategoryError());
  }
  return Act(*window, host_window, options);
}

}  // namespace orbe::terminal
