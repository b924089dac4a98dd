// The script container's pop-up menu: items with ids, sub-menus, check and
// radio marks, disabled items, a title. A user's pick of an open menu raises
// "OnMenuItemClicked"(item id).
#ifndef ORBE_WIDGETS_CONTAINER_MENU_H_
#define ORBE_WIDGETS_CONTAINER_MENU_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

namespace orbe {

struct MenuItem {
  int id = 0;           // the command id; 0 for separators and sub-menu entries
  int menu = 0;         // the (sub-)menu holding it; 0 is the top level
  int submenu = 0;      // the sub-menu this entry opens, 0 for none
  std::string text;     // GBK
  bool separator = false;
  bool checked = false;
  bool disabled = false;
  bool radio = false;   // drawn with a radio mark instead of a check mark
  int image = -1;       // image index, -1 none
};

class ContainerMenu {
 public:
  explicit ContainerMenu(IWidgetEventSink* sink = nullptr) : sink_(sink) {}

  // Starts an empty menu (title and look kept apart from the items).
  void Init(const std::string& name, int style);
  const std::string& GetName() const { return name_; }
  int GetMenuStyle() const { return style_; }
  // Refused for id 0, an id in use, or a sub-menu that does not exist.
  bool Append(int menu, int id, const std::string& text, bool checked, bool disabled, bool radio, int image);
  bool AppendSeparator(int menu);
  // Gives the new sub-menu's number (> 0), 0 when `menu` does not exist.
  int AppendChild(int menu, const std::string& text);
  // Items of one (sub-)menu in order.
  std::vector<const MenuItem*> ItemsOf(int menu) const;
  const MenuItem* Find(int id) const;

  bool CheckItem(int id, bool checked);
  // Checks `id` and unchecks the other items whose ids lie in first..last,
  // all drawn as radio items; refused unless first <= id <= last.
  bool CheckRadioItem(int first, int last, int id);
  bool SetRadioItem(int id, bool radio);
  bool EnableItem(int id, bool enable);
  bool SetItemText(int id, const std::string& text);
  bool SetItemImage(int id, int image);

  void SetTitle(const std::string& title, int height) { title_ = title, title_height_ = height; }
  void SetTitleColor(COLORREF text, COLORREF bk, COLORREF border) { title_colors_ = {text, bk, border}; }
  bool RemoveTitle();
  const std::string& GetTitle() const { return title_; }
  int GetTitleHeight() const { return title_height_; }
  struct TitleColors {
    COLORREF text = CLR_DEFAULT, bk = CLR_DEFAULT, border = CLR_DEFAULT;
  };
  const TitleColors& GetTitleColors() const { return title_colors_; }
  // 0 (transparent) .. 255 (opaque).
  bool SetAlpha(int alpha);
  int GetAlpha() const { return alpha_; }
  void SetSelectDisableMode(int mode) { select_disabled_ = mode; }
  int GetSelectDisableMode() const { return select_disabled_; }
  void SetDisplayMode(int mode) { display_mode_ = mode; }
  int GetDisplayMode() const { return display_mode_; }

  // Opens the menu at (x, y); refused for an empty menu. It stays open until
  // a pick or Dismiss, since nothing here can block for the user.
  bool Track(int x, int y, int flags);
  bool IsOpen() const { return open_; }
  POINT GetTrackPoint() const { return track_point_; }
  int GetTrackFlags() const { return track_flags_; }
  void Dismiss() { open_ = false; }
  // The user picks a command: refused unless the menu is open and the item
  // is a command that is enabled (or disabled items are selectable by the
  // select-disable mode 1); the menu closes and the pick is raised.
  bool Pick(int id);

  void RenderHtml(HtmlWriter& out) const;

 private:
  MenuItem* FindMutable(int id);
  bool MenuExists(int menu) const { return menu >= 0 && menu <= submenus_; }

  IWidgetEventSink* sink_;
  std::string name_;
  int style_ = 0;
  std::vector<MenuItem> items_;
  int submenus_ = 0;
  std::string title_;
  int title_height_ = 0;
  TitleColors title_colors_;
  int alpha_ = 255;
  int select_disabled_ = 0;
  int display_mode_ = 0;
  bool open_ = false;
  POINT track_point_{};
  int track_flags_ = 0;
};

}  // namespace orbe

#endif  // ORBE_WIDGETS_CONTAINER_MENU_H_
