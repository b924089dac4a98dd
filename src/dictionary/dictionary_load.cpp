// Loading the three dictionary files into a session's dictionary.
#include <new>
#include <utility>

#include "dictionary/dictionary_files.h"
#include "dictionary/dictionary_reader.h"
#include "orbe/dictionary/cw_dictionary.h"

namespace orbe {
namespace {

bool LoadFiles(CwDictionary& dictionary, const std::string& directory) {
  if (auto constants = ReadRecordFile<ConstFileRecord>(directory + kConstFileName)) {
    dictionary.AdoptConstants(std::move(*constants));
  }
  auto tables = ReadRecordFile<TableFileRecord>(directory + kTableFileName);
  if (!tables) return false;
  dictionary.AdoptTables(std::move(*tables));
  auto fields = ReadRecordFile<FieldFileRecord>(directory + kFieldFileName);
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
