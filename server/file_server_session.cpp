#include "file_server_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "file_server_paths.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "protocol/file_frames.h"
#include "protocol/replies.h"
#include "server_log.h"
#include "unique_fd.h"

namespace orbe::server {
namespace {

// Raw bytes per download data packet; well under the client's inflate limit.
constexpr std::size_t kDownloadPiece = 65536;

bool SendStatus(const ReplySink& sink, wire::ReplyTo to, std::uint8_t status) {
  std::string out;
  wire::AppendDataPacket(&out, to, 100, std::string(1, static_cast<char>(status)));
  wire::AppendEndPacket(&out, to, wire::kStatusComplete);
  return sink(out);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

struct FileServerSession::Upload {
  std::string target;
  std::string temporary;
  UniqueFd fd;
  Md5 md5;
  std::string digest;
  std::uint64_t length = 0;
  std::uint64_t written = 0;
  std::uint32_t chunk_count = 0;
  std::uint32_t next_chunk = 1;

  ~Upload() {
    if (fd.Valid()) ::unlink(temporary.c_str());
  }
};

FileServerSession::FileServerSession(std::string root, std::uint64_t max_file_bytes)
    : root_(std::move(root)), max_file_bytes_(max_file_bytes) {}

FileServerSession::~FileServerSession() = default;

bool FileServerSession::Handle(const wire::RequestFrame& frame, const ReplySink& sink) {
  const wire::ReplyTo to{frame.header.request_id, frame.code};
  switch (frame.code) {
    case wire::kCodeUploadStart:
      return SendStatus(sink, to, StartUpload(frame.body));
    case wire::kCodeUploadChunk:
      return SendStatus(sink, to, TakeChunk(frame.body));
    case wire::kCodeDownloadStart:
      return Download(frame, sink);
    case wire::kCodeDeleteFile:
      return SendStatus(sink, to, DeleteFile(frame.body));
    case wire::kCodeReloadPath:
      return SendStatus(sink, to, ReloadPath(frame.body));
    case wire::kCodeKeepAlive: {
      std::string out;
      wire::AppendEndPacket(&out, to, wire::kStatusComplete);
      return sink(out);
    }
    default: {
      std::string out;
      wire::AppendEndPacket(&out, to, wire::kStatusUnknownCode);
      return sink(out);
    }
  }
}

std::uint8_t FileServerSession::StartUpload(std::string_view body) {
  upload_.reset();  // a new start abandons the previous upload
  const auto start = wire::LoadBody<wire::UploadStartBody>(body);
  if (!start || start->chunk_size != wire::kUploadChunkSize ||
      start->chunk_count != wire::UploadChunkCount(start->file_length)) {
    return wire::kFilePacketError;
  }
  if (start->file_length > max_file_bytes_) return wire::kFileStoreFull;
  const std::string remote = wire::FixedText(start->remote_name, sizeof start->remote_name);
  const auto target = ResolveInRoot(root_, remote, PathUse::kWrite);
  if (!target) {
    LogLine(LogLevel::kWarn, "file server: upload path refused: %s", remote.c_str());
    return wire::kFilePacketError;
  }
  const std::string digest(start->digest, sizeof start->digest);
  if (FileExists(*target) && FileMd5Hex(*target) == digest) return wire::kFileExists;
  auto upload = std::make_unique<Upload>();
  upload->target = *target;
  upload->temporary = *target + ".upload.XXXXXX";
  upload->fd = UniqueFd(::mkstemp(upload->temporary.data()));
  if (!upload->fd.Valid()) return wire::kFileStoreFull;
  upload->digest = digest;
  upload->length = start->file_length;
  upload->chunk_count = start->chunk_count;
  upload_ = std::move(upload);
  if (upload_->chunk_count == 0) return FinishUpload();
  return wire::kFileOk;
}

std::uint8_t FileServerSession::TakeChunk(std::string_view body) {
  const auto head = wire::LoadBody<wire::UploadChunkHead>(body);
  if (!upload_ || !head) return wire::kFilePacketError;
  const std::uint64_t expected_raw =
      std::min<std::uint64_t>(wire::kUploadChunkSize, upload_->length - upload_->written);
  const std::string_view data = body.substr(sizeof(wire::UploadChunkHead));
  if (head->index != upload_->next_chunk || head->raw_length != expected_raw) {
    upload_.reset();
    return wire::kFilePacketError;
  }
  std::optional<std::string> bytes;
  if (data.size() == expected_raw) {
    bytes = std::string(data);
  } else {
    bytes = Uncompress(data, expected_raw);
  }
  if (!bytes || bytes->size() != expected_raw || !WriteAll(upload_->fd.Get(), *bytes)) {
    upload_.reset();
    return wire::kFilePacketError;
  }
  upload_->md5.Update(*bytes);
  upload_->written += bytes->size();
  ++upload_->next_chunk;
  if (upload_->next_chunk > upload_->chunk_count) return FinishUpload();
  return wire::kFileOk;
}

std::uint8_t FileServerSession::FinishUpload() {
  std::unique_ptr<Upload> upload = std::move(upload_);
  if (DigestHex(upload->md5.Final()) != upload->digest) {
    LogLine(LogLevel::kWarn, "file server: upload of %s failed its MD5 check", upload->target.c_str());
    return wire::kFilePacketError;
  }
  if (::fsync(upload->fd.Get()) != 0 || ::rename(upload->temporary.c_str(), upload->target.c_str()) != 0) {
    return wire::kFileStoreFull;
  }
  upload->fd.Reset();  // renamed: nothing left to remove
  return wire::kFileOk;
}

bool FileServerSession::Download(const wire::RequestFrame& frame, const ReplySink& sink) {
  const wire::ReplyTo to{frame.header.request_id, frame.code};
  const auto start = wire::LoadBody<wire::DownloadStartBody>(frame.body);
  if (!start) return SendStatus(sink, to, wire::kFilePacketError);
  const std::string remote = wire::FixedText(start->remote_path, sizeof start->remote_path);
  const auto path = ResolveInRoot(root_, remote, PathUse::kRead);
  if (!path) return SendStatus(sink, to, wire::kFileMissing);
  std::ifstream in(*path, std::ios::binary);
  const std::string digest = FileMd5Hex(*path);
  const auto identity = IdentifyFile(*path);
  if (!in || digest.empty() || !identity) return SendStatus(sink, to, wire::kFileMissing);
  // The client's copy is already this file: nothing follows the start.
  const bool unchanged = std::string_view(start->digest, sizeof start->digest) == digest;
  wire::DownloadStatusReply status{};
  std::copy(digest.begin(), digest.end(), status.digest);
  const std::uint64_t length = identity->size;
  status.file_length = length;
  status.chunk_count =
      unchanged ? 0
                : static_cast<std::uint32_t>(
                      std::max<std::uint64_t>(1, (length + kDownloadPiece - 1) / kDownloadPiece));
  std::string out;
  wire::AppendDataPacket(&out, to, 0,
                         std::string_view(reinterpret_cast<const char*>(&status), sizeof status));
  if (!sink(out)) return false;
  std::vector<char> piece(kDownloadPiece);
  std::uint64_t sent = 0;
  for (std::uint32_t index = 1; index <= status.chunk_count; ++index) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    const std::string_view raw(piece.data(), static_cast<std::size_t>(in.gcount()));
    sent += raw.size();
    const wire::DownloadDataHead head{index, static_cast<std::uint32_t>(raw.size())};
    std::string payload(reinterpret_cast<const char*>(&head), sizeof head);
    payload += Compress(raw);
    out.clear();
    const std::int32_t progress = length == 0 ? 100 : static_cast<std::int32_t>(sent * 100 / length);
    wire::AppendDataPacket(&out, to, progress, payload);
    if (!sink(out)) return false;
  }
  out.clear();
  wire::AppendEndPacket(&out, to,
                        sent == length || unchanged ? wire::kStatusComplete : wire::kStatusServerError);
  return sink(out);
}

std::uint8_t FileServerSession::DeleteFile(std::string_view body) {
  const auto request = wire::LoadBody<wire::DeleteFileBody>(body);
  if (!request) return wire::kFilePacketError;
  const std::string remote = wire::FixedText(request->remote_path, sizeof request->remote_path);
  const auto path = ResolveInRoot(root_, remote, PathUse::kRead);
  if (!path) return wire::kFileMissing;
  return ::unlink(path->c_str()) == 0 ? wire::kFileOk : wire::kFileBusy;
}

// The server keeps no state per path; reloading confirms that the path is
// there to be read, so a client learns at once when it is not.
std::uint8_t FileServerSession::ReloadPath(std::string_view body) {
  const auto request = wire::LoadBody<wire::ReloadPathBody>(body);
  if (!request) return wire::kFilePacketError;
  const std::string remote = wire::FixedText(request->remote_path, sizeof request->remote_path);
  const auto path = ResolveInRoot(root_, remote, PathUse::kAny);
  LogLine(LogLevel::kInfo, "file server: reload %s (option %u): %s", remote.c_str(), request->option,
          path ? "present" : "missing");
  return path ? wire::kFileOk : wire::kFileMissing;
}

}  // namespace orbe::server
