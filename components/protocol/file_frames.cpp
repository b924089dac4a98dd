#include "protocol/file_frames.h"

#include <algorithm>
#include <cstring>

#include "protocol/wire_format.h"

namespace orbe::wire {
namespace {

template <typename T>
std::string BytesOf(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}

}  // namespace

std::optional<std::string> EncodeFileFrame(std::uint32_t request_id, std::string_view body) {
  const std::size_t total = kRequestHeaderSize + body.size();
  if (body.size() < 2 || total > kMaxFileServerLength) return std::nullopt;
  std::string frame(total, '\0');
  auto* header = reinterpret_cast<unsigned char*>(frame.data());
  std::memcpy(header, &request_id, sizeof request_id);
  header[offsetof(RequestHeader, marker)] = kRequestMarker;
  header[offsetof(RequestHeader, version)] = kProtocolVersion;
  StampFileFrameLength(header, total);
  std::memcpy(frame.data() + kRequestHeaderSize, body.data(), body.size());
  return frame;
}

std::string EncodeUploadStart(std::string_view remote_name, std::string_view digest, std::uint32_t length) {
  UploadStartBody body{};
  body.code = kCodeUploadStart;
  body.one = 1;
  body.two = 2;
  // The name is cut at 255 characters, as the field holds no more.
  PutFixedText(body.remote_name, sizeof body.remote_name, remote_name.substr(0, kRemotePathMax));
  std::copy_n(digest.begin(), std::min(digest.size(), sizeof body.digest), body.digest);
  body.file_length = length;
  body.chunk_count = UploadChunkCount(length);
  body.chunk_size = kUploadChunkSize;
  return BytesOf(body);
}

std::optional<std::string> EncodeDownloadStart(std::string_view remote_path, std::string_view digest) {
  DownloadStartBody body{};
  body.code = kCodeDownloadStart;
  if (!PutFixedText(body.remote_path, sizeof body.remote_path, remote_path)) return std::nullopt;
  std::copy_n(digest.begin(), std::min(digest.size(), sizeof body.digest), body.digest);
  return BytesOf(body);
}

std::optional<std::string> EncodeDeleteFile(std::string_view remote_path) {
  DeleteFileBody body{};
  body.code = kCodeDeleteFile;
  if (!PutFixedText(body.remote_path, sizeof body.remote_path, remote_path)) return std::nullopt;
  return BytesOf(body);
}

std::optional<std::string> EncodeReloadPath(std::string_view tag, std::uint8_t option,
                                            std::string_view remote_path) {
  ReloadPathBody body{};
  body.code = kCodeReloadPath;
  std::copy_n(tag.begin(), std::min(tag.size(), sizeof body.tag), body.tag);
  body.option = option;
  if (!PutFixedText(body.remote_path, sizeof body.remote_path, remote_path)) return std::nullopt;
  return BytesOf(body);
}

std::string EncodeUploadChunk(std::uint32_t index, std::uint32_t raw_length, std::string_view bytes) {
  const UploadChunkHead head{kCodeUploadChunk, index, raw_length};
  return BytesOf(head) + std::string(bytes);
}

}  // namespace orbe::wire
