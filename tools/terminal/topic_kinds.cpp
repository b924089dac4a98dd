#include "topic_kinds.h"

#include <algorithm>

#include "data_folder.h"

namespace orbe::terminal {
namespace {

constexpr const char kBondCategories[] = "topics/bond_categories.xml";
constexpr UINT kCheckedMessage = WM_USER + 1;
constexpr UINT kDoubleClickMessage = WM_USER + 2;
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE;

template <typename Window>
Window& As(TopicTreeWnd& window) {
  return static_cast<Window&>(window);
}

}  // namespace

const std::vector<TopicKind>& TopicKinds() {
  static const std::vector<TopicKind> kinds = {
      {"gg", "港股专题", CKvxGGztWnd::InitGGSession,
       [](CWnd* parent, const std::string&) -> TopicTreeWnd* {
         return CKvxGGztWnd::CreateGGztWnd(parent, kTreeRect, kStyle, 100);
       },
       [](TopicTreeWnd& w) { return As<CKvxGGztWnd>(w).GetAllSelStockCode(); },
       [](TopicTreeWnd& w, Pairs& out) { As<CKvxGGztWnd>(w).GetGGCodeAndName(out); }, CKvxGGztWnd::DeleteGGztWnd},
      {"jj", "基金专题", CKvxJJztWnd::InitJJSession,
       [](CWnd* parent, const std::string&) -> TopicTreeWnd* {
         return CKvxJJztWnd::CreateJJztWnd(parent, kTreeRect, kStyle, 100);
       },
       [](TopicTreeWnd& w) { return As<CKvxJJztWnd>(w).GetSelJJCode(); },
       [](TopicTreeWnd& w, Pairs& out) { As<CKvxJJztWnd>(w).GetJJCodeAndName(out); }, CKvxJJztWnd::DeleteJJztWnd},
      {"qh", "期货专题", CKvxQHztWnd::InitQHSession,
       [](CWnd* parent, const std::string&) -> TopicTreeWnd* {
         return CKvxQHztWnd::CreateQHztWnd(parent, kTreeRect, kStyle, 100);
       },
       [](TopicTreeWnd& w) { return As<CKvxQHztWnd>(w).GetAllSelQHCode(); },
       [](TopicTreeWnd& w, Pairs& out) { As<CKvxQHztWnd>(w).GetQHCodeAndName(out); }, CKvxQHztWnd::DeleteQHztWnd},
      {"zq", "债券专题", CKvxZQztWnd::InitZQSession,
       [](CWnd* parent, const std::string& categories) -> TopicTreeWnd* {
         return CKvxZQztWnd::CreateZQztWnd(parent, kTreeRect, kStyle, 100, categories);
       },
       [](TopicTreeWnd& w) { return As<CKvxZQztWnd>(w).GetAllSelZQCode(); },
       [](TopicTreeWnd& w, Pairs& out) { As<CKvxZQztWnd>(w).GetAllSelZQCodeAndName(out); },
       CKvxZQztWnd::DeleteZQztWnd},
  };
  return kinds;
}

const TopicKind* FindTopicKind(const std::string& name) {
  const std::vector<TopicKind>& kinds = TopicKinds();
  const auto kind = std::find_if(kinds.begin(), kinds.end(), [&](const TopicKind& k) { return name == k.name; });
  return kind == kinds.end() ? nullptr : &*kind;
}

std::string DefaultTopicCategories(const TopicKind& kind) {
  if (std::string(kind.name) != "zq") return "";
  return DataFolder(kBondCategories) + "/" + kBondCategories;
}

void TopicHostWindow::Listen(TopicTreeWnd& window) {
  window.RegisterCheckBoxNotify(this, kCheckedMessage);
  if (auto* funds = dynamic_cast<CKvxJJztWnd*>(&window)) funds->RegisterDBClickItemNotify(this, kDoubleClickMessage);
}

LRESULT TopicHostWindow::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
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

}  // namespace orbe::terminal
