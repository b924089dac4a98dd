// The drawing's shapes and their SVG form.
#include "orbe/widgets/vector_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "orbe/widgets/html_writer.h"

namespace orbe {
namespace {

DrawPoint OnCircle(DrawPoint centre, double radius, double degrees) {
  const double rad = degrees * std::numbers::pi / 180.0;
  return {centre.x + radius * std::sin(rad), centre.y - radius * std::cos(rad)};
}

const char* DashArray(int dash) {
  switch (dash) {
    case kDashDash:
      return "6,3";
    case kDashDot:
      return "1,3";
    case kDashDashDot:
      return "6,3,1,3";
    default:
      return nullptr;
  }
}

// A gradient fill is an SVG definition the shape refers to by id.
std::string GradientId(std::size_t index) { return "vg" + std::to_string(index); }

void WritePaint(HtmlWriter& out, const DrawStyle& style, std::size_t index) {
  if (style.gradient_to != CLR_NONE && style.fill != CLR_NONE) {
    out.Raw(" fill=\"url(#").Raw(GradientId(index)).Raw(")\"");
  } else {
    out.Raw(" fill=\"").Raw(style.fill == CLR_NONE ? std::string("none") : CssColor(style.fill)).Raw("\"");
  }
  if (style.opacity < 1) out.Raw(" fill-opacity=\"").Number(style.opacity).Raw("\"");
  if (style.stroke != CLR_NONE) {
    out.Raw(" stroke=\"").Raw(CssColor(style.stroke)).Raw("\" stroke-width=\"").Number(style.stroke_width);
    out.Raw("\"");
    if (const char* dashes = DashArray(style.dash)) out.Raw(" stroke-dasharray=\"").Raw(dashes).Raw("\"");
  }
}

void WritePoints(HtmlWriter& out, const std::vector<DrawPoint>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) out.Raw(" ");
    out.Number(points[i].x).Raw(",").Number(points[i].y);
  }
}

void WriteSmoothPath(HtmlWriter& out, const std::vector<DrawPoint>& points) {
  const std::vector<DrawPoint> curve = SmoothCurve(points);
  out.Raw("<path d=\"");
  for (std::size_t i = 0; i < curve.size(); ++i) {
    out.Raw(i == 0 ? "M" : " L").Number(curve[i].x).Raw(" ").Number(curve[i].y);
  }
  out.Raw("\"");
}

}  // namespace

Shape& VectorDrawing::Add(ShapeKind kind, std::vector<DrawPoint> points, const DrawStyle& style) {
  Shape shape;
  shape.kind = kind;
  shape.points = std::move(points);
  shape.style = style;
  shapes_.push_back(std::move(shape));
  return shapes_.back();
}

Shape& VectorDrawing::Line(double x1, double y1, double x2, double y2, const DrawStyle& style) {
  return Add(ShapeKind::kLine, {{x1, y1}, {x2, y2}}, style);
}
Shape& VectorDrawing::Polyline(std::vector<DrawPoint> points, const DrawStyle& style, bool smooth) {
  Shape& shape = Add(ShapeKind::kPolyline, std::move(points), style);
  shape.smooth = smooth;
  return shape;
}
Shape& VectorDrawing::Polygon(std::vector<DrawPoint> points, const DrawStyle& style) {
  return Add(ShapeKind::kPolygon, std::move(points), style);
}
Shape& VectorDrawing::Rect(double x, double y, double width, double height, const DrawStyle& style) {
  return Add(ShapeKind::kRect, {{x, y}, {width, height}}, style);
}
Shape& VectorDrawing::Circle(double cx, double cy, double radius, const DrawStyle& style) {
  return Add(ShapeKind::kCircle, {{cx, cy}, {radius, 0}}, style);
}
Shape& VectorDrawing::Slice(double cx, double cy, double radius, double start, double sweep,
                            const DrawStyle& style) {
  return Add(ShapeKind::kSlice, {{cx, cy}, {radius, 0}, {start, sweep}}, style);
}
Shape& VectorDrawing::Text(double x, double y, const std::string& gbk, COLORREF color, const FontSpec& font,
                           int anchor) {
  DrawStyle style;
  style.fill = color;
  Shape& shape = Add(ShapeKind::kText, {{x, y}}, style);
  shape.text = gbk;
  shape.font = font;
  shape.anchor = anchor;
  return shape;
}
void VectorDrawing::BeginGroup(const std::string& css_class, const std::string& attributes) {
  Shape& shape = Add(ShapeKind::kBeginGroup, {}, {});
  shape.css_class = css_class;
  shape.attributes = attributes;
}
void VectorDrawing::EndGroup() { Add(ShapeKind::kEndGroup, {}, {}); }

