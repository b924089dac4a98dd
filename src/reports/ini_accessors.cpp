#include <cstring>
#include <string_view>

#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "reports/decimal_text.h"
#include "reports/ini_values.h"

namespace {

// Long enough for every type word and one character more, so that a longer
// value is cut and matches none.
constexpr DWORD kTypeBuffer = 32;

struct TypeWord {
  const char* word;
  EWndType type;
};
constexpr TypeWord kTypeWords[] = {
    {"LIST", kWndList},
    {"CHART", kWndChart},
    {"IE", kWndWebBrowser},
    {"LABEL", kWndLabel},
    {"LISTHISTOGRAM", kWndListHistogram},
};

}  // namespace

namespace orbe {

bool IniBool(const char* text, bool def) {
  if (std::strcmp(text, "TRUE") == 0) return true;
  if (std::strcmp(text, "FALSE") == 0) return false;
  return def;
}

char IniChar(const char* text, char def) { return text[0] == '\0' ? def : text[0]; }

}  // namespace orbe

bool CIniReportUtil::GetPrivateProfileBool(const char* section, const char* key, const char* path, bool def) {
  char value[orbe::kIniBoolBuffer] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof(value), path);
  return orbe::IniBool(value, def);
}

char CIniReportUtil::GetPrivateProfileChar(const char* section, const char* key, const char* path, char def) {
  char value[orbe::kIniCharBuffer] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof(value), path);
  return orbe::IniChar(value, def);
}

EWndType CIniReportUtil::GetPrivateProfileEWndType(const char* section, const char* key, const char* path) {
  if (section == nullptr || key == nullptr || path == nullptr) return kWndNone;
  char value[kTypeBuffer] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof(value), path);
  for (const TypeWord& entry : kTypeWords) {
    if (std::strcmp(value, entry.word) == 0) return entry.type;
  }
  return kWndNone;
}

BOOL CIniReportUtil::WritePrivateProfileInt(const char* section, const char* key, int value,
                                            const char* path) {
  return WritePrivateProfileStringA(section, key, orbe::Format("%d", value).c_str(), path);
}

COLORREF CIniReportUtil::string2color(const CString& text) {
  // Parts wrap as the unsigned colour value does; a part above 255 spills
  // into the next channel exactly as the formula says.
  constexpr COLORREF kWeights[] = {1, 256, 65536};
  COLORREF color = 0;
  std::string_view rest = text;
  for (const COLORREF weight : kWeights) {
    if (rest.empty()) break;
    const std::size_t comma = rest.find(',');
    color += static_cast<COLORREF>(orbe::LeadingDecimal(rest.substr(0, comma))) * weight;
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return color;
}
