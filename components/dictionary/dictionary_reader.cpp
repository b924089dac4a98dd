#include "dictionary/dictionary_reader.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <new>

#include "dictionary/dictionary_files.h"

namespace orbe {
namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

FileHandle OpenRegularFile(const char* path) {
  if (path == nullptr) return nullptr;
  FileHandle file(std::fopen(path, "rb"));
  struct stat status {};
  if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
  return file;
}

// A file too large to hold reads as one that cannot be read.
template <typename Record>
std::optional<std::vector<Record>> ReadOrNothing(const std::string& path) {
  try {
    return ReadRecordFile<Record>(path);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

long RegularFileLength(const char* path) {
  const FileHandle file = OpenRegularFile(path);
  if (!file) return -1;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return 0;
  const long length = std::ftell(file.get());
  return length < 0 ? 0 : length;
}

std::size_t ReadRegularFile(const char* path, void* buffer, std::size_t size) {
  const FileHandle file = OpenRegularFile(path);
  if (!file || buffer == nullptr) return 0;
  return std::fread(buffer, 1, size, file.get());
}

DictionaryRecords ReadDictionaryFiles(const std::string& directory) {
  DictionaryRecords records;
  records.constants = ReadOrNothing<ConstFileRecord>(directory + kConstFileName);
  records.tables = ReadOrNothing<TableFileRecord>(directory + kTableFileName);
  records.fields = ReadOrNothing<FieldFileRecord>(directory + kFieldFileName);
  return records;
}

}  // namespace orbe
