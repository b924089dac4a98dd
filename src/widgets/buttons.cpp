#include "orbe/widgets/buttons.h"

#include "orbe/widgets/html_writer.h"

namespace {

std::string WindowTextOf(const CWnd& window) {
  CString text;
  window.GetWindowText(text);
  return text;
}

void RenderBox(const CWnd& window, const char* type, bool checked, orbe::HtmlWriter& out) {
  out.Raw("<label class=\"").Raw(type).Raw("\"><input type=\"").Raw(type).Raw("\" disabled");
  if (checked) out.Raw(" checked");
  out.Raw(">").Text(WindowTextOf(window)).Raw("</label>");
}

}  // namespace

bool CKvxButton::Click() {
  if (!IsWindowEnabled()) return false;
  Raise("OnButtonClicked");
  return true;
}

void CKvxButton::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<button style=\"width:100%;height:100%\">").Text(WindowTextOf(*this)).Raw("</button>");
}

bool CKvxCheckBox::Click() {
  if (!IsWindowEnabled()) return false;
  checked_ = !checked_;
  Raise("OnCheckBoxCheckedChanged", {checked_ ? 1 : 0});
  return true;
}

void CKvxCheckBox::RenderHtml(orbe::HtmlWriter& out) const { RenderBox(*this, "checkbox", checked_, out); }

void CKvxRadio::SetCheck(bool checked) {
  checked_ = checked;
  if (checked) UncheckSiblings(false);
}

bool CKvxRadio::Click() {
  if (!IsWindowEnabled()) return false;
  if (checked_) return true;
  checked_ = true;
  UncheckSiblings(true);
  Raise("OnRadioCheckedChanged", {1});
  return true;
}

void CKvxRadio::UncheckSiblings(bool notify) {
  const CWnd* parent = GetParent();
  if (parent == nullptr) return;
  for (HWND handle : parent->GetChildren()) {
    auto* other = dynamic_cast<CKvxRadio*>(CWnd::FromHandle(handle));
    if (other == nullptr || other == this || other->group_ != group_ || !other->checked_) continue;
    other->checked_ = false;
    if (notify) other->Raise("OnRadioCheckedChanged", {0});
  }
}

void CKvxRadio::RenderHtml(orbe::HtmlWriter& out) const { RenderBox(*this, "radio", checked_, out); }

void CKvxPictureButton::SetToolTip(const std::string& tip, int delay, int width) {
  tip_ = tip;
  tip_delay_ = delay;
  tip_width_ = width;
}

bool CKvxPictureButton::Click() {
  if (!IsWindowEnabled()) return false;
  Raise("OnPictureBtnClick");
  return true;
}

void CKvxPictureButton::RenderHtml(orbe::HtmlWriter& out) const {
  const COLORREF bk = hot_ ? hot_bk_ : bk_;
  const COLORREF text = hot_ ? hot_text_ : text_;
  out.Raw("<div class=\"pbtn\" style=\"height:100%;");
  if (!transparent_ && bk != CLR_DEFAULT) out.Raw("background:").Raw(orbe::CssColor(bk)).Raw(";");
  if (text != CLR_DEFAULT) out.Raw("color:").Raw(orbe::CssColor(text)).Raw(";");
  if (underline_) out.Raw("text-decoration:underline;");
  if (bold_) out.Raw("font-weight:bold;");
  out.Raw("\" title=\"").Text(tip_).Raw("\" data-image=\"").Text(image_).Raw("\">");
  out.Text(WindowTextOf(*this)).Raw("</div>");
}
