// SQL records, KVX_DataBrowse records and time stamps of a screening.
#include "indicators/fetch_replies.h"

#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/reply_handle.h"

namespace orbe {

namespace {

constexpr int kTextBuffer = 4097;
constexpr int kCallSucceeded = 0;
constexpr int kSecuKeyLength = 6;
constexpr int kInnerKeyLength = 12;
constexpr short kSecuKeyType = 2;
constexpr short kInnerKeyType = 0;
// Bounds a string value a reply announces; the protocol allows up to 4096.
constexpr int kMaxStringWidth = 4096;

bool ReadValue(IFetchData& reply, int record, const tagMemFieldInfo& field, std::int32_t datatype, vtParam& value) {
  value.type = datatype;
  switch (datatype) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2:
      return reply.GetRecordAsInt(record, &field, &value.i32) != FALSE;
    case DATA_TYPE_DOUBLE:
      return reply.GetRecordAsDouble(record, &field, &value.dbl) != FALSE;
    case DATA_TYPE_INT64:
      return reply.GetRecordAsInt64(record, &field, &value.i64) != FALSE;
    default: {
      value.type = DATA_TYPE_STRING;
      std::vector<char> text(kTextBuffer, '\0');
      if (!reply.GetRecordAsString(record, &field, text.data(), kTextBuffer)) return false;
      value.str = text.data();
      return true;
    }
  }
}

std::string CompanyOfKey(const ScreeningCodes& book, int keytype, const std::string& key) {
  if (keytype == IIndexMgr::CODE_INNER) return book.CompanyOfInnerCode(key);
  if (keytype == IIndexMgr::CODE_STOCK) return book.CompanyOfSecuCode(key);
  return key;
}

// The screening code of every record, read through the key field and
// converted by the key type; empty where a record has none.
std::vector<std::string> RecordCodes(IFetchData& reply, const tagMemFieldInfo& keyField, int keytype, int records,
                                     const ScreeningCodes& book) {
  std::vector<std::string> codes(static_cast<std::size_t>(records));
  std::vector<char> key(kTextBuffer, '\0');
  for (int record = 0; record < records; ++record) {
    key[0] = '\0';
    if (!reply.GetRecordAsRawString(record, &keyField, key.data(), kTextBuffer)) continue;
    codes[static_cast<std::size_t>(record)] = CompanyOfKey(book, keytype, key.data());
  }
  return codes;
}

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
  if (length <= 0 || length > kMaxStringWidth) return false;
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

void ReadSqlReply(IFetchData& reply, const FetchPlan& plan, int group, const ScreeningCodes& book,
                  std::vector<CodeValues>& results) {
  if (group < 0 || group >= static_cast<int>(plan.groups.size())) return;
  const int records = reply.GetRecordCount();
  if (records <= 0) return;
  // The indicators of a group share the key column: its codes are read once.
  std::map<std::pair<std::string, int>, std::vector<std::string>> codesByKey;
  for (const int seq : plan.groups[static_cast<std::size_t>(group)]) {
    const auto* sys = dynamic_cast<const SysIndex*>(plan.bases[static_cast<std::size_t>(seq)].index);
    if (sys == nullptr) continue;
    tagMemFieldInfo keyField{};
    tagMemFieldInfo valueField{};
    if (!reply.GetFieldInfo(sys->key.c_str(), &keyField) || !reply.GetFieldInfo(sys->tablefield.c_str(), &valueField)) {
      continue;
    }
    auto [known, added] = codesByKey.try_emplace({sys->key, sys->keytype});
    if (added) known->second = RecordCodes(reply, keyField, sys->keytype, records, book);
    const std::vector<std::string>& codes = known->second;
    CodeValues& stored = results[static_cast<std::size_t>(seq)];
    for (int record = 0; record < records; ++record) {
      const std::string& code = codes[static_cast<std::size_t>(record)];
      vtParam value;
      if (code.empty() || !ReadValue(reply, record, valueField, sys->datatype, value)) continue;
      stored[code] = value;
    }
  }
}

void ReadTqlReply(IFetchData& reply, const SysIndexTQL& tql, const ScreeningCodes& book, CodeValues& values) {
  if (reply.GetCallResult() != kCallSucceeded) return;
  TqlHeader header;
  if (!PopHeader(reply, header)) return;
  // The string width is that of the reply's records: the one the request asked
  // for, unless the server answered another.
  const int width = header.width > 0 && header.width <= kMaxStringWidth ? header.width : tql.strmaxlength;
  const int keyLength = header.keytype == kSecuKeyType ? kSecuKeyLength : kInnerKeyLength;
  const int keytype = header.keytype == kSecuKeyType    ? IIndexMgr::CODE_STOCK
                      : header.keytype == kInnerKeyType ? IIndexMgr::CODE_INNER
                                                        : IIndexMgr::CODE_REQUEST;
  for (int i = 0; i < header.count; ++i) {
    std::string key;
    vtParam value;
    if (!PopText(reply, keyLength, key) || !PopValue(reply, tql.datatype, width, value)) break;
    const std::string code = CompanyOfKey(book, keytype, key);
    if (!code.empty()) values[code] = value;
  }
}

std::optional<std::int64_t> ReadStampReply(IFetchData& reply, int status) {
  std::int64_t stamp = 0;
  if (status != kCwStatusComplete || reply.GetCallResult() != kCallSucceeded || !reply.PopReplyAsInt64(&stamp)) {
    return std::nullopt;
  }
  return stamp;
}

}  // namespace orbe
