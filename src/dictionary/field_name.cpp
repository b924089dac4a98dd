#include "orbe/dictionary/field_name.h"

#include <charconv>
#include <cstdlib>

namespace orbe {

std::string GeneratedFieldName(int number) {
  constexpr int kDigits = 3;
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, std::abs(static_cast<long long>(number)));
  const int count = static_cast<int>(written.ptr - digits);
  // The sign counts toward the width, as printf counts it.
  const int width = number < 0 ? kDigits - 1 : kDigits;
  std::string name = "T";
  if (number < 0) name += '-';
  if (count < width) name.append(static_cast<std::size_t>(width - count), '0');
  name.append(digits, written.ptr);
  return name;
}

}  // namespace orbe
