// Arbitrary statements, parameters, codes and report terms through the macro
// expansions, on a date taken from the input. ASCII literals only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"

namespace {

// Cuts the input at the next byte 0x01, so a corpus file reads as
// "statement \x01 parameter \x01 code \x01 term".
std::string NextPart(std::string_view& rest) {
  const std::size_t cut = rest.find('\x01');
  const std::string part(rest.substr(0, cut));
  rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // Any month, valid or not, and years around the present and far off.
  const orbe::ReportDate date{1900 + data[0] * 2, static_cast<int>(data[1] % 16), 1};
  std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::string statement = NextPart(rest);
  const std::string parameter = NextPart(rest);
  const std::string code = NextPart(rest);
  const std::string term = NextPart(rest);
  const orbe::ScopedReportDate fixed(date);
  const std::string sql = CIniReportUtil::GenerateSql(statement, parameter, code);
  volatile std::size_t sink = CIniReportUtil::ReplaceTimeInSql(sql, term).size();
  sink = sink + CIniReportUtil::ReplaceTimeInSql(statement, term).size();
  sink = sink + CIniReportUtil::GenerateUrl(statement, code).size();
  sink = sink + CIniReportUtil::GetReportTermList().size();
  (void)sink;
  return 0;
}
