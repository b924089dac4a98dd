#include "screening/indicator_search.h"

#include <array>

#include "orbe/platform/text.h"
#include "screening/pinyin_initials.h"

namespace orbe {

namespace {

bool HasDoubleByte(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// A match that starts on a character, never on the trail byte of one.
bool ContainsGbk(std::string_view text, std::string_view piece) {
  for (std::size_t i = 0; i + piece.size() <= text.size();) {
    if (text.compare(i, piece.size(), piece) == 0) return true;
    i += IsGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return false;
}

}  // namespace

void InitialsIndex::Clear() { names_.clear(); }

void InitialsIndex::Add(const std::string& name) { names_.push_back({name, PinyinInitials(name), AsciiUpper(name)}); }

std::vector<std::string> InitialsIndex::Find(std::string_view typed, std::size_t limit) const {
  const std::string text = AsciiUpper(TrimBlanks(typed));
  // Typed letters are matched against the initials; typed hanzi only against
  // the names (the initials of a hanzi would match far too much).
  const std::string letters = HasDoubleByte(text) ? std::string() : PinyinInitials(text);
  std::vector<std::string> found;
  if (text.empty() || limit == 0) return found;
  std::array<std::vector<const Entry*>, 4> ranks;
  for (const Entry& entry : names_) {
    if (!letters.empty() && entry.initials.compare(0, letters.size(), letters) == 0) {
      ranks[0].push_back(&entry);
    } else if (entry.upper.compare(0, text.size(), text) == 0) {
      ranks[1].push_back(&entry);
    } else if (!letters.empty() && entry.initials.find(letters) != std::string::npos) {
      ranks[2].push_back(&entry);
    } else if (ContainsGbk(entry.upper, text)) {
      ranks[3].push_back(&entry);
    }
  }
  for (const auto& rank : ranks) {
    for (const Entry* entry : rank) {
      if (found.size() == limit) return found;
      found.push_back(entry->name);
    }
  }
  return found;
}

}  // namespace orbe
