// The pie's picture: one slice per element with a share, drawn clockwise from
// the start angle (0 = twelve o'clock), pulled out by its distance; a
// three-dimensional pie gets a darker rim of its depth under the slices.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/pie.h"
#include "orbe/widgets/vector_drawing.h"

namespace {

constexpr COLORREF kPalette[] = {0x0000CC, 0x00A5FF, 0x00CC00, 0xCC6600, 0x990099,
                                 0x808000, 0x3399FF, 0x666666, 0x0099CC, 0x996633};

COLORREF SliceColor(const PieElement& element, std::size_t index) {
  return element.color == CLR_NONE || element.color == CLR_DEFAULT ? kPalette[index % std::size(kPalette)]
                                                                   : element.color;
}

// A colour lightened (amount > 0) or darkened (< 0) by a percentage.
COLORREF Shade(COLORREF c, double percent) {
  const double t = std::clamp(percent, -100.0, 100.0) / 100;
  const auto channel = [t](int v) {
    return static_cast<BYTE>(std::lround(t >= 0 ? v + (255 - v) * t : v * (1 + t)));
  };
  return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

orbe::DrawPoint OnCircle(orbe::DrawPoint centre, double radius, double degrees) {
  const double rad = degrees * std::numbers::pi / 180.0;
  return {centre.x + radius * std::sin(rad), centre.y - radius * std::cos(rad)};
}

}  // namespace

void CKvxPieChart::Draw(orbe::VectorDrawing& d) const {
  const double width = d.Width(), height = d.Height();
  const bool titled = look_.show_title && !title_.empty();
  const bool title_top = look_.title_dock == 0, title_bottom = look_.title_dock == 1;
  const double top = titled && title_top ? 20 : 0;
  const double below = titled && title_bottom ? 20 : 0;
  const double depth = look_.style == 1 ? std::clamp(look_.depth, 0.0, 40.0) : 0;
  const orbe::DrawPoint centre{width / 2 + look_.horizontal_offset, top + (height - top - below - depth) / 2};
  const double radius = std::max(std::min(width, height - top - below - depth) / 2 - 16, 4.0);

  if (look_.background != CLR_DEFAULT) {
    orbe::DrawStyle back;
    back.fill = look_.background;
    if (look_.background_gradient) {
      back.fill = Shade(look_.background, look_.background_light);
      back.gradient_to = Shade(look_.background, -look_.background_dark);
    }
    d.Rect(0, 0, width, height, back).css_class = "back";
  }
  if (titled) {
    double x = width / 2, y = title_bottom ? height - 6 : 14;
    int anchor = 1;
    if (look_.title_dock == 2) x = 4, y = height / 2, anchor = 0;
    if (look_.title_dock == 3) x = width - 4, y = height / 2, anchor = 2;
    if (look_.title_dock == -1) x = look_.title_x, y = look_.title_y, anchor = 0;
    d.Text(x, y, title_, look_.title_color, look_.title_font, anchor).css_class = "title";
  }
  // The rim of a three-dimensional pie: the slices again, darker, shifted down.
  for (double layer = depth; layer > 0; layer -= std::max(depth / 4, 1.0)) {
    double angle = look_.start_angle;
    for (std::size_t i = 0; i < elements_.size(); ++i) {
      const double share = GetShare(static_cast<int>(i));
      if (share <= 0) continue;
      const double sweep = share * 360.0;
      const orbe::DrawPoint pulled = OnCircle(centre, elements_[i].distance, angle + sweep / 2);
      orbe::DrawStyle rim;
      rim.fill = Shade(SliceColor(elements_[i], i), -35);
      d.Slice(pulled.x, pulled.y + layer, radius, angle, sweep, rim).css_class = "rim";
      angle += sweep;
    }
  }
  double angle = look_.start_angle;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const PieElement& element = elements_[i];
    const double share = GetShare(static_cast<int>(i));
    if (share <= 0) continue;
    const double sweep = share * 360.0;
    const orbe::DrawPoint pulled = OnCircle(centre, element.distance, angle + sweep / 2);
    orbe::DrawStyle style;
    const COLORREF color = SliceColor(element, i);
    style.fill = element.gradient_light > 0 || element.gradient_dark > 0 ? Shade(color, element.gradient_light) : color;
    if (element.gradient_light > 0 || element.gradient_dark > 0) style.gradient_to = Shade(color, -element.gradient_dark);
    style.opacity = 1 - element.transparency;
    if (element.label == selected_) {
      style.stroke = look_.highlight_color != CLR_DEFAULT ? look_.highlight_color : 0x000000;
      style.stroke_width = 2;
    }
    orbe::Shape& slice = d.Slice(pulled.x, pulled.y, radius, angle, sweep, style);
    slice.css_class = "slice";
    orbe::HtmlWriter label;
    label.Raw("data-label=\"").Text(element.label).Raw("\"");
    slice.attributes = label.Take();
    if (look_.tooltip) slice.text = element.tip.empty() ? element.label : element.tip;
    if (look_.labels || look_.percentages) {
      const orbe::DrawPoint at = OnCircle(pulled, radius * 0.65, angle + sweep / 2);
      std::string text = look_.labels ? element.label : std::string();
      if (look_.percentages) text += (text.empty() ? "" : " ") + orbe::Format("%.1f%%", share * 100);
      if (look_.label_box_color != CLR_DEFAULT) {
        orbe::DrawStyle box;
        box.stroke = look_.label_box_color;
        box.fill = RGB(255, 255, 255);
        box.opacity = 0.7;
        const double w = static_cast<double>(text.size()) * 6 + 6;
        d.Rect(at.x - w / 2, at.y - 11, w, 15, box).css_class = "labelbox";
      }
      d.Text(at.x, at.y, text, look_.label_color, look_.label_font, 1).css_class = "label";
    }
    angle += sweep;
  }
}

bool CKvxPieChart::SaveAsImage(const std::string& path) const {
  orbe::VectorDrawing drawing = orbe::ClientAreaDrawing(*this, 1);
  Draw(drawing);
  return orbe::SaveImageFile(drawing.Rasterize(), path);
}

void CKvxPieChart::RenderHtml(orbe::HtmlWriter& out) const {
  orbe::VectorDrawing drawing = orbe::ClientAreaDrawing(*this, 1);
  Draw(drawing);
  drawing.WriteSvg(out, "pie");
  if (look_.tooltip && (look_.tooltip_text != CLR_DEFAULT || look_.tooltip_bk != CLR_DEFAULT)) {
    // Tips are the slices' titles; their colours go with the page for a front end that draws them.
    out.Raw("<span class=\"pietip\" hidden style=\"");
    if (look_.tooltip_text != CLR_DEFAULT) out.Raw("color:").Raw(orbe::CssColor(look_.tooltip_text)).Raw(";");
    if (look_.tooltip_bk != CLR_DEFAULT) out.Raw("background:").Raw(orbe::CssColor(look_.tooltip_bk)).Raw(";");
    out.Raw("\"></span>");
  }
}
