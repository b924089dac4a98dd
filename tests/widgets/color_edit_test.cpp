#include "orbe/widgets/color_edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/kvx_messages.h"

namespace {

// Records the edit's registered messages by name, with the control id.
class Owner : public CWnd {
 public:
  int changes = 0;
  WPARAM last_id = 0;
  std::vector<std::string> heard;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND && (wparam >> 16) == EN_CHANGE) {
      heard.push_back("EN_CHANGE");
      return 0;
    }
    const orbe::KvxMessage kind = orbe::KvxMessageOf(message);
    if (kind == orbe::KvxMessage::kCount) return CWnd::WindowProc(message, wparam, lparam);
    if (kind == orbe::KvxMessage::kRichEditChange) ++changes;
    last_id = wparam;
    heard.push_back(orbe::kKvxMessageNames[static_cast<int>(kind)]);
    return 0;
  }
};

TEST(ColorEdit, RunsKeepColoursFontsAndLinks) {
  CColorEdit edit;
  edit.AddText("price ", RGB(255, 0, 0), {"SimSun", 12, 700});
  edit.AddLink("more", "http://x/?a=1&b=2");
  edit.AddLink("bad", "javascript:void(0)");
  EXPECT_EQ(edit.GetText(), "price morebad");
  ASSERT_EQ(edit.GetRuns().size(), 3u);
  EXPECT_EQ(edit.GetRuns()[0].font.weight, 700);
  orbe::HtmlWriter out;
  edit.RenderHtml(out);
  EXPECT_NE(out.str().find("color:#ff0000"), std::string::npos);
  EXPECT_NE(out.str().find("href=\"http://x/?a=1&amp;b=2\""), std::string::npos);
  EXPECT_EQ(out.str().find("javascript"), std::string::npos);
  edit.SetText("only");
  EXPECT_EQ(edit.GetRuns().size(), 1u);
  edit.ClearText();
  EXPECT_EQ(edit.GetText(), "");
}

TEST(ColorEdit, TypingObeysReadOnlyDigitsLineAndLimitAndNotifies) {
  Owner owner;
  owner.Create(nullptr, RECT{0, 0, 100, 100}, 1);
  CColorEdit edit;
  edit.Create(&owner, RECT{0, 0, 100, 20}, 42, WS_CHILD | WS_VISIBLE);
  edit.EnableMessageNotify(&owner, true);
  EXPECT_TRUE(edit.TypeText("12"));
  edit.SetDigitalOnly(true);
  EXPECT_FALSE(edit.TypeText("3a"));
  EXPECT_TRUE(edit.TypeText("3"));
  edit.SetDigitalOnly(false);
  edit.SetSingleLine(true);
  EXPECT_TRUE(edit.TypeText("a\r\nb"));
  EXPECT_EQ(edit.GetText(), "123ab");
  // Limit 8: three bytes left, so the second GBK character (bytes 4-5) is cut whole.
  edit.SetLimitText(8);
  EXPECT_TRUE(edit.TypeText("\xd6\xd0\xce\xc4"));
  EXPECT_EQ(edit.GetText(), "123ab\xd6\xd0");
  EXPECT_TRUE(edit.TypeText("xy"));  // the last byte
  EXPECT_EQ(edit.GetText(), "123ab\xd6\xd0x");
  EXPECT_FALSE(edit.TypeText("z"));
  edit.SetReadOnly(true);
  EXPECT_FALSE(edit.TypeText("1"));
  EXPECT_EQ(owner.changes, 5);
  EXPECT_EQ(owner.last_id, 42u);
}

TEST(ColorEdit, EnterAndFocusTellTheirTargets) {
  Owner owner;
  owner.Create(nullptr, RECT{0, 0, 100, 100}, 1);
  CColorEdit edit;
  edit.Create(&owner, RECT{0, 0, 100, 20}, 7, WS_CHILD | WS_VISIBLE);
  CColorEdit other;
  other.Create(&owner, RECT{0, 30, 100, 50}, 8, WS_CHILD | WS_VISIBLE);
  // Nothing is told before the script asks for it.
  edit.SetFocus();
  EXPECT_TRUE(edit.PressEnter());
  EXPECT_TRUE(owner.heard.empty());
  EXPECT_EQ(edit.GetText(), "\r\n");

  edit.EnableMessageNotify(&owner, true);
  edit.EnableFocusMessageNotify(&owner, true);
  other.SetFocus();
  edit.SetFocus();
  // A real key press passes the edit's PreTranslateMessage: single-line, no break.
  edit.SetSingleLine(true);
  ASSERT_TRUE(orbe::PressKey(edit.GetSafeHwnd(), VK_RETURN));
  orbe::RunUntilIdle();
  edit.SetSingleLine(false);
  EXPECT_TRUE(edit.PressEnter());
  edit.EnableWindow(FALSE);
  EXPECT_FALSE(edit.PressEnter());
  EXPECT_EQ(owner.heard, (std::vector<std::string>{"RICHEDIT_EN_KILLFOCUS", "RICHEDIT_EN_SETFOCUS",
                                                    "RICHEDIT_VK_RETURN", "EN_CHANGE", "RICHEDIT_EN_CHANGE",
                                                    "RICHEDIT_VK_RETURN"}));
  EXPECT_EQ(owner.last_id, 7u);
  EXPECT_EQ(edit.GetText(), "\r\n\r\n");
}

TEST(KvxMessages, EveryNameHasItsOwnIdRegisteredOnce) {
  orbe::RegisterKvxMessages();
  std::vector<UINT> ids;
  for (int i = 0; i < static_cast<int>(orbe::KvxMessage::kCount); ++i) {
    const auto message = static_cast<orbe::KvxMessage>(i);
    const UINT id = orbe::KvxMessageId(message);
    EXPECT_GE(id, 0xC000u) << orbe::kKvxMessageNames[i];
    EXPECT_EQ(id, RegisterWindowMessageA(orbe::kKvxMessageNames[i]));
    EXPECT_EQ(orbe::KvxMessageOf(id), message);
    ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  EXPECT_EQ(orbe::KvxMessageOf(WM_USER), orbe::KvxMessage::kCount);
  EXPECT_EQ(orbe::KvxMessageOf(0), orbe::KvxMessage::kCount);
}

}  // namespace
