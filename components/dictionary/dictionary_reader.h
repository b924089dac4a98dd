// Reading the three dictionary files into their records, bounded by what the
// files actually hold: used by the module's sessions, by orbe-dicttool and by
// tests.
#ifndef ORBE_COMPONENTS_DICTIONARY_DICTIONARY_READER_H_
#define ORBE_COMPONENTS_DICTIONARY_DICTIONARY_READER_H_

#include <cstddef>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/dictionary/dictionary_records.h"

namespace orbe {

// The length of a regular file; -1 for anything else (a folder opens for
// reading on Linux and reports a huge length).
long RegularFileLength(const char* path);
// Reads at most `size` bytes of a regular file into `buffer` and returns how
// many it read; 0 when the file cannot be opened as a regular file.
std::size_t ReadRegularFile(const char* path, void* buffer, std::size_t size);

// The records of one file, read with one allocation. The count comes from the
// bytes actually read, so a file that shrinks meanwhile never yields records
// that are not in the buffer; a trailing partial record is ignored. nullopt
// when the file is no regular file. May throw std::bad_alloc.
template <typename Record>
std::optional<std::vector<Record>> ReadRecordFile(const std::string& path) {
  const long length = RegularFileLength(path.c_str());
  if (length < 0) return std::nullopt;
  const std::size_t capacity = static_cast<std::size_t>(length) / sizeof(Record) + 1;
  if (capacity > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  std::vector<Record> records(capacity);
  const std::size_t read = ReadRegularFile(path.c_str(), records.data(), static_cast<std::size_t>(length));
  records.resize(read / sizeof(Record));
  return records;
}

// The whole records of file contents held in memory.
template <typename Record>
std::vector<Record> RecordsOf(std::string_view bytes) {
  std::vector<Record> records(bytes.size() / sizeof(Record));
  if (!records.empty()) std::memcpy(static_cast<void*>(records.data()), bytes.data(), records.size() * sizeof(Record));
  return records;
}

// The three files of one folder (ending in a separator); each nullopt when it
// cannot be read or is too large to hold.
struct DictionaryRecords {
  std::optional<std::vector<ConstFileRecord>> constants;
  std::optional<std::vector<TableFileRecord>> tables;
  std::optional<std::vector<FieldFileRecord>> fields;
};
DictionaryRecords ReadDictionaryFiles(const std::string& directory);

}  // namespace orbe

#endif  // ORBE_COMPONENTS_DICTIONARY_DICTIONARY_READER_H_
