// Quote indicators from the host's 104-byte quote records.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <vector>

#include "indicators/fetch_multi_terms.h"
#include "orbe/env.h"
#include "orbe/indicators/fetch_multi_progress.h"

namespace {

constexpr std::size_t kSecuCodeLength = 6;
constexpr int kHostBufferSlack = 1024;
constexpr int kPreviousCloseOffset = 2;
constexpr int kUpDownOffsets[] = {6, 10, 14, 18};
constexpr int kFloatLength = 4;

using QuoteRecord = std::vector<unsigned char>;

// The record of one security, or empty when the host has none.
QuoteRecord AskQuote(DataFuncProc func, const std::string& secuCode) {
  HostValue7 code{};
  std::memcpy(code.bytes, secuCode.data(), std::min(secuCode.size(), kSecuCodeLength));
  const HostValue7 zero{};
  const int size = func(nullptr, -1, orbe::kQuoteRecordCode, nullptr, -1, code, zero, 0, 0);
  if (size < orbe::kQuoteRecordSize) return {};
  QuoteRecord buffer(static_cast<std::size_t>(size) + kHostBufferSlack, 0);
  const int written = func(nullptr, -1, orbe::kQuoteRecordCode, buffer.data(), 1, code, zero, 0, 0);
  // A host that answers fewer bytes than a record has no record to read.
  if (written < orbe::kQuoteRecordSize) return {};
  buffer.resize(orbe::kQuoteRecordSize);
  return buffer;
}

template <typename T>
T ReadAt(const QuoteRecord& record, int offset) {
  T value;
  std::memcpy(&value, record.data() + offset, sizeof(T));
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

bool ReadField(const QuoteRecord& record, const HqIndex& hq, vtParam& value) {
  const int offset = hq.structoffset;
  const int width = std::max(ReadWidth(hq), hq.structlength);
  if (offset < 0 || width < 0 || offset + width > orbe::kQuoteRecordSize) return false;
  value.type = hq.datatype;
  const char* bytes = reinterpret_cast<const char*>(record.data() + offset);
  const std::string text(bytes, strnlen(bytes, static_cast<std::size_t>(hq.structlength)));
  switch (hq.datatype) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2:
      value.i32 = hq.structlength == 2 ? ReadAt<std::int16_t>(record, offset) : ReadAt<std::int32_t>(record, offset);
      return true;
    case DATA_TYPE_DOUBLE:
      value.dbl = hq.structlength == kFloatLength ? ReadAt<float>(record, offset) : ReadAt<double>(record, offset);
      return true;
    case DATA_TYPE_STRING:
      value.str = text;
      return true;
    case DATA_TYPE_INT64:
      value.i64 = std::strtoll(text.c_str(), nullptr, 10);
      return true;
    default:
      return false;
  }
}

void MarkUpDown(const QuoteRecord& record, const HqIndex& hq, vtParam& value) {
  if (hq.datatype != DATA_TYPE_DOUBLE || hq.structlength != kFloatLength) return;
  if (std::find(std::begin(kUpDownOffsets), std::end(kUpDownOffsets), hq.structoffset) == std::end(kUpDownOffsets)) {
    return;
  }
  const float field = ReadAt<float>(record, hq.structoffset);
  const float previous = ReadAt<float>(record, kPreviousCloseOffset);
  value.updown = field > previous ? 1 : field < previous ? -1 : 0;
  if (field <= 0) orbe::MarkInvalid(value);
}

}  // namespace

void CFetchMultiProgress::FetchMemData() {
  const DataFuncProc func = GetDataFunc();
  if (func == nullptr) return;
  std::vector<std::pair<int, const HqIndex*>> quotes;
  int seq = 0;
  for (const EntityParam& entity : entities_) {
    for (IndexBase* base : entity.bases) {
      if (const auto* hq = dynamic_cast<const HqIndex*>(base)) quotes.emplace_back(seq, hq);
      ++seq;
    }
  }
  if (quotes.empty()) return;
  std::set<std::string> codes;
  for (const CodeValues& values : results_) {
    for (const auto& entry : values) codes.insert(entry.first);
  }
  for (const std::string& chunk : chunks_) {
    for (const std::string& code : orbe::SplitList(chunk, ',')) {
      if (!code.empty()) codes.insert(code);
    }
  }
  // One record per security serves every quote indicator of the scheme.
  for (const std::string& code : codes) {
    const std::string secu = Codes().SecuCodeOfCompany(code).substr(0, kSecuCodeLength);
    if (secu.empty()) continue;
    const QuoteRecord record = AskQuote(func, secu);
    if (record.empty()) continue;
    for (const auto& [quoteSeq, hq] : quotes) {
      vtParam value;
      if (!ReadField(record, *hq, value)) continue;
      MarkUpDown(record, *hq, value);
      results_[static_cast<std::size_t>(quoteSeq)][code] = value;
    }
  }
}
