// The dictionary of one session: the service's tables, fields and constants
// as loaded from the three dictionary files.
#ifndef ORBE_DICTIONARY_CW_DICTIONARY_H_
#define ORBE_DICTIONARY_CW_DICTIONARY_H_

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orbe/dictionary/dictionary_records.h"

namespace orbe {

// The three files' records exactly as stored, plus indexes built when a
// buffer is replaced. Every lookup answers what a scan in file order would
// (first match wins) without scanning. Read-only between loads.
class CwDictionary {
 public:
  // Where one table's field records lie. first_field is the running sum of
  // the field counts of the table records before it, as the file format
  // defines; [begin, end) is the part of the run inside the field buffer.
  struct TableRun {
    std::int32_t table_record = 0;
    std::int64_t first_field = 0;
    std::int32_t begin = 0;
    std::int32_t end = 0;
  };

  // A field found through an index, with its offset in a reply record.
  struct FieldHit {
    std::int32_t field_record = 0;
    std::uint32_t offset = 0;
  };

  CwDictionary() = default;
  CwDictionary(const CwDictionary&) = delete;
  CwDictionary& operator=(const CwDictionary&) = delete;

  // Replace one buffer (the records are the file's bytes) and rebuild the
  // indexes that depend on it.
  void AdoptConstants(std::vector<ConstFileRecord> records);
  void AdoptTables(std::vector<TableFileRecord> records);
  void AdoptFields(std::vector<FieldFileRecord> records);
  void Clear();

  // Changes whenever a buffer is replaced and is never shared by two states of
  // any dictionary of the process, so that what was derived from one state
  // (a parsed statement, say) is never taken for another's.
  std::uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }

  std::int32_t ConstCount() const { return static_cast<std::int32_t>(constants_.size()); }
  std::int32_t TableCount() const { return static_cast<std::int32_t>(tables_.size()); }
  std::int32_t FieldCount() const { return static_cast<std::int32_t>(fields_.size()); }
  std::span<const ConstFileRecord> Constants() const { return constants_; }
  std::span<const TableFileRecord> Tables() const { return tables_; }
  std::span<const FieldFileRecord> Fields() const { return fields_; }

  // The first table record with this number; nullptr if none.
  const TableRun* FindTable(std::uint32_t table_number) const;
  const TableFileRecord* FindTableRecord(std::uint32_t table_number) const;
  // The first field of the table with this number / this name (ASCII case
  // ignored); nullptr if none.
  const FieldHit* FindFieldByNumber(std::uint32_t table_number, std::int16_t field_number) const;
  const FieldHit* FindFieldByName(std::uint32_t table_number, std::string_view name) const;
  // Indexes of the constant records of a class in file order; nullptr if none.
  const std::vector<std::int32_t>* FindConstClass(std::string_view const_class) const;
  // The first constant with this class and code (exact bytes); nullptr if none.
  const ConstFileRecord* FindConst(std::string_view const_class, std::string_view code) const;

  // Lookups with the results, capacities and zero-filling of CwFileUtil's
  // (dictionary_lookup.cpp). Output arrays have the capacities of
  // dictionary_records.h; a null output gives 0 or false.
  long GetAllTable(tagMemTableInfo* tables) const;
  long GetFieldInfo(std::uint32_t table_number, tagMemFieldInfo* fields) const;
  bool GetOneFieldInfo(std::uint32_t table_number, std::string_view field_text, tagMemFieldInfo* field) const;
  bool GetOneFieldInfo2(std::uint32_t table_number, std::string_view field_name, tagMemFieldInfo* field) const;
  long GetFieldID(std::uint32_t table_number, unsigned char* ids, long max_count) const;
  bool GetOneFieldID(std::uint32_t table_number, std::string_view field_text, unsigned char* id) const;
  long GetConstList(std::string_view const_class, tagMemConstInfo* consts) const;
  tagMemConstInfo GetConst(std::string_view const_class, std::string_view code) const;

 private:
  void IndexTablesAndFields();
  void IndexConstants();
  static std::uint64_t NextGeneration();

  std::vector<ConstFileRecord> constants_;
  std::vector<TableFileRecord> tables_;
  std::vector<FieldFileRecord> fields_;

  std::unordered_map<std::uint32_t, TableRun> tables_by_number_;
  // Key: table number in the high 32 bits, 16-bit field number below.
  std::unordered_map<std::uint64_t, FieldHit> fields_by_number_;
  // Key: 4 bytes of table number, then the upper-cased field name.
  std::unordered_map<std::string, FieldHit> fields_by_name_;
  // Key: class text; value: record indexes in file order.
  std::unordered_map<std::string, std::vector<std::int32_t>> consts_by_class_;
  // Key: class text, NUL, code text.
  std::unordered_map<std::string, std::int32_t> const_by_code_;
  std::atomic<std::uint64_t> generation_{NextGeneration()};
};

// Loads the three files from directory (ending in a separator) into the
// dictionary, as LoadCWSysData does (dictionary_load.cpp).
bool LoadDictionaryFiles(CwDictionary& dictionary, const std::string& directory);
// The same from file contents held in memory; a trailing partial record is ignored.
void LoadDictionaryBytes(CwDictionary& dictionary, std::string_view constants, std::string_view tables,
                         std::string_view fields);

}  // namespace orbe

#endif  // ORBE_DICTIONARY_CW_DICTIONARY_H_
