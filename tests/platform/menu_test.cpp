#include "orbe/platform/menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/scoped_handler.h"

namespace {

class CommandWnd : public CWnd {
 public:
  ~CommandWnd() override { DestroyWindow(); }
  std::vector<WPARAM> commands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND) commands.push_back(wparam);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

using ScopedMenuHandler = orbe::testing::ScopedHandler<orbe::PopupMenuHandler, orbe::SetPopupMenuHandler>;

// "删除所选" and "删除全部", as the condition window's pop-up has them.
const std::string kDeleteSelected = "删除所选";
const std::string kDeleteAll = "删除全部";

TEST(MenuTest, TrackHandsTheMenuToTheHandlerAndDeliversThePick) {
  CommandWnd owner;
  ASSERT_TRUE(owner.Create(nullptr, RECT{0, 0, 100, 100}, 1));
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendMenu(MF_STRING, 13010, kDeleteSelected.c_str()));
  ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR));
  ASSERT_TRUE(menu.AppendMenu(MF_STRING | MF_GRAYED, 13002, kDeleteAll.c_str()));
  const HMENU sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(sub, MF_STRING | MF_CHECKED, 15624, "info"));
  ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "more"));

  struct Case {
    const char* name;
    UINT flags;
    UINT pick;
    BOOL result;
    std::vector<WPARAM> commands;
  } const cases[] = {
      {"posted command", TPM_RIGHTBUTTON, 13010, TRUE, {13010}},
      {"returned command", TPM_RETURNCMD, 15624, 15624, {}},
      {"returned and not notified", TPM_RETURNCMD | TPM_NONOTIFY, 13010, 13010, {}},
      {"disabled pick dismisses", TPM_RETURNCMD, 13002, 0, {}},
      {"unknown pick dismisses", 0, 4242, TRUE, {}},
      {"dismissed", TPM_RETURNCMD, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    owner.commands.clear();
    orbe::PopupMenuRequest seen;
    ScopedMenuHandler user([&](const orbe::PopupMenuRequest& request) {
      seen = request;
      return c.pick;
    });
    EXPECT_EQ(menu.TrackPopupMenu(c.flags, 30, 40, &owner), c.result);
    orbe::RunUntilIdle();
    EXPECT_EQ(owner.commands, c.commands);
    ASSERT_EQ(seen.items.size(), 4u);
    EXPECT_EQ(seen.owner, owner.GetSafeHwnd());
    EXPECT_EQ(seen.x, 30);
    EXPECT_EQ(seen.items[0].text, kDeleteSelected);
    EXPECT_TRUE(seen.items[1].separator);
    EXPECT_TRUE(seen.items[2].disabled);
    ASSERT_EQ(seen.items[3].submenu.size(), 1u);
    EXPECT_TRUE(seen.items[3].submenu[0].checked);
    EXPECT_EQ(orbe::FindPopupMenuCommand(seen.items, kDeleteSelected), 13010u);
    EXPECT_EQ(orbe::FindPopupMenuCommand(seen.items, kDeleteAll), 0u);  // disabled
  }
  // No menu or no owner: nothing to show.
  EXPECT_FALSE(TrackPopupMenu(nullptr, 0, 0, 0, 0, owner.GetSafeHwnd(), nullptr));
  EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, nullptr));
}

TEST(MenuTest, DefaultHandlerTakesQueuedChoicesInOrder) {
  CommandWnd owner;
  ASSERT_TRUE(owner.Create(nullptr, RECT{0, 0, 100, 100}, 1));
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 1, "a");
  menu.AppendMenu(MF_STRING, 2, "b");
  orbe::QueuePopupMenuChoice(2);
  orbe::QueuePopupMenuChoice(1);
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 2);
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 1);
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 0);
  orbe::QueuePopupMenuChoice(2);
  orbe::ClearPopupMenuChoices();
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 0);
}

TEST(MenuTest, ItemStateByCommandAndByPosition) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  for (UINT id = 10; id <= 13; ++id) menu.AppendMenu(MF_STRING, id, std::to_string(id).c_str());
  CMenu sub;
  ASSERT_TRUE(sub.CreatePopupMenu());
  sub.AppendMenu(MF_STRING, 20, "twenty");
  ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "sub"));

  EXPECT_EQ(menu.GetMenuItemCount(), 5);
  EXPECT_EQ(menu.GetMenuItemID(1), 11u);
  EXPECT_EQ(menu.GetMenuItemID(4), static_cast<UINT>(-1));
  ASSERT_NE(menu.GetSubMenu(4), nullptr);
  EXPECT_EQ(menu.GetSubMenu(4)->GetMenuItemID(0), 20u);
  EXPECT_EQ(menu.GetSubMenu(0), nullptr);

  // By command, sub-menus are searched too.
  EXPECT_EQ(menu.CheckMenuItem(20, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(menu.CheckMenuItem(20, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(menu.EnableMenuItem(2, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(menu.GetMenuState(12, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(menu.CheckMenuItem(99, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_TRUE(menu.CheckMenuRadioItem(10, 13, 11, MF_BYCOMMAND));
  for (UINT id = 10; id <= 13; ++id) {
    EXPECT_EQ((menu.GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED) != 0, id == 11) << id;
  }
  EXPECT_FALSE(menu.CheckMenuRadioItem(10, 13, 14, MF_BYCOMMAND));

  char text[4] = {};
  EXPECT_EQ(GetMenuStringA(menu.GetSafeHmenu(), 20, text, sizeof(text), MF_BYCOMMAND), 3);
  EXPECT_STREQ(text, "twe");
  EXPECT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, 9, "nine"));
  EXPECT_TRUE(menu.InsertMenu(13, MF_BYCOMMAND | MF_STRING, 30, "before 13"));
  EXPECT_EQ(menu.GetMenuItemID(0), 9u);
  EXPECT_EQ(menu.GetMenuItemID(4), 30u);
  EXPECT_TRUE(menu.DeleteMenu(30, MF_BYCOMMAND));
  EXPECT_EQ(menu.GetMenuItemID(4), 13u);
  // Deleting the sub-menu entry destroys the sub-menu with it.
  const HMENU submenu = GetSubMenu(menu.GetSafeHmenu(), 5);
  EXPECT_TRUE(menu.DeleteMenu(5, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(submenu));
  // A menu cannot hold itself; a destroyed menu is found missing.
  EXPECT_FALSE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(menu.GetSafeHmenu()), "self"));
  const HMENU gone = menu.GetSafeHmenu();
  EXPECT_TRUE(menu.DestroyMenu());
  EXPECT_FALSE(IsMenu(gone));
  EXPECT_EQ(GetMenuItemCount(gone), -1);
  EXPECT_FALSE(AppendMenuA(gone, MF_STRING, 1, "x"));
}

}  // namespace
