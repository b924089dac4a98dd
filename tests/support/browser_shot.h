// Headless Chromium for tests: a screenshot of a page in a fresh profile
// under a hard time limit, and a reader of the PNG it writes.
#ifndef ORBE_TESTS_SUPPORT_BROWSER_SHOT_H_
#define ORBE_TESTS_SUPPORT_BROWSER_SHOT_H_

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "orbe/platform/crypto.h"

namespace orbe_test {

inline constexpr const char kChromium[] = "/usr/bin/chromium";

// The flags every run takes: no sandbox or GPU (containers), no network use
// of its own, a profile in `scratch`.
inline std::string ChromiumCommand(const std::string& scratch) {
  return std::string("timeout -k 5 40 ") + kChromium +
         " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
         " --disable-background-networking --disable-component-update --disable-sync"
         " --user-data-dir=" + scratch + "/profile";
}

// Writes a screenshot of the page; the command's status (the PNG may still
// be missing where Chromium cannot start).
inline int ChromiumScreenshot(const std::string& html, const std::string& png, int width, int height,
                              const std::string& scratch) {
  const std::string command = ChromiumCommand(scratch) + " --screenshot=" + png + " --window-size=" +
                              std::to_string(width) + "," + std::to_string(height) + " file://" + html + " >" +
                              scratch + "/chromium.log 2>&1";
  return std::system(command.c_str());
}

inline std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<std::uint8_t> pixels;  // rows of width * channels bytes
};

inline int Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// An 8-bit RGB or RGBA PNG without interlacing, which is what Chromium writes.
inline std::optional<Image> DecodePng(const std::string& png) {
  if (png.size() < 33 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return std::nullopt;
  Image image;
  std::string compressed;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = BigEndian32(png, at);
    const std::string type = png.substr(at + 4, 4);
    if (at + 12 + length > png.size()) return std::nullopt;
    if (type == "IHDR") {
      image.width = static_cast<int>(BigEndian32(png, at + 8));
      image.height = static_cast<int>(BigEndian32(png, at + 12));
      const int depth = png[at + 16], color = png[at + 17], interlace = png[at + 20];
      if (depth != 8 || (color != 2 && color != 6) || interlace != 0) return std::nullopt;
      image.channels = color == 6 ? 4 : 3;
    } else if (type == "IDAT") {
      compressed += png.substr(at + 8, length);
    }
    at += 12 + length;
  }
  if (image.width <= 0 || image.height <= 0 || image.width > 10000 || image.height > 10000)
    return std::nullopt;
  const std::size_t stride = static_cast<std::size_t>(image.width) * image.channels;
  const auto raw = orbe::Uncompress(compressed, (stride + 1) * image.height);
  if (!raw || raw->size() != (stride + 1) * image.height) return std::nullopt;
  image.pixels.resize(stride * image.height);
  for (int y = 0; y < image.height; ++y) {
    const auto filter = static_cast<unsigned char>((*raw)[y * (stride + 1)]);
    for (std::size_t x = 0; x < stride; ++x) {
      const int in = static_cast<unsigned char>((*raw)[y * (stride + 1) + 1 + x]);
      const int a =
          x >= static_cast<std::size_t>(image.channels) ? image.pixels[y * stride + x - image.channels] : 0;
      const int b = y > 0 ? image.pixels[(y - 1) * stride + x] : 0;
      const int c = y > 0 && x >= static_cast<std::size_t>(image.channels)
                        ? image.pixels[(y - 1) * stride + x - image.channels]
                        : 0;
      const int predictors[] = {0, a, b, (a + b) / 2, Paeth(a, b, c)};
      if (filter > 4) return std::nullopt;
      image.pixels[y * stride + x] = static_cast<std::uint8_t>(in + predictors[filter]);
    }
  }
  return image;
}

inline std::size_t DistinctColours(const Image& image) {
  std::vector<std::uint32_t> colours;
  for (std::size_t at = 0; at + 3 <= image.pixels.size(); at += image.channels) {
    const std::uint32_t rgb = image.pixels[at] << 16 | image.pixels[at + 1] << 8 | image.pixels[at + 2];
    if (std::find(colours.begin(), colours.end(), rgb) == colours.end()) colours.push_back(rgb);
    if (colours.size() > 16) break;
  }
  return colours.size();
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_BROWSER_SHOT_H_
