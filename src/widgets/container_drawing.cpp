#include "orbe/widgets/container_drawing.h"

#include <optional>

#include "orbe/widgets/html_writer.h"

namespace orbe {
namespace {

std::optional<RECT> RectOf(int x, int y, int cx, int cy) {
  if (cx < 0 || cy < 0) return std::nullopt;
  return RECT{x, y, x + cx, y + cy};
}

void WriteBox(HtmlWriter& out, const RECT& r) {
  out.Raw("position:absolute;left:").Number(r.left).Raw("px;top:").Number(r.top).Raw("px;width:");
  out.Number(r.right - r.left).Raw("px;height:").Number(r.bottom - r.top).Raw("px;");
}

constexpr const char* kAlign[] = {"left", "center", "right"};

}  // namespace

int ContainerDrawing::AddLine(const DrawnLine& line) {
  if (line.width < 0) return 0;
  lines_.emplace(next_line_, line);
  return next_line_++;
}

int ContainerDrawing::AddBkRegion(int x, int y, int cx, int cy, COLORREF fill, COLORREF border,
                                  int border_width) {
  const auto rect = RectOf(x, y, cx, cy);
  if (!rect || border_width < 0) return 0;
  regions_.emplace(next_region_, BkRegion{*rect, fill, border, border_width});
  return next_region_++;
}

bool ContainerDrawing::ResetBkRegion(int id, int x, int y, int cx, int cy, COLORREF fill, COLORREF border,
                                     int border_width) {
  const auto at = regions_.find(id);
  const auto rect = RectOf(x, y, cx, cy);
  if (at == regions_.end() || !rect || border_width < 0) return false;
  at->second = BkRegion{*rect, fill, border, border_width};
  return true;
}

int ContainerDrawing::AddBkText(const std::string& text, int x, int y, int cx, int cy, const FontSpec& font,
                                COLORREF color, COLORREF bk, int align, bool single_line) {
  const auto rect = RectOf(x, y, cx, cy);
  if (!rect) return 0;
  texts_.emplace(next_text_, BkText{text, *rect, font, color, bk, align, single_line});
  return next_text_++;
}

void ContainerDrawing::RenderHtml(HtmlWriter& out, int width, int height) const {
  for (const auto& [id, region] : regions_) {
    out.Raw("<div class=\"bkregion\" data-region=\"").Raw(std::to_string(id)).Raw("\" style=\"");
    WriteBox(out, region.rect);
    if (region.fill != CLR_DEFAULT) out.Raw("background:").Raw(CssColor(region.fill)).Raw(";");
    if (region.border != CLR_DEFAULT && region.border_width > 0) {
      out.Raw("border:").Number(region.border_width).Raw("px solid ").Raw(CssColor(region.border)).Raw(";");
    }
    out.Raw("box-sizing:border-box\"></div>");
  }
  if (!lines_.empty()) {
    out.Raw(
        "<svg class=\"lines\" xmlns=\"http://www.w3.org/2000/svg\" style=\"position:absolute;left:0;top:0\"");
    out.Raw(" width=\"").Number(width).Raw("\" height=\"").Number(height).Raw("\">");
    for (const auto& [id, line] : lines_) {
      out.Raw("<line data-line=\"").Raw(std::to_string(id)).Raw("\" x1=\"").Number(line.x1).Raw("\" y1=\"");
      out.Number(line.y1).Raw("\" x2=\"").Number(line.x2).Raw("\" y2=\"").Number(line.y2).Raw("\" stroke=\"");
      out.Raw(CssColor(line.color)).Raw("\" stroke-width=\"").Number(line.width).Raw("\"");
      if (line.style == 1) out.Raw(" stroke-dasharray=\"6 3\"");
      if (line.style == 2) out.Raw(" stroke-dasharray=\"1 2\"");
      out.Raw("/>");
    }
    out.Raw("</svg>");
  }
  for (const auto& [id, text] : texts_) {
    out.Raw("<div class=\"bktext\" data-text=\"").Raw(std::to_string(id)).Raw("\" style=\"");
    WriteBox(out, text.rect);
    out.Raw("text-align:").Raw(kAlign[text.align >= 0 && text.align <= 2 ? text.align : 0]).Raw(";");
    if (text.single_line) out.Raw("white-space:nowrap;");
    if (text.color != CLR_DEFAULT) out.Raw("color:").Raw(CssColor(text.color)).Raw(";");
    if (text.bk != CLR_DEFAULT) out.Raw("background:").Raw(CssColor(text.bk)).Raw(";");
    out.Raw(CssFont(text.font)).Raw("\">").Text(text.text).Raw("</div>");
  }
}

}  // namespace orbe
