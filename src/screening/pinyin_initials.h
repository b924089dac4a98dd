// Pinyin initials of GBK text, for finding an indicator by typing the first
// letters of its name's syllables ("SYL" finds 市盈率).
#ifndef ORBE_SRC_SCREENING_PINYIN_INITIALS_H_
#define ORBE_SRC_SCREENING_PINYIN_INITIALS_H_

#include <string>
#include <string_view>

namespace orbe {

// 'A'..'Z' for a hanzi, the letter or digit for a full-width one; 0 when the
// character has no initial.
char PinyinInitialOf(unsigned char lead, unsigned char trail);
// The initials of a text: hanzi by their pinyin, ASCII and full-width letters
// upper-cased, digits kept; blanks, punctuation and other symbols left out.
std::string PinyinInitials(std::string_view gbk);

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_PINYIN_INITIALS_H_
