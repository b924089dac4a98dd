// Binary request records that SQL statements are translated into before they
// are sent to the data service (docs/protocol.md, section 5). Packed and
// little-endian, as on the wire; the bodies around them are built and read in
// protocol/requests.h.
#ifndef ORBE_PROTOCOL_SQL_RECORDS_H_
#define ORBE_PROTOCOL_SQL_RECORDS_H_

#include <cstddef>
#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "request records are little-endian");

#pragma pack(push, 1)

// One WHERE condition.
struct tagSigCond {
  std::uint8_t field;       // low byte of the field number
  std::uint8_t compare;     // orbe::CompareCode
  std::uint8_t value_type;  // the field's type; 2 for a quoted number
  std::uint32_t width;
  std::uint32_t offset;     // sum of the widths of the table's earlier fields
  std::uint8_t value[50];   // text (unterminated at 50 bytes) or a number in its first bytes
};
static_assert(sizeof(tagSigCond) == 61);
static_assert(offsetof(tagSigCond, field) == 0);
static_assert(offsetof(tagSigCond, compare) == 1);
static_assert(offsetof(tagSigCond, value_type) == 2);
static_assert(offsetof(tagSigCond, width) == 3);
static_assert(offsetof(tagSigCond, offset) == 7);
static_assert(offsetof(tagSigCond, value) == 11);

namespace orbe {

inline constexpr int kMaxConditions = 5;
inline constexpr int kMaxStatementFields = 200;
inline constexpr int kConditionValueSize = 50;

// Comparison codes of tagSigCond::compare; the service gives 6, 7 and 8 their meaning.
enum CompareCode : std::uint8_t {
  kCompareEqual = 0,
  kCompareGreater = 1,
  kCompareLess = 2,
  kCompareGreaterEqual = 3,
  kCompareLessEqual = 4,
  kCompareNotEqual = 5,
  kCompareLike = 6,
  kCompareInList = 7,
  kCompareLikeList = 8,
};

// Statistic codes of cw_sqlstat_req::stat_type.
enum StatType : std::uint8_t {
  kStatCount = 0,
  kStatMax = 1,
  kStatMin = 2,
  kStatAvg = 3,
  kStatSum = 4,
};

}  // namespace orbe

// A SELECT (request code 2008).
struct cw_command_req {
  std::uint16_t request_code;
  char sender[50];
  std::uint16_t sender_value;
  std::uint16_t extra_length;
  std::int32_t page;
  std::uint16_t page_size;
  std::uint8_t order_field;
  std::uint8_t order_desc;
  std::uint8_t distinct_field;
  std::int32_t table;
  std::uint8_t fields[200];
  std::uint8_t field_count;
  tagSigCond conditions[5];
  std::uint8_t condition_count;
};
static_assert(sizeof(cw_command_req) == 576);
static_assert(offsetof(cw_command_req, request_code) == 0);
static_assert(offsetof(cw_command_req, sender) == 2);
static_assert(offsetof(cw_command_req, sender_value) == 52);
static_assert(offsetof(cw_command_req, extra_length) == 54);
static_assert(offsetof(cw_command_req, page) == 56);
static_assert(offsetof(cw_command_req, page_size) == 60);
static_assert(offsetof(cw_command_req, order_field) == 62);
static_assert(offsetof(cw_command_req, order_desc) == 63);
static_assert(offsetof(cw_command_req, distinct_field) == 64);
static_assert(offsetof(cw_command_req, table) == 65);
static_assert(offsetof(cw_command_req, fields) == 69);
static_assert(offsetof(cw_command_req, field_count) == 269);
static_assert(offsetof(cw_command_req, conditions) == 270);
static_assert(offsetof(cw_command_req, condition_count) == 575);

// An aggregate statistic (request code 2020).
struct cw_sqlstat_req {
  std::uint16_t request_code;
  std::int32_t table;
  std::uint8_t stat_type;  // orbe::StatType
  std::uint8_t field;      // 0 for COUNT(*)
  tagSigCond conditions[5];
  std::uint8_t condition_count;
  std::uint8_t distinct;
  std::int16_t extra_length;
};
static_assert(sizeof(cw_sqlstat_req) == 317);
static_assert(offsetof(cw_sqlstat_req, request_code) == 0);
static_assert(offsetof(cw_sqlstat_req, table) == 2);
static_assert(offsetof(cw_sqlstat_req, stat_type) == 6);
static_assert(offsetof(cw_sqlstat_req, field) == 7);
static_assert(offsetof(cw_sqlstat_req, conditions) == 8);
static_assert(offsetof(cw_sqlstat_req, condition_count) == 313);
static_assert(offsetof(cw_sqlstat_req, distinct) == 314);
static_assert(offsetof(cw_sqlstat_req, extra_length) == 315);

// A DELETE (request code 2016).
struct cw_sqldelete_req {
  std::uint16_t request_code;
  char key[32];  // not NUL-terminated
  std::int32_t table;
  tagSigCond conditions[5];
  std::uint8_t condition_count;
};
static_assert(sizeof(cw_sqldelete_req) == 344);
static_assert(offsetof(cw_sqldelete_req, request_code) == 0);
static_assert(offsetof(cw_sqldelete_req, key) == 2);
static_assert(offsetof(cw_sqldelete_req, table) == 34);
static_assert(offsetof(cw_sqldelete_req, conditions) == 38);
static_assert(offsetof(cw_sqldelete_req, condition_count) == 343);

// An UPDATE (request code 2017); its values follow in the value area.
struct cw_sqlupdate_req {
  std::uint16_t request_code;
  char key[32];
  std::int32_t table;
  std::uint8_t fields[200];  // in value-area order
  std::uint8_t field_count;
  tagSigCond conditions[5];
  std::uint8_t condition_count;
  std::uint32_t value_length;  // bytes used in the value area
};
static_assert(sizeof(cw_sqlupdate_req) == 549);
static_assert(offsetof(cw_sqlupdate_req, request_code) == 0);
static_assert(offsetof(cw_sqlupdate_req, key) == 2);
static_assert(offsetof(cw_sqlupdate_req, table) == 34);
static_assert(offsetof(cw_sqlupdate_req, fields) == 38);
static_assert(offsetof(cw_sqlupdate_req, field_count) == 238);
static_assert(offsetof(cw_sqlupdate_req, conditions) == 239);
static_assert(offsetof(cw_sqlupdate_req, condition_count) == 544);
static_assert(offsetof(cw_sqlupdate_req, value_length) == 545);

// An INSERT (request code 2018); its values follow in the value area.
struct cw_sqlinsert_req {
  std::uint16_t request_code;
  char key[32];
  std::int32_t table;
  std::uint8_t fields[200];  // ascending
  std::uint8_t field_count;
  std::uint8_t back;           // BACK written before INTO
  std::uint32_t value_length;  // bytes used in the value area
};
static_assert(sizeof(cw_sqlinsert_req) == 244);
static_assert(offsetof(cw_sqlinsert_req, request_code) == 0);
static_assert(offsetof(cw_sqlinsert_req, key) == 2);
static_assert(offsetof(cw_sqlinsert_req, table) == 34);
static_assert(offsetof(cw_sqlinsert_req, fields) == 38);
static_assert(offsetof(cw_sqlinsert_req, field_count) == 238);
static_assert(offsetof(cw_sqlinsert_req, back) == 239);
static_assert(offsetof(cw_sqlinsert_req, value_length) == 240);

#pragma pack(pop)

#endif  // ORBE_PROTOCOL_SQL_RECORDS_H_
