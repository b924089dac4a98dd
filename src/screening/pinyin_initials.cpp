#include "screening/pinyin_initials.h"

#include <algorithm>
#include <iterator>

#include "orbe/platform/text.h"
#include "screening/pinyin_initials_table.inc"
#include "screening/pinyin_table_layout.h"

namespace orbe {

namespace {

static_assert(sizeof(kGbkInitialRows) == kGbkLeadCount * kGbkTrailCount + 1);

// The first level-1 code of each initial; the block has no I, U or V syllables.
struct InitialStart {
  int code;
  char initial;
};
constexpr InitialStart kLevel1Starts[] = {
    {0xB0A1, 'A'}, {0xB0C5, 'B'}, {0xB2C1, 'C'}, {0xB4EE, 'D'}, {0xB6EA, 'E'}, {0xB7A2, 'F'},
    {0xB8C1, 'G'}, {0xB9FE, 'H'}, {0xBBF7, 'J'}, {0xBFA6, 'K'}, {0xC0AC, 'L'}, {0xC2E8, 'M'},
    {0xC4C3, 'N'}, {0xC5B6, 'O'}, {0xC5BE, 'P'}, {0xC6DA, 'Q'}, {0xC8BB, 'R'}, {0xC8F6, 'S'},
    {0xCBFA, 'T'}, {0xCDDA, 'W'}, {0xCEF4, 'X'}, {0xD1B9, 'Y'}, {0xD4D1, 'Z'},
};

constexpr int kFullWidthLead = 0xA3;
constexpr int kFullWidthDigit0 = 0xB0;
constexpr int kFullWidthUpperA = 0xC1;
constexpr int kFullWidthLowerA = 0xE1;
constexpr int kLetters = 26;

char Level1Initial(int code) {
  const auto after = std::upper_bound(std::begin(kLevel1Starts), std::end(kLevel1Starts), code,
                                      [](int c, const InitialStart& start) { return c < start.code; });
  return after == std::begin(kLevel1Starts) ? 0 : std::prev(after)->initial;
}

char AsciiInitial(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return 0;
}

}  // namespace

char PinyinInitialOf(unsigned char lead, unsigned char trail) {
  if (IsGbkLevel1Hanzi(lead, trail)) return Level1Initial(lead << 8 | trail);
  if (lead == kFullWidthLead) {
    if (trail >= kFullWidthDigit0 && trail < kFullWidthDigit0 + 10)
      return static_cast<char>('0' + trail - kFullWidthDigit0);
    if (trail >= kFullWidthUpperA && trail < kFullWidthUpperA + kLetters)
      return static_cast<char>('A' + trail - kFullWidthUpperA);
    if (trail >= kFullWidthLowerA && trail < kFullWidthLowerA + kLetters)
      return static_cast<char>('A' + trail - kFullWidthLowerA);
  }
  if (lead < kGbkFirstLead || lead > kGbkLastLead || trail < kGbkFirstTrail || trail > kGbkLastTrail) return 0;
  const char initial = kGbkInitialRows[(lead - kGbkFirstLead) * kGbkTrailCount + (trail - kGbkFirstTrail)];
  return initial == kNoInitial ? 0 : initial;
}

std::string PinyinInitials(std::string_view gbk) {
  std::string initials;
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    char initial = 0;
    if (IsGbkLeadByte(c) && i + 1 < gbk.size()) {
      initial = PinyinInitialOf(c, static_cast<unsigned char>(gbk[++i]));
    } else {
      initial = AsciiInitial(static_cast<char>(c));
    }
    if (initial != 0) initials += initial;
  }
  return initials;
}

}  // namespace orbe
