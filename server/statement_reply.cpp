#include "statement_reply.h"

#include <cstring>

#include "protocol/byte_order.h"
#include "protocol/replies.h"
#include "protocol/sql_records.h"
#include "protocol/statements.h"
#include "statement_values.h"

namespace orbe::server {
namespace {

template <typename T>
void Put(std::string* record, std::size_t offset, std::size_t width, T value) {
  if (width >= sizeof(T)) std::memcpy(record->data() + offset, &value, sizeof(T));
}

using wire::Append;
using wire::kResultFailed;
using wire::kResultOk;

void PutField(const SchemaField& field, const SqlRow& row, int column, std::size_t offset,
              std::string* record) {
  const std::size_t width = field.width;
  switch (field.type) {
    case 1:
    case 2: {
      const std::string_view text = row.Text(column);
      std::memcpy(record->data() + offset, text.data(), CharacterPrefix(text, width));
      return;
    }
    case 3:
      return Put(record, offset, width, static_cast<std::int16_t>(row.Integer(column)));
    case 4:
    case 9:
      return Put(record, offset, width, static_cast<std::int32_t>(row.Integer(column)));
    case 5:
      return Put(record, offset, width, static_cast<std::int64_t>(row.Integer(column)));
    case 6:
      return Put(record, offset, width, static_cast<std::uint8_t>(row.Integer(column)));
    case 7:
      return Put(record, offset, width, static_cast<float>(row.Real(column)));
    case 8:
      return Put(record, offset, width, row.Real(column));
    case 10: {
      std::int32_t date = 0;
      std::int32_t time = 0;
      SplitDateTime(row.Integer(column), &date, &time);
      Put(record, offset, width, date);
      if (width >= 8) Put(record, offset + 4, width - 4, time);
      return;
    }
    case 11:
    case 12: {
      if (width < sizeof(std::uint32_t)) return;
      wire::AppendLongText(record, offset, row.Text(column));
      return;
    }
    default:
      return;
  }
}

}  // namespace

std::size_t CharacterPrefix(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t end = 0;
  while (end < limit) {
    const auto lead = static_cast<unsigned char>(text[end]);
    std::size_t length = 1;
    if (lead >= 0x81 && lead <= 0xFE && end + 1 < text.size()) {
      const auto second = static_cast<unsigned char>(text[end + 1]);
      length = (second >= 0x30 && second <= 0x39) ? 4 : 2;
    }
    if (end + length > limit) break;
    end += length;
  }
  return end;
}

RecordEncoder::RecordEncoder(std::vector<const SchemaField*> fields) : fields_(std::move(fields)) {
  for (const SchemaField* field : fields_) {
    offsets_.push_back(fixed_size_);
    fixed_size_ += field->width;
  }
}

std::string RecordEncoder::Encode(const SqlRow& row) const {
  std::string record(fixed_size_, '\0');
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    PutField(*fields_[i], row, static_cast<int>(i), offsets_[i], &record);
  }
  return record;
}

std::string EncodeStatRow(const StatStatement& statement, const SqlRow& row) {
  std::string value;
  const bool null = row.IsNull(0);
  const std::uint8_t type = statement.field ? statement.field->type : 4;
  switch (statement.function) {
    case kStatCount:
      Append(&value, static_cast<std::int32_t>(row.Integer(0)));
      return wire::EncodeStatResult(kResultOk, 4, value);
    case kStatAvg:
      if (null) return wire::EncodeStatResult(kResultFailed, 8, {});
      Append(&value, row.Real(0));
      return wire::EncodeStatResult(kResultOk, 8, value);
    case kStatSum:
      if (IsIntegerType(type) && type != 10) {
        Append(&value, static_cast<std::int64_t>(row.Integer(0)));
        return wire::EncodeStatResult(kResultOk, 5, value);
      }
      Append(&value, row.Real(0));
      return wire::EncodeStatResult(kResultOk, 8, value);
    default:
      break;
  }
  if (IsTextType(type)) {
    return wire::EncodeStatResult(null ? kResultFailed : kResultOk, 2, row.Text(0));
  }
  if (IsRealType(type)) {
    if (!null) Append(&value, row.Real(0));
    return wire::EncodeStatResult(null ? kResultFailed : kResultOk, 8, value);
  }
  const std::int64_t number = row.Integer(0);
  std::uint16_t value_type = 4;
  if (type == 5) {
    value_type = 5;
    Append(&value, number);
  } else if (type == 10) {
    value_type = 10;
    std::int32_t date = 0;
    std::int32_t time = 0;
    SplitDateTime(number, &date, &time);
    Append(&value, date);
    Append(&value, time);
  } else {
    Append(&value, static_cast<std::int32_t>(number));
  }
  if (null) value.clear();
  return wire::EncodeStatResult(null ? kResultFailed : kResultOk, value_type, value);
}

}  // namespace orbe::server
