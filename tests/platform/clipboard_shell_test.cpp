#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "orbe/platform/clipboard.h"
#include "orbe/platform/shell.h"

#include "platform/scoped_handler.h"

namespace {

HGLOBAL TextBlock(const std::string& text) {
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  auto* data = static_cast<char*>(GlobalLock(memory));
  std::memcpy(data, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  return memory;
}

TEST(ClipboardTest, TheWin32RoundTripAndTheOneCallForm) {
  // "股票" in GBK travels as the bytes it is.
  const std::string text = "600000 股票";
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  const HGLOBAL memory = TextBlock(text);
  EXPECT_EQ(SetClipboardData(CF_TEXT, memory), memory);
  // The clipboard owns the block now.
  EXPECT_EQ(GlobalFree(memory), memory);
  EXPECT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // not open
  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE held = GetClipboardData(CF_TEXT);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(held))), text);
  GlobalUnlock(held);
  EXPECT_EQ(GlobalSize(held), text.size() + 1);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(orbe::GetClipboardText(), text);

  EXPECT_TRUE(orbe::SetClipboardText("second"));
  EXPECT_EQ(orbe::GetClipboardText(), "second");
  // The block the clipboard held before is gone with the new content.
  EXPECT_EQ(GlobalLock(held), nullptr);
}

TEST(ClipboardTest, OneThreadAtATimeAndCheckedHandles) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  bool other_opened = true;
  bool other_set = true;
  std::thread([&] {
    other_opened = OpenClipboard(nullptr) != FALSE;
    other_set = orbe::SetClipboardText("other");
  }).join();
  EXPECT_FALSE(other_opened);
  EXPECT_FALSE(other_set);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_FALSE(EmptyClipboard());  // not open
  const HGLOBAL stray = TextBlock("x");
  EXPECT_EQ(SetClipboardData(CF_TEXT, stray), nullptr);  // not open
  EXPECT_EQ(GlobalFree(stray), nullptr);
  EXPECT_EQ(GlobalLock(stray), nullptr);  // freed
  EXPECT_FALSE(GlobalUnlock(stray));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(SetClipboardData(CF_TEXT, stray), nullptr);  // not a live block
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(orbe::GetClipboardText(), "");
}

using ScopedShellHandler = orbe::testing::ScopedHandler<orbe::ShellExecuteHandler, orbe::SetShellExecuteHandler>;

TEST(ShellExecuteTest, RequestsReachTheHandlerWithTheirTexts) {
  std::vector<orbe::ShellRequest> seen;
  ScopedShellHandler handler([&](const orbe::ShellRequest& request) {
    seen.push_back(request);
    return SE_ERR_NOASSOC;
  });
  const HWND owner = reinterpret_cast<HWND>(std::uintptr_t{0x100000005});
  struct Case {
    LPCSTR operation;
    LPCSTR file;
    LPCSTR parameters;
    std::intptr_t result;
    const char* seen_operation;
  } const cases[] = {
      {"open", "http://127.0.0.1/report", nullptr, SE_ERR_NOASSOC, "open"},
      {nullptr, "mailto:ir@example.com", "", SE_ERR_NOASSOC, "open"},
      {"print", "/tmp/a b.xlsx", "-x", SE_ERR_NOASSOC, "print"},
      {"open", "", nullptr, SE_ERR_FNF, nullptr},
      {"open", nullptr, nullptr, SE_ERR_FNF, nullptr},
  };
  for (const Case& c : cases) {
    const std::size_t before = seen.size();
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(ShellExecuteA(owner, c.operation, c.file, c.parameters, nullptr, 1)),
              c.result);
    if (c.seen_operation == nullptr) {
      EXPECT_EQ(seen.size(), before);
      continue;
    }
    ASSERT_EQ(seen.size(), before + 1);
    EXPECT_EQ(seen.back().hwnd, owner);
    EXPECT_EQ(seen.back().operation, c.seen_operation);
    EXPECT_EQ(seen.back().file, c.file);
    EXPECT_EQ(seen.back().parameters, c.parameters != nullptr ? c.parameters : "");
    EXPECT_EQ(seen.back().show_command, 1);
  }
}

TEST(ShellExecuteTest, DefaultHandlerRecordsTheLastRequests) {
  orbe::ClearRecordedShellRequests();
  for (int i = 0; i < 70; ++i) {
    const std::string file = "http://127.0.0.1/" + std::to_string(i);
    EXPECT_GT(reinterpret_cast<std::intptr_t>(ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, 1)), 32);
  }
  const std::vector<orbe::ShellRequest> recorded = orbe::RecordedShellRequests();
  ASSERT_EQ(recorded.size(), 64u);
  EXPECT_EQ(recorded.front().file, "http://127.0.0.1/6");
  EXPECT_EQ(recorded.back().file, "http://127.0.0.1/69");
  orbe::ClearRecordedShellRequests();
  EXPECT_TRUE(orbe::RecordedShellRequests().empty());
}

}  // namespace
