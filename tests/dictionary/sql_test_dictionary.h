// A small dictionary for the statement parser tests, built in memory with the
// dictionary writer (no binary fixtures).
#ifndef ORBE_TESTS_DICTIONARY_SQL_TEST_DICTIONARY_H_
#define ORBE_TESTS_DICTIONARY_SQL_TEST_DICTIONARY_H_

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "orbe/dictionary/cw_dictionary.h"

namespace orbe::sql_test {

// Table 100000013: one field of every type; offsets are running width sums.
//   T001 text 10 @0    T002 text 10 @10   T003 codes 12 @20  T004 int32 4 @32
//   T005 int16 2 @36   T006 int64 8 @38   T007 uint8 1 @46   T008 float 4 @47
//   T009 double 8 @51  T010 datetime 8 @59 T011 long text 4 @67 T012 int32 4 @71
inline constexpr std::uint32_t kWideTable = 100000013;
// Table 5: T001, T002 text 10; T003 int32. No key field.
inline constexpr std::uint32_t kTextTable = 5;
// Table 6: T001, T002 int32. Table 7: T001..T003 int32, key field 3.
inline constexpr std::uint32_t kNumberTable = 6;
inline constexpr std::uint32_t kKeyedTable = 7;
// Table 8: T001 int32, T130 int16, T300 int32 (identifier 44).
inline constexpr std::uint32_t kHighFieldTable = 8;
// Table 9: 250 int32 fields T001..T250.
inline constexpr std::uint32_t kManyFieldTable = 9;

inline SchemaField Field(std::int16_t number, std::uint8_t type, std::uint16_t width) {
  return SchemaField{number, type, width, "", "F" + std::to_string(number)};
}

inline DictionarySchema TestSchema() {
  DictionarySchema schema;
  schema.tables.push_back({kWideTable, 0, "wide", {Field(1, 2, 10), Field(2, 2, 10), Field(3, 1, 12),
                                                   Field(4, 4, 4), Field(5, 3, 2), Field(6, 5, 8),
                                                   Field(7, 6, 1), Field(8, 7, 4), Field(9, 8, 8),
                                                   Field(10, 10, 8), Field(11, 11, 4), Field(12, 9, 4)}});
  schema.tables.push_back({kTextTable, 0, "text", {Field(1, 2, 10), Field(2, 2, 10), Field(3, 4, 4)}});
  schema.tables.push_back({kNumberTable, 0, "numbers", {Field(1, 4, 4), Field(2, 4, 4)}});
  schema.tables.push_back({kKeyedTable, 3, "keyed", {Field(1, 4, 4), Field(2, 4, 4), Field(3, 4, 4)}});
  schema.tables.push_back({kHighFieldTable, 0, "high", {Field(1, 4, 4), Field(130, 3, 2), Field(300, 4, 4)}});
  SchemaTable many{kManyFieldTable, 0, "many", {}};
  for (std::int16_t n = 1; n <= 250; ++n) many.fields.push_back(Field(n, 4, 4));
  schema.tables.push_back(many);
  return schema;
}

class TestDictionary {
 public:
  TestDictionary() {
    const DictionaryFiles files = BuildDictionaryFiles(TestSchema());
    LoadDictionaryBytes(dictionary_, files.constants, files.tables, files.fields);
  }
  const CwDictionary& get() const { return dictionary_; }

 private:
  CwDictionary dictionary_;
};

// Reads a little-endian value at a byte offset of any record.
template <typename T, typename Record>
T ReadAt(const Record& record, std::size_t offset) {
  T value;
  std::memcpy(&value, reinterpret_cast<const std::uint8_t*>(&record) + offset, sizeof value);
  return value;
}

template <typename T>
T ReadBytes(const std::uint8_t* bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

inline std::string BytesAt(const std::uint8_t* bytes, std::size_t offset, std::size_t length) {
  return std::string(reinterpret_cast<const char*>(bytes) + offset, length);
}

template <typename Record>
std::string RecordBytes(const Record& record, std::size_t offset, std::size_t length) {
  return BytesAt(reinterpret_cast<const std::uint8_t*>(&record), offset, length);
}

}  // namespace orbe::sql_test

#endif  // ORBE_TESTS_DICTIONARY_SQL_TEST_DICTIONARY_H_
