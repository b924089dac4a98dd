// Menus as tokens of a process-wide table. A handle is never reused, so a
// destroyed menu's handle is found missing rather than reaching another.
#include "orbe/platform/menu.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

#include "orbe/platform/text.h"
#include "platform/no_destructor.h"
#include "platform/replaceable_handler.h"
#include "platform/window_dispatch.h"

namespace orbe {
namespace {

struct MenuEntry {
  UINT flags = 0;
  UINT id = 0;
  HMENU submenu = nullptr;
  std::string text;
};

struct MenuData {
  std::vector<MenuEntry> entries;
};

constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_RADIOCHECK;
constexpr DWORD kNoItem = static_cast<DWORD>(-1);

class MenuTable {
 public:
  static MenuTable& Instance() {
    static NoDestructor<MenuTable> table;
    return *table.get();
  }

  std::mutex& mutex() { return mutex_; }

  HMENU AddLocked() {
    const auto handle = reinterpret_cast<HMENU>(next_++);
    menus_.emplace(handle, MenuData{});
    return handle;
  }
  MenuData* FindLocked(HMENU menu) {
    const auto at = menus_.find(menu);
    return at != menus_.end() ? &at->second : nullptr;
  }
  void DestroyLocked(HMENU menu) {
    const auto at = menus_.find(menu);
    if (at == menus_.end()) return;
    std::vector<HMENU> children;
    for (const MenuEntry& entry : at->second.entries) {
      if (entry.submenu != nullptr) children.push_back(entry.submenu);
    }
    menus_.erase(at);
    for (const HMENU child : children) DestroyLocked(child);
  }

