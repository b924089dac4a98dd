// The GBK code space as the pinyin-initial lookup covers it. Level-1 hanzi
// (0xB0A1..0xD7F9) stand in pinyin order, so their initial follows from the
// code alone; every other double-byte character is looked up in a table the
// build generates (pinyin_table/make_pinyin_initials.cpp).
#ifndef ORBE_SRC_SCREENING_PINYIN_TABLE_LAYOUT_H_
#define ORBE_SRC_SCREENING_PINYIN_TABLE_LAYOUT_H_

namespace orbe {

inline constexpr int kGbkFirstLead = 0x81;
inline constexpr int kGbkLastLead = 0xFE;
inline constexpr int kGbkFirstTrail = 0x40;
inline constexpr int kGbkLastTrail = 0xFE;
inline constexpr int kGbkTrailCount = kGbkLastTrail - kGbkFirstTrail + 1;
inline constexpr int kGbkLeadCount = kGbkLastLead - kGbkFirstLead + 1;
inline constexpr char kNoInitial = '-';

inline constexpr bool IsGbkLevel1Hanzi(int lead, int trail) {
  return lead >= 0xB0 && lead <= 0xD7 && trail >= 0xA1 && trail <= 0xFE && (lead << 8 | trail) <= 0xD7F9;
}

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_PINYIN_TABLE_LAYOUT_H_
