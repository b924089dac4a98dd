// Whole-file helpers of CwFileUtil, used by the dictionary and file transfer.
#include <sys/stat.h>

#include <memory>
#include <string_view>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Only regular files have a length worth trusting: a folder opens for
// reading on Linux and reports a huge seek end.
FileHandle OpenRegularFile(const char* path) {
  if (path == nullptr) return nullptr;
  FileHandle file(std::fopen(path, "rb"));
  struct stat status {};
  if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
  return file;
}

}  // namespace

long CwFileUtil::filelength(FILE* file) {
  if (file == nullptr) return 0;
  const long position = std::ftell(file);
  if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long length = std::ftell(file);
  std::fseek(file, position, SEEK_SET);
  return length < 0 ? 0 : length;
}

long CwFileUtil::GetCwFileLen(const char* path) {
  const FileHandle file = OpenRegularFile(path);
  return file ? filelength(file.get()) : -1;
}

// Counts what was actually read: a file that shrank since its length was
// taken must not report records that are not in the buffer.
long CwFileUtil::GetCwFileData(const char* path, long size, void* buffer, long recordSize) {
  if (buffer == nullptr || size < 0 || recordSize <= 0) return 0;
  const FileHandle file = OpenRegularFile(path);
  if (!file) return 0;
  const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(size), file.get());
  return static_cast<long>(got) / recordSize;
}

// Written through a temporary file and renamed, so a crash never leaves a
// half-written dictionary file that the next start-up would load.
long CwFileUtil::PutCwFileData(const char* path, const void* buffer, long size) {
  if (path == nullptr || size < 0 || (buffer == nullptr && size > 0)) return 0;
  const std::string_view bytes(static_cast<const char*>(buffer), static_cast<std::size_t>(size));
  return orbe::WriteFileAtomically(path, bytes) ? 1 : 0;
}

CString CwFileUtil::GetFileMD5(const char* path) {
  if (path == nullptr) return CString();
  return orbe::FileMd5Hex(path);
}

CString CwFileUtil::GenUUID() { return orbe::NewUuidText(); }
