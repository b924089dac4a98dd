#include "orbe/widgets/color_edit.h"

#include <gtest/gtest.h>

#include "orbe/widgets/html_writer.h"

namespace {

class Owner : public CWnd {
 public:
  int changes = 0;
  WORD last_id = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND && (wparam >> 16) == EN_CHANGE) {
      ++changes;
      last_id = static_cast<WORD>(wparam & 0xFFFF);
      return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
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
  EXPECT_EQ(owner.last_id, 42);
}

}  // namespace
