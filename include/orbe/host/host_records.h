// The byte layouts the host's data function answers with (docs/data.md, "The
// host's data function"). Little-endian, packed. The module reads them and a
// host writes them, both from here.
#ifndef ORBE_HOST_HOST_RECORDS_H_
#define ORBE_HOST_HOST_RECORDS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orbe {

// Request codes of the data function.
enum HostDataCode : int {
  kHostDayBars = 0x04,
  kHostQuoteRecord = 0x68,
  kHostQuoteRecordByMarket = 0x69,
  kHostQuoteBoards = 0x6B,
  kHostConceptBoards = 0x6E,
  kHostCustomBoards = 0x6F,
  kHostSecurityAttributes = 0x78,
  kHostSender = 0x7A,
  kHostTradingAccount = 0x7F,
  kHostLoginName = 0x84,
  kHostCodeList = 0x86,
};

// Markets as the host numbers them in its records.
enum HostMarketNumber : std::uint8_t { kHostShenzhen = 0, kHostShanghai = 1 };

#pragma pack(push, 1)
struct Hq104 {
  std::int16_t state;  // 0 trading, 1 suspended
  float previous_close;
  float open;
  float high;
  float low;
  float latest;
  float average;
  double volume;  // shares
  double amount;  // yuan
  float change;
  float change_percent;
  float range_percent;
  float turnover_percent;
  float volume_ratio;
  float dynamic_pe;
  float bid_ask_ratio;
  std::int32_t last_trade_lots;
  std::int32_t sell_volume_lots;
  std::int32_t buy_volume_lots;
  double market_value;
  double float_market_value;
  std::uint8_t reserved[6];
};

struct HostCodeListEntry {
  std::uint16_t market;
  char code[78];
};

struct HostSecurityAttributes {
  std::uint8_t market;
  std::uint8_t price_decimals;
  std::uint16_t kind;  // security category (constant class 201)
  char block[12];      // listing board text (constant class 204)
};

struct HostSenderBlock {
  char text[50];
  std::uint16_t value;
};

// A daily bar (code 0x04): the host answers the security's bars oldest
// first, at most as many as the fetch's count asks.
struct HostDayBar {
  std::uint32_t date;  // yyyymmdd
  float open;
  float high;
  float low;
  float close;
  double volume;  // shares
  double amount;  // yuan
};
#pragma pack(pop)

static_assert(sizeof(HostDayBar) == 36);
static_assert(sizeof(Hq104) == 104);
static_assert(offsetof(Hq104, volume) == 26);
static_assert(offsetof(Hq104, market_value) == 82);
static_assert(sizeof(HostCodeListEntry) == 80);
static_assert(sizeof(HostSecurityAttributes) == 16);
static_assert(sizeof(HostSenderBlock) == 52);

inline constexpr std::size_t kHostTextSize = 64;  // 0x7F, 0x84
inline constexpr std::size_t kMaxCodeListEntries = 10000;

// Board-set layout of 107, 110 and 111.
inline constexpr std::size_t kBoardSetMaxBoards = 100;
inline constexpr std::size_t kBoardNameSize = 20;
inline constexpr std::size_t kBoardNamesOffset = 1;
inline constexpr std::size_t kBoardCountsOffset = 2001;
inline constexpr std::size_t kBoardCodesOffset = 2202;
inline constexpr std::size_t kBoardCodeSize = 15;
inline constexpr std::size_t kBoardMaxCodes = 32767;  // a signed 16-bit count

// Code-list layout of 134: HostCodeListEntry records.
inline constexpr std::size_t kCodeListTextOffset = offsetof(HostCodeListEntry, code);

// Both sides ask the host twice: the size first, then the answer into a buffer
// this much longer than announced.
inline constexpr int kHostAnswerSlack = 1024;

// One board of a board-set answer.
struct HostBoard {
  std::string name;  // GBK
  std::vector<std::string> codes;
};

}  // namespace orbe

#endif  // ORBE_HOST_HOST_RECORDS_H_
