#include "orbe/platform/text.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/web_pane.h"

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

// The library's cell images as small inline SVG marks, by GridCellImage.
constexpr const char* kCellImages[kGridCellImageCount] = {
    "<path d=\"M5 1 L9 9 L1 9 Z\" fill=\"#e00000\"/>",
    "<path d=\"M1 1 L9 1 L5 9 Z\" fill=\"#00a000\"/>",
    "<rect x=\"1\" y=\"4\" width=\"8\" height=\"2\" fill=\"#808080\"/>",
    ("<path d=\"M5 0 L6.2 3.6 L10 3.6 L6.9 5.8 L8.1 9.5 L5 7.2 L1.9 9.5 L3.1 5.8 L0 3.6 L3.8 3.6 Z\" "
     "fill=\"#f0b000\"/>"),
    "<path d=\"M2 0 L2 10 M2 1 L9 3 L2 5\" stroke=\"#c00000\" fill=\"#c00000\"/>",
    "<circle cx=\"5\" cy=\"5\" r=\"3\" fill=\"#3366cc\"/>",
};

// Borders by the grid-lines mode: the lines a mode leaves out are drawn in
// the background's place (none).
std::string LineCss(int lines, const std::string& color) {
  const std::string solid = "1px solid " + color;
  const std::string horizontal = (lines & GVL_HORZ) != 0 ? solid : "none";
  const std::string vertical = (lines & GVL_VERT) != 0 ? solid : "none";
  return "border-top:" + horizontal + ";border-bottom:" + horizontal + ";border-left:" + vertical +
         ";border-right:" + vertical + ";";
}

}  // namespace

COLORREF CGridCtrl::CellBackground(int row, int col, const GridCell& cell) const {
  if (IsCellSelected(row, col) || IsCellCrossSelected(row, col)) return sel_color_;
  if (cell.bk_color != CLR_DEFAULT) return cell.bk_color;
  if (row < fixed_rows_ && col < fixed_cols_ && look_.top_left_bk != CLR_DEFAULT) return look_.top_left_bk;
  if (IsFixed(row, col)) return fixed_bk_color_;
  // Alternating data rows count from the first data row.
  const COLORREF alternate = (row - fixed_rows_) % 2 == 0 ? look_.alternate_even : look_.alternate_odd;
  if (alternate != CLR_DEFAULT) return alternate;
  return text_bk_color_;
}

bool CGridCtrl::HasSortArrow(int row, int col) const {
  if (sort_col_ != col || look_.arrow_type == 2 || fixed_rows_ == 0) return false;
  const int arrow_row = look_.arrow_row >= 0 && look_.arrow_row < fixed_rows_ ? look_.arrow_row : fixed_rows_ - 1;
  return row == arrow_row;
}

