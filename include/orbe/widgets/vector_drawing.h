// A drawing as a list of shapes: charts and pies draw into it once, and it is
// written out as inline SVG for the page or rasterised into a PNG or BMP
// file, so a saved picture shows exactly what the page shows.
#ifndef ORBE_WIDGETS_VECTOR_DRAWING_H_
#define ORBE_WIDGETS_VECTOR_DRAWING_H_

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

namespace orbe {

class HtmlWriter;

struct DrawPoint {
  double x = 0;
  double y = 0;
};

// Pen dashes of lines and outlines.
enum DashStyle : int { kDashSolid = 0, kDashDash = 1, kDashDot = 2, kDashDashDot = 3 };

struct DrawStyle {
  COLORREF fill = CLR_NONE;    // CLR_NONE: not filled
  COLORREF stroke = CLR_NONE;  // CLR_NONE: no outline
  double stroke_width = 1;
  int dash = kDashSolid;
  double opacity = 1;                // of the fill, 0..1
  COLORREF gradient_to = CLR_NONE;   // a fill running from `fill` to this colour
  bool gradient_horizontal = false;  // left to right instead of top to bottom
};

enum class ShapeKind { kLine, kPolyline, kPolygon, kRect, kCircle, kSlice, kText, kBeginGroup, kEndGroup };

struct Shape {
  ShapeKind kind = ShapeKind::kLine;
  // Line: two ends. Polyline, polygon: the corners. Rect: top-left, then
  // width and height. Circle: centre, then (radius, 0). Slice: centre, then
  // (radius, 0), then (start, sweep) in degrees clockwise from twelve o'clock.
  // Text: the anchor point.
  std::vector<DrawPoint> points;
  DrawStyle style;
  bool smooth = false;     // a polyline drawn as a curve through its points
  std::string css_class;   // the SVG element's class
  std::string attributes;  // further SVG attributes, written as given (ASCII)
  std::string text;        // GBK: the text of a text, the tip of another shape
  FontSpec font;           // a text's font; size in points (0: 10 px)
  int anchor = 0;          // a text: 0 start, 1 middle, 2 end
  double rotate = 0;       // a text: degrees about its anchor
};

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // RGB, row by row from the top
  std::uint32_t Pixel(int x, int y) const;  // 0xRRGGBB
};

class VectorDrawing {
 public:
  VectorDrawing(double width, double height, COLORREF background = CLR_NONE)
      : width_(width), height_(height), background_(background) {}

  double Width() const { return width_; }
  double Height() const { return height_; }

  Shape& Line(double x1, double y1, double x2, double y2, const DrawStyle& style);
  Shape& Polyline(std::vector<DrawPoint> points, const DrawStyle& style, bool smooth = false);
  Shape& Polygon(std::vector<DrawPoint> points, const DrawStyle& style);
  Shape& Rect(double x, double y, double width, double height, const DrawStyle& style);
  Shape& Circle(double cx, double cy, double radius, const DrawStyle& style);
  Shape& Slice(double cx, double cy, double radius, double start, double sweep, const DrawStyle& style);
  Shape& Text(double x, double y, const std::string& gbk, COLORREF color, const FontSpec& font = {},
              int anchor = 0);
  void BeginGroup(const std::string& css_class, const std::string& attributes = "");
  void EndGroup();

  const std::vector<Shape>& Shapes() const { return shapes_; }

  // <svg class="svg_class" ...> with every shape; texts converted to UTF-8.
  void WriteSvg(HtmlWriter& out, const std::string& svg_class) const;
  // The same drawing as pixels (width and height rounded up, at least 1).
  RgbImage Rasterize() const;

 private:
  Shape& Add(ShapeKind kind, std::vector<DrawPoint> points, const DrawStyle& style);

  double width_;
  double height_;
  COLORREF background_;
  std::vector<Shape> shapes_;
};

// A drawing the size of a window's client area, each side at least `min_side`.
VectorDrawing ClientAreaDrawing(const CWnd& window, LONG min_side);
// A drawing as the text of its <svg class="svg_class"> element.
std::string SvgText(const VectorDrawing& drawing, const std::string& svg_class);

// The points of a smooth curve through `points` (Catmull-Rom, as the SVG
// path of a smooth polyline draws it).
std::vector<DrawPoint> SmoothCurve(const std::vector<DrawPoint>& points);

// PNG (8-bit RGB, zlib) or BMP (24-bit) bytes of an image.
std::string EncodePng(const RgbImage& image);
std::string EncodeBmp(const RgbImage& image);
// Written atomically; a path ending in ".bmp" (any case) gets BMP, any other PNG.
bool SaveImageFile(const RgbImage& image, const std::string& path);

}  // namespace orbe

#endif  // ORBE_WIDGETS_VECTOR_DRAWING_H_