 private:
  std::mutex mutex_;
  std::unordered_map<HMENU, MenuData> menus_;
  std::uintptr_t next_ = 0x30000;
};

struct ItemRef {
  MenuData* menu;
  std::size_t index;
};

// An item by position, or by command anywhere in the menu and its sub-menus.
std::optional<ItemRef> FindItemLocked(MenuTable& table, HMENU handle, UINT item, UINT flags, int depth = 0) {
  MenuData* menu = table.FindLocked(handle);
  if (menu == nullptr || depth > 32) return std::nullopt;
  if ((flags & MF_BYPOSITION) != 0) {
    if (item >= menu->entries.size()) return std::nullopt;
    return ItemRef{menu, item};
  }
  for (std::size_t i = 0; i < menu->entries.size(); ++i) {
    const MenuEntry& entry = menu->entries[i];
    if (entry.submenu == nullptr && (entry.flags & MF_SEPARATOR) == 0 && entry.id == item) {
      return ItemRef{menu, i};
    }
  }
  for (const MenuEntry& entry : menu->entries) {
    if (entry.submenu == nullptr) continue;
    if (const auto found = FindItemLocked(table, entry.submenu, item, flags, depth + 1)) return found;
  }
  return std::nullopt;
}

// Every command item of the menu and its sub-menus.
template <class Visit>
void ForEachCommandLocked(MenuTable& table, HMENU handle, const Visit& visit, int depth = 0) {
  MenuData* menu = table.FindLocked(handle);
  if (menu == nullptr || depth > 32) return;
  for (MenuEntry& entry : menu->entries) {
    if (entry.submenu != nullptr) {
      ForEachCommandLocked(table, entry.submenu, visit, depth + 1);
    } else if ((entry.flags & MF_SEPARATOR) == 0) {
      visit(entry);
    }
  }
}

std::optional<MenuEntry> MakeEntryLocked(MenuTable& table, HMENU owner, UINT flags, UINT_PTR id, LPCSTR text) {
  MenuEntry entry;
  entry.flags = flags & ~MF_BYPOSITION;
  if ((flags & MF_POPUP) != 0) {
    entry.submenu = reinterpret_cast<HMENU>(id);
    // A sub-menu must exist and cannot hold its own parent.
    if (entry.submenu == owner || table.FindLocked(entry.submenu) == nullptr) return std::nullopt;
  } else if ((flags & MF_SEPARATOR) == 0) {
    entry.id = static_cast<UINT>(id);
  }
  if (text != nullptr && (flags & MF_SEPARATOR) == 0) entry.text = text;
  return entry;
}

std::vector<PopupMenuItem> SnapshotLocked(MenuTable& table, HMENU handle, int depth = 0) {
  std::vector<PopupMenuItem> items;
  const MenuData* menu = table.FindLocked(handle);
  if (menu == nullptr || depth > 32) return items;
  for (const MenuEntry& entry : menu->entries) {
    PopupMenuItem item;
    item.separator = (entry.flags & MF_SEPARATOR) != 0;
    item.id = entry.submenu == nullptr && !item.separator ? entry.id : 0;
    item.text = entry.text;
    item.checked = (entry.flags & MF_CHECKED) != 0;
    item.radio = (entry.flags & MF_RADIOCHECK) != 0;
    item.disabled = (entry.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    if (entry.submenu != nullptr) item.submenu = SnapshotLocked(table, entry.submenu, depth + 1);
    items.push_back(std::move(item));
  }
  return items;
}

bool IsEnabledCommand(const std::vector<PopupMenuItem>& items, UINT id) {
  for (const PopupMenuItem& item : items) {
    if (item.disabled) continue;
    if (!item.separator && item.submenu.empty() && item.id == id) return true;
    if (IsEnabledCommand(item.submenu, id)) return true;
  }
  return false;
}

UINT QueuedChoiceOrDismiss(const PopupMenuRequest& request);

struct MenuHandlerState {
  ReplaceableHandler<PopupMenuHandler> handler{QueuedChoiceOrDismiss};
  std::mutex mutex;  // guards the queued choices
  std::deque<UINT> choices;
};

MenuHandlerState& HandlerState() {
  static NoDestructor<MenuHandlerState> state;
  return *state.get();
}

void AppendItemTexts(const std::vector<PopupMenuItem>& items, std::string* line) {
  for (const PopupMenuItem& item : items) {
    if (item.separator) continue;
    if (!line->empty() && line->back() != '(') *line += " | ";
    *line += GbkToUtf8(item.text);
    if (!item.submenu.empty()) {
      *line += " (";
      AppendItemTexts(item.submenu, line);
      *line += ")";
    } else {
      *line += Format(" [%u]", item.id);
    }
  }
}

UINT QueuedChoiceOrDismiss(const PopupMenuRequest& request) {
  UINT choice = 0;
  {
    MenuHandlerState& state = HandlerState();
    const std::lock_guard lock(state.mutex);
    if (!state.choices.empty()) {
      choice = state.choices.front();
      state.choices.pop_front();
    }
  }
  std::string line;
  AppendItemTexts(request.items, &line);
  line = "[menu] " + line + Format(" -> %u\n", choice);
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  return choice;
}

}  // namespace

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler) {
  return HandlerState().handler.Set(std::move(handler));
}

void QueuePopupMenuChoice(UINT id) {
  MenuHandlerState& state = HandlerState();
  const std::lock_guard lock(state.mutex);
  state.choices.push_back(id);
}

void ClearPopupMenuChoices() {
  MenuHandlerState& state = HandlerState();
  const std::lock_guard lock(state.mutex);
  state.choices.clear();
}

UINT FindPopupMenuCommand(const std::vector<PopupMenuItem>& items, const std::string& text) {
  for (const PopupMenuItem& item : items) {
    if (item.disabled || item.separator) continue;
    if (item.submenu.empty() && item.text == text) return item.id;
    if (const UINT found = FindPopupMenuCommand(item.submenu, text)) return found;
  }
  return 0;
}

}  // namespace orbe

