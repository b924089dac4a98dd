// Whole-file helpers of CwFileUtil, used by the dictionary and file transfer.
#include <string_view>

#include "dictionary/dictionary_reader.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"

long CwFileUtil::filelength(FILE* file) {
  if (file == nullptr) return 0;
  const long position = std::ftell(file);
  if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long length = std::ftell(file);
  std::fseek(file, position, SEEK_SET);
  return length < 0 ? 0 : length;
}

long CwFileUtil::GetCwFileLen(const char* path) { return orbe::RegularFileLength(path); }

// Counts what was actually read: a file that shrank since its length was
// taken must not report records that are not in the buffer.
long CwFileUtil::GetCwFileData(const char* path, long size, void* buffer, long recordSize) {
  if (buffer == nullptr || size < 0 || recordSize <= 0) return 0;
  return static_cast<long>(orbe::ReadRegularFile(path, buffer, static_cast<std::size_t>(size))) / recordSize;
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
