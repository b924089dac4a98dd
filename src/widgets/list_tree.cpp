#include "orbe/widgets/list_tree.h"

#include "orbe/widgets/html_writer.h"

TListTree::TListTree() {
  SetKind(orbe::WidgetKind::kListTree);
  SetCheckBoxes(false);
  SetSmartCheckBox(false);
}

HTREEITEM TListTree::NewRootItem(const std::string& text, LPARAM data) {
  const HTREEITEM item = InsertItem(text);
  SetItemData(item, data);
  SetItemTextColor(item, colors_.root_text);
  return item;
}

HTREEITEM TListTree::AddItem(const std::string& text, HTREEITEM parent, LPARAM data) {
  if (!IsItem(parent)) return 0;
  const HTREEITEM item = InsertItem(text, parent);
  SetItemData(item, data);
  return item;
}

void TListTree::SetBkColors(COLORREF bk, COLORREF selected_bk, COLORREF hover_bk) {
  colors_.bk = bk;
  colors_.selected_bk = selected_bk;
  colors_.hover_bk = hover_bk;
}

void TListTree::SetClrAttr(COLORREF text, COLORREF selected_text, COLORREF root_text, COLORREF line) {
  colors_.text = text;
  colors_.selected_text = selected_text;
  colors_.line = line;
  // Roots already made take the new colour too: they were given the old one.
  for (HTREEITEM root = GetRootItem(); root != 0; root = GetNextSiblingItem(root)) {
    SetItemTextColor(root, root_text);
  }
  colors_.root_text = root_text;
}

void TListTree::RenderHtml(orbe::HtmlWriter& out) const {
  // The tree's own markup inside a box with the list colours; the selected
  // row (class "sel") takes the selection colours.
  out.Raw("<div class=\"listtree\" style=\"height:100%;background:").Raw(orbe::CssColor(colors_.bk));
  out.Raw(";color:").Raw(orbe::CssColor(colors_.text)).Raw("\"><style>.listtree li{line-height:");
  out.Raw(std::to_string(item_height_)).Raw("px}.listtree li.sel{background:");
  out.Raw(orbe::CssColor(colors_.selected_bk)).Raw(";color:").Raw(orbe::CssColor(colors_.selected_text));
  out.Raw("}</style>");
  CXHtmlTree::RenderHtml(out);
  out.Raw("</div>");
}
