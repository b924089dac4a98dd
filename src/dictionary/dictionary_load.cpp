// Loading the three dictionary files into a session's dictionary.
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/cw_file_util.h"

namespace orbe {
namespace {

// One allocation and one read; the count comes from the bytes actually read,
// a trailing partial record is ignored. nullopt if the file cannot be opened.
template <typename Record>
std::optional<std::vector<Record>> ReadRecordFile(const std::string& path) {
  const long length = CwFileUtil::GetCwFileLen(path.c_str());
  if (length < 0) return std::nullopt;
  const std::size_t capacity = static_cast<std::size_t>(length) / sizeof(Record) + 1;
  if (capacity > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  std::vector<Record> records(capacity);
  const long read = CwFileUtil::GetCwFileData(path.c_str(), length, records.data(), sizeof(Record));
  records.resize(static_cast<std::size_t>(read));
  return records;
}

template <typename Record>
std::vector<Record> RecordsOf(std::string_view bytes) {
  std::vector<Record> records(bytes.size() / sizeof(Record));
  if (!records.empty()) std::memcpy(static_cast<void*>(records.data()), bytes.data(), records.size() * sizeof(Record));
  return records;
}

bool LoadFiles(CwDictionary& dictionary, const std::string& directory) {
  if (auto constants = ReadRecordFile<ConstFileRecord>(directory + "constinfo.idx")) {
    dictionary.AdoptConstants(std::move(*constants));
  }
  auto tables = ReadRecordFile<TableFileRecord>(directory + "tableinfo.idx");
  if (!tables) return false;
  dictionary.AdoptTables(std::move(*tables));
  auto fields = ReadRecordFile<FieldFileRecord>(directory + "fieldinfo.idx");
  if (!fields) return false;
  dictionary.AdoptFields(std::move(*fields));
  return true;
}

}  // namespace

bool LoadDictionaryFiles(CwDictionary& dictionary, const std::string& directory) {
  dictionary.Clear();
  try {
    return LoadFiles(dictionary, directory);
  } catch (const std::bad_alloc&) {
    return false;  // a file too large to hold; what loaded before it stays
  }
}

void LoadDictionaryBytes(CwDictionary& dictionary, std::string_view constants, std::string_view tables,
                         std::string_view fields) {
  dictionary.Clear();
  dictionary.AdoptConstants(RecordsOf<ConstFileRecord>(constants));
  dictionary.AdoptTables(RecordsOf<TableFileRecord>(tables));
  dictionary.AdoptFields(RecordsOf<FieldFileRecord>(fields));
}

}  // namespace orbe
