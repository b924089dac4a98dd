#include "indicators/ini_read.h"

#include <vector>

#include "orbe/platform/profile.h"

namespace orbe {
namespace {

// The length boolean keys were read with.
constexpr std::size_t kBoolBuffer = 16;

}  // namespace

std::string ReadIniText(const std::string& file, const std::string& section, const std::string& key,
                        std::size_t buffer) {
  std::vector<char> text(buffer, '\0');
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", text.data(),
                                                static_cast<DWORD>(text.size()), file.c_str());
  return std::string(text.data(), length);
}

int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def) {
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str()));
}

int ReadIniCount(const std::string& file, const std::string& section, const std::string& key, int limit) {
  const int count = ReadIniInt(file, section, key, 0);
  return count < 0 ? 0 : (count > limit ? limit : count);
}

bool ReadIniBool(const std::string& file, const std::string& section, const std::string& key, bool def) {
  const std::string text = ReadIniText(file, section, key, kBoolBuffer);
  if (text == "TRUE") return true;
  if (text == "FALSE") return false;
  return def;
}

}  // namespace orbe
