// The drawing as pixels, and the PNG and BMP files of an image. Shapes are
// filled by scanline (even-odd, sampled at pixel centres), lines become
// quadrilaterals of their width, and texts use a 5x7 bitmap font (a
// double-byte character is drawn as a box: the picture keeps the place and
// length of every text, which is what a chart's reader scans for).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/vector_drawing.h"

namespace orbe {
namespace {

// Columns of each glyph from ' ' to 'Z', bit 0 at the top. Lower-case letters
// are drawn as capitals; characters without a glyph as a small box.
constexpr std::array<std::array<std::uint8_t, 5>, 59> kFont = {{
    {0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x5F, 0x00, 0x00}, {0x00, 0x07, 0x00, 0x07, 0x00},  // space ! "
    {0x14, 0x7F, 0x14, 0x7F, 0x14}, {0x24, 0x2A, 0x7F, 0x2A, 0x12}, {0x23, 0x13, 0x08, 0x64, 0x62},  // # $ %
    {0x36, 0x49, 0x55, 0x22, 0x50}, {0x00, 0x05, 0x03, 0x00, 0x00}, {0x00, 0x1C, 0x22, 0x41, 0x00},  // & ' (
    {0x00, 0x41, 0x22, 0x1C, 0x00}, {0x14, 0x08, 0x3E, 0x08, 0x14}, {0x08, 0x08, 0x3E, 0x08, 0x08},  // ) * +
    {0x00, 0x50, 0x30, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08}, {0x00, 0x60, 0x60, 0x00, 0x00},  // , - .
    {0x20, 0x10, 0x08, 0x04, 0x02}, {0x3E, 0x51, 0x49, 0x45, 0x3E}, {0x00, 0x42, 0x7F, 0x40, 0x00},  // / 0 1
    {0x42, 0x61, 0x51, 0x49, 0x46}, {0x21, 0x41, 0x45, 0x4B, 0x31}, {0x18, 0x14, 0x12, 0x7F, 0x10},  // 2 3 4
    {0x27, 0x45, 0x45, 0x45, 0x39}, {0x3C, 0x4A, 0x49, 0x49, 0x30}, {0x01, 0x71, 0x09, 0x05, 0x03},  // 5 6 7
    {0x36, 0x49, 0x49, 0x49, 0x36}, {0x06, 0x49, 0x49, 0x29, 0x1E}, {0x00, 0x36, 0x36, 0x00, 0x00},  // 8 9 :
    {0x00, 0x56, 0x36, 0x00, 0x00}, {0x08, 0x14, 0x22, 0x41, 0x00}, {0x14, 0x14, 0x14, 0x14, 0x14},  // ; < =
    {0x00, 0x41, 0x22, 0x14, 0x08}, {0x02, 0x01, 0x51, 0x09, 0x06}, {0x32, 0x49, 0x79, 0x41, 0x3E},  // > ? @
    {0x7E, 0x11, 0x11, 0x11, 0x7E}, {0x7F, 0x49, 0x49, 0x49, 0x36}, {0x3E, 0x41, 0x41, 0x41, 0x22},  // A B C
    {0x7F, 0x41, 0x41, 0x22, 0x1C}, {0x7F, 0x49, 0x49, 0x49, 0x41}, {0x7F, 0x09, 0x09, 0x09, 0x01},  // D E F
    {0x3E, 0x41, 0x49, 0x49, 0x7A}, {0x7F, 0x08, 0x08, 0x08, 0x7F}, {0x00, 0x41, 0x7F, 0x41, 0x00},  // G H I
    {0x20, 0x40, 0x41, 0x3F, 0x01}, {0x7F, 0x08, 0x14, 0x22, 0x41}, {0x7F, 0x40, 0x40, 0x40, 0x40},  // J K L
    {0x7F, 0x02, 0x0C, 0x02, 0x7F}, {0x7F, 0x04, 0x08, 0x10, 0x7F}, {0x3E, 0x41, 0x41, 0x41, 0x3E},  // M N O
    {0x7F, 0x09, 0x09, 0x09, 0x06}, {0x3E, 0x41, 0x51, 0x21, 0x5E}, {0x7F, 0x09, 0x19, 0x29, 0x46},  // P Q R
    {0x46, 0x49, 0x49, 0x49, 0x31}, {0x01, 0x01, 0x7F, 0x01, 0x01}, {0x3F, 0x40, 0x40, 0x40, 0x3F},  // S T U
    {0x1F, 0x20, 0x40, 0x20, 0x1F}, {0x3F, 0x40, 0x38, 0x40, 0x3F}, {0x63, 0x14, 0x08, 0x14, 0x63},  // V W X
    {0x07, 0x08, 0x70, 0x08, 0x07}, {0x61, 0x51, 0x49, 0x45, 0x43},                                    // Y Z
}};
constexpr std::array<std::uint8_t, 5> kBoxGlyph = {0x7F, 0x41, 0x41, 0x41, 0x7F};

class Canvas {
 public:
  Canvas(int width, int height, COLORREF background) : image_{width, height, {}} {
    image_.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0xFF);
    if (background != CLR_NONE && background != CLR_DEFAULT) {
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) Blend(x, y, background, 1);
      }
    }
  }

  RgbImage Take() { return std::move(image_); }

  void Blend(int x, int y, COLORREF color, double alpha) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height || alpha <= 0) return;
    std::uint8_t* p = &image_.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width) +
                                      static_cast<std::size_t>(x)) * 3];
    const std::uint8_t rgb[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    for (int i = 0; i < 3; ++i) {
      p[i] = static_cast<std::uint8_t>(std::lround(p[i] * (1 - alpha) + rgb[i] * std::min(alpha, 1.0)));
    }
  }

  // Even-odd fill of a polygon; `colour_at` gives the colour of a pixel.
  template <typename ColourAt>
  void Fill(const std::vector<DrawPoint>& polygon, double alpha, ColourAt colour_at) {
    if (polygon.size() < 3) return;
    double top = polygon[0].y, bottom = polygon[0].y;
    for (const DrawPoint& p : polygon) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    const int first = std::max(0, static_cast<int>(std::floor(top)));
    const int last = std::min(image_.height - 1, static_cast<int>(std::ceil(bottom)));
    std::vector<double> crossings;
    for (int y = first; y <= last; ++y) {
      const double sy = y + 0.5;
      crossings.clear();
      for (std::size_t i = 0; i < polygon.size(); ++i) {
        const DrawPoint& a = polygon[i];
        const DrawPoint& b = polygon[(i + 1) % polygon.size()];
        if ((a.y <= sy) == (b.y <= sy)) continue;
        crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const int from = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
        const int to = std::min(image_.width - 1, static_cast<int>(std::floor(crossings[i + 1] - 0.5)));
        for (int x = from; x <= to; ++x) Blend(x, y, colour_at(x, y), alpha);
      }
    }
  }

  void FillSolid(const std::vector<DrawPoint>& polygon, COLORREF color, double alpha) {
    Fill(polygon, alpha, [color](int, int) { return color; });
  }

  // A segment `width` wide, at least one pixel; solid lines are extended by
  // half a pixel each way so that their joints meet (dashes keep their length).
  void Segment(DrawPoint a, DrawPoint b, double width, COLORREF color, bool extend = true) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    const double half = std::max(width, 1.0) / 2;
    if (length < 1e-9) {
      FillSolid({{a.x - half, a.y - half}, {a.x + half, a.y - half}, {a.x + half, a.y + half}, {a.x - half, a.y + half}},
                color, 1);
      return;
    }
    const double nx = -dy / length * half, ny = dx / length * half;
    const double ex = extend ? dx / length * 0.5 : 0, ey = extend ? dy / length * 0.5 : 0;
    FillSolid({{a.x + nx - ex, a.y + ny - ey},
               {b.x + nx + ex, b.y + ny + ey},
               {b.x - nx + ex, b.y - ny + ey},
               {a.x - nx - ex, a.y - ny - ey}},
              color, 1);
  }

  // A polyline with a dash pattern: lengths of drawn and skipped pieces.
  void Stroke(const std::vector<DrawPoint>& points, bool closed, const DrawStyle& style) {
    if (style.stroke == CLR_NONE || points.empty()) return;
    std::vector<double> pattern;
    const double w = std::max(style.stroke_width, 1.0);
    if (style.dash == kDashDash) pattern = {6 * w, 3 * w};
    if (style.dash == kDashDot) pattern = {1 * w, 3 * w};
    if (style.dash == kDashDashDot) pattern = {6 * w, 3 * w, 1 * w, 3 * w};
    std::size_t piece = 0;
    double left = pattern.empty() ? 0 : pattern[0];
    const std::size_t count = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < count; ++i) {
      DrawPoint a = points[i];
      const DrawPoint b = points[(i + 1) % points.size()];
      if (pattern.empty()) {
        Segment(a, b, style.stroke_width, style.stroke);
        continue;
      }
      double length = std::hypot(b.x - a.x, b.y - a.y);
      while (length > 0) {
        const double step = std::min(left, length);
        const double t = length > 0 ? step / length : 0;
        const DrawPoint c{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
        if (piece % 2 == 0) Segment(a, c, style.stroke_width, style.stroke, false);
        a = c;
        length -= step;
        left -= step;
        if (left <= 1e-9) {
          piece = (piece + 1) % pattern.size();
          left = pattern[piece];
        }
      }
    }
  }

  void Glyph(int x, int y, const std::array<std::uint8_t, 5>& columns, int scale, COLORREF color) {
    for (int col = 0; col < 5; ++col) {
      for (int row = 0; row < 7; ++row) {
        if ((columns[static_cast<std::size_t>(col)] >> row & 1) == 0) continue;
        for (int dy = 0; dy < scale; ++dy) {
          for (int dx = 0; dx < scale; ++dx) Blend(x + col * scale + dx, y + row * scale + dy, color, 1);
        }
      }
    }
  }

  void Text(const Shape& shape) {
    const int scale = std::max(1, static_cast<int>(std::lround((shape.font.size > 0 ? shape.font.size * 4 / 3.0 : 10) / 9)));
    const int advance = 6 * scale;
    // Characters in display order: one cell per ASCII byte, two per GBK pair.
    std::vector<const std::array<std::uint8_t, 5>*> glyphs;
    for (std::size_t i = 0; i < shape.text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(shape.text[i]);
      if (IsGbkLeadByte(byte) && i + 1 < shape.text.size()) {
        glyphs.push_back(&kBoxGlyph);
        glyphs.push_back(nullptr);
        ++i;
        continue;
      }
      unsigned char c = byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
      glyphs.push_back(c >= ' ' && c <= 'Z' ? &kFont[c - ' '] : &kBoxGlyph);
    }
    const int width = static_cast<int>(glyphs.size()) * advance;
    double x = shape.points[0].x;
    if (shape.anchor == 1) x -= width / 2.0;
    if (shape.anchor == 2) x -= width;
    const int top = static_cast<int>(std::lround(shape.points[0].y)) - 7 * scale;  // the anchor is the baseline
    const COLORREF color = shape.style.fill == CLR_NONE || shape.style.fill == CLR_DEFAULT ? 0 : shape.style.fill;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      if (glyphs[i] != nullptr) {
        Glyph(static_cast<int>(std::lround(x)) + static_cast<int>(i) * advance, top, *glyphs[i], scale, color);
      }
    }
  }

 private:
  RgbImage image_;
};

