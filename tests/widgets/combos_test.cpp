#include "orbe/widgets/combos.h"

#include <gtest/gtest.h>

#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;
using Events = std::vector<std::string>;

TEST(Combos, ComboSelectionFollowsItsEntryAndOnlyUserPicksRaiseEvents) {
  TestContainer t;
  int id = 0;
  auto& combo = t.Add<CKvxComboBox>(WidgetKind::kCombo, "", &id);
  const std::string sid = std::to_string(id);
  EXPECT_EQ(combo.AddString("Beta"), 0);
  EXPECT_EQ(combo.AddString("\xd6\xd0\xb9\xfa"), 1);
  EXPECT_EQ(combo.InsertString(0, "alpha"), 0);
  EXPECT_EQ(combo.InsertString(9, "x"), CB_ERR);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
  EXPECT_EQ(combo.GetSelectedText(), "");

  EXPECT_TRUE(combo.PickItem(2));
  EXPECT_TRUE(combo.PickItem(2));  // the same entry again: no change, no event
  EXPECT_FALSE(combo.PickItem(3));
  EXPECT_EQ(t.log.Take(), (Events{"OnComboSelChanged " + sid + " 2 \xd6\xd0\xb9\xfa"}));

  combo.InsertString(0, "first");  // the selection moves with its entry
  EXPECT_EQ(combo.GetCurSel(), 3);
  EXPECT_EQ(combo.GetSelectedText(), "\xd6\xd0\xb9\xfa");
  combo.DeleteString(1);
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(combo.DeleteString(2), 2);  // deleting the selected entry leaves none
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);

  EXPECT_EQ(combo.SetCurSel(1), 1);
  EXPECT_EQ(combo.SetCurSel(7), CB_ERR);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
  EXPECT_TRUE(t.log.events.empty()) << "script settings are silent";
}

TEST(Combos, FindStringMatchesPrefixesWithoutCaseAndWrapsAround) {
  CKvxComboBox combo;
  for (const char* text : {"apple", "Banana", "apricot", "band"}) combo.AddString(text);
  EXPECT_EQ(combo.FindString(-1, "BAN"), 1);
  EXPECT_EQ(combo.FindString(1, "ban"), 3);
  EXPECT_EQ(combo.FindString(3, "ban"), 1);  // wraps
  EXPECT_EQ(combo.FindString(0, "ap"), 2);
  EXPECT_EQ(combo.FindString(-1, "cherry"), CB_ERR);
  EXPECT_EQ(combo.SelectString(-1, "apr"), 2);
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(combo.SelectString(-1, "kiwi"), CB_ERR);
  EXPECT_EQ(combo.GetCurSel(), 2) << "a failed search keeps the selection";
}

TEST(Combos, FocusEventsOnlyWhenEnabled) {
  TestContainer t;
  int id = 0;
  auto& combo = t.Add<CKvxComboBox>(WidgetKind::kCombo, "", &id);
  combo.SetFocusState(true);
  EXPECT_TRUE(t.log.events.empty());
  combo.EnableFocusMsg(true);
  combo.SetFocusState(true);
  combo.SetFocusState(false);
  const std::string sid = std::to_string(id);
  EXPECT_EQ(t.log.Take(), (Events{"OnComboFocus " + sid + " 1", "OnComboFocus " + sid + " 0"}));
}

TEST(Combos, CheckComboTogglesEntriesAndListsTheCheckedOnes) {
  TestContainer t;
  int id = 0;
  auto& combo = t.Add<CKvxCheckCombo>(WidgetKind::kCheckCombo, "markets", &id);
  for (const char* text : {"SH", "SZ", "HK"}) combo.AddString(text);
  EXPECT_TRUE(combo.ClickItemCheck(2));
  EXPECT_TRUE(combo.ClickItemCheck(0));
  EXPECT_TRUE(combo.ClickItemCheck(2));
  EXPECT_FALSE(combo.ClickItemCheck(3));
  const std::string sid = std::to_string(id);
  EXPECT_EQ(t.log.Take(),
            (Events{"OnCheckComboItemCheck " + sid + " 2 HK 1", "OnCheckComboItemCheck " + sid + " 0 SH 1",
                    "OnCheckComboItemCheck " + sid + " 2 HK 0"}));
  EXPECT_EQ(combo.GetCheckedText(), "SH");
  EXPECT_EQ(combo.GetCheck(2), 0);
  EXPECT_EQ(combo.GetCheck(5), CB_ERR);
  combo.CheckAll(true);
  EXPECT_EQ(combo.GetCheckedText(), "SH,SZ,HK");
  EXPECT_FALSE(combo.SetCheck(-1, true));
  combo.ResetContent();
  EXPECT_EQ(combo.GetCount(), 0);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
}

}  // namespace
