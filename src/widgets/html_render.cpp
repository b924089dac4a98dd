#include "orbe/widgets/html_render.h"

#include <cstdint>

#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/platform/window_class.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/widget.h"

namespace orbe {
namespace {

constexpr const char kPageStyle[] =
    "body{margin:0;font-family:'SimSun','Noto Sans CJK SC','WenQuanYi Micro Hei',sans-serif;"
    "font-size:12px;background:#ffffff;color:#000000}"
    ".w{position:absolute;box-sizing:border-box;overflow:hidden}"
    "table.g{border-collapse:collapse;table-layout:fixed}"
    // A row is 20 px, as the grid and the report's fitted cells count it:
    // 19 px and the collapsed 1 px border.
    "table.g td{border:1px solid #c0c0c0;padding:0 2px;white-space:nowrap;overflow:hidden;height:19px}"
    "td.f{background:#f0f0f0;font-weight:bold}"
    "td.sel{outline:2px solid #3399ff}"
    ".title{font-weight:bold;padding:2px}"
    "ul.tree{list-style:none;margin:0;padding-left:14px}"
    ".tab{display:inline-block;padding:2px 8px;border:1px solid #a0a0a0}"
    ".tab.cur{background:#3366cc;color:#ffffff}"
    ".scrollbar{position:relative;width:100%;height:100%;background:#e0e0e0}"
    ".scrollbar .thumb{position:absolute;background:#a0a0a0}"
    ".scrollbar.v .thumb{left:1px;right:1px}.scrollbar.h .thumb{top:1px;bottom:1px}";

std::string BoxStyle(const CWnd& window, bool is_root) {
  RECT rect;
  window.GetClientRect(&rect);
  RECT place{};
  if (!is_root) {
    RECT screen, parent_screen;
    window.GetWindowRect(&screen);
    window.GetParent()->GetWindowRect(&parent_screen);
    place.left = screen.left - parent_screen.left;
    place.top = screen.top - parent_screen.top;
  }
  std::string style = Format("left:%dpx;top:%dpx;width:%dpx;height:%dpx;", static_cast<int>(place.left),
                             static_cast<int>(place.top), static_cast<int>(rect.right - rect.left),
                             static_cast<int>(rect.bottom - rect.top));
  // A window of a registered class is painted with the class's background,
  // unless the widget sets its own.
  WindowClassLook look;
  const bool class_background = GetWindowClassLook(window.GetSafeHwnd(), &look) && look.has_background;
  const auto* painted = dynamic_cast<const KvxWidget*>(&window);
  if (class_background && (painted == nullptr || painted->GetBkColor() == CLR_DEFAULT)) {
    style += "background:" + CssColor(look.background) + ";";
  }
  if (const auto* widget = painted) {
    if (widget->GetBkColor() != CLR_DEFAULT) style += "background:" + CssColor(widget->GetBkColor()) + ";";
    if (widget->GetTextColor() != CLR_DEFAULT) style += "color:" + CssColor(widget->GetTextColor()) + ";";
    style += CssFont(widget->GetFont());
    if (widget->IsTooltip()) style += "z-index:10;border:1px solid #808080;box-shadow:2px 2px 4px #808080;";
  }
  return style;
}

void RenderWindow(const CWnd& window, bool is_root, HtmlWriter& out) {
  out.Raw("<div class=\"w\" data-id=\"").Raw(std::to_string(window.GetDlgCtrlID())).Raw("\"");
  if (out.Live()) {
    out.Raw(" data-h=\"").Raw(std::to_string(reinterpret_cast<std::uintptr_t>(window.GetSafeHwnd()))).Raw("\"");
  }
  if (const auto* widget = dynamic_cast<const KvxWidget*>(&window)) {
    out.Raw(" data-kind=\"").Raw(std::to_string(static_cast<int>(widget->Kind()))).Raw("\"");
    if (widget->IsTooltip()) out.Raw(" data-tooltip=\"1\"");
  }
  out.Raw(" style=\"").Raw(BoxStyle(window, is_root)).Raw("\">");
  if (const auto* widget = dynamic_cast<const KvxWidget*>(&window)) {
    widget->RenderHtml(out);
  } else {
    CString text;
    window.GetWindowText(text);
    out.Text(text);
  }
  for (HWND child : window.GetChildren()) {
    const CWnd* child_window = CWnd::FromHandle(child);
    // A hidden child shows nothing on screen, so it is left out here too. The
    // root's own visibility does not count: its page is what it would show.
    if (child_window != nullptr && (child_window->GetStyle() & WS_VISIBLE) != 0) {
      RenderWindow(*child_window, false, out);
    }
  }
  out.Raw("</div>");
}

}  // namespace

std::string RenderWindowHtml(const CWnd& root) {
  HtmlWriter out;
  CString title;
  root.GetWindowText(title);
  out.Raw("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>").Text(title);
  out.Raw("</title><style>").Raw(kPageStyle).Raw("</style></head>\n<body>");
  RenderWindow(root, true, out);
  out.Raw("</body></html>\n");
  return out.Take();
}

std::string RenderWindowLive(const CWnd& root) {
  HtmlWriter out(true);
  RenderWindow(root, true, out);
  return out.Take();
}

const char* WindowPageStyle() { return kPageStyle; }

bool SaveWindowHtml(const CWnd& root, const std::string& path) {
  return WriteFileAtomically(path, RenderWindowHtml(root));
}

}  // namespace orbe
