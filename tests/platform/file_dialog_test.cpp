// The replaceable dialog handler, and the dialogs scripts open through it.
#include "orbe/platform/file_dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FileDialogTest, HeadlessDefaultCancelsAndAHandlerAnswers) {
  orbe::FileDialogRequest request;
  request.kind = orbe::FileDialogKind::kSaveFile;
  request.initial_name = "out.csv";
  EXPECT_EQ(orbe::ShowFileDialog(request), "");

  std::vector<orbe::FileDialogRequest> seen;
  orbe::FileDialogHandler previous =
      orbe::SetFileDialogHandler([&seen](const orbe::FileDialogRequest& asked) {
        seen.push_back(asked);
        return "/tmp/" + asked.initial_name;
      });
  EXPECT_EQ(orbe::ShowFileDialog(request), "/tmp/out.csv");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, orbe::FileDialogKind::kSaveFile);

  // Restoring the previous (default) handler cancels again; so does an empty one.
  orbe::SetFileDialogHandler(previous);
  EXPECT_EQ(orbe::ShowFileDialog(request), "");
  orbe::SetFileDialogHandler(nullptr);
  EXPECT_EQ(orbe::ShowFileDialog(request), "");
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
