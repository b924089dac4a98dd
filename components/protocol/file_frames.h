// Request bodies and status replies of the file servers (codes 2500-2504,
// docs/protocol.md section 6). The frame header is the request header of the
// data port with the total length held as 16 bits, so a file-server frame is
// at most kMaxFileServerLength bytes.
#ifndef ORBE_PROTOCOL_FILE_FRAMES_H_
#define ORBE_PROTOCOL_FILE_FRAMES_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/wire_format.h"

namespace orbe::wire {

inline constexpr std::uint32_t kUploadChunkSize = 8192;
inline constexpr std::size_t kRemotePathMax = 255;
// Largest inflated download chunk a client accepts.
inline constexpr std::uint32_t kDownloadRawMax = 163840;
inline constexpr std::size_t kDownloadDataPrefix = 8;

// First byte of a status reply.
enum FileServerStatus : std::uint8_t {
  kFileOk = 0,
  kFilePacketError = 1,
  kFileBadPassword = 2,
  kFileStoreFull = 3,
  kFileMissing = 4,
  kFileBusy = 5,
  kFileExists = 6,
  kFileExistsToo = 7,
};

#pragma pack(push, 1)

struct UploadStartBody {
  std::uint16_t code;
  std::uint8_t one;  // 1
  std::uint8_t two;  // 2
  char remote_name[256];
  char digest[32];
  std::uint32_t file_length;
  std::uint32_t zero;
  std::uint32_t chunk_count;
  std::uint32_t chunk_size;  // kUploadChunkSize
};
static_assert(sizeof(UploadStartBody) == 308);
static_assert(offsetof(UploadStartBody, remote_name) == 4);
static_assert(offsetof(UploadStartBody, digest) == 260);
static_assert(offsetof(UploadStartBody, file_length) == 292);
static_assert(offsetof(UploadStartBody, chunk_count) == 300);
static_assert(offsetof(UploadStartBody, chunk_size) == 304);

// Followed by the chunk bytes: a zlib stream when shorter than raw_length.
struct UploadChunkHead {
  std::uint16_t code;
  std::uint32_t index;       // from 1
  std::uint32_t raw_length;  // bytes of the file this chunk carries
};
static_assert(sizeof(UploadChunkHead) == 10);

struct DownloadStartBody {
  std::uint16_t code;
  char remote_path[256];
  char digest[32];  // of the client's copy; anything else matches no file
};
static_assert(sizeof(DownloadStartBody) == 290);
static_assert(offsetof(DownloadStartBody, digest) == 258);

struct DeleteFileBody {
  std::uint16_t code;
  char remote_path[256];
};
static_assert(sizeof(DeleteFileBody) == 258);

struct ReloadPathBody {
  std::uint16_t code;
  char tag[32];  // caller's text, echoed in nothing; logged by the server
  std::uint8_t option;
  char remote_path[256];
};
static_assert(sizeof(ReloadPathBody) == 291);
static_assert(offsetof(ReloadPathBody, option) == 34);
static_assert(offsetof(ReloadPathBody, remote_path) == 35);

// The long status reply that starts a download: the 47 bytes behind the
// status describe the file that follows.
struct DownloadStatusReply {
  std::uint8_t status;
  char digest[32];  // of the server's file
  std::uint64_t file_length;
  std::uint32_t chunk_count;
  std::uint8_t reserved[3];
};
static_assert(sizeof(DownloadStatusReply) == 48);

// Precedes the zlib stream of each download data packet.
struct DownloadDataHead {
  std::uint32_t index;       // from 1
  std::uint32_t raw_length;  // inflated size, at most kDownloadRawMax
};
static_assert(sizeof(DownloadDataHead) == kDownloadDataPrefix);

#pragma pack(pop)

// Writes the file-server lengths into a request header: 16-bit total at 6 and
// 10, the bytes above each zero. False when the total exceeds the limit.
inline bool StampFileFrameLength(unsigned char* header, std::size_t total) {
  if (total > kMaxFileServerLength) return false;
  for (const std::size_t at : {std::size_t{6}, std::size_t{10}}) {
    header[at] = static_cast<unsigned char>(total & 0xFF);
    header[at + 1] = static_cast<unsigned char>(total >> 8);
    header[at + 2] = 0;
    header[at + 3] = 0;
  }
  return true;
}
// A whole frame (header, then `body` starting with its code); nullopt when too long.
std::optional<std::string> EncodeFileFrame(std::uint32_t request_id, std::string_view body);

// Copies `text` into a fixed field, NUL-padded; false (field untouched) when it
// does not fit with its terminator.
inline bool PutFixedText(char* field, std::size_t width, std::string_view text) {
  if (text.size() >= width) return false;
  std::memset(field, 0, width);
  std::memcpy(field, text.data(), text.size());
  return true;
}
// The text of a fixed field up to its first NUL.
inline std::string FixedText(const char* field, std::size_t width) {
  const void* end = std::memchr(field, '\0', width);
  return std::string(field, end != nullptr ? static_cast<const char*>(end) - field : width);
}

// A body of at least sizeof(T) bytes as T; nullopt when shorter.
template <typename T>
std::optional<T> LoadBody(std::string_view body) {
  if (body.size() < sizeof(T)) return std::nullopt;
  T value;
  std::memcpy(&value, body.data(), sizeof(T));
  return value;
}

std::string EncodeUploadStart(std::string_view remote_name, std::string_view digest, std::uint32_t length);
// nullopt for a name that does not fit.
std::optional<std::string> EncodeDownloadStart(std::string_view remote_path, std::string_view digest);
std::optional<std::string> EncodeDeleteFile(std::string_view remote_path);
std::optional<std::string> EncodeReloadPath(std::string_view tag, std::uint8_t option,
                                            std::string_view remote_path);
std::string EncodeUploadChunk(std::uint32_t index, std::uint32_t raw_length, std::string_view bytes);

// Number of 8192-byte chunks of a file (0 for an empty file).
inline std::uint32_t UploadChunkCount(std::uint64_t length) {
  return static_cast<std::uint32_t>((length + kUploadChunkSize - 1) / kUploadChunkSize);
}

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_FILE_FRAMES_H_
