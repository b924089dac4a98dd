#include "protocol/statements.h"

#include <cstring>

#include "protocol/byte_order.h"
#include "protocol/wire_format.h"

namespace orbe::wire {
namespace {

constexpr std::size_t kOptionHeadSize = 3;  // type, 16-bit length
constexpr std::size_t kMaxOptionText = 0xFFFF;

template <typename Record>
std::string BodyOf(const Record& record, std::string_view extra) {
  std::string body(reinterpret_cast<const char*>(&record), sizeof(Record));
  body.append(extra);
  return body;
}

// The record at the start of the body; nothing announced behind it.
template <typename Record>
std::optional<StatementBody<Record>> DecodeRecord(std::string_view body) {
  if (body.size() < sizeof(Record)) return std::nullopt;
  StatementBody<Record> decoded{};
  std::memcpy(&decoded.record, body.data(), sizeof(Record));
  decoded.extra = std::string_view();
  return decoded;
}

// The record and the bytes its length field announces behind it.
template <typename Record, typename LengthOf>
std::optional<StatementBody<Record>> DecodeRecord(std::string_view body, LengthOf length_of) {
  std::optional<StatementBody<Record>> decoded = DecodeRecord<Record>(body);
  if (!decoded) return std::nullopt;
  const std::int64_t length = length_of(decoded->record);
  const std::size_t room = body.size() - sizeof(Record);
  decoded->extra = std::nullopt;
  if (length >= 0 && static_cast<std::uint64_t>(length) <= room) {
    decoded->extra = body.substr(sizeof(Record), static_cast<std::size_t>(length));
  }
  return decoded;
}

}  // namespace

std::string EncodeSelectBody(cw_command_req record, std::string_view options) {
  record.request_code = kCodeSelect;
  record.extra_length = static_cast<std::uint16_t>(options.size());
  return BodyOf(record, options);
}

std::string EncodeStatBody(cw_sqlstat_req record, std::string_view options) {
  record.request_code = kCodeStatistics;
  record.extra_length = static_cast<std::int16_t>(options.size());
  return BodyOf(record, options);
}

std::string EncodeDeleteBody(cw_sqldelete_req record) {
  record.request_code = kCodeDelete;
  return BodyOf(record, {});
}

std::string EncodeUpdateBody(cw_sqlupdate_req record, std::string_view value_area) {
  record.request_code = kCodeUpdate;
  record.value_length = static_cast<std::uint32_t>(value_area.size());
  return BodyOf(record, value_area);
}

std::string EncodeInsertBody(cw_sqlinsert_req record, std::string_view value_area) {
  record.request_code = kCodeInsert;
  record.value_length = static_cast<std::uint32_t>(value_area.size());
  return BodyOf(record, value_area);
}

std::optional<StatementBody<cw_command_req>> DecodeSelectBody(std::string_view body) {
  return DecodeRecord<cw_command_req>(body,
                                  [](const cw_command_req& record) -> std::int64_t { return record.extra_length; });
}

std::optional<StatementBody<cw_sqlstat_req>> DecodeStatBody(std::string_view body) {
  return DecodeRecord<cw_sqlstat_req>(body,
                                  [](const cw_sqlstat_req& record) -> std::int64_t { return record.extra_length; });
}

std::optional<StatementBody<cw_sqldelete_req>> DecodeDeleteBody(std::string_view body) {
  return DecodeRecord<cw_sqldelete_req>(body);
}

std::optional<StatementBody<cw_sqlupdate_req>> DecodeUpdateBody(std::string_view body) {
  return DecodeRecord<cw_sqlupdate_req>(body,
                                  [](const cw_sqlupdate_req& record) -> std::int64_t { return record.value_length; });
}

std::optional<StatementBody<cw_sqlinsert_req>> DecodeInsertBody(std::string_view body) {
  return DecodeRecord<cw_sqlinsert_req>(body,
                                  [](const cw_sqlinsert_req& record) -> std::int64_t { return record.value_length; });
}

std::string EncodeOptionBlock(const std::vector<SqlOption>& options, std::size_t limit) {
  std::string block;
  for (const SqlOption& option : options) {
    if (option.type == 0 || option.text.empty() || option.text.size() > kMaxOptionText) continue;
    if (block.size() + kOptionHeadSize + option.text.size() + 1 >= limit) break;
    Append(&block, option.type);
    Append(&block, static_cast<std::uint16_t>(option.text.size()));
    block.append(option.text);
    block.push_back('\0');
  }
  return block;
}

std::optional<std::vector<SqlOptionView>> DecodeOptionBlock(std::string_view block) {
  std::vector<SqlOptionView> options;
  std::size_t at = 0;
  while (at < block.size() && block[at] != '\0') {
    if (at + kOptionHeadSize > block.size()) return std::nullopt;
    const auto length = LoadAt<std::uint16_t>(block, at + 1);
    if (at + kOptionHeadSize + length + 1 > block.size()) return std::nullopt;
    options.push_back({static_cast<std::uint8_t>(block[at]), block.substr(at + kOptionHeadSize, length)});
    at += kOptionHeadSize + length + 1;
  }
  return options;
}

void AppendLongText(std::string* bytes, std::size_t slot, std::string_view text) {
  StoreAt(bytes, slot, static_cast<std::uint32_t>(bytes->size()));
  Append(bytes, static_cast<std::uint32_t>(text.size()));
  bytes->append(text);
}

std::optional<std::string_view> LongTextAt(std::string_view bytes, std::size_t slot) {
  if (slot > bytes.size() || bytes.size() - slot < sizeof(std::uint32_t)) return std::nullopt;
  const auto offset = LoadAt<std::uint32_t>(bytes, slot);
  if (offset > bytes.size() || bytes.size() - offset < sizeof(std::uint32_t)) return std::nullopt;
  const auto length = LoadAt<std::uint32_t>(bytes, offset);
  const std::size_t start = offset + sizeof(std::uint32_t);
  if (length > bytes.size() - start) return std::nullopt;
  return bytes.substr(start, length);
}

}  // namespace orbe::wire
