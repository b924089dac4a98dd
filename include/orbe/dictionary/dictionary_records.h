// Records of the three dictionary files as the data service writes them, and
// the records that lookups hand to callers.
#ifndef ORBE_DICTIONARY_DICTIONARY_RECORDS_H_
#define ORBE_DICTIONARY_DICTIONARY_RECORDS_H_

#include <cstddef>
#include <cstdint>

// Little-endian only: the buffers are read in place, as the files hold them.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "dictionary files are little-endian");

#pragma pack(push, 1)

namespace orbe {

// tableinfo.idx: one record per table, no header.
struct TableFileRecord {
  std::uint8_t reserved[4];
  std::uint32_t table_number;
  char name[61];
  std::int16_t field_count;
  std::uint8_t key_field;  // the field an INSERT must give; 0 means none
  std::uint8_t reserved_tail[3];
};
static_assert(sizeof(TableFileRecord) == 75);
static_assert(offsetof(TableFileRecord, table_number) == 4);
static_assert(offsetof(TableFileRecord, name) == 8);
static_assert(offsetof(TableFileRecord, field_count) == 69);
static_assert(offsetof(TableFileRecord, key_field) == 71);

// fieldinfo.idx: one run of records per table, runs in table-file order.
struct FieldFileRecord {
  std::uint8_t reserved[4];
  std::int16_t field_number;  // its low byte identifies the field in requests
  std::uint8_t type;
  std::uint16_t width;
  char const_class[13];
  char name[61];
  std::uint8_t reserved_tail[17];
};
static_assert(sizeof(FieldFileRecord) == 100);
static_assert(offsetof(FieldFileRecord, field_number) == 4);
static_assert(offsetof(FieldFileRecord, type) == 6);
static_assert(offsetof(FieldFileRecord, width) == 7);
static_assert(offsetof(FieldFileRecord, const_class) == 9);
static_assert(offsetof(FieldFileRecord, name) == 22);

// constinfo.idx: one record per code of a constant class.
struct ConstFileRecord {
  std::uint8_t reserved[4];
  char const_class[13];
  char code[13];
  char text[61];
  char parent_code[13];
  char attribute_code[13];
};
static_assert(sizeof(ConstFileRecord) == 117);
static_assert(offsetof(ConstFileRecord, const_class) == 4);
static_assert(offsetof(ConstFileRecord, code) == 17);
static_assert(offsetof(ConstFileRecord, text) == 30);
static_assert(offsetof(ConstFileRecord, parent_code) == 91);
static_assert(offsetof(ConstFileRecord, attribute_code) == 104);

// Capacities of the caller-supplied arrays of the lookups.
inline constexpr int kMaxTables = 4000;
inline constexpr int kMaxFieldsPerTable = 200;
inline constexpr int kMaxConstsPerClass = 3000;

// Field type codes shared with the SQL parser and the reply decoder.
enum FieldType : std::uint8_t {
  kFieldConstCodes = 1,
  kFieldText = 2,
  kFieldInt16 = 3,
  kFieldInt32 = 4,
  kFieldInt64 = 5,
  kFieldUInt8 = 6,
  kFieldFloat = 7,
  kFieldDouble = 8,
  kFieldInt32Alt = 9,
  kFieldDateTime = 10,
  kFieldLongText = 11,
  kFieldLongTextAlt = 12,
};

}  // namespace orbe

// Records handed to callers: zero-filled, every text NUL-terminated.
struct tagMemTableInfo {
  std::uint32_t table_number;
  char name[61];
};
static_assert(sizeof(tagMemTableInfo) == 65);

struct tagMemFieldInfo {
  std::int32_t field_number;
  std::int32_t type;
  char name[61];
  std::uint32_t offset;  // sum of the widths of the table's earlier fields
  std::uint32_t width;
  char const_class[13];
};
static_assert(sizeof(tagMemFieldInfo) == 90);
static_assert(offsetof(tagMemFieldInfo, offset) == 69);
static_assert(offsetof(tagMemFieldInfo, const_class) == 77);

struct tagMemConstInfo {
  char const_class[13];
  char code[13];
  char text[61];
  char parent_code[13];
  char attribute_code[13];
};
static_assert(sizeof(tagMemConstInfo) == 113);

#pragma pack(pop)

#endif  // ORBE_DICTIONARY_DICTIONARY_RECORDS_H_
