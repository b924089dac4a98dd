#include "indicators/index_load_dialog.h"

#include <algorithm>

#include "orbe/platform/text.h"

namespace orbe {
namespace {

// Carries the overall position in wParam to the dialog's thread.
constexpr UINT kProgressMessage = WM_USER + 2;
constexpr int kModalOk = 1;

}  // namespace

void TextProgressBar::SetPos(int pos) { pos_ = std::clamp(pos, 0, 100); }

std::string TextProgressBar::text() const { return std::to_string(pos_) + "%"; }

CDlgProcessLoadIndex::CDlgProcessLoadIndex(IIndexMgr& mgr, std::string hq_file, std::string sys_file,
                                           std::string usr_file)
    : mgr_(mgr),
      hq_file_(std::move(hq_file)),
      sys_file_(std::move(sys_file)),
      usr_file_(std::move(usr_file)) {}

CDlgProcessLoadIndex::~CDlgProcessLoadIndex() {
  worker_.Join();
  // The observer that was there before the dialog gets its place back.
  mgr_.SetNotify(previous_notify_);
  DestroyWindow();
}

int CDlgProcessLoadIndex::DoModal() {
  if (!Create(nullptr, RECT{0, 0, 320, 60}, 0)) return mgr_.LoadIndexes(hq_file_, sys_file_, usr_file_);
  bar_.SetPos(0);
  SetWindowText(bar_.text());
  previous_notify_ = mgr_.SetNotify(this);
  const HWND hwnd = GetSafeHwnd();
  worker_.Start([this, hwnd] {
    result_ = mgr_.LoadIndexes(hq_file_, sys_file_, usr_file_);
    ::PostMessage(hwnd, WM_INDEX_LOAD_DONE, 0, 0);
  });
  RunModalLoop();
  // A loop ended early (a quit) still waits for the load: the catalogue is
  // not to be touched while it runs.
  worker_.Join();
  return result_;
}

void CDlgProcessLoadIndex::LoadProcessNotify(float stageEnd, float percent) {
  if (stageEnd != stage_end_) {
    stage_begin_ = stage_end_;
    stage_end_ = stageEnd;
  }
  const float overall =
      stage_begin_ + (stage_end_ - stage_begin_) * std::clamp(percent, 0.0f, 100.0f) / 100.0f;
  ::PostMessage(GetSafeHwnd(), kProgressMessage, static_cast<WPARAM>(overall), 0);
}

LRESULT CDlgProcessLoadIndex::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kProgressMessage) {
    bar_.SetPos(static_cast<int>(wparam));
    SetWindowText(bar_.text());
    return 0;
  }
  if (message == WM_INDEX_LOAD_DONE) {
    EndModalLoop(kModalOk);
    return 0;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}

}  // namespace orbe

extern "C" bool ProcessLoadIndex(IIndexMgr* mgr, const char* hqFile, const char* sysFile,
                                 const char* usrFile) {
  if (mgr == nullptr) return false;
  orbe::CDlgProcessLoadIndex dialog(*mgr, hqFile != nullptr ? hqFile : "", sysFile != nullptr ? sysFile : "",
                                    usrFile != nullptr ? usrFile : "");
  return dialog.DoModal() != 0;
}