std::vector<DrawPoint> SmoothCurve(const std::vector<DrawPoint>& points) {
  if (points.size() < 3) return points;
  constexpr int kSteps = 8;
  std::vector<DrawPoint> curve;
  curve.reserve(points.size() * kSteps);
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const DrawPoint& p0 = points[i == 0 ? 0 : i - 1];
    const DrawPoint& p1 = points[i];
    const DrawPoint& p2 = points[i + 1];
    const DrawPoint& p3 = points[i + 2 < points.size() ? i + 2 : i + 1];
    for (int step = 0; step < kSteps; ++step) {
      const double t = static_cast<double>(step) / kSteps;
      const double t2 = t * t, t3 = t2 * t;
      const auto blend = [&](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
      };
      curve.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
    }
  }
  curve.push_back(points.back());
  return curve;
}

void VectorDrawing::WriteSvg(HtmlWriter& out, const std::string& svg_class) const {
  out.Raw("<svg class=\"").Raw(svg_class).Raw("\" xmlns=\"http://www.w3.org/2000/svg\" width=\"").Number(width_);
  out.Raw("\" height=\"").Number(height_).Raw("\">");
  bool defs = false;
  for (std::size_t i = 0; i < shapes_.size(); ++i) {
    const DrawStyle& style = shapes_[i].style;
    if (style.gradient_to == CLR_NONE || style.fill == CLR_NONE) continue;
    if (!defs) out.Raw("<defs>");
    defs = true;
    out.Raw("<linearGradient id=\"").Raw(GradientId(i)).Raw(style.gradient_horizontal ? "\" x2=\"1\" y2=\"0\">"
                                                                                       : "\" x2=\"0\" y2=\"1\">");
    out.Raw("<stop offset=\"0\" stop-color=\"").Raw(CssColor(style.fill)).Raw("\"/>");
    out.Raw("<stop offset=\"1\" stop-color=\"").Raw(CssColor(style.gradient_to)).Raw("\"/></linearGradient>");
  }
  if (defs) out.Raw("</defs>");
  if (background_ != CLR_NONE) {
    out.Raw("<rect width=\"100%\" height=\"100%\" fill=\"").Raw(CssColor(background_)).Raw("\"/>");
  }
  for (std::size_t i = 0; i < shapes_.size(); ++i) {
    const Shape& s = shapes_[i];
    const auto open = [&](const char* element) {
      out.Raw("<").Raw(element);
      if (!s.css_class.empty()) out.Raw(" class=\"").Raw(s.css_class).Raw("\"");
    };
    const auto close = [&](const char* element) {
      WritePaint(out, s.style, i);
      if (!s.attributes.empty()) out.Raw(" ").Raw(s.attributes);
      if (s.text.empty()) {
        out.Raw("/>");
      } else {
        out.Raw("><title>").Text(s.text).Raw("</title></").Raw(element).Raw(">");
      }
    };
    switch (s.kind) {
      case ShapeKind::kLine:
        open("line");
        out.Raw(" x1=\"").Number(s.points[0].x).Raw("\" y1=\"").Number(s.points[0].y);
        out.Raw("\" x2=\"").Number(s.points[1].x).Raw("\" y2=\"").Number(s.points[1].y).Raw("\"");
        close("line");
        break;
      case ShapeKind::kPolyline:
        if (s.smooth) {
          WriteSmoothPath(out, s.points);
          if (!s.css_class.empty()) out.Raw(" class=\"").Raw(s.css_class).Raw("\"");
          close("path");
        } else {
          open("polyline");
          out.Raw(" points=\"");
          WritePoints(out, s.points);
          out.Raw("\"");
          close("polyline");
        }
        break;
      case ShapeKind::kPolygon:
        open("polygon");
        out.Raw(" points=\"");
        WritePoints(out, s.points);
        out.Raw("\"");
        close("polygon");
        break;
      case ShapeKind::kRect:
        open("rect");
        out.Raw(" x=\"").Number(s.points[0].x).Raw("\" y=\"").Number(s.points[0].y);
        out.Raw("\" width=\"").Number(s.points[1].x).Raw("\" height=\"").Number(s.points[1].y).Raw("\"");
        close("rect");
        break;
      case ShapeKind::kCircle:
        open("circle");
        out.Raw(" cx=\"").Number(s.points[0].x).Raw("\" cy=\"").Number(s.points[0].y);
        out.Raw("\" r=\"").Number(s.points[1].x).Raw("\"");
        close("circle");
        break;
      case ShapeKind::kSlice: {
        const DrawPoint centre = s.points[0];
        const double radius = s.points[1].x, from = s.points[2].x, sweep = s.points[2].y;
        if (sweep >= 359.999) {  // a full slice: an arc cannot end where it starts
          open("circle");
          out.Raw(" cx=\"").Number(centre.x).Raw("\" cy=\"").Number(centre.y).Raw("\" r=\"").Number(radius);
          out.Raw("\"");
          close("circle");
          break;
        }
        const DrawPoint a = OnCircle(centre, radius, from);
        const DrawPoint b = OnCircle(centre, radius, from + sweep);
        open("path");
        out.Raw(" d=\"M").Number(centre.x).Raw(" ").Number(centre.y);
        out.Raw(" L").Number(a.x).Raw(" ").Number(a.y).Raw(" A").Number(radius).Raw(" ").Number(radius);
        out.Raw(sweep > 180 ? " 0 1 1 " : " 0 0 1 ").Number(b.x).Raw(" ").Number(b.y).Raw(" Z\"");
        close("path");
        break;
      }
      case ShapeKind::kText: {
        open("text");
        out.Raw(" x=\"").Number(s.points[0].x).Raw("\" y=\"").Number(s.points[0].y).Raw("\"");
        if (s.anchor == 1) out.Raw(" text-anchor=\"middle\"");
        if (s.anchor == 2) out.Raw(" text-anchor=\"end\"");
        if (s.rotate != 0) {
          out.Raw(" transform=\"rotate(").Number(s.rotate).Raw(" ").Number(s.points[0].x).Raw(" ");
          out.Raw("").Number(s.points[0].y).Raw(")\"");
        }
        if (s.style.fill != CLR_NONE && s.style.fill != CLR_DEFAULT) {
          out.Raw(" fill=\"").Raw(CssColor(s.style.fill)).Raw("\"");
        }
        out.Raw(s.font.size > 0 ? "" : " font-size=\"10\"");
        const std::string font = CssFont(s.font);
        if (!font.empty()) out.Raw(" style=\"").Raw(font).Raw("\"");
        if (!s.attributes.empty()) out.Raw(" ").Raw(s.attributes);
        out.Raw(">").Text(s.text).Raw("</text>");
        break;
      }
      case ShapeKind::kBeginGroup:
        out.Raw("<g");
        if (!s.css_class.empty()) out.Raw(" class=\"").Raw(s.css_class).Raw("\"");
        if (!s.attributes.empty()) out.Raw(" ").Raw(s.attributes);
        out.Raw(">");
        break;
      case ShapeKind::kEndGroup:
        out.Raw("</g>");
        break;
    }
  }
  out.Raw("</svg>");
}

VectorDrawing ClientAreaDrawing(const CWnd& window, LONG min_side) {
  RECT rect;
  window.GetClientRect(&rect);
  return VectorDrawing(std::max<LONG>(rect.right - rect.left, min_side),
                       std::max<LONG>(rect.bottom - rect.top, min_side));
}

std::string SvgText(const VectorDrawing& drawing, const std::string& svg_class) {
  HtmlWriter out;
  drawing.WriteSvg(out, svg_class);
  return out.Take();
}

}  // namespace orbe
