// Reads back the PNG files the widget library writes (8-bit RGB, filter 0
// rows, one zlib stream), checking every chunk's CRC on the way.
#ifndef ORBE_TESTS_WIDGETS_PNG_READER_H_
#define ORBE_TESTS_WIDGETS_PNG_READER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "orbe/platform/crypto.h"

struct DecodedPng {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  std::uint32_t Pixel(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    return static_cast<std::uint32_t>(rgb[at]) << 16 | static_cast<std::uint32_t>(rgb[at + 1]) << 8 | rgb[at + 2];
  }
};

inline std::uint32_t PngCrc(const std::string& bytes, std::size_t from, std::size_t to) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < to; ++i) {
    crc ^= static_cast<unsigned char>(bytes[i]);
    for (int k = 0; k < 8; ++k) crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return crc ^ 0xFFFFFFFFu;
}

inline std::uint32_t Big32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<unsigned char>(bytes[at + 3]);
}

// nullopt for anything but a well-formed 8-bit RGB PNG with valid CRCs.
inline std::optional<DecodedPng> DecodePng(const std::string& bytes) {
  if (bytes.size() < 8 || bytes.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) != 0) return std::nullopt;
  DecodedPng png;
  std::string idat;
  bool end = false;
  for (std::size_t at = 8; at + 12 <= bytes.size() && !end;) {
    const std::uint32_t length = Big32(bytes, at);
    if (at + 12 + length > bytes.size()) return std::nullopt;
    const std::string type = bytes.substr(at + 4, 4);
    if (PngCrc(bytes, at + 4, at + 8 + length) != Big32(bytes, at + 8 + length)) return std::nullopt;
    const std::string data = bytes.substr(at + 8, length);
    if (type == "IHDR") {
      png.width = static_cast<int>(Big32(data, 0));
      png.height = static_cast<int>(Big32(data, 4));
      if (data[8] != 8 || data[9] != 2) return std::nullopt;
    } else if (type == "IDAT") {
      idat += data;
    } else if (type == "IEND") {
      end = true;
    }
    at += 12 + length;
  }
  const std::size_t row = static_cast<std::size_t>(png.width) * 3;
  const auto raw = orbe::Uncompress(idat, (row + 1) * static_cast<std::size_t>(png.height));
  if (!end || !raw || raw->size() != (row + 1) * static_cast<std::size_t>(png.height)) return std::nullopt;
  for (int y = 0; y < png.height; ++y) {
    const std::size_t start = static_cast<std::size_t>(y) * (row + 1);
    if ((*raw)[start] != 0) return std::nullopt;
    png.rgb.insert(png.rgb.end(), raw->begin() + static_cast<std::ptrdiff_t>(start + 1),
                   raw->begin() + static_cast<std::ptrdiff_t>(start + 1 + row));
  }
  return png;
}

#endif  // ORBE_TESTS_WIDGETS_PNG_READER_H_
