#include "orbe/platform/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

struct Box {
  HWND hwnd;
  std::string text;
  std::string caption;
  UINT type;
};

// Captures boxes for one test and puts the previous handler back.
class CapturedBoxes {
 public:
  explicit CapturedBoxes(int answer) {
    previous_ = orbe::SetMessageBoxHandler(
        [this, answer](HWND hwnd, const std::string& text, const std::string& caption, UINT type) {
          boxes.push_back(Box{hwnd, text, caption, type});
          return answer;
        });
  }
  ~CapturedBoxes() { orbe::SetMessageBoxHandler(previous_); }
  CapturedBoxes(const CapturedBoxes&) = delete;
  CapturedBoxes& operator=(const CapturedBoxes&) = delete;

  std::vector<Box> boxes;

 private:
  orbe::MessageBoxHandler previous_;
};

TEST(MessageBoxTest, HandlerReceivesTheBoxAndAnswersIt) {
  CapturedBoxes captured(IDNO);
  const HWND owner = reinterpret_cast<HWND>(std::uintptr_t{0x100000003});
  // "提示" and "错误" in GBK, as the module's windows caption them.
  EXPECT_EQ(MessageBoxA(owner, "\xce\xc4\xbc\xfe", "\xcc\xe1\xca\xbe", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDNO);
  EXPECT_EQ(AfxMessageBox("\xb4\xed\xce\xf3", MB_OKCANCEL), IDNO);
  std::thread([] { MessageBoxA(nullptr, "from a worker", "t", MB_OK); }).join();

  ASSERT_EQ(captured.boxes.size(), 4u);
  EXPECT_EQ(captured.boxes[0].hwnd, owner);
  EXPECT_EQ(captured.boxes[0].text, "\xce\xc4\xbc\xfe");
  EXPECT_EQ(captured.boxes[0].caption, "\xcc\xe1\xca\xbe");
  EXPECT_EQ(captured.boxes[0].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(captured.boxes[1].text, "");
  EXPECT_EQ(captured.boxes[1].caption, "Error");
  EXPECT_EQ(captured.boxes[2].caption, orbe::kAfxMessageBoxCaption);
  EXPECT_EQ(captured.boxes[2].type, MB_OKCANCEL);
  EXPECT_EQ(captured.boxes[3].text, "from a worker");
}

TEST(MessageBoxTest, HandlersNestAndTheEmptyHandlerRestoresTheDefault) {
  CapturedBoxes outer(IDOK);
  {
    CapturedBoxes inner(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(inner.boxes.size(), 1u);
  }
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OKCANCEL), IDOK);
  EXPECT_EQ(outer.boxes.size(), 1u);

  const orbe::MessageBoxHandler mine = orbe::SetMessageBoxHandler({});
  testing::internal::CaptureStderr();
  const int answer = MessageBoxA(nullptr, "\xd6\xd0\xce\xc4", "\xcc\xe1\xca\xbe", MB_YESNO);
  const std::string printed = testing::internal::GetCapturedStderr();
  orbe::SetMessageBoxHandler(mine);
  EXPECT_EQ(answer, IDYES);
  EXPECT_EQ(printed, "[\xe6\x8f\x90\xe7\xa4\xba] \xe4\xb8\xad\xe6\x96\x87\n");  // UTF-8
  EXPECT_EQ(outer.boxes.size(), 1u);
}

TEST(MessageBoxTest, DefaultButtonFollowsTypeAndDefButtonFlags) {
  struct Case {
    UINT type;
    int expected;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_YESNOCANCEL, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING, IDNO},
      {MB_YESNO, IDYES},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first
      {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
      {MB_OK | MB_DEFBUTTON4 | MB_SYSTEMMODAL, IDOK},
      {0xF, IDOK},  // unknown button set
  };
  for (const Case& c : cases) {
    EXPECT_EQ(orbe::DefaultMessageBoxButton(c.type), c.expected) << "type 0x" << std::hex << c.type;
  }
}

}  // namespace