namespace {

using orbe::MenuTable;

template <class Body>
auto WithTable(Body body) {
  MenuTable& table = MenuTable::Instance();
  const std::lock_guard lock(table.mutex());
  return body(table);
}

BOOL InsertAt(HMENU menu, std::optional<std::size_t> before, UINT flags, UINT_PTR id, LPCSTR text,
              UINT position_flags, UINT position) {
  return WithTable([&](MenuTable& table) -> BOOL {
    orbe::MenuData* data = table.FindLocked(menu);
    if (data == nullptr) return FALSE;
    const auto entry = orbe::MakeEntryLocked(table, menu, flags, id, text);
    if (!entry) return FALSE;
    std::size_t index = data->entries.size();
    if (before) {
      index = std::min(*before, data->entries.size());
    } else if (position_flags != 0xFFFFFFFF) {
      const auto found = orbe::FindItemLocked(table, menu, position, MF_BYCOMMAND);
      // By command the item must lie in this menu itself.
      if (!found || found->menu != data) return FALSE;
      index = found->index;
    }
    data->entries.insert(data->entries.begin() + static_cast<std::ptrdiff_t>(index), *entry);
    return TRUE;
  });
}

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroy_submenu) {
  return WithTable([&](MenuTable& table) -> BOOL {
    std::optional<orbe::ItemRef> found;
    if ((flags & MF_BYPOSITION) != 0) {
      found = orbe::FindItemLocked(table, menu, position, flags);
    } else {
      found = orbe::FindItemLocked(table, menu, position, MF_BYCOMMAND);
    }
    if (!found) return FALSE;
    const HMENU submenu = found->menu->entries[found->index].submenu;
    found->menu->entries.erase(found->menu->entries.begin() + static_cast<std::ptrdiff_t>(found->index));
    if (destroy_submenu && submenu != nullptr) table.DestroyLocked(submenu);
    return TRUE;
  });
}

}  // namespace

HMENU CreatePopupMenu() {
  return WithTable([](MenuTable& table) { return table.AddLocked(); });
}

HMENU CreateMenu() { return CreatePopupMenu(); }

BOOL DestroyMenu(HMENU menu) {
  return WithTable([&](MenuTable& table) -> BOOL {
    if (table.FindLocked(menu) == nullptr) return FALSE;
    table.DestroyLocked(menu);
    return TRUE;
  });
}

BOOL IsMenu(HMENU menu) {
  return WithTable([&](MenuTable& table) { return table.FindLocked(menu) != nullptr ? TRUE : FALSE; });
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  return InsertAt(menu, std::nullopt, flags, id, text, 0xFFFFFFFF, 0);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  if ((flags & MF_BYPOSITION) != 0) return InsertAt(menu, position, flags, id, text, 0xFFFFFFFF, 0);
  return InsertAt(menu, std::nullopt, flags, id, text, MF_BYCOMMAND, position);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, true); }

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, false); }

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  return WithTable([&](MenuTable& table) -> DWORD {
    const auto found = orbe::FindItemLocked(table, menu, item, flags);
    if (!found) return orbe::kNoItem;
    UINT& state = found->menu->entries[found->index].flags;
    const DWORD previous = state & MF_CHECKED;
    state = (state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
  });
}

DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  return WithTable([&](MenuTable& table) -> DWORD {
    const auto found = orbe::FindItemLocked(table, menu, item, flags);
    if (!found) return orbe::kNoItem;
    UINT& state = found->menu->entries[found->index].flags;
    const DWORD previous = state & (MF_GRAYED | MF_DISABLED);
    state = (state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
  });
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT item, UINT flags) {
  if (first > last || item < first || item > last) return FALSE;
  return WithTable([&](MenuTable& table) -> BOOL {
    orbe::MenuData* data = table.FindLocked(menu);
    if (data == nullptr) return FALSE;
    bool checked = false;
    if ((flags & MF_BYPOSITION) != 0) {
      if (last >= data->entries.size()) return FALSE;
      for (UINT i = first; i <= last; ++i) {
        UINT& state = data->entries[i].flags;
        state = (state & ~MF_CHECKED) | (i == item ? (MF_CHECKED | MF_RADIOCHECK) : 0);
      }
      return TRUE;
    }
    orbe::ForEachCommandLocked(table, menu, [&](orbe::MenuEntry& entry) {
      if (entry.id < first || entry.id > last) return;
      entry.flags = (entry.flags & ~MF_CHECKED) | (entry.id == item ? (MF_CHECKED | MF_RADIOCHECK) : 0);
      checked = checked || entry.id == item;
    });
    return checked ? TRUE : FALSE;
  });
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  return WithTable([&](MenuTable& table) -> UINT {
    const auto found = orbe::FindItemLocked(table, menu, item, flags);
    if (!found) return orbe::kNoItem;
    const orbe::MenuEntry& entry = found->menu->entries[found->index];
    return entry.flags & (orbe::kStateFlags | MF_SEPARATOR | MF_POPUP);
  });
}

