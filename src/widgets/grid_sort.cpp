// Sorting of grid rows: numbers by value, texts by their GBK bytes (which
// orders the common Chinese characters by pronunciation).
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "orbe/widgets/grid_ctrl.h"

namespace orbe {

bool ParseGridNumber(const std::string& text, double* value) {
  std::string digits;
  digits.reserve(text.size());
  for (const char c : text) {
    if (c != ',' && c != ' ') digits += c;
  }
  if (!digits.empty() && digits.back() == '%') digits.pop_back();
  if (digits.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(digits.c_str(), &end);
  if (end != digits.c_str() + digits.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

}  // namespace orbe

namespace {

// True when a sorts before b. Cells that are not numbers stay below the
// numbers in both directions, so "--" never tops a ranking.
bool NumberBefore(const std::string& a, const std::string& b, bool ascending) {
  double x = 0, y = 0;
  const bool a_number = orbe::ParseGridNumber(a, &x);
  const bool b_number = orbe::ParseGridNumber(b, &y);
  if (a_number != b_number) return a_number;
  if (!a_number) return false;
  return ascending ? x < y : y < x;
}

bool TextBefore(const std::string& a, const std::string& b, bool ascending) {
  // Compared as unsigned bytes: GBK lead bytes are above 0x80.
  const auto less = [](const std::string& l, const std::string& r) {
    return std::lexicographical_compare(l.begin(), l.end(), r.begin(), r.end(), [](char p, char q) {
      return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
  };
  return ascending ? less(a, b) : less(b, a);
}

}  // namespace

bool CGridCtrl::SortItems(int col, bool ascending) {
  if (col < 0 || col >= cols_) return false;
  const bool numeric = GetColumnSortKind(col) == GridSortKind::kNumber;
  const auto column = static_cast<std::size_t>(col);
  std::stable_sort(cells_.begin() + fixed_rows_, cells_.end(), [&](const Row& a, const Row& b) {
    const std::string& x = a.cells[column].text;
    const std::string& y = b.cells[column].text;
    return numeric ? NumberBefore(x, y, ascending) : TextBefore(x, y, ascending);
  });
  sort_col_ = col;
  sort_ascending_ = ascending;
  return true;
}
