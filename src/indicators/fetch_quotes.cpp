// Quote indicators from the host's 104-byte quote records.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "indicators/fetch_calculator.h"
#include "indicators/fetch_terms.h"

namespace orbe {

namespace {

constexpr std::size_t kSecuCodeLength = 6;
constexpr int kHostBufferSlack = 1024;
constexpr int kPreviousCloseOffset = 2;
constexpr int kUpDownOffsets[] = {6, 10, 14, 18};
constexpr int kFloatLength = 4;

using QuoteRecord = std::array<unsigned char, kQuoteRecordSize>;

// The record of one security, or nothing when the host has none.
std::optional<QuoteRecord> AskQuote(DataFuncProc func, const std::string& secuCode) {
  HostValue7 code{};
  std::memcpy(code.bytes, secuCode.data(), std::min(secuCode.size(), kSecuCodeLength));
  const HostValue7 zero{};
  const int size = func(nullptr, -1, kQuoteRecordCode, nullptr, -1, code, zero, 0, 0);
  if (size < kQuoteRecordSize) return std::nullopt;
  std::vector<unsigned char> buffer(static_cast<std::size_t>(size) + kHostBufferSlack, 0);
  const int written = func(nullptr, -1, kQuoteRecordCode, buffer.data(), 1, code, zero, 0, 0);
  // A host that answers fewer bytes than a record has no record to read.
  if (written < kQuoteRecordSize) return std::nullopt;
  QuoteRecord record;
  std::copy_n(buffer.begin(), record.size(), record.begin());
  return record;
}

template <typename T>
T ReadAt(const unsigned char* record, int offset) {
  T value;
  std::memcpy(&value, record + offset, sizeof(T));
  return value;
}

// Bytes a field of this type and length reads.
int ReadWidth(const HqIndex& hq) {
  switch (hq.datatype) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2: return hq.structlength == 2 ? 2 : 4;
    case DATA_TYPE_DOUBLE: return hq.structlength == kFloatLength ? 4 : 8;
    default: return hq.structlength;
  }
}

void MarkUpDown(const unsigned char* record, const HqIndex& hq, vtParam& value) {
  if (hq.datatype != DATA_TYPE_DOUBLE || hq.structlength != kFloatLength) return;
  if (std::find(std::begin(kUpDownOffsets), std::end(kUpDownOffsets), hq.structoffset) == std::end(kUpDownOffsets)) {
    return;
  }
  const float field = ReadAt<float>(record, hq.structoffset);
  const float previous = ReadAt<float>(record, kPreviousCloseOffset);
  value.updown = field > previous ? 1 : field < previous ? -1 : 0;
  if (field <= 0) MarkInvalid(value);
}

}  // namespace

bool ReadQuoteField(const HqIndex& hq, const unsigned char* record, vtParam& value) {
  const int offset = hq.structoffset;
  const int length = hq.structlength;
  // A field lies inside the record when offset + length < 104, and the bytes
  // its type reads must too (a 32-bit read of a 1-byte field at 101 would not).
  const std::int64_t end = static_cast<std::int64_t>(offset) + length;
  if (offset < 0 || length < 0 || end >= kQuoteRecordSize ||
      static_cast<std::int64_t>(offset) + ReadWidth(hq) > kQuoteRecordSize) {
    return false;
  }
  value = vtParam{};
  value.type = hq.datatype;
  const char* bytes = reinterpret_cast<const char*>(record + offset);
  const std::string text(bytes, strnlen(bytes, static_cast<std::size_t>(length)));
  switch (hq.datatype) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2:
      value.i32 = length == 2 ? ReadAt<std::int16_t>(record, offset) : ReadAt<std::int32_t>(record, offset);
      break;
    case DATA_TYPE_DOUBLE:
      value.dbl = length == kFloatLength ? ReadAt<float>(record, offset) : ReadAt<double>(record, offset);
      break;
    case DATA_TYPE_STRING:
      value.str = text;
      break;
    case DATA_TYPE_INT64:
      value.i64 = std::strtoll(text.c_str(), nullptr, 10);
      break;
    default:
      return false;
  }
  MarkUpDown(record, hq, value);
  return true;
}

void FetchQuoteValues(DataFuncProc host, const FetchPlan& plan, const ScreeningCodes& book,
                      std::vector<CodeValues>& results) {
  if (host == nullptr) return;
  std::vector<std::pair<std::size_t, const HqIndex*>> quotes;
  for (std::size_t seq = 0; seq < plan.bases.size(); ++seq) {
    if (const auto* hq = dynamic_cast<const HqIndex*>(plan.bases[seq].index)) quotes.emplace_back(seq, hq);
  }
  if (quotes.empty()) return;
  std::set<std::string> codes;
  for (const CodeValues& values : results) {
    for (const auto& entry : values) codes.insert(entry.first);
  }
  for (const std::string& chunk : plan.chunks) {
    for (const std::string& code : SplitList(chunk, ',')) {
      if (!code.empty()) codes.insert(code);
    }
  }
  // One record per security serves every quote indicator of the scheme.
  for (const std::string& code : codes) {
    const std::string secu = book.SecuCodeOfCompany(code).substr(0, kSecuCodeLength);
    if (secu.empty()) continue;
    const std::optional<QuoteRecord> record = AskQuote(host, secu);
    if (!record) continue;
    for (const auto& [seq, hq] : quotes) {
      vtParam value;
      if (ReadQuoteField(*hq, record->data(), value)) results[seq][code] = value;
    }
  }
}

}  // namespace orbe
