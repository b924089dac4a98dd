#include "orbe/widgets/picture.h"

#include <fstream>
#include <iterator>

#include "orbe/platform/crypto.h"
#include "orbe/widgets/html_writer.h"

namespace {
// Embedding keeps a snapshot self-contained; larger files stay out of it.
constexpr std::size_t kMaxPictureBytes = 8u << 20;
}  // namespace

namespace orbe {
namespace {

unsigned Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }
int Be16(std::string_view b, std::size_t i) { return static_cast<int>(Byte(b, i) << 8 | Byte(b, i + 1)); }
int Le16(std::string_view b, std::size_t i) { return static_cast<int>(Byte(b, i) | Byte(b, i + 1) << 8); }
long long Be32(std::string_view b, std::size_t i) {
  return static_cast<long long>(Be16(b, i)) << 16 | Be16(b, i + 2);
}
long long Le32(std::string_view b, std::size_t i) {
  return Le16(b, i) | static_cast<long long>(Le16(b, i + 2)) << 16;
}

std::optional<ImageInfo> JpegInfo(std::string_view b) {
  std::size_t at = 2;
  while (at + 9 <= b.size()) {
    if (Byte(b, at) != 0xFF) return std::nullopt;
    const unsigned marker = Byte(b, at + 1);
    const int length = Be16(b, at + 2);
    // Start-of-frame markers hold the size; C4, C8 and CC are other segments.
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      return ImageInfo{"image/jpeg", Be16(b, at + 7), Be16(b, at + 5)};
    }
    if (length < 2) return std::nullopt;
    at += 2 + static_cast<std::size_t>(length);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ImageInfo> ReadImageInfo(std::string_view b) {
  if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n" && b.substr(12, 4) == "IHDR") {
    const long long w = Be32(b, 16), h = Be32(b, 20);
    if (w > 0 && h > 0 && w <= 0x7FFFFFFF && h <= 0x7FFFFFFF) {
      return ImageInfo{"image/png", static_cast<int>(w), static_cast<int>(h)};
    }
    return std::nullopt;
  }
  if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
    return ImageInfo{"image/gif", Le16(b, 6), Le16(b, 8)};
  }
  if (b.size() >= 26 && b.substr(0, 2) == "BM") {
    const long long w = Le32(b, 18), h = Le32(b, 22);
    // A negative height marks a top-down bitmap.
    const long long rows = h >= 0x80000000LL ? 0x100000000LL - h : h;
    if (w <= 0 || w > 0x7FFFFFFF || rows <= 0 || rows > 0x7FFFFFFF) return std::nullopt;
    return ImageInfo{"image/bmp", static_cast<int>(w), static_cast<int>(rows)};
  }
  if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) return JpegInfo(b);
  return std::nullopt;
}

}  // namespace orbe

bool CKvxPicture::Load(const std::string& path) {
  if (path.empty()) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string bytes;
  bytes.resize(kMaxPictureBytes);
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  const auto info = orbe::ReadImageInfo(bytes);
  if (!info) return false;
  path_ = path;
  // A file above the limit is shown by its path only.
  bytes_ = file.peek() == std::char_traits<char>::eof() ? std::move(bytes) : std::string();
  info_ = info;
  return true;
}

void CKvxPicture::UnLoad() {
  path_.clear();
  bytes_.clear();
  info_.reset();
}

SIZE CKvxPicture::GetReqSize() const { return info_ ? SIZE{info_->width, info_->height} : SIZE{}; }

void CKvxPicture::RenderHtml(orbe::HtmlWriter& out) const {
  if (!info_) return;
  if (bytes_.empty()) {
    out.Raw("<span class=\"picture\">").Text(path_).Raw("</span>");
    return;
  }
  out.Raw("<img class=\"picture\" alt=\"\" src=\"data:").Raw(info_->mime).Raw(";base64,");
  out.Raw(orbe::Base64Encode(bytes_)).Raw("\">");
}
