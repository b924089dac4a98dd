#include "orbe/widgets/switch_ex.h"

#include <algorithm>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

namespace {

// Text width estimate at 9 pt: 7 px a byte (a GBK character is two bytes and
// about 14 px wide), scaled with the font size.
constexpr int kBytePixels = 7;
constexpr int kBasePoints = 9;
constexpr int kLabelPadding = 16;
constexpr int kLabelHeight = 20;

}  // namespace

bool CSwitchEx::SetSpecialTextColor(int index, COLORREF color) {
  if (index < 0 || index >= GetTabNum()) return false;
  labels_[static_cast<std::size_t>(index)].special_text = color;
  return true;
}

int CSwitchEx::InsertSwitchLabel(int index, const std::string& text, const std::string& tip) {
  if (index < 0 || index > GetTabNum()) index = GetTabNum();
  labels_.insert(labels_.begin() + index, Label{text, tip, CLR_DEFAULT});
  if (current_ >= index) ++current_;
  return index;
}

bool CSwitchEx::ModifySwitchLabel(int index, const std::string& text, const std::string& tip) {
  if (index < 0 || index >= GetTabNum()) return false;
  labels_[static_cast<std::size_t>(index)].text = text;
  labels_[static_cast<std::size_t>(index)].tip = tip;
  return true;
}

bool CSwitchEx::DeleteSwitchLabel(int index) {
  if (index < 0 || index >= GetTabNum()) return false;
  labels_.erase(labels_.begin() + index);
  if (current_ == index) current_ = -1;
  if (current_ > index) --current_;
  return true;
}

void CSwitchEx::ClearAllLabel() {
  labels_.clear();
  current_ = -1;
}

const CSwitchEx::Label* CSwitchEx::GetLabel(int index) const {
  return index >= 0 && index < GetTabNum() ? &labels_[static_cast<std::size_t>(index)] : nullptr;
}

bool CSwitchEx::SetCurLabel(int index) {
  if (index < -1 || index >= GetTabNum()) return false;
  current_ = index;
  return true;
}

int CSwitchEx::LabelExtent(int index) const {
  const Label* label = GetLabel(index);
  if (label == nullptr) return 0;
  if (style_ == kVertical) return kLabelHeight * std::max(schema_.font_size, kBasePoints) / kBasePoints;
  const int points = schema_.font_size > 0 ? schema_.font_size : kBasePoints;
  return static_cast<int>(label->text.size()) * kBytePixels * points / kBasePoints + kLabelPadding;
}

int CSwitchEx::GetNeedWidth() const {
  int total = 0;
  for (int i = 0; i < GetTabNum(); ++i) total += LabelExtent(i);
  return total;
}

bool CSwitchEx::ClickLabel(int index) {
  if (GetLabel(index) == nullptr || !IsWindowEnabled()) return false;
  const int old_index = current_;
  current_ = index;
  CWnd* parent = GetParent();
  if (old_index == index || !notify_ || parent == nullptr) return true;
  NM_SWITCH note{{GetSafeHwnd(), static_cast<UINT_PTR>(GetDlgCtrlID()), SWN_SELCHANGED}, old_index, index};
  parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&note));
  return true;
}

void CSwitchEx::RenderHtml(orbe::HtmlWriter& out) const {
  const std::string font = orbe::CssFont({schema_.face, schema_.font_size, schema_.font_weight});
  out.Raw("<div class=\"switch\" style=\"background:").Raw(orbe::CssColor(schema_.background)).Raw("\">");
  for (int i = 0; i < GetTabNum(); ++i) {
    const Label& label = labels_[static_cast<std::size_t>(i)];
    const bool current = i == current_;
    COLORREF text = current ? schema_.current_text : schema_.text;
    if (label.special_text != CLR_DEFAULT) text = label.special_text;
    out.Raw(current ? "<span class=\"tab cur\"" : "<span class=\"tab\"");
    if (out.Live()) out.Raw(orbe::Format(" data-i=\"%d\"", i));
    out.Raw(" style=\"").Raw(font).Raw(style_ == kVertical ? "display:block;" : "");
    out.Raw("color:").Raw(orbe::CssColor(text)).Raw(";background:");
    out.Raw(orbe::CssColor(current ? schema_.current_bk : schema_.bk));
    out.Raw(";border-color:")
        .Raw(orbe::CssColor(schema_.border))
        .Raw("\" title=\"")
        .Text(label.tip)
        .Raw("\">");
    out.Text(label.text).Raw("</span>");
  }
  out.Raw("</div>");
}
