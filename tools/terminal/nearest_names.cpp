#include "nearest_names.h"

#include <algorithm>
#include <numeric>

namespace orbe::terminal {
namespace {

// The text's characters as code points (bytes that are not UTF-8 count alone).
std::u32string CodePoints(const std::string& utf8) {
  std::u32string points;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && at + i < utf8.size(); ++i) {
      point = (point << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
    }
    points.push_back(point);
    at += length;
  }
  return points;
}

std::size_t EditDistance(const std::u32string& a, const std::u32string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::vector<std::string> NearestNames(const std::string& name, const std::vector<std::string>& names,
                                      std::size_t most) {
  const std::u32string wanted = CodePoints(name);
  std::vector<std::pair<std::size_t, const std::string*>> scored;
  for (const std::string& candidate : names) {
    const std::u32string points = CodePoints(candidate);
    const std::size_t distance = EditDistance(wanted, points);
    // Nearer than retyping the whole name, or it is no hint.
    if (distance < wanted.size()) scored.emplace_back(distance, &candidate);
  }
  std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> nearest;
  for (const auto& [distance, candidate] : scored) {
    if (nearest.size() == most) break;
    if (std::find(nearest.begin(), nearest.end(), *candidate) == nearest.end()) nearest.push_back(*candidate);
  }
  return nearest;
}

std::string FullWidthAscii(const std::string& utf8) {
  std::string wide;
  for (const char c : utf8) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum) {
      wide += c;
      continue;
    }
    // U+FF10.. are the full-width forms of U+0030..: three UTF-8 bytes EF BC/BD xx.
    const char32_t point = 0xFEE0 + static_cast<char32_t>(c);
    wide += static_cast<char>(0xE0 | (point >> 12));
    wide += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    wide += static_cast<char>(0x80 | (point & 0x3F));
  }
  return wide;
}

}  // namespace orbe::terminal
