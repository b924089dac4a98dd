// The pie as inline SVG: one <path class="slice"> per element with a share,
// drawn clockwise from the start angle (0 = twelve o'clock).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/pie.h"

namespace {

constexpr COLORREF kPalette[] = {0x0000CC, 0x00A5FF, 0x00CC00, 0xCC6600, 0x990099,
                                 0x808000, 0x3399FF, 0x666666, 0x0099CC, 0x996633};

COLORREF SliceColor(const PieElement& element, std::size_t index) {
  return element.color == CLR_NONE || element.color == CLR_DEFAULT ? kPalette[index % std::size(kPalette)]
                                                                   : element.color;
}

struct Point {
  double x, y;
};

Point OnCircle(Point centre, double radius, double degrees) {
  const double rad = degrees * std::numbers::pi / 180.0;
  return {centre.x + radius * std::sin(rad), centre.y - radius * std::cos(rad)};
}

void WriteSlice(orbe::HtmlWriter& out, Point centre, double radius, double from, double sweep) {
  if (sweep >= 359.999) {  // a single full slice: an arc cannot end where it starts
    out.Raw("<circle class=\"slice\" cx=\"").Number(centre.x).Raw("\" cy=\"").Number(centre.y);
    out.Raw("\" r=\"").Number(radius).Raw("\"");
    return;
  }
  const Point a = OnCircle(centre, radius, from);
  const Point b = OnCircle(centre, radius, from + sweep);
  out.Raw("<path class=\"slice\" d=\"M").Number(centre.x).Raw(" ").Number(centre.y);
  out.Raw(" L").Number(a.x).Raw(" ").Number(a.y).Raw(" A").Number(radius).Raw(" ").Number(radius);
  out.Raw(sweep > 180 ? " 0 1 1 " : " 0 0 1 ").Number(b.x).Raw(" ").Number(b.y).Raw(" Z\"");
}

}  // namespace

void CKvxPieChart::RenderHtml(orbe::HtmlWriter& out) const {
  RECT rect;
  GetClientRect(&rect);
  const double width = std::max<LONG>(rect.right - rect.left, 1);
  const double height = std::max<LONG>(rect.bottom - rect.top, 1);
  const bool titled = look_.show_title && !title_.empty();
  const double top = titled ? 20 : 0;
  const Point centre{width / 2 + look_.horizontal_offset, top + (height - top) / 2};
  const double radius = std::max(std::min(width, height - top) / 2 - 16, 4.0);

  out.Raw("<svg class=\"pie\" xmlns=\"http://www.w3.org/2000/svg\" width=\"").Number(width);
  out.Raw("\" height=\"").Number(height).Raw("\">");
  if (look_.background != CLR_DEFAULT) {
    out.Raw("<rect width=\"100%\" height=\"100%\" fill=\"").Raw(orbe::CssColor(look_.background)).Raw("\"/>");
  }
  if (titled) {
    out.Raw("<text class=\"title\" x=\"").Number(width / 2).Raw("\" y=\"14\" text-anchor=\"middle\"");
    if (look_.title_color != CLR_DEFAULT)
      out.Raw(" fill=\"").Raw(orbe::CssColor(look_.title_color)).Raw("\"");
    out.Raw(">").Text(title_).Raw("</text>");
  }
  double angle = look_.start_angle;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const PieElement& element = elements_[i];
    const double share = GetShare(static_cast<int>(i));
    if (share <= 0) continue;
    const double sweep = share * 360.0;
    const Point pulled = OnCircle(centre, element.distance, angle + sweep / 2);
    WriteSlice(out, pulled, radius, angle, sweep);
    out.Raw(" fill=\"").Raw(orbe::CssColor(SliceColor(element, i))).Raw("\"");
    if (element.transparency > 0) out.Raw(" fill-opacity=\"").Number(1 - element.transparency).Raw("\"");
    if (element.label == selected_) {
      const COLORREF mark = look_.highlight_color != CLR_DEFAULT ? look_.highlight_color : 0x000000;
      out.Raw(" stroke=\"").Raw(orbe::CssColor(mark)).Raw("\" stroke-width=\"2\"");
    }
    out.Raw(" data-label=\"").Text(element.label).Raw("\">");
    if (look_.tooltip)
      out.Raw("<title>").Text(element.tip.empty() ? element.label : element.tip).Raw("</title>");
    out.Raw(sweep >= 359.999 ? "</circle>" : "</path>");
    if (look_.labels || look_.percentages) {
      const Point at = OnCircle(pulled, radius * 0.65, angle + sweep / 2);
      std::string text = look_.labels ? element.label : std::string();
      if (look_.percentages) text += (text.empty() ? "" : " ") + orbe::Format("%.1f%%", share * 100);
      out.Raw("<text class=\"label\" x=\"").Number(at.x).Raw("\" y=\"").Number(at.y);
      out.Raw("\" text-anchor=\"middle\"");
      if (look_.label_color != CLR_DEFAULT)
        out.Raw(" fill=\"").Raw(orbe::CssColor(look_.label_color)).Raw("\"");
      out.Raw(">").Text(text).Raw("</text>");
    }
    angle += sweep;
  }
  out.Raw("</svg>");
}
