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
  notify_.change = notify_.enter = notify_target_ != nullptr;
}

void CColorEdit::EnableFocusMessageNotify(CWnd* target, bool enable) {
  focus_target_ = enable && target != nullptr ? target->GetSafeHwnd() : nullptr;
  notify_.set_focus = notify_.kill_focus = focus_target_ != nullptr;
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
  if (notify_target_ != nullptr && notify_.change) {
    ::SendMessage(notify_target_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), EN_CHANGE),
                  reinterpret_cast<LPARAM>(GetSafeHwnd()));
  }
  if (notify_.change) Tell(orbe::KvxMessage::kRichEditChange, notify_target_);
  return true;
}

bool CColorEdit::PressEnter() {
  if (!IsWindowEnabled()) return false;
  // The line break is typing: it tells its own change first.
  if (!single_line_ && !read_only_ && !digits_only_) TypeText("\r\n");
  if (notify_.enter) Tell(orbe::KvxMessage::kRichEditReturn, notify_target_);
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
  if (notify_.set_focus) Tell(orbe::KvxMessage::kRichEditSetFocus, focus_target_);
}

void CColorEdit::OnKillFocus(CWnd* /*new_focus*/) {
  if (notify_.kill_focus) Tell(orbe::KvxMessage::kRichEditKillFocus, focus_target_);
}

void CColorEdit::SetScrollTextPos(int pos) {
  scroll_pos_ = std::clamp(pos, 0, static_cast<int>(GetText().size()));
}

SIZE CColorEdit::GetReqSize() const {
  constexpr int kPixelsPerByte = 7;
  constexpr int kLineHeight = 18;
  const std::string text = GetText();
  std::size_t longest = 0, start = 0;
  int lines = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    longest = std::max(longest, end - start);
    ++lines;
    start = end + 1;
  }
  const int frame = (border_ ? 2 : 0) + (client_edge_ ? 4 : 0) + paragraph_.left_margin + paragraph_.right_margin;
  const int bars = (toolbar_ ? 24 : 0) + (ruler_ ? 16 : 0);
  return {static_cast<LONG>(longest) * kPixelsPerByte + paragraph_.indent + frame + 4,
          (lines * kLineHeight * paragraph_.line_spacing + 99) / 100 + bars + (border_ ? 2 : 0) + 4};
}

void CColorEdit::RenderHtml(orbe::HtmlWriter& out) const {
  static constexpr const char* kAlign[] = {"left", "center", "right"};
  if (toolbar_) out.Raw("<div class=\"toolbar\" style=\"height:22px;border-bottom:1px solid #c0c0c0\"><b>B</b> <i>I</i> <u>U</u></div>");
  if (ruler_) out.Raw("<div class=\"ruler\" style=\"height:14px;border-bottom:1px solid #c0c0c0\"></div>");
  out.Raw("<div class=\"edit\"");
  if (out.Live() && !read_only_ && IsWindowEnabled()) out.Raw(" data-edit=\"1\"");
  out.Raw(" data-scroll=\"").Raw(std::to_string(scroll_pos_)).Raw("\" style=\"height:100%;");
  out.Raw(border_ ? "border:1px solid #a0a0a0;" : "");
  out.Raw(client_edge_ ? "box-shadow:inset 1px 1px 2px #808080;" : "");
  out.Raw(orbe::Format("text-align:%s;padding-left:%dpx;padding-right:%dpx;text-indent:%dpx;line-height:%d%%;",
                       kAlign[std::clamp(paragraph_.align, 0, 2)], paragraph_.left_margin, paragraph_.right_margin,
                       paragraph_.indent, paragraph_.line_spacing));
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
