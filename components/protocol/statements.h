// The statement request bodies (2008 SELECT, 2020 statistics, 2016 DELETE,
// 2017 UPDATE, 2018 INSERT; docs/protocol.md, section 5): a record of
// protocol/sql_records.h, then the option block or value area it announces.
// Also the two byte layouts inside them: the option block and the long texts
// that a value area and a SELECT reply record reach through 32-bit offsets.
#ifndef ORBE_PROTOCOL_STATEMENTS_H_
#define ORBE_PROTOCOL_STATEMENTS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/sql_records.h"

namespace orbe::wire {

// The option block of a SELECT or statistics request is at most this long.
inline constexpr std::size_t kMaxOptionLength = 7999;

// Each encoder sets the record's request code and the length field of what
// follows it, then appends those bytes.
std::string EncodeSelectBody(cw_command_req record, std::string_view options);
std::string EncodeStatBody(cw_sqlstat_req record, std::string_view options);
std::string EncodeDeleteBody(cw_sqldelete_req record);
std::string EncodeUpdateBody(cw_sqlupdate_req record, std::string_view value_area);
std::string EncodeInsertBody(cw_sqlinsert_req record, std::string_view value_area);

// A decoded statement body: the record copied out (so that no packed member
// is referenced in place) and the bytes it announces behind it, nullopt when
// that length does not fit the body. The decoders answer nullopt only for a
// body shorter than its record.
template <typename Record>
struct StatementBody {
  Record record;
  std::optional<std::string_view> extra;
};
std::optional<StatementBody<cw_command_req>> DecodeSelectBody(std::string_view body);
std::optional<StatementBody<cw_sqlstat_req>> DecodeStatBody(std::string_view body);
std::optional<StatementBody<cw_sqldelete_req>> DecodeDeleteBody(std::string_view body);
std::optional<StatementBody<cw_sqlupdate_req>> DecodeUpdateBody(std::string_view body);
std::optional<StatementBody<cw_sqlinsert_req>> DecodeInsertBody(std::string_view body);

// One option: the field id it restricts and its ","-separated codes. On the
// wire: u8 type, u16 length n, n bytes of text, NUL; a type byte of 0 ends the
// block (the rest is the sender's zero fill).
struct SqlOption {
  std::uint8_t type = 0;
  std::string text;
};
struct SqlOptionView {
  std::uint8_t type = 0;
  std::string_view text;
};
// The options with a non-zero type and a text of 1..65535 bytes, back to back,
// while each fits with at least one byte to spare below `limit` (so a block
// always ends in a zero byte inside a buffer of that size).
std::string EncodeOptionBlock(const std::vector<SqlOption>& options, std::size_t limit);
// nullopt when an option runs past the block.
std::optional<std::vector<SqlOptionView>> DecodeOptionBlock(std::string_view block);

// Long texts (field types 11 and 12): a 4-byte slot holds the u32 offset,
// from the start of `bytes`, of a u32 length and the text's bytes. Appends
// the length and the text to `bytes` and points the slot at them.
void AppendLongText(std::string* bytes, std::size_t slot, std::string_view text);
// The text the slot points at; nullopt when the slot, the length or the text
// run past `bytes`.
std::optional<std::string_view> LongTextAt(std::string_view bytes, std::size_t slot);

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_STATEMENTS_H_
