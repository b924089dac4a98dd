// Making the three dictionary files from a schema held in memory: used by
// orbe-dicttool, by tests and by the data server that serves the files. The
// reader is dictionary/dictionary_reader.h.
#ifndef ORBE_COMPONENTS_DICTIONARY_DICTIONARY_WRITER_H_
#define ORBE_COMPONENTS_DICTIONARY_DICTIONARY_WRITER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace orbe {

// Texts are GBK.
struct SchemaField {
  std::int16_t number = 0;
  std::uint8_t type = 0;
  std::uint16_t width = 0;
  std::string const_class;
  std::string name;
};

struct SchemaTable {
  std::uint32_t number = 0;
  std::uint8_t key_field = 0;
  std::string name;
  std::vector<SchemaField> fields;
};

struct SchemaConst {
  std::string const_class;
  std::string code;
  std::string text;
  std::string parent_code;
  std::string attribute_code;
};

struct DictionarySchema {
  std::vector<SchemaTable> tables;
  std::vector<SchemaConst> constants;
};

// Longest texts a record holds, in bytes, without the terminating NUL.
inline constexpr std::size_t kMaxNameBytes = 60;
inline constexpr std::size_t kMaxCodeBytes = 12;
inline constexpr std::size_t kMaxFieldRun = 32767;

// The bytes of constinfo.idx, tableinfo.idx and fieldinfo.idx.
struct DictionaryFiles {
  std::string constants;
  std::string tables;
  std::string fields;
};

// "" when every text fits its record field, every text is free of NUL bytes
// and every table's field count fits the file's 16-bit count; otherwise
// what is wrong, naming the table, field or constant.
std::string CheckSchema(const DictionarySchema& schema);

// Unused record bytes are zero. Texts that do not fit are cut as a bounded
// copy cuts them: call CheckSchema first to refuse them instead.
DictionaryFiles BuildDictionaryFiles(const DictionarySchema& schema);

// Writes the three files into directory (ending in a separator), each
// replaced atomically; with compress also tableinfo.idx.compress and
// fieldinfo.idx.compress as the file server sends them. False on the first
// write that fails.
bool WriteDictionaryFiles(const DictionaryFiles& files, const std::string& directory, bool compress);

}  // namespace orbe

#endif  // ORBE_COMPONENTS_DICTIONARY_DICTIONARY_WRITER_H_
