// A dictionary table as the statement parsers see it: its key field and its
// fields by number or generated name, with their offsets.
#ifndef ORBE_DICTIONARY_SQL_TABLE_H_
#define ORBE_DICTIONARY_SQL_TABLE_H_

#include <cstdint>
#include <optional>
#include <string_view>

namespace orbe {

class CwDictionary;

namespace sql {

struct FieldView {
  std::uint8_t id = 0;  // low byte of the field number
  std::uint8_t type = 0;
  std::uint32_t width = 0;
  std::uint32_t offset = 0;  // sum of the widths of the table's earlier fields
};

class TableView {
 public:
  // Empty when the dictionary has no table of that number.
  static std::optional<TableView> Find(const CwDictionary& dictionary, std::int32_t table_number);

  int field_count() const { return field_count_; }
  // The field an INSERT must give a value for; 0 when none.
  std::uint8_t key_field() const { return key_field_; }

  // The first field, in record order, whose 16-bit number equals number.
  std::optional<FieldView> FieldByNumber(std::int32_t number) const;
  // The identifier of the field whose "T%03d" name equals text, ignoring case.
  std::optional<std::uint8_t> FieldIdByName(std::string_view text) const;
  // Every field's identifier in record order, at most max_count; the count written.
  int AllFieldIds(std::uint8_t* ids, int max_count) const;

 private:
  TableView(const CwDictionary& dictionary, std::uint32_t table_number, int field_count,
            std::uint8_t key_field)
      : dictionary_(&dictionary), table_number_(table_number), field_count_(field_count),
        key_field_(key_field) {}

  const CwDictionary* dictionary_;
  std::uint32_t table_number_;
  int field_count_;
  std::uint8_t key_field_;
};

}  // namespace sql
}  // namespace orbe

#endif  // ORBE_DICTIONARY_SQL_TABLE_H_
