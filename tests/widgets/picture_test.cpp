#include "orbe/widgets/picture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "orbe/widgets/html_writer.h"

namespace {

std::string Png(int width, int height) {
  std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (int v : {width, height}) {
    for (int shift : {24, 16, 8, 0}) bytes += static_cast<char>((v >> shift) & 0xFF);
  }
  return bytes + std::string("\x08\x02\0\0\0", 5);
}

TEST(Picture, ReadsTheSizeOfEachKnownImageType) {
  EXPECT_EQ(orbe::ReadImageInfo(Png(300, 20))->width, 300);
  const auto gif = orbe::ReadImageInfo(std::string("GIF89a\x40\x01\x10\x00", 10));
  ASSERT_TRUE(gif.has_value());
  EXPECT_EQ(gif->width, 320);
  EXPECT_EQ(gif->height, 16);
  std::string bmp(26, '\0');
  bmp[0] = 'B', bmp[1] = 'M', bmp[18] = 10;
  bmp[22] = static_cast<char>(0xF6), bmp[23] = bmp[24] = bmp[25] = static_cast<char>(0xFF);  // -10: top-down
  EXPECT_EQ(orbe::ReadImageInfo(bmp)->height, 10);
  const std::string jpeg("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x00\x30\x00\x40\x03", 18);
  ASSERT_TRUE(orbe::ReadImageInfo(jpeg).has_value());
  EXPECT_EQ(orbe::ReadImageInfo(jpeg)->width, 64);
  EXPECT_EQ(orbe::ReadImageInfo(jpeg)->height, 48);
  EXPECT_FALSE(orbe::ReadImageInfo("\xFF\xD8\xFF\xE0\x00\x00").has_value()) << "a bad segment length";
  EXPECT_FALSE(orbe::ReadImageInfo("plain text file").has_value());
  EXPECT_FALSE(orbe::ReadImageInfo(Png(0, 5)).has_value());
}

TEST(Picture, LoadKeepsThePathAndEmbedsTheImage) {
  const auto dir = std::filesystem::temp_directory_path() / ("picture_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string image = (dir / "logo.png").string(), text = (dir / "note.txt").string();
  std::ofstream(image, std::ios::binary) << Png(32, 16);
  std::ofstream(text) << "not an image";

  CKvxPicture picture;
  EXPECT_FALSE(picture.Load((dir / "missing.png").string()));
  ASSERT_TRUE(picture.Load(image));
  EXPECT_FALSE(picture.Load(text)) << "refused, the old picture stays";
  EXPECT_EQ(picture.GetPath(), image);
  EXPECT_EQ(picture.GetReqSize().cx, 32);
  orbe::HtmlWriter out;
  picture.RenderHtml(out);
  EXPECT_EQ(out.str().rfind("<img class=\"picture\" alt=\"\" src=\"data:image/png;base64,iVBORw0KGgo", 0),
            0u);
  picture.UnLoad();
  EXPECT_FALSE(picture.IsLoaded());
  EXPECT_EQ(picture.GetReqSize().cx, 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