int GetMenuItemCount(HMENU menu) {
  return WithTable([&](MenuTable& table) -> int {
    const orbe::MenuData* data = table.FindLocked(menu);
    return data != nullptr ? static_cast<int>(data->entries.size()) : -1;
  });
}

UINT GetMenuItemID(HMENU menu, int position) {
  return WithTable([&](MenuTable& table) -> UINT {
    const orbe::MenuData* data = table.FindLocked(menu);
    if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->entries.size()) {
      return static_cast<UINT>(-1);
    }
    const orbe::MenuEntry& entry = data->entries[static_cast<std::size_t>(position)];
    if (entry.submenu != nullptr) return static_cast<UINT>(-1);
    return (entry.flags & MF_SEPARATOR) != 0 ? 0 : entry.id;
  });
}

HMENU GetSubMenu(HMENU menu, int position) {
  return WithTable([&](MenuTable& table) -> HMENU {
    const orbe::MenuData* data = table.FindLocked(menu);
    if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->entries.size()) {
      return nullptr;
    }
    return data->entries[static_cast<std::size_t>(position)].submenu;
  });
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  const std::string text = WithTable([&](MenuTable& table) -> std::string {
    const auto found = orbe::FindItemLocked(table, menu, item, flags);
    return found ? found->menu->entries[found->index].text : std::string();
  });
  // As the platform: a null buffer asks for the length.
  if (buffer == nullptr || size <= 0) return static_cast<int>(text.size());
  return static_cast<int>(orbe::CopyBounded(buffer, static_cast<std::size_t>(size), text));
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner, const RECT* /*rect*/) {
  if (!orbe::IsOwnWindow(owner)) return FALSE;
  orbe::PopupMenuRequest request;
  request.owner = owner;
  request.x = x;
  request.y = y;
  request.flags = flags;
  const bool exists = WithTable([&](MenuTable& table) {
    if (table.FindLocked(menu) == nullptr) return false;
    request.items = orbe::SnapshotLocked(table, menu);
    return true;
  });
  if (!exists) return FALSE;
  // Called outside every lock: the handler may run loops and show boxes.
  UINT choice = orbe::HandlerState().handler.Get()(request);
  if (choice != 0 && !orbe::IsEnabledCommand(request.items, choice)) choice = 0;
  if ((flags & TPM_RETURNCMD) != 0) return static_cast<BOOL>(choice);
  if (choice != 0 && (flags & TPM_NONOTIFY) == 0) {
    ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(choice), 0), 0);
  }
  return TRUE;
}

CMenu::~CMenu() {
  if (owned_) DestroyMenu();
}

BOOL CMenu::CreatePopupMenu() {
  if (m_hMenu != nullptr) return FALSE;
  m_hMenu = ::CreatePopupMenu();
  owned_ = true;
  return m_hMenu != nullptr ? TRUE : FALSE;
}

BOOL CMenu::CreateMenu() { return CreatePopupMenu(); }

BOOL CMenu::DestroyMenu() {
  views_.clear();
  if (m_hMenu == nullptr) return FALSE;
  const BOOL destroyed = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return destroyed;
}

BOOL CMenu::Attach(HMENU menu) {
  if (m_hMenu != nullptr || !IsMenu(menu)) return FALSE;
  m_hMenu = menu;
  owned_ = true;
  return TRUE;
}

HMENU CMenu::Detach() {
  views_.clear();
  return std::exchange(m_hMenu, nullptr);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) { return ::AppendMenuA(m_hMenu, flags, id, text); }

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  return ::InsertMenuA(m_hMenu, position, flags, id, text);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }

BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }

UINT CMenu::CheckMenuItem(UINT item, UINT flags) { return ::CheckMenuItem(m_hMenu, item, flags); }

UINT CMenu::EnableMenuItem(UINT item, UINT flags) { return ::EnableMenuItem(m_hMenu, item, flags); }

BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) {
  return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }

int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }

UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }

CMenu* CMenu::GetSubMenu(int position) {
  const HMENU submenu = ::GetSubMenu(m_hMenu, position);
  if (submenu == nullptr) return nullptr;
  auto& view = views_[submenu];
  if (!view) {
    view = std::make_unique<CMenu>();
    view->m_hMenu = submenu;
    view->owned_ = false;
  }
  return view.get();
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner != nullptr ? owner->GetSafeHwnd() : nullptr, rect);
}