std::vector<DrawPoint> CirclePolygon(DrawPoint centre, double radius, double from, double sweep, bool wedge) {
  std::vector<DrawPoint> points;
  if (wedge) points.push_back(centre);
  const int steps = std::max(8, static_cast<int>(std::ceil(std::abs(sweep) / 5)));
  for (int i = 0; i <= steps; ++i) {
    const double rad = (from + sweep * i / steps) * std::numbers::pi / 180.0;
    points.push_back({centre.x + radius * std::sin(rad), centre.y - radius * std::cos(rad)});
  }
  return points;
}

std::vector<DrawPoint> Outline(const Shape& s) {
  switch (s.kind) {
    case ShapeKind::kRect: {
      const DrawPoint a = s.points[0], size = s.points[1];
      return {a, {a.x + size.x, a.y}, {a.x + size.x, a.y + size.y}, {a.x, a.y + size.y}};
    }
    case ShapeKind::kCircle:
      return CirclePolygon(s.points[0], s.points[1].x, 0, 360, false);
    case ShapeKind::kSlice:
      return s.points[2].y >= 359.999 ? CirclePolygon(s.points[0], s.points[1].x, 0, 360, false)
                                       : CirclePolygon(s.points[0], s.points[1].x, s.points[2].x, s.points[2].y, true);
    case ShapeKind::kPolyline:
      return s.smooth ? SmoothCurve(s.points) : s.points;
    default:
      return s.points;
  }
}

