// Pop-up menus, as the platform's menu functions and the framework's CMenu.
// A menu is real state (items, check marks, disabled items, sub-menus);
// TrackPopupMenu hands it to a replaceable handler, which plays the user
// and returns the command picked. The default handler takes the next choice
// queued with orbe::QueuePopupMenuChoice (the terminal's scripted clicks)
// and otherwise dismisses the menu; it prints the menu and the outcome.
#ifndef ORBE_PLATFORM_MENU_H_
#define ORBE_PLATFORM_MENU_H_

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

struct HMENU__;
using HMENU = HMENU__*;

// Item flags.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_RADIOCHECK = 0x0200;
// TrackPopupMenu flags.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreatePopupMenu();
HMENU CreateMenu();
// Destroys the menu and its sub-menus; FALSE for a bad handle.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// With MF_POPUP, id is the sub-menu's HMENU (the menu then owns it).
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
// Inserts before the item at `position` (MF_BYPOSITION; past the end
// appends) or before the command `position`.
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text);
// Removes the item; a sub-menu it opens is destroyed (DeleteMenu) or kept (RemoveMenu).
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// By command (searching sub-menus) or by position. The previous state
// (MF_CHECKED / MF_UNCHECKED, MF_GRAYED / MF_ENABLED), or (DWORD)-1 when
// the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags);
// Checks `item` with a radio mark and clears the other items first..last.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT item, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);
// The command of the item at a position; (UINT)-1 for a sub-menu entry or none.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
// Shows the menu at (x, y) in screen coordinates for the owner window (on
// its thread) and waits for the handler's pick. With TPM_RETURNCMD the
// result is the command picked, 0 when dismissed; without it the result is
// TRUE and a picked command is posted to the owner as WM_COMMAND (unless
// TPM_NONOTIFY). 0 for a bad menu or owner window. A pick that is not an
// enabled command of the menu counts as a dismissal.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);

// The framework's menu object. It owns its menu: the destructor destroys it.
class CMenu {
 public:
  CMenu() = default;
  ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  BOOL CreatePopupMenu();
  BOOL CreateMenu();
  BOOL DestroyMenu();
  BOOL Attach(HMENU menu);
  HMENU Detach();
  HMENU GetSafeHmenu() const { return m_hMenu; }

  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
  BOOL DeleteMenu(UINT position, UINT flags);
  BOOL RemoveMenu(UINT position, UINT flags);
  UINT CheckMenuItem(UINT item, UINT flags);
  UINT EnableMenuItem(UINT item, UINT flags);
  BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);
  UINT GetMenuState(UINT item, UINT flags) const;
  int GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;
  // A view of the sub-menu at the position, kept by this object (it does
  // not destroy the sub-menu); null when there is none.
  CMenu* GetSubMenu(int position);
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);

  HMENU m_hMenu = nullptr;

 private:
  bool owned_ = true;
  std::map<HMENU, std::unique_ptr<CMenu>> views_;
};

namespace orbe {

// One item as the handler sees it; texts are GBK.
struct PopupMenuItem {
  UINT id = 0;  // the command; 0 for separators and sub-menu entries
  std::string text;
  bool separator = false;
  bool checked = false;
  bool radio = false;
  bool disabled = false;  // grayed or disabled
  std::vector<PopupMenuItem> submenu;
};

struct PopupMenuRequest {
  HWND owner = nullptr;
  int x = 0;
  int y = 0;
  UINT flags = 0;
  std::vector<PopupMenuItem> items;
};

// Returns the command the user picked, 0 to dismiss the menu.
using PopupMenuHandler = std::function<UINT(const PopupMenuRequest& request)>;

// Replaces the handler for the whole process and returns the previous one;
// an empty function restores the default.
PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler);
// The default handler answers the next menu with this command (0 dismisses
// it); choices are used in the order queued.
void QueuePopupMenuChoice(UINT id);
void ClearPopupMenuChoices();
// The command of the first enabled item with exactly this text (searching
// sub-menus), 0 when none: for handlers that pick by label.
UINT FindPopupMenuCommand(const std::vector<PopupMenuItem>& items, const std::string& text);

}  // namespace orbe

#endif  // ORBE_PLATFORM_MENU_H_
