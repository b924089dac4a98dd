// The one-text dialogs of the screening windows.
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "screening/control_commands.h"

namespace {

constexpr int kGap = 8;
constexpr int kLine = 24;
constexpr int kButtonWidth = 72;

RECT Rect(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

}  // namespace

CTextEntryDlg::CTextEntryDlg(UINT resource, CWnd* parent, std::string caption, std::string label, std::string text,
                             bool readOnly)
    : CDialog(resource, parent),
      caption_(std::move(caption)),
      label_(std::move(label)),
      text_(std::move(text)),
      read_only_(readOnly) {}

CTextEntryDlg::~CTextEntryDlg() { DestroyWindow(); }

BOOL CTextEntryDlg::OnInitDialog() {
  SetWindowText(caption_);
  const RECT client = InitialRect();
  const int width = client.right - client.left;
  events_ = std::make_unique<orbe::CommandEvents>(*this);
  label_window_ = std::make_unique<CWnd>();
  label_window_->Create(this, Rect(kGap, kGap, width - 2 * kGap, kLine), kLabelId, WS_CHILD | WS_VISIBLE);
  label_window_->SetWindowText(label_);
  edit_ = std::make_unique<CColorEdit>();
  edit_->Create(this, Rect(kGap, kGap + kLine, width - 2 * kGap, kLine), kEditId, WS_CHILD | WS_VISIBLE);
  edit_->SetSingleLine(!read_only_);
  edit_->SetReadOnly(read_only_);
  const int buttons = kGap + 2 * kLine + kGap;
  orbe::AddControl(*this, ok_, *events_, IDOK, Rect(width - 2 * (kButtonWidth + kGap), buttons, kButtonWidth, kLine),
                   "确定");
  if (!read_only_) {
    orbe::AddControl(*this, cancel_, *events_, IDCANCEL,
                     Rect(width - kButtonWidth - kGap, buttons, kButtonWidth, kLine), "取消");
  }
  DoDataExchange(false);
  return TRUE;
}

bool CTextEntryDlg::DoDataExchange(bool save) {
  if (edit_ == nullptr) return true;
  if (save)
    text_ = edit_->GetText();
  else
    edit_->SetText(text_);
  return true;
}

CKvxButton* CTextEntryDlg::GetButton(UINT id) const {
  if (id == IDOK) return ok_.get();
  if (id == IDCANCEL) return cancel_.get();
  return nullptr;
}

CSchemeNameDlg::CSchemeNameDlg(CWnd* parent)
    : CTextEntryDlg(kResource, parent, "保存方案", "请输入方案名称", "", false) {}

CDlgIndexParam::CDlgIndexParam(CWnd* parent, const IndexBase& index, const std::string& parameter)
    : CTextEntryDlg(kResource, parent, "修改参数 - " + index.name, "参数", parameter, false) {}

CDlgIndexInfo::CDlgIndexInfo(CWnd* parent, const IndexBase& index)
    : CTextEntryDlg(kResource, parent, "指标说明", index.name, index.info, true) {}