COLORREF Mix(COLORREF a, COLORREF b, double t) {
  const auto channel = [t](int x, int y) { return static_cast<BYTE>(std::lround(x + (y - x) * t)); };
  return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
             channel(GetBValue(a), GetBValue(b)));
}

void FillShape(Canvas& canvas, const std::vector<DrawPoint>& outline, const DrawStyle& style) {
  if (style.fill == CLR_NONE || style.fill == CLR_DEFAULT) return;
  if (style.gradient_to == CLR_NONE) {
    canvas.FillSolid(outline, style.fill, style.opacity);
    return;
  }
  double lo = 1e300, hi = -1e300;
  for (const DrawPoint& p : outline) {
    lo = std::min(lo, style.gradient_horizontal ? p.x : p.y);
    hi = std::max(hi, style.gradient_horizontal ? p.x : p.y);
  }
  const double span = std::max(hi - lo, 1.0);
  canvas.Fill(outline, style.opacity, [&](int x, int y) {
    const double at = (style.gradient_horizontal ? x + 0.5 : y + 0.5) - lo;
    return Mix(style.fill, style.gradient_to, std::clamp(at / span, 0.0, 1.0));
  });
}

// CRC-32 of PNG chunks (ISO 3309, reflected polynomial 0xEDB88320).
std::uint32_t Crc32(const std::string& bytes, std::size_t from) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    crc = table[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFu;
}

