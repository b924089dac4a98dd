// GBK words the report code compares and offers. Written as byte escapes
// because the fuzz build compiles this code without a GBK execution set.
#ifndef ORBE_REPORTS_REPORT_WORDS_H_
#define ORBE_REPORTS_REPORT_WORDS_H_

namespace orbe::report_words {

inline constexpr char kRecentTwoTerms[] = "\xd7\xee\xbd\xfc\xc1\xbd\xc6\xda";  // 最近两期
inline constexpr char kRecentTwoYears[] = "\xd7\xee\xbd\xfc\xc1\xbd\xc4\xea";  // 最近两年
inline constexpr char kFirstTerm[] = "\xd2\xbb\xc6\xda";                       // 一期
inline constexpr char kMidTerm[] = "\xd6\xd0\xc6\xda";                         // 中期
inline constexpr char kThirdTerm[] = "\xc8\xfd\xc6\xda";                       // 三期
inline constexpr char kAnnual[] = "\xc4\xea\xb6\xc8";                          // 年度
inline constexpr char kWholeYear[] = "\xc8\xab\xc4\xea";                       // 全年

}  // namespace orbe::report_words

#endif  // ORBE_REPORTS_REPORT_WORDS_H_
