#include "orbe/platform/dialog.h"

#include <cstdio>
#include <string>
#include <utility>

#include "orbe/platform/text.h"
#include "platform/no_destructor.h"
#include "platform/replaceable_handler.h"

namespace orbe {
namespace {

void CancelWithoutUser(CDialog& dialog) {
  if (!dialog.NeedsUser()) return;
  CString caption;
  dialog.GetWindowText(caption);
  const std::string line = Format("[dialog %u] ", dialog.GetTemplateId()) + GbkToUtf8(caption) + ": cancelled\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  dialog.EndDialog(IDCANCEL);
}

ReplaceableHandler<DialogHandler>& Slot() {
  static NoDestructor<ReplaceableHandler<DialogHandler>> slot(CancelWithoutUser);
  return *slot.get();
}

}  // namespace

DialogHandler SetDialogHandler(DialogHandler handler) { return Slot().Set(std::move(handler)); }

}  // namespace orbe

CDialog::~CDialog() { DestroyWindow(); }

BOOL CDialog::CreateDialogWindow(CWnd* owner) {
  // A top-level window owned by the parent, hidden until it is set up.
  if (!CWnd::Create(static_cast<CWnd*>(nullptr), InitialRect(), template_id_, WS_POPUP | WS_CAPTION | WS_SYSMENU)) {
    return FALSE;
  }
  SetOwner(owner);
  ended_ = false;
  result_ = -1;
  SendMessage(WM_INITDIALOG);
  return IsWindow(GetSafeHwnd());
}

INT_PTR CDialog::DoModal() {
  if (GetSafeHwnd() != nullptr) return -1;
  modal_ = true;
  if (!CreateDialogWindow(parent_window_)) {
    modal_ = false;
    return -1;
  }
  const HWND self = GetSafeHwnd();
  // The owner takes no input while its dialog runs, as on the platform.
  const HWND owner = parent_window_ != nullptr ? parent_window_->GetSafeHwnd() : nullptr;
  const bool disable_owner = owner != nullptr && IsWindow(owner) && parent_window_->IsWindowEnabled();
  if (disable_owner) parent_window_->EnableWindow(FALSE);
  if (!ended_) ShowWindow(SW_SHOW);
  if (!ended_) orbe::Slot().Get()(*this);
  const int result = ended_ ? result_ : (IsWindow(self) ? RunModalLoop() : -1);
  if (disable_owner && IsWindow(owner)) parent_window_->EnableWindow(TRUE);
  if (IsWindow(self)) DestroyWindow();
  modal_ = false;
  return result;
}

BOOL CDialog::Create(UINT template_id, CWnd* parent) {
  if (GetSafeHwnd() != nullptr) return FALSE;
  template_id_ = template_id;
  parent_window_ = parent;
  modal_ = false;
  return CreateDialogWindow(parent);
}

void CDialog::EndDialog(int result) {
  result_ = result;
  if (!modal_) {
    ShowWindow(SW_HIDE);
    return;
  }
  ended_ = true;
  EndModalLoop(result);
}

BOOL CDialog::UpdateData(BOOL save_and_validate) { return DoDataExchange(save_and_validate != FALSE) ? TRUE : FALSE; }

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
  if (msg->wParam == VK_RETURN) {
    OnOK();
    return TRUE;
  }
  if (msg->wParam == VK_ESCAPE) {
    OnCancel();
    return TRUE;
  }
  return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        OnOK();
        return 0;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        OnCancel();
        return 0;
      }
      break;
    case WM_CLOSE:
      OnCancel();
      return 0;
    default:
      break;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}
