// The data function's answers, one handler per request code.
#include <cstdlib>
#include <cstring>

#include "host/host_market.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr std::size_t kCodeSize = 7;  // 6 characters and a NUL

template <typename Record>
std::string BytesOf(const Record& record) {
  return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

std::string CodeOf(const HostValue7& value) {
  return FieldText(reinterpret_cast<const char*>(value.bytes), kCodeSize);
}

// Byte 0 of the second value; 0xFF (as in the switch function's records)
// leaves the market open.
int MarketOf(const HostValue7& value) { return value.bytes[0] == 0xFF ? -1 : value.bytes[0]; }

std::string Text64(const std::string& text) {
  if (text.empty()) return "";
  std::string bytes(kHostTextSize, '\0');
  CopyBounded(bytes.data(), bytes.size(), text);
  return bytes;
}

using Handler = std::string (*)(const HostMarket&, const HostValue7&, const HostValue7&);

struct AnswerRow {
  int code;
  int fixed_size;  // 0: the answer's own size
  Handler answer;
};

std::string QuoteRecord(const HostMarket& market, const HostValue7& first, const HostValue7&) {
  const Hq104* quote = market.Quote(CodeOf(first));
  return quote ? BytesOf(*quote) : "";
}

std::string QuoteRecordByMarket(const HostMarket& market, const HostValue7& first, const HostValue7& second) {
  const Hq104* quote = market.Quote(CodeOf(first), MarketOf(second));
  return quote ? BytesOf(*quote) : "";
}

std::string QuoteBoards(const HostMarket& market, const HostValue7&, const HostValue7&) {
  return EncodeBoardSet(market.QuoteBoards());
}

std::string ConceptBoards(const HostMarket& market, const HostValue7&, const HostValue7&) {
  return EncodeBoardSet(market.ConceptBoards());
}

std::string CustomBoards(const HostMarket& market, const HostValue7&, const HostValue7&) {
  return EncodeBoardSet(market.CustomBoards());
}

std::string SecurityAttributes(const HostMarket& market, const HostValue7& first, const HostValue7& second) {
  const HostSecurity* security = market.Security(CodeOf(first), MarketOf(second));
  if (security == nullptr) return "";
  HostSecurityAttributes record;
  std::memset(&record, 0, sizeof record);
  record.market = security->market;
  record.price_decimals = 2;  // every price of the market is in cents
  record.kind = static_cast<std::uint16_t>(std::atoi(security->category.c_str()));
  CopyToField(record.block, security->board);
  return BytesOf(record);
}

std::string Sender(const HostMarket& market, const HostValue7&, const HostValue7&) {
  HostSenderBlock block;
  std::memset(&block, 0, sizeof block);
  CopyToField(block.text, market.Lists().LoginName());
  return BytesOf(block);
}

std::string TradingAccount(const HostMarket& market, const HostValue7&, const HostValue7&) {
  return Text64(market.Lists().TradingAccount());
}

std::string LoginName(const HostMarket& market, const HostValue7&, const HostValue7&) {
  return Text64(market.Lists().LoginName());
}

std::string CodeList(const HostMarket& market, const HostValue7& first, const HostValue7&) {
  const std::vector<HostCodeListEntry> entries = market.CodeList(first.bytes[0]);
  return std::string(reinterpret_cast<const char*>(entries.data()),
                     entries.size() * sizeof(HostCodeListEntry));
}

constexpr AnswerRow kAnswers[] = {
    {kHostQuoteRecord, sizeof(Hq104), QuoteRecord},
    {kHostQuoteRecordByMarket, sizeof(Hq104), QuoteRecordByMarket},
    {kHostQuoteBoards, 0, QuoteBoards},
    {kHostConceptBoards, 0, ConceptBoards},
    {kHostCustomBoards, 0, CustomBoards},
    {kHostSecurityAttributes, sizeof(HostSecurityAttributes), SecurityAttributes},
    {kHostSender, sizeof(HostSenderBlock), Sender},
    {kHostTradingAccount, kHostTextSize, TradingAccount},
    {kHostLoginName, kHostTextSize, LoginName},
    {kHostCodeList, 0, CodeList},
};

const AnswerRow* RowOf(int code) {
  for (const AnswerRow& row : kAnswers) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace

std::string HostMarket::Answer(int code, const HostValue7& first, const HostValue7& second) const {
  const AnswerRow* row = RowOf(code);
  return row ? row->answer(*this, first, second) : "";
}

int HostMarket::FixedAnswerSize(int code) {
  const AnswerRow* row = RowOf(code);
  return row ? row->fixed_size : 0;
}

}  // namespace orbe
