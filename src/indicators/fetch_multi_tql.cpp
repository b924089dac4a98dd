// TQL indicators: the KVX_DataBrowse option and the reading of its reply.
#include <cstring>
#include <vector>

#include "indicators/fetch_multi_terms.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/platform/text.h"

namespace orbe {

namespace {

struct PeriodEnd {
  const char* name;
  const char* end;
};
constexpr PeriodEnd kPeriodEnds[] = {{"一季", "0331"}, {"中期", "0630"}, {"三季", "0930"}};
constexpr const char* kYearEnd = "1231";

bool Has(const std::string& flag, const char* marker) { return flag.find(marker) != std::string::npos; }

std::string ReportPiece(const std::string& value) {
  const ReportValue report = ResolveReportValue(value);
  if (!report.present) return std::string();
  for (const PeriodEnd& end : kPeriodEnds) {
    if (report.period.find(end.name) != std::string::npos) return report.year + end.end;
  }
  return report.year + kYearEnd;
}

}  // namespace

std::string TqlParameterPiece(OrbeClientSession* session, const std::string& flag, const std::string& value) {
  if (Has(flag, "常量")) return ConstantCodeOf(session, flag, value);
  if (Has(flag, "日期")) return DateDigits(value);
  if (Has(flag, "报告期")) return ReportPiece(value);
  if (Has(flag, "字符串") || Has(flag, "整型") || Has(flag, "浮点型")) return value;
  return std::string();
}

std::string BuildTqlOptionHead(OrbeClientSession* session, const SysIndexTQL& tql, const std::string& parameters) {
  const std::vector<std::string> values = SplitParameterValues(parameters, tql.flags.size());
  if (values.size() != tql.flags.size()) return std::string();
  std::string option = tql.name;
  for (std::size_t i = 0; i < values.size(); ++i) option += "|" + TqlParameterPiece(session, tql.flags[i], values[i]);
  option += "|";
  if (tql.datatype == DATA_TYPE_STRING) option += Format("%d", tql.strmaxlength);
  option += "|";
  return option;
}

}  // namespace orbe

namespace {

constexpr int kSecuKeyLength = 6;
constexpr int kInnerKeyLength = 12;
constexpr short kSecuKeyType = 2;
// Bounds a string value a reply announces; the protocol allows up to 4096.
constexpr int kMaxStringWidth = 4096;

struct TqlHeader {
  int count = 0;
  short keytype = 0;
  short valuetype = 0;
  short width = 0;
};

bool PopHeader(IFetchData& reply, TqlHeader& header) {
  return reply.PopReplyAsInt(&header.count) && reply.PopReplyAsShort(&header.keytype) &&
         reply.PopReplyAsShort(&header.valuetype) && reply.PopReplyAsShort(&header.width);
}

bool PopText(IFetchData& reply, int length, std::string& text) {
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  if (!reply.PopReplyAsString(length, buffer.data(), static_cast<int>(buffer.size()))) return false;
  text.assign(buffer.data(), strnlen(buffer.data(), static_cast<std::size_t>(length)));
  return true;
}

bool PopValue(IFetchData& reply, std::int32_t datatype, int width, vtParam& value) {
  value.type = datatype;
  switch (datatype) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2:
      return reply.PopReplyAsInt(&value.i32);
    case DATA_TYPE_DOUBLE:
      return reply.PopReplyAsDouble(&value.dbl);
    case DATA_TYPE_INT64:
      return reply.PopReplyAsInt64(&value.i64);
    case DATA_TYPE_STRING:
      return PopText(reply, width, value.str);
    default:
      value.str.clear();
      return true;
  }
}

}  // namespace

void CFetchMultiProgress::ReadTqlReply(IFetchData* reply) {
  if (reply == nullptr || tql_ < 0 || tql_ >= static_cast<int>(tqls_.size())) return;
  const int seq = tqls_[static_cast<std::size_t>(tql_)];
  int entity = 0;
  int base = 0;
  const auto* tql = dynamic_cast<const SysIndexTQL*>(GetNonUsrIndexInEntityParams(entities_, seq, entity, base));
  if (tql == nullptr || reply->GetCallResult() != 0) return;
  TqlHeader header;
  if (!PopHeader(*reply, header)) return;
  // The string width is that of the reply's records: the one the request asked
  // for, unless the server answered another.
  const int width = header.width > 0 && header.width <= kMaxStringWidth ? header.width : tql->strmaxlength;
  const int keyLength = header.keytype == kSecuKeyType ? kSecuKeyLength : kInnerKeyLength;
  CodeValues& values = results_[static_cast<std::size_t>(seq)];
  // The count is a promise only: a short or lying reply ends at its last whole record.
  for (int i = 0; i < header.count; ++i) {
    std::string key;
    vtParam value;
    if (!PopText(*reply, keyLength, key) || !PopValue(*reply, tql->datatype, width, value)) break;
    const std::string code = header.keytype == kSecuKeyType ? Codes().CompanyOfSecuCode(key)
                             : header.keytype == 0        ? Codes().CompanyOfInnerCode(key)
                                                          : key;
    if (!code.empty()) values[code] = value;
  }
}
