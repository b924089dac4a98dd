#include <array>
#include <ctime>
#include <string_view>

#include "orbe/platform/text.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/kvx_functions.h"

namespace orbe {
namespace {

// Digits only; nullopt for anything else.
std::optional<int> Digits(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A text form: its length, where each two- or four-digit field starts, and
// the separator positions (all holding the same character, one of `seps`).
struct TextForm {
  std::size_t size;
  std::size_t field[3];  // start of each field; npos: absent (then 0)
  std::size_t width[3];
  std::size_t sep[2];    // npos: none
  const char* seps;
};

constexpr std::size_t kNone = std::string_view::npos;
constexpr TextForm kDateForms[] = {
    {8, {0, 4, 6}, {4, 2, 2}, {kNone, kNone}, ""},
    {10, {0, 5, 8}, {4, 2, 2}, {4, 7}, "-/"},
};
constexpr TextForm kTimeForms[] = {
    {6, {0, 2, 4}, {2, 2, 2}, {kNone, kNone}, ""},
    {5, {0, 3, kNone}, {2, 2, 0}, {2, kNone}, ":"},
    {8, {0, 3, 6}, {2, 2, 2}, {2, 5}, ":"},
};

// The three fields of the first form the text has; nullopt for none.
template <std::size_t N>
std::optional<std::array<int, 3>> ReadFields(std::string_view text, const TextForm (&forms)[N]) {
  for (const TextForm& form : forms) {
    if (text.size() != form.size) continue;
    const char sep = form.sep[0] != kNone ? text[form.sep[0]] : '\0';
    if (form.sep[0] != kNone && std::string_view(form.seps).find(sep) == kNone) continue;
    if (form.sep[1] != kNone && text[form.sep[1]] != sep) continue;
    std::array<int, 3> fields{};
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
      if (form.field[i] == kNone) continue;
      const auto value = Digits(text.substr(form.field[i], form.width[i]));
      ok = value.has_value();
      fields[i] = value.value_or(0);
    }
    if (ok) return fields;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> ParseDateText(const std::string& text) {
  const auto fields = ReadFields(TrimBlanks(text), kDateForms);
  if (!fields) return std::nullopt;
  const auto [year, month, day] = *fields;
  if (year < 1900) return std::nullopt;
  const int last = GetLastDay(year, month);
  if (last == 0 || day < 1 || day > last) return std::nullopt;
  return year * 10000 + month * 100 + day;
}

std::optional<int> ParseTimeText(const std::string& text) {
  const auto fields = ReadFields(TrimBlanks(text), kTimeForms);
  if (!fields) return std::nullopt;
  const auto [hour, minute, second] = *fields;
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return hour * 3600 + minute * 60 + second;
}

std::string DateText(int yyyymmdd) {
  return Format("%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

std::string TimeText(int seconds) {
  return Format("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

int TodayDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

}  // namespace orbe
