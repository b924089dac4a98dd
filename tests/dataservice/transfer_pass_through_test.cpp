// Pass-through pieces: the TPOriginalHandle's kept text, its completion
// targets, and the status texts transfers keep for the scripts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dataservice/tp_original_handle.h"
#include "dataservice/transfer_texts.h"
#include "orbe/dataservice/pass_through.h"
#include "orbe/platform/window.h"
#include "support/fake_reply.h"

namespace {

using orbe_test::FakeReply;

// What the host's switch function was asked: the target text and the kind.
std::vector<std::pair<std::string, int>> g_switched;
int RecordSwitch(const void* target, int, const void*, int, int kind, int, int) {
  g_switched.emplace_back(static_cast<const char*>(target), kind);
  return 1;
}

class Recorder : public CWnd {
 public:
  std::vector<WPARAM> statuses;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_APP + 3) statuses.push_back(wparam);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

TEST(TPOriginalHandleTest, KeepsTheFirstUsableBodyAndPostsTheStatus) {
  Recorder window;
  ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 1, 1}, 0));
  orbe::TPOriginalHandle handle(window.GetSafeHwnd(), WM_APP + 3);
  FakeReply empty = FakeReply::Plain("");
  FakeReply too_long = FakeReply::Plain(std::string(65536, 'x'));
  FakeReply first = FakeReply::Plain(std::string("answer\0tail", 11));
  FakeReply second = FakeReply::Plain("later");
  handle.OnReply(&empty);
  handle.OnReply(&too_long);
  handle.OnReply(&first);
  handle.OnReply(&second);
  EXPECT_EQ(handle.Text(), "answer");
  EXPECT_EQ(handle.AnswerKey(), "");
  handle.OnStatus(100);
  orbe::RunUntilIdle();
  EXPECT_EQ(window.statuses, std::vector<WPARAM>{100});

  orbe::TPOriginalHandle answer(7, 65535, RecordSwitch);
  EXPECT_EQ(answer.AnswerKey(), "orbe://tpanswer/7_65535");
  g_switched.clear();
  answer.OnStatus(100);
  EXPECT_EQ(g_switched, (std::vector<std::pair<std::string, int>>{{"orbe://tpanswer/7_65535", orbe::kSwitchOpenPage}}));
  orbe::TPOriginalHandle unheard(1, 2, nullptr);
  unheard.OnStatus(100);  // no host: nobody to tell
  EXPECT_EQ(g_switched.size(), 1u);
  EXPECT_EQ(SendTPOriginalRequest(), 0);
  EXPECT_STREQ(GetTPOriginalResult(), "");
}

TEST(TransferTextsTest, StatusTextsDependOnTheKind) {
  using orbe::TransferKind;
  EXPECT_STREQ(orbe::ServerStatusText(TransferKind::kDownload, 4), "下载文件不存在.");
  EXPECT_STREQ(orbe::ServerStatusText(TransferKind::kDelete, 4), "删除文件不存在.");
  EXPECT_STREQ(orbe::ServerStatusText(TransferKind::kReload, 4), "文件不存在.");
  EXPECT_STREQ(orbe::ServerStatusText(TransferKind::kUpload, 7), "上传文件已存在.");
  EXPECT_STREQ(orbe::ServerStatusText(TransferKind::kUpload, 0), "");
  EXPECT_STREQ(orbe::ConnectionLostText(TransferKind::kReload),
               "重新加载文件连接中断,删除失败.");
}

}  // namespace