void PutBig32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}
void PutLittle(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  PutBig32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png += type;
  png += data;
  PutBig32(png, Crc32(png, start));
}

}  // namespace

std::uint32_t RgbImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const std::uint8_t* p =
      &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3];
  return static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
}

RgbImage VectorDrawing::Rasterize() const {
  const int width = std::max(1, static_cast<int>(std::ceil(width_)));
  const int height = std::max(1, static_cast<int>(std::ceil(height_)));
  Canvas canvas(width, height, background_);
  for (const Shape& s : shapes_) {
    switch (s.kind) {
      case ShapeKind::kLine:
        canvas.Stroke(s.points, false, s.style);
        break;
      case ShapeKind::kPolyline: {
        const std::vector<DrawPoint> outline = Outline(s);
        if (s.style.fill != CLR_NONE) FillShape(canvas, outline, s.style);
        canvas.Stroke(outline, false, s.style);
        break;
      }
      case ShapeKind::kPolygon:
      case ShapeKind::kRect:
      case ShapeKind::kCircle:
      case ShapeKind::kSlice: {
        const std::vector<DrawPoint> outline = Outline(s);
        FillShape(canvas, outline, s.style);
        canvas.Stroke(outline, true, s.style);
        break;
      }
      case ShapeKind::kText:
        canvas.Text(s);
        break;
      case ShapeKind::kBeginGroup:
      case ShapeKind::kEndGroup:
        break;
    }
  }
  return canvas.Take();
}

std::string EncodePng(const RgbImage& image) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBig32(header, static_cast<std::uint32_t>(image.width));
  PutBig32(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter choice, no interlace
  PutChunk(png, "IHDR", header);
  std::string raw;
  const std::size_t row_bytes = static_cast<std::size_t>(image.width) * 3;
  raw.reserve((row_bytes + 1) * static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    raw += '\0';  // filter type 0 for every row
    raw.append(reinterpret_cast<const char*>(&image.pixels[static_cast<std::size_t>(y) * row_bytes]), row_bytes);
  }
  PutChunk(png, "IDAT", Compress(raw));
  PutChunk(png, "IEND", "");
  return png;
}

std::string EncodeBmp(const RgbImage& image) {
  const std::uint32_t row = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;  // rows padded to 4 bytes
  const std::uint32_t data = row * static_cast<std::uint32_t>(image.height);
  std::string bmp = "BM";
  PutLittle(bmp, 54 + data, 4);
  PutLittle(bmp, 0, 4);
  PutLittle(bmp, 54, 4);
  PutLittle(bmp, 40, 4);  // BITMAPINFOHEADER
  PutLittle(bmp, static_cast<std::uint32_t>(image.width), 4);
  PutLittle(bmp, static_cast<std::uint32_t>(image.height), 4);  // positive: rows bottom-up
  PutLittle(bmp, 1, 2);
  PutLittle(bmp, 24, 2);
  PutLittle(bmp, 0, 4);
  PutLittle(bmp, data, 4);
  PutLittle(bmp, 2835, 4);  // 72 dpi
  PutLittle(bmp, 2835, 4);
  PutLittle(bmp, 0, 4);
  PutLittle(bmp, 0, 4);
  for (int y = image.height - 1; y >= 0; --y) {
    std::string line;
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t rgb = image.Pixel(x, y);
      line += static_cast<char>(rgb & 0xFF);
      line += static_cast<char>((rgb >> 8) & 0xFF);
      line += static_cast<char>((rgb >> 16) & 0xFF);
    }
    line.resize(row, '\0');
    bmp += line;
  }
  return bmp;
}

bool SaveImageFile(const RgbImage& image, const std::string& path) {
  if (path.empty() || image.width <= 0 || image.height <= 0) return false;
  std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
  std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::tolower(c); });
  return WriteFileAtomically(path, ending == ".bmp" ? EncodeBmp(image) : EncodePng(image));
}

}  // namespace orbe
