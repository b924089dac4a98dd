#include "orbe/widgets/buttons.h"

#include <gtest/gtest.h>

#include "orbe/widgets/html_writer.h"
#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;
using Events = std::vector<std::string>;

TEST(Buttons, ButtonAndCheckBoxClicksRaiseTheirEventsUnlessDisabled) {
  TestContainer t;
  int button_id = 0, check_id = 0;
  auto& button = t.Add<CKvxButton>(WidgetKind::kButton, "OK", &button_id);
  auto& check = t.Add<CKvxCheckBox>(WidgetKind::kCheck, "all", &check_id);
  const std::string b = std::to_string(button_id), c = std::to_string(check_id);

  EXPECT_TRUE(button.Click());
  EXPECT_TRUE(check.Click());
  EXPECT_TRUE(check.GetCheck());
  EXPECT_TRUE(check.Click());
  EXPECT_EQ(t.log.Take(), (Events{"OnButtonClicked " + b, "OnCheckBoxCheckedChanged " + c + " 1",
                                  "OnCheckBoxCheckedChanged " + c + " 0"}));
  check.SetCheck(true);  // a script's own setting is silent
  button.EnableWindow(FALSE);
  check.EnableWindow(FALSE);
  EXPECT_FALSE(button.Click());
  EXPECT_FALSE(check.Click());
  EXPECT_TRUE(check.GetCheck());
  EXPECT_TRUE(t.log.events.empty());
}

TEST(Buttons, RadioGroupsKeepOneCheckedPerGroupAndParent) {
  TestContainer t;
  int a_id = 0, b_id = 0, c_id = 0, other_id = 0;
  auto& a = t.Add<CKvxRadio>(WidgetKind::kRadio, "A", &a_id);
  auto& b = t.Add<CKvxRadio>(WidgetKind::kRadio, "B", &b_id);
  auto& c = t.Add<CKvxRadio>(WidgetKind::kRadio, "C", &c_id);
  auto& other = t.Add<CKvxRadio>(WidgetKind::kRadio, "X", &other_id);
  for (CKvxRadio* radio : {&a, &b, &c}) radio->SetGroupID(1);
  other.SetGroupID(2);
  other.SetCheck(true);

  a.SetCheck(true);
  b.SetCheck(true);  // by script: unchecks A, silently
  EXPECT_FALSE(a.GetCheck());
  EXPECT_TRUE(b.GetCheck());
  EXPECT_TRUE(t.log.events.empty());

  EXPECT_TRUE(c.Click());
  EXPECT_TRUE(c.GetCheck());
  EXPECT_FALSE(b.GetCheck());
  EXPECT_TRUE(other.GetCheck()) << "another group is not touched";
  EXPECT_EQ(t.log.Take(), (Events{"OnRadioCheckedChanged " + std::to_string(b_id) + " 0",
                                  "OnRadioCheckedChanged " + std::to_string(c_id) + " 1"}));
  EXPECT_TRUE(c.Click());  // already checked: stays, nothing changes
  EXPECT_TRUE(t.log.events.empty());

  // The same group id under another parent is another group.
  TestContainer second;
  auto& far = second.Add<CKvxRadio>(WidgetKind::kRadio, "F");
  far.SetGroupID(1);
  EXPECT_TRUE(far.Click());
  EXPECT_TRUE(c.GetCheck());
}

TEST(Buttons, PictureButtonKeepsItsLookAndShowsTheHotOneUnderTheMouse) {
  TestContainer t;
  int id = 0;
  auto& button = t.Add<CKvxPictureButton>(WidgetKind::kPictureButton, "/img/go.png", &id);
  EXPECT_EQ(button.GetImagePath(), "/img/go.png");
  button.SetColors(0x0000FF, 0x00FF00);
  button.SetToolTip("tip", 500, 120);
  orbe::HtmlWriter normal, hot;
  button.RenderHtml(normal);
  button.SetHot(true);
  button.RenderHtml(hot);
  EXPECT_NE(normal.str().find("background:#ff0000"), std::string::npos);
  EXPECT_NE(hot.str().find("background:#00ff00"), std::string::npos);
  EXPECT_NE(hot.str().find("title=\"tip\""), std::string::npos);
  EXPECT_TRUE(button.Click());
  EXPECT_EQ(t.log.Take(), (Events{"OnPictureBtnClick " + std::to_string(id)}));
}

}  // namespace
