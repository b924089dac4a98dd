#include "orbe/platform/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "orbe/platform/window.h"

#include "platform/scoped_handler.h"

namespace {

using ScopedDialogHandler = orbe::testing::ScopedHandler<orbe::DialogHandler, orbe::SetDialogHandler>;

class OptionsDialog : public CDialog {
 public:
  explicit OptionsDialog(CWnd* parent = nullptr) : CDialog(12022, parent) {}
  int value = 0;
  int typed = 0;  // what the "control" holds
  bool refuse = false;
  bool initialised = false;
  bool self_driven = false;

  bool NeedsUser() const override { return !self_driven; }

 protected:
  BOOL OnInitDialog() override {
    initialised = true;
    SetWindowText("options");
    if (self_driven) SetTimer(1, 10, nullptr);
    return TRUE;
  }
  bool DoDataExchange(bool save) override {
    if (save && refuse) return false;
    if (save) value = typed;
    return true;
  }
  void OnTimer(UINT_PTR) override { EndDialog(77); }
};

TEST(DialogTest, HandlerPlaysTheUserAndTheLoopEndsWithTheResult) {
  struct Case {
    const char* name;
    std::function<void(CDialog&)> user;
    INT_PTR result;
    int value;
  } const cases[] = {
      {"ok at once", [](CDialog& d) { d.EndDialog(IDOK); }, IDOK, 0},
      {"ok button", [](CDialog& d) { d.PostMessage(WM_COMMAND, IDOK, 0); }, IDOK, 5},
      {"enter key", [](CDialog& d) { orbe::PressKey(d.GetSafeHwnd(), VK_RETURN); }, IDOK, 5},
      {"escape key", [](CDialog& d) { orbe::PressKey(d.GetSafeHwnd(), VK_ESCAPE); }, IDCANCEL, 0},
      {"close box", [](CDialog& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL, 0},
      {"destroyed", [](CDialog& d) { d.PostMessage(WM_NULL); d.DestroyWindow(); }, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, RECT{0, 0, 800, 600}, 1));
    OptionsDialog dialog(&owner);
    dialog.typed = 5;
    bool owner_disabled = false;
    bool visible = false;
    ScopedDialogHandler user([&](CDialog& d) {
      owner_disabled = !owner.IsWindowEnabled();
      visible = d.IsWindowVisible() != FALSE;
      EXPECT_EQ(d.GetOwner(), &owner);
      EXPECT_EQ(d.GetParent(), nullptr);
      c.user(d);
    });
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_TRUE(owner_disabled);
    EXPECT_TRUE(visible);
    EXPECT_EQ(dialog.value, c.value);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(owner.IsWindowEnabled());
  }
}

TEST(DialogTest, RefusedDataKeepsTheDialogOpenAndDialogsNest) {
  int inner_result = 0;
  int presses = 0;
  ScopedDialogHandler user([&](CDialog& d) {
    if (d.GetTemplateId() == 12023) {
      d.EndDialog(3);
      return;
    }
    // Refused OK, then a nested dialog from inside the loop, then OK.
    d.PostMessage(WM_COMMAND, IDOK, 0);
    d.SetTimer(9, 10, nullptr);
    ++presses;
  });
  // The timer of the outer dialog opens the inner one, then lets OK pass.
  struct Outer : OptionsDialog {
    int* inner_result;
    explicit Outer(int* r) : inner_result(r) {}
    void OnTimer(UINT_PTR) override {
      KillTimer(9);
      CDialog inner(12023, this);
      *inner_result = static_cast<int>(inner.DoModal());
      refuse = false;
      PostMessage(WM_COMMAND, IDOK, 0);
    }
  } nested(&inner_result);
  nested.refuse = true;
  nested.typed = 8;
  EXPECT_EQ(nested.DoModal(), IDOK);
  EXPECT_EQ(inner_result, 3);
  EXPECT_EQ(nested.value, 8);
  EXPECT_EQ(presses, 1);
}

TEST(DialogTest, DefaultHandlerCancelsUserDialogsAndLetsSelfDrivenOnesRun) {
  OptionsDialog needs_user;
  EXPECT_EQ(needs_user.DoModal(), IDCANCEL);
  OptionsDialog self_driven;
  self_driven.self_driven = true;
  EXPECT_EQ(self_driven.DoModal(), 77);
}

TEST(DialogTest, ModelessDialogHidesOnEndAndLivesUntilDestroyed) {
  OptionsDialog dialog;
  ASSERT_TRUE(dialog.Create(12023, nullptr));
  EXPECT_TRUE(dialog.initialised);
  EXPECT_FALSE(dialog.IsModal());
  dialog.ShowWindow(SW_SHOW);
  orbe::PressKey(dialog.GetSafeHwnd(), VK_ESCAPE);
  orbe::RunUntilIdle();
  EXPECT_FALSE(dialog.IsWindowVisible());
  EXPECT_EQ(dialog.GetResult(), IDCANCEL);
  EXPECT_NE(dialog.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(dialog.Create(12023, nullptr));
  // A quit posted while a modal dialog runs ends it with -1.
  OptionsDialog modal;
  ScopedDialogHandler user([](CDialog&) { PostQuitMessage(2); });
  EXPECT_EQ(modal.DoModal(), -1);
  EXPECT_TRUE(orbe::QuitPosted());
  orbe::ClearQuit();
}

}  // namespace
