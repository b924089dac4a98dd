// The drawing's two outputs: the SVG it writes and the pixels it rasterises,
// and the PNG and BMP files of those pixels.
#include "orbe/widgets/vector_drawing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "orbe/widgets/html_writer.h"
#include "png_reader.h"

namespace {

orbe::DrawStyle Fill(COLORREF c) {
  orbe::DrawStyle s;
  s.fill = c;
  return s;
}
orbe::DrawStyle Pen(COLORREF c, double width, int dash = orbe::kDashSolid) {
  orbe::DrawStyle s;
  s.stroke = c;
  s.stroke_width = width;
  s.dash = dash;
  return s;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(VectorDrawing, ShapesFillAndStrokeThePixelsTheirSvgNames) {
  orbe::VectorDrawing d(60, 40, RGB(255, 255, 255));
  d.Rect(2, 2, 10, 10, Fill(RGB(255, 0, 0))).css_class = "bar";
  d.Circle(30, 10, 6, Fill(RGB(0, 0, 255)));
  d.Polygon({{40, 2}, {58, 2}, {49, 18}}, Fill(RGB(0, 128, 0)));
  d.Line(0, 30, 59, 30, Pen(RGB(0, 0, 0), 3));
  d.Line(0, 37, 59, 37, Pen(RGB(0, 0, 0), 1, orbe::kDashDash));
  orbe::DrawStyle half = Fill(RGB(0, 0, 0));
  half.opacity = 0.5;
  d.Rect(14, 2, 6, 6, half);
  orbe::DrawStyle gradient = Fill(RGB(0, 0, 0));
  gradient.gradient_to = RGB(255, 255, 255);
  gradient.gradient_horizontal = true;
  d.Rect(2, 20, 20, 6, gradient).attributes = "data-x=\"1\"";
  d.Text(30, 27, "AB", RGB(255, 0, 255));

  orbe::HtmlWriter out;
  d.WriteSvg(out, "t");
  const std::string svg = out.str();
  EXPECT_EQ(svg.rfind("<svg class=\"t\"", 0), 0u);
  EXPECT_NE(svg.find("<rect class=\"bar\" x=\"2\" y=\"2\" width=\"10\" height=\"10\" fill=\"#ff0000\"/>"),
            std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray=\"6,3\""), std::string::npos);
  EXPECT_NE(svg.find("fill-opacity=\"0.5\""), std::string::npos);
  EXPECT_NE(svg.find("<linearGradient"), std::string::npos);
  EXPECT_NE(svg.find("data-x=\"1\""), std::string::npos);

  const orbe::RgbImage image = d.Rasterize();
  ASSERT_EQ(image.width, 60);
  ASSERT_EQ(image.height, 40);
  const struct {
    int x, y;
    std::uint32_t rgb;
  } kPixels[] = {
      {6, 6, 0xFF0000},   // inside the rect
      {1, 1, 0xFFFFFF},   // outside it
      {30, 10, 0x0000FF},  // the circle's centre
      {49, 6, 0x008000},  // inside the triangle
      {41, 16, 0xFFFFFF},  // beside it
      {20, 30, 0x000000},  // on the thick line
      {17, 5, 0x808080},  // half-transparent black over white
      {2, 22, 0x000000},  // the gradient's start ...
      {21, 22, 0xF4F4F4},  // ... and near its end
  };
  for (const auto& p : kPixels) {
    EXPECT_NEAR(static_cast<int>(image.Pixel(p.x, p.y) >> 16), static_cast<int>(p.rgb >> 16), 8) << p.x << "," << p.y;
    EXPECT_NEAR(static_cast<int>(image.Pixel(p.x, p.y) & 0xFF), static_cast<int>(p.rgb & 0xFF), 8) << p.x << "," << p.y;
  }
  // The dashed line (one pixel high, on one of the rows it straddles) has
  // gaps; the text leaves glyph pixels.
  int dash_pixels = 0;
  for (int x = 0; x < 60; ++x) dash_pixels += image.Pixel(x, 36) == 0 || image.Pixel(x, 37) == 0 ? 1 : 0;
  EXPECT_GT(dash_pixels, 20);
  EXPECT_LT(dash_pixels, 50);
  int text_pixels = 0;
  for (int y = 18; y < 28; ++y) {
    for (int x = 28; x < 44; ++x) text_pixels += image.Pixel(x, y) == 0xFF00FF ? 1 : 0;
  }
  EXPECT_GT(text_pixels, 10);
}

TEST(VectorDrawing, ImageFilesByTheirEnding) {
  orbe::VectorDrawing d(7, 3, RGB(255, 255, 255));
  d.Rect(0, 0, 3, 3, Fill(RGB(10, 20, 30)));
  const orbe::RgbImage image = d.Rasterize();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orbe_vector_drawing_test";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(orbe::SaveImageFile(image, (folder / "a.png").string()));
  ASSERT_TRUE(orbe::SaveImageFile(image, (folder / "a.BMP").string()));
  EXPECT_FALSE(orbe::SaveImageFile(image, ""));

  const auto png = DecodePng(ReadFile(folder / "a.png"));
  ASSERT_TRUE(png.has_value()) << "a valid PNG with correct CRCs";
  EXPECT_EQ(png->width, 7);
  EXPECT_EQ(png->height, 3);
  EXPECT_EQ(png->Pixel(1, 1), 0x0A141Eu);
  EXPECT_EQ(png->Pixel(5, 1), 0xFFFFFFu);

  const std::string bmp = ReadFile(folder / "a.BMP");
  ASSERT_EQ(bmp.substr(0, 2), "BM");
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 3])) << 24;
  };
  EXPECT_EQ(u32(2), bmp.size());
  EXPECT_EQ(u32(18), 7u);
  EXPECT_EQ(u32(22), 3u);
  // Rows of 21 bytes padded to 24, bottom-up, blue first.
  EXPECT_EQ(bmp.size(), 54u + 24u * 3u);
  EXPECT_EQ(static_cast<unsigned char>(bmp[54]), 30);
  EXPECT_EQ(static_cast<unsigned char>(bmp[56]), 10);
  std::filesystem::remove_all(folder);
}

}  // namespace
