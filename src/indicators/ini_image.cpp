#include "indicators/ini_image.h"

#include "orbe/platform/file.h"
#include "platform/ini_document.h"

namespace orbe {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool FitsOnOneLine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// The profile writer takes C strings: a value ends at its first NUL.
std::string_view AsCString(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

void IniImage::Section(std::string_view name) {
  section_ = TrimIniBlanks(AsCString(name));
  section_written_ = false;
}

void IniImage::Key(std::string_view key, std::string_view value) {
  key = TrimIniBlanks(AsCString(key));
  value = TrimIniBlanks(AsCString(value));
  const bool writable_key = !key.empty() && FitsOnOneLine(key) && key.find('=') == std::string_view::npos &&
                            key.front() != ';' && key.front() != '[';
  if (section_.empty() || !writable_key || !FitsOnOneLine(value)) return;
  // A section appears with its first accepted key, as the writer creates it.
  if (!section_written_) {
    bytes_.append("[").append(section_).append("]").append(kLineEnd);
    section_written_ = true;
  }
  bytes_.append(key).append("=").append(value).append(kLineEnd);
}

void IniImage::Key(std::string_view key, int value) { Key(key, std::to_string(value)); }

bool IniImage::WriteTo(const std::string& path) const {
  return !path.empty() && WriteFileAtomically(path, bytes_);
}

}  // namespace orbe
