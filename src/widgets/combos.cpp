#include "orbe/widgets/combos.h"

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

namespace {

bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && orbe::EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

int CKvxComboBox::AddString(const std::string& text) { return InsertString(-1, text); }

int CKvxComboBox::InsertString(int index, const std::string& text) {
  if (index < -1 || index > GetCount()) return CB_ERR;
  if (index == -1) index = GetCount();
  items_.insert(items_.begin() + index, text);
  if (cur_sel_ >= index) ++cur_sel_;
  return index;
}

int CKvxComboBox::DeleteString(int index) {
  if (index < 0 || index >= GetCount()) return CB_ERR;
  items_.erase(items_.begin() + index);
  if (cur_sel_ == index) {
    cur_sel_ = CB_ERR;
  } else if (cur_sel_ > index) {
    --cur_sel_;
  }
  return GetCount();
}

void CKvxComboBox::ResetContent() {
  items_.clear();
  cur_sel_ = CB_ERR;
}

int CKvxComboBox::FindString(int start, const std::string& prefix) const {
  const int count = GetCount();
  if (count == 0) return CB_ERR;
  const int first = (start < 0 || start >= count) ? 0 : start + 1;
  for (int step = 0; step < count; ++step) {
    const int index = (first + step) % count;
    if (StartsWithIgnoreCase(items_[index], prefix)) return index;
  }
  return CB_ERR;
}

int CKvxComboBox::SelectString(int start, const std::string& prefix) {
  const int found = FindString(start, prefix);
  if (found != CB_ERR) cur_sel_ = found;
  return found;
}

int CKvxComboBox::SetCurSel(int index) {
  if (index < 0 || index >= GetCount()) {
    cur_sel_ = CB_ERR;
    return CB_ERR;
  }
  cur_sel_ = index;
  return index;
}

std::string CKvxComboBox::GetLBText(int index) const {
  return index >= 0 && index < GetCount() ? items_[index] : std::string();
}

void CKvxComboBox::SetItemHeight(int index, int height) {
  if (height <= 0) return;
  (index < 0 ? edit_height_ : item_height_) = height;
}

bool CKvxComboBox::PickItem(int index) {
  if (!IsWindowEnabled() || index < 0 || index >= GetCount()) return false;
  if (index == cur_sel_) return true;
  cur_sel_ = index;
  Raise("OnComboSelChanged", {index, items_[index]});
  return true;
}

void CKvxComboBox::SetFocusState(bool focused) {
  if (focus_msg_) Raise("OnComboFocus", {focused ? 1 : 0});
}

void CKvxComboBox::RenderHtml(orbe::HtmlWriter& out) const {
  // A live page lets the user pick; the pick comes back as PickItem.
  out.Raw(out.Live() && IsWindowEnabled() ? "<select class=\"combo\"" : "<select class=\"combo\" disabled");
  if (dropped_width_ > 0) out.Raw(" data-dropped-width=\"").Raw(std::to_string(dropped_width_)).Raw("\"");
  if (dropped_height_ > 0) out.Raw(" data-dropped-height=\"").Raw(std::to_string(dropped_height_)).Raw("\"");
  out.Raw(" style=\"height:").Raw(std::to_string(edit_height_)).Raw("px;").Raw(orbe::CssFont(GetFont())).Raw("\">");
  if (out.Live() && cur_sel_ == CB_ERR) out.Raw("<option value=\"-1\" selected></option>");
  for (int i = 0; i < GetCount(); ++i) {
    out.Raw(out.Live() ? orbe::Format("<option value=\"%d\"", i) : "<option");
    out.Raw(i == cur_sel_ ? " selected>" : ">").Text(items_[i]).Raw("</option>");
  }
  out.Raw("</select>");
}

int CKvxCheckCombo::AddString(const std::string& text) {
  items_.push_back(Item{text});
  return GetCount() - 1;
}

void CKvxCheckCombo::ResetContent() {
  items_.clear();
  cur_sel_ = CB_ERR;
}

std::string CKvxCheckCombo::GetLBText(int index) const {
  return index >= 0 && index < GetCount() ? items_[index].text : std::string();
}

int CKvxCheckCombo::SetCurSel(int index) {
  cur_sel_ = index >= 0 && index < GetCount() ? index : CB_ERR;
  return cur_sel_;
}

bool CKvxCheckCombo::SetCheck(int index, bool checked) {
  if (index < 0 || index >= GetCount()) return false;
  items_[index].checked = checked;
  return true;
}

int CKvxCheckCombo::GetCheck(int index) const {
  return index >= 0 && index < GetCount() ? (items_[index].checked ? 1 : 0) : CB_ERR;
}

void CKvxCheckCombo::CheckAll(bool checked) {
  for (Item& item : items_) item.checked = checked;
}

void CKvxCheckCombo::SetItemHeight(int index, int height) {
  if (height <= 0) return;
  (index < 0 ? edit_height_ : item_height_) = height;
}

std::string CKvxCheckCombo::GetCheckedText() const {
  std::string text;
  for (const Item& item : items_) {
    if (!item.checked) continue;
    if (!text.empty()) text += ',';
    text += item.text;
  }
  return text;
}

bool CKvxCheckCombo::ClickItemCheck(int index) {
  if (!IsWindowEnabled() || index < 0 || index >= GetCount()) return false;
  Item& item = items_[index];
  item.checked = !item.checked;
  cur_sel_ = index;
  Raise("OnCheckComboItemCheck", {index, item.text, item.checked ? 1 : 0});
  return true;
}

void CKvxCheckCombo::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"ccombo\"><div class=\"ccombo-text\">").Text(GetCheckedText()).Raw("</div>");
  for (const Item& item : items_) {
    out.Raw(out.Live() ? orbe::Format("<label data-i=\"%d\">", static_cast<int>(&item - items_.data())) : "<label>");
    out.Raw("<input type=\"checkbox\" disabled").Raw(item.checked ? " checked" : "").Raw(">");
    out.Text(item.text).Raw("</label>");
  }
  out.Raw("</div>");
}
