#include "orbe/widgets/container_menu.h"

#include <gtest/gtest.h>

#include "orbe/widgets/html_writer.h"
#include "widgets/event_log.h"

namespace {

using Events = std::vector<std::string>;

TEST(ContainerMenu, PicksComeOnlyFromAnOpenMenuAndEnabledCommands) {
  TestContainer t;
  orbe::ContainerMenu& menu = t.container.GetMenu();
  menu.Init("main", 0);
  EXPECT_FALSE(menu.Track(10, 10, 0)) << "an empty menu does not open";
  ASSERT_TRUE(menu.Append(0, 101, "Open", false, false, false, -1));
  ASSERT_TRUE(menu.Append(0, 102, "Delete", false, true, false, -1));
  EXPECT_FALSE(menu.Append(0, 101, "again", false, false, false, -1)) << "ids are unique";
  EXPECT_FALSE(menu.Append(0, 0, "zero", false, false, false, -1));
  EXPECT_FALSE(menu.Append(5, 103, "nowhere", false, false, false, -1)) << "no sub-menu 5";
  const int sub = menu.AppendChild(0, "More");
  ASSERT_GT(sub, 0);
  ASSERT_TRUE(menu.Append(sub, 201, "Export", false, false, false, -1));
  ASSERT_TRUE(menu.AppendSeparator(0));

  EXPECT_FALSE(menu.Pick(101)) << "closed";
  ASSERT_TRUE(menu.Track(30, 40, 0));
  EXPECT_FALSE(menu.Pick(102)) << "disabled";
  EXPECT_FALSE(menu.Pick(999));
  EXPECT_TRUE(menu.IsOpen());
  EXPECT_TRUE(menu.Pick(201));
  EXPECT_FALSE(menu.IsOpen()) << "a pick closes the menu";
  EXPECT_FALSE(menu.Pick(101));
  EXPECT_EQ(t.log.Take(), (Events{"OnMenuItemClicked 201"}));

  menu.SetSelectDisableMode(1);  // disabled items selectable
  menu.Track(0, 0, 0);
  EXPECT_TRUE(menu.Pick(102));
  EXPECT_TRUE(menu.EnableItem(102, true));
  EXPECT_FALSE(menu.Find(102)->disabled);
  EXPECT_EQ(t.log.Take(), (Events{"OnMenuItemClicked 102"}));

  menu.Init("other", 1);  // a new menu starts empty
  EXPECT_TRUE(menu.ItemsOf(0).empty());
  EXPECT_EQ(menu.Find(101), nullptr);
}

TEST(ContainerMenu, CheckMarksAndRadioRanges) {
  orbe::ContainerMenu menu;
  for (int id = 1; id <= 4; ++id) menu.Append(0, id, "item" + std::to_string(id), false, false, false, -1);
  EXPECT_TRUE(menu.CheckItem(4, true));
  EXPECT_TRUE(menu.CheckRadioItem(1, 3, 2));
  EXPECT_FALSE(menu.Find(1)->checked);
  EXPECT_TRUE(menu.Find(2)->checked);
  EXPECT_TRUE(menu.Find(2)->radio);
  EXPECT_TRUE(menu.Find(4)->checked) << "outside the range";
  EXPECT_FALSE(menu.Find(4)->radio);
  EXPECT_TRUE(menu.CheckRadioItem(1, 3, 3));
  EXPECT_FALSE(menu.Find(2)->checked);
  EXPECT_FALSE(menu.CheckRadioItem(1, 3, 4)) << "the item must lie in the range";
  EXPECT_FALSE(menu.CheckItem(9, true));
  EXPECT_TRUE(menu.SetItemText(1, "\xb4\xf2\xbf\xaa"));
  EXPECT_FALSE(menu.SetAlpha(256));
  menu.SetTitle("T", 20);
  EXPECT_TRUE(menu.RemoveTitle());
  EXPECT_FALSE(menu.RemoveTitle());

  orbe::HtmlWriter closed;
  menu.RenderHtml(closed);
  EXPECT_EQ(closed.str(), "") << "a closed menu shows nothing";
  menu.Track(5, 6, 0);
  orbe::HtmlWriter open;
  menu.RenderHtml(open);
  EXPECT_NE(open.str().find("\xe6\x89\x93\xe5\xbc\x80"), std::string::npos);  // "打开" in UTF-8
  EXPECT_NE(open.str().find("data-item=\"3\">&#9679; item3"), std::string::npos);
}

}  // namespace