void CGridCtrl::RenderCell(orbe::HtmlWriter& out, int row, int col, int row_span, int col_span) const {
  const GridCell& cell = *GetCell(row, col);
  const GridMerge* merge = MergeAt(row, col);
  const bool fixed = IsFixed(row, col);
  int width = 0;
  const int last_col = merge != nullptr ? merge->range.max_col : col;
  for (int c = col; c <= last_col; ++c) width += IsColumnShown(c) ? GetColumnWidth(c) : 0;
  std::string style = orbe::Format("width:%dpx;", width) + LineCss(look_.lines, orbe::CssColor(line_color_)) +
                      AlignCss(merge != nullptr ? merge->align : cell.align);
  if (fixed && look_.fixed_border_light != CLR_DEFAULT && (look_.lines & GVL_BOTH) != 0) {
    style += "border-top-color:" + orbe::CssColor(look_.fixed_border_light) +
             ";border-left-color:" + orbe::CssColor(look_.fixed_border_light) + ";";
  }
  if (fixed && look_.fixed_border_dark != CLR_DEFAULT && (look_.lines & GVL_BOTH) != 0) {
    style += "border-bottom-color:" + orbe::CssColor(look_.fixed_border_dark) +
             ";border-right-color:" + orbe::CssColor(look_.fixed_border_dark) + ";";
  }
  COLORREF background = CellBackground(row, col, cell);
  if (merge != nullptr && merge->bk != CLR_DEFAULT) background = merge->bk;
  if (row < fixed_rows_ && look_.fixed_gradient && background == fixed_bk_color_) {
    style += "background:linear-gradient(" + std::string(look_.gradient_horizontal ? "to right," : "to bottom,") +
             orbe::CssColor(look_.gradient_from) + "," + orbe::CssColor(look_.gradient_to) + ");";
  } else if (background != CLR_DEFAULT) {
    style += "background:" + orbe::CssColor(background) + ";";
  }
  const bool selected = IsCellSelected(row, col) || IsCellCrossSelected(row, col);
  COLORREF foreground = cell.text_color;
  if (foreground == CLR_DEFAULT && row < fixed_rows_ && col < fixed_cols_) foreground = look_.top_left_text;
  if (foreground == CLR_DEFAULT && fixed) foreground = fixed_text_color_;
  if (selected && sel_text_color_ != CLR_DEFAULT) foreground = sel_text_color_;
  if (foreground != CLR_DEFAULT) style += "color:" + orbe::CssColor(foreground) + ";";
  style += orbe::CssFont(fixed && cell.font == orbe::FontSpec{} ? fixed_font_ : cell.font);
  if (cell.type == GridCellType::kMultiLine) style += "white-space:pre-line;";
  std::string classes = fixed ? "f" : "";
  if (fixed && look_.flat_head) classes += " flat";
  if (selected) classes += classes.empty() ? "sel" : " sel";
  if (merge != nullptr) classes += " merged";
  out.Raw("<td");
  if (!classes.empty()) out.Raw(" class=\"").Raw(classes).Raw("\"");
  if (row_span > 1) out.Raw(orbe::Format(" rowspan=\"%d\"", row_span));
  if (col_span > 1) out.Raw(orbe::Format(" colspan=\"%d\"", col_span));
  if (!cell.hidden.empty()) out.Raw(" data-hide=\"").Text(cell.hidden).Raw("\"");
  if (!cell.tip_title.empty() || !cell.tip.empty()) {
    out.Raw(" title=\"").Text(cell.tip_title);
    if (!cell.tip_title.empty() && !cell.tip.empty()) out.Raw("&#10;");
    out.Text(cell.tip).Raw("\"");
  }
  out.Raw(" style=\"").Raw(style).Raw("\"");
  if (out.Live()) RenderCellAddress(row, col, cell, out);
  out.Raw(">");
  const bool arrow = HasSortArrow(row, col);
  const std::string arrow_mark =
      std::string("<span class=\"arrow\"") +
      (look_.arrow_color != CLR_DEFAULT ? " style=\"color:" + orbe::CssColor(look_.arrow_color) + "\"" : "") + ">" +
      (sort_ascending_ ? "&#9650;" : "&#9660;") + "</span>";
  if (arrow && look_.arrow_type == 1) out.Raw(arrow_mark);
  if (cell.image >= 0) {
    out.Raw("<svg class=\"img\" width=\"10\" height=\"10\" data-image=\"").Raw(std::to_string(cell.image));
    out.Raw("\">").Raw(kCellImages[cell.image]).Raw("</svg>");
  }
  if (cell.type == GridCellType::kCheck) {
    out.Raw(cell.checked ? "<input type=\"checkbox\" checked disabled>" : "<input type=\"checkbox\" disabled>");
  }
  const bool link = cell.type == GridCellType::kUrl && CWebBrowser2::IsLinkable(cell.url);
  if (link) out.Raw("<a href=\"").Text(cell.url).Raw("\">");
  if (cell.type != GridCellType::kImage) out.Text(cell.text);
  if (link) out.Raw("</a>");
  if (cell.type == GridCellType::kCombo) out.Raw(cell.combo_style == 1 ? " &#9998;&#9662;" : " &#9662;");
  if (arrow && look_.arrow_type == 0) out.Raw(arrow_mark);
  out.Raw("</td>");
}

void CGridCtrl::RenderCellAddress(int row, int col, const GridCell& cell, orbe::HtmlWriter& out) const {
  out.Raw(orbe::Format(" data-r=\"%d\" data-c=\"%d\"", row, col));
  if (IsCellEditable(row, col)) out.Raw(" data-edit=\"1\"");
  if (cell.type != GridCellType::kCombo || cell.read_only) return;
  // A JSON list of the entries (a GBK text here; escaped and converted as
  // an attribute by Text).
  std::string entries = "[";
  for (const std::string& item : cell.combo_items) {
    if (entries.size() > 1) entries += ',';
    entries += '"';
    for (std::size_t i = 0; i < item.size(); ++i) {
      const char c = item[i];
      // A GBK character's second byte may be a backslash: copied as it is.
      if (static_cast<unsigned char>(c) >= 0x81 && i + 1 < item.size()) {
        entries.append(item, i++, 2);
        continue;
      }
      if (c == '"' || c == '\\') entries += '\\';
      if (c != '\n' && c != '\r') entries += c;
    }
    entries += '"';
  }
  out.Raw(" data-entries=\"").Text(entries + "]").Raw("\"");
}

void CGridCtrl::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<table class=\"g\" style=\"border-color:").Raw(orbe::CssColor(line_color_));
  if (look_.frame_width > 0 && look_.frame_color != CLR_DEFAULT) {
    out.Raw(orbe::Format(";outline:%dpx solid ", look_.frame_width)).Raw(orbe::CssColor(look_.frame_color));
  }
  out.Raw("\">");
  for (int row = 0; row < GetRowCount(); ++row) {
    out.Raw(orbe::Format("<tr style=\"height:%dpx\">", GetRowHeight(row)));
    for (int col = 0; col < cols_; ++col) {
      if (!IsColumnShown(col)) continue;
      const GridMerge* merge = MergeAt(row, col);
      if (merge == nullptr) {
        RenderCell(out, row, col, 1, 1);
        continue;
      }
      // A merge is written once, at its top-left cell; its other cells are covered.
      if (row != merge->range.min_row || col != merge->range.min_col) continue;
      int shown_cols = 0;
      for (int c = merge->range.min_col; c <= merge->range.max_col; ++c) shown_cols += IsColumnShown(c) ? 1 : 0;
      RenderCell(out, row, col, merge->range.max_row - merge->range.min_row + 1, shown_cols);
    }
    out.Raw("</tr>");
  }
  out.Raw("</table>");
}
