#include "orbe/widgets/color_edit.h"

#include <algorithm>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/web_pane.h"

namespace {

// The longest prefix of at most `room` bytes that does not split a GBK character.
std::size_t WholeCharacters(const std::string& text, std::size_t room) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t width = orbe::IsGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    if (at + width > room) break;
    at += width;
  }
  return std::min(at, text.size());
}

}  // namespace

void CColorEdit::AddText(const std::string& text, COLORREF color, const orbe::FontSpec& font) {
  runs_.push_back({text, color, font, {}});
}

void CColorEdit::AddLink(const std::string& text, const std::string& link, COLORREF color,
                         const orbe::FontSpec& font) {
  runs_.push_back({text, color, font, link});
}

void CColorEdit::SetText(const std::string& text, COLORREF color, const orbe::FontSpec& font) {
  runs_.clear();
  AddText(text, color, font);
}

std::string CColorEdit::GetText() const {
  std::string text;
  for (const EditRun& run : runs_) text += run.text;
  return text;
}

void CColorEdit::EnableMessageNotify(CWnd* target, bool enable) {
  notify_target_ = enable && target != nullptr ? target->GetSafeHwnd() : nullptr;
}

void CColorEdit::EnableFocusMessageNotify(CWnd* target, bool enable) {
  focus_target_ = enable && target != nullptr ? target->GetSafeHwnd() : nullptr;
}

void CColorEdit::Tell(orbe::KvxMessage message, HWND target) const {
  if (target == nullptr) return;
  ::SendMessage(target, orbe::KvxMessageId(message),
                static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

bool CColorEdit::TypeText(const std::string& typed) {
  if (read_only_ || !IsWindowEnabled()) return false;
  if (digits_only_ && !std::all_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  std::string text = typed;
  if (single_line_) std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  if (limit_ != 0) {
    const std::size_t used = GetText().size();
    text.resize(used >= limit_ ? 0 : WholeCharacters(text, limit_ - used));
  }
  if (text.empty()) return false;
  if (runs_.empty() || !runs_.back().link.empty()) runs_.emplace_back();
  runs_.back().text += text;
  if (notify_target_ != nullptr) {
    ::SendMessage(notify_target_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), EN_CHANGE),
                  reinterpret_cast<LPARAM>(GetSafeHwnd()));
  }
  Tell(orbe::KvxMessage::kRichEditChange, notify_target_);
  return true;
}

bool CColorEdit::PressEnter() {
  if (!IsWindowEnabled()) return false;
  // The line break is typing: it tells its own change first.
  if (!single_line_ && !read_only_ && !digits_only_) TypeText("\r\n");
  Tell(orbe::KvxMessage::kRichEditReturn, notify_target_);
  return true;
}

BOOL CColorEdit::PreTranslateMessage(MSG* msg) {
  // Enter is the edit's own key, not the enclosing dialog's OK.
  if (msg->hwnd == GetSafeHwnd() && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    PressEnter();
    return TRUE;
  }
  return FALSE;
}

void CColorEdit::OnSetFocus(CWnd* /*old_focus*/) {
  Tell(orbe::KvxMessage::kRichEditSetFocus, focus_target_);
}

void CColorEdit::OnKillFocus(CWnd* /*new_focus*/) {
  Tell(orbe::KvxMessage::kRichEditKillFocus, focus_target_);
}

void CColorEdit::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"edit\" style=\"height:100%;");
  out.Raw(border_ ? "border:1px solid #a0a0a0;" : "");
  out.Raw(auto_wrap_ && !single_line_ ? "white-space:pre-wrap\">" : "white-space:pre\">");
  for (const EditRun& run : runs_) {
    const bool link = !run.link.empty() && CWebBrowser2::IsLinkable(run.link);
    out.Raw(link ? "<a href=\"" : "<span");
    if (link) out.Text(run.link).Raw("\"");
    out.Raw(" style=\"").Raw(orbe::CssFont(run.font));
    if (run.color != CLR_DEFAULT) out.Raw("color:").Raw(orbe::CssColor(run.color));
    out.Raw("\">").Text(run.text).Raw(link ? "</a>" : "</span>");
  }
  out.Raw("</div>");
}
