#include "input_checks.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "orbe/platform/echo_text.h"
#include "orbe/platform/text.h"

namespace orbe::terminal {
namespace {

namespace fs = std::filesystem;

// A report INI is small; more than this is certainly something else.
constexpr std::uintmax_t kMostReportBytes = 16u << 20;

bool HasNonAscii(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}


}  // namespace

bool CheckReportIni(const std::string& path, std::string* error) {
  std::error_code failure;
  const std::string named = "the report " + EchoText(path);
  if (fs::is_directory(path, failure)) {
    *error = named + " is a folder, not an INI file";
  } else if (!fs::exists(path, failure)) {
    *error = named + " does not exist";
  } else if (!fs::is_regular_file(path, failure)) {
    *error = named + " is not a regular file";
  } else if (fs::file_size(path, failure) == 0) {
    *error = named + " is empty";
  } else if (fs::file_size(path, failure) > kMostReportBytes) {
    *error = named + " is too large for a report INI";
  } else {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string_view trimmed = TrimBlanks(text);
    if (!in.good() && !in.eof()) {
      *error = "cannot read " + named;
    } else if (text.find('\0') != std::string::npos) {
      *error = named + " holds binary data, not an INI file";
      // GBK Chinese is almost never valid UTF-8, so valid UTF-8 beyond ASCII is taken for it.
    } else if (text.starts_with("\xEF\xBB\xBF") || (HasNonAscii(text) && IsValidUtf8(text))) {
      *error = named + " is UTF-8; report INIs are GBK (iconv -f UTF-8 -t GBK)";
    } else if (!GbkToUtf8Strict(text)) {
      *error = named + " is not GBK text";
    } else if (trimmed.find('[') == std::string_view::npos) {
      *error = named + " has no [section]: not a report INI";
    }
  }
  return error->empty();
}

bool CheckOutputPath(const std::string& option, const std::string& path, std::string* error) {
  std::error_code failure;
  const fs::path file(path);
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const std::string named = option + " " + EchoText(path);
  if (fs::is_directory(file, failure)) {
    *error = named + ": a folder, not a file";
  } else if (!fs::is_directory(folder, failure)) {
    *error = named + ": the folder " + folder.string() + " does not exist";
  } else if (::access(folder.c_str(), W_OK) != 0) {
    *error = named + ": the folder " + folder.string() + " cannot be written";
  } else if (fs::exists(file, failure) && ::access(file.c_str(), W_OK) != 0) {
    *error = named + ": the file cannot be written";
  }
  return error->empty();
}

}  // namespace orbe::terminal
