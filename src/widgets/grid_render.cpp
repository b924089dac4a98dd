#include "orbe/platform/text.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_writer.h"

namespace {

const char* AlignCss(CellAlign align) {
  switch (align) {
    case CellAlign::kRight:
      return "text-align:right;";
    case CellAlign::kCenter:
      return "text-align:center;";
    case CellAlign::kLeft:
      break;
  }
  return "";
}

}  // namespace

COLORREF CGridCtrl::CellBackground(int row, int col, const GridCell& cell) const {
  if (IsCellSelected(row, col) || IsCellCrossSelected(row, col)) return sel_color_;
  if (cell.bk_color != CLR_DEFAULT) return cell.bk_color;
  if (IsFixed(row, col)) return fixed_bk_color_;
  return text_bk_color_;
}

void CGridCtrl::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<table class=\"g\" style=\"border-color:").Raw(orbe::CssColor(line_color_)).Raw("\">");
  for (int row = 0; row < GetRowCount(); ++row) {
    out.Raw(orbe::Format("<tr style=\"height:%dpx\">", GetRowHeight(row)));
    for (int col = 0; col < cols_; ++col) {
      if (!IsColumnShown(col)) continue;
      const GridCell& cell = *GetCell(row, col);
      std::string style = orbe::Format("width:%dpx;border-color:", GetColumnWidth(col)) +
                          orbe::CssColor(line_color_) + ";" + AlignCss(cell.align);
      const COLORREF background = CellBackground(row, col, cell);
      if (background != CLR_DEFAULT) style += "background:" + orbe::CssColor(background) + ";";
      const bool selected = IsCellSelected(row, col) || IsCellCrossSelected(row, col);
      COLORREF foreground = cell.text_color;
      if (foreground == CLR_DEFAULT && IsFixed(row, col)) foreground = fixed_text_color_;
      if (selected && sel_text_color_ != CLR_DEFAULT) foreground = sel_text_color_;
      if (foreground != CLR_DEFAULT) style += "color:" + orbe::CssColor(foreground) + ";";
      style += orbe::CssFont(IsFixed(row, col) && cell.font == orbe::FontSpec{} ? fixed_font_ : cell.font);
      if (cell.type == GridCellType::kMultiLine) style += "white-space:normal;";
      std::string classes = IsFixed(row, col) ? "f" : "";
      if (selected) classes += classes.empty() ? "sel" : " sel";
      out.Raw("<td");
      if (!classes.empty()) out.Raw(" class=\"").Raw(classes).Raw("\"");
      out.Raw(" style=\"").Raw(style).Raw("\">");
      if (cell.type == GridCellType::kCheck) {
        out.Raw(cell.checked ? "<input type=\"checkbox\" checked disabled>"
                             : "<input type=\"checkbox\" disabled>");
      }
      out.Text(cell.text);
      if (cell.type == GridCellType::kCombo) out.Raw(" &#9662;");
      out.Raw("</td>");
    }
    out.Raw("</tr>");
  }
  out.Raw("</table>");
}
