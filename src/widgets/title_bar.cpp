#include "orbe/widgets/title_bar.h"

#include "orbe/widgets/html_writer.h"

void CKvxTitle::SetGradient(COLORREF from, COLORREF to, int type) {
  gradient_ = true;
  gradient_from_ = from;
  gradient_to_ = to;
  gradient_type_ = type == 1 ? 1 : 0;
}

bool CKvxTitle::ClickGoBack() {
  if (go_back_hidden_ || !IsWindowEnabled()) return false;
  if (go_back_action_) go_back_action_();
  return true;
}

void CKvxTitle::RenderHtml(orbe::HtmlWriter& out) const {
  CString text;
  GetWindowText(text);
  out.Raw("<div class=\"titlebar\" style=\"height:100%;display:flex;align-items:center;");
  if (gradient_) {
    out.Raw("background:linear-gradient(").Raw(gradient_type_ == 1 ? "to right," : "to bottom,");
    out.Raw(orbe::CssColor(gradient_from_)).Raw(",").Raw(orbe::CssColor(gradient_to_)).Raw(");");
  }
  if (hot_ && hot_text_ != CLR_DEFAULT) out.Raw("color:").Raw(orbe::CssColor(hot_text_)).Raw(";");
  out.Raw("\"");
  if (!tip_.empty()) out.Raw(" title=\"").Text(tip_).Raw("\"");
  out.Raw("><span class=\"title\" style=\"flex:1\">").Text(text).Raw("</span>");
  if (!go_back_hidden_) {
    out.Raw("<span class=\"goback\" style=\"color:").Raw(orbe::CssColor(hot_ ? go_back_hot_ : go_back_));
    out.Raw(";padding:0 4px\">").Text("返回").Raw("</span>");
  }
  out.Raw("</div>");
}

void CKvxNavigateBar::SetEntries(const std::vector<std::pair<int, std::string>>& titles) {
  const int current = GetCurLabel();
  const int current_title =
      current >= 0 && current < static_cast<int>(title_ids_.size()) ? title_ids_[static_cast<std::size_t>(current)] : 0;
  ClearAllLabel();
  title_ids_.clear();
  for (const auto& [id, text] : titles) {
    InsertSwitchLabel(-1, text);
    title_ids_.push_back(id);
    if (id == current_title) SetCurLabel(static_cast<int>(title_ids_.size()) - 1);
  }
}

bool CKvxNavigateBar::ClickEntry(int index) {
  if (index < 0 || index >= static_cast<int>(title_ids_.size()) || !IsWindowEnabled()) return false;
  SetCurLabel(index);
  if (action_) action_(title_ids_[static_cast<std::size_t>(index)]);
  return true;
}
