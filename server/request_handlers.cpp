#include "request_handlers.h"

#include <algorithm>
#include <array>

#include "procedure_handlers.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "protocol/wire_format.h"
#include "server_log.h"
#include "statement_executor.h"

namespace orbe::server {
namespace {

using wire::ReplyTo;

using Handler = std::int32_t (*)(const ServiceContext&, const wire::RequestFrame&, ReplyTo, std::string*);

std::int32_t Finish(std::string* out, ReplyTo to, std::int32_t status) {
  wire::AppendEndPacket(out, to, status);
  return status;
}

std::int32_t HostLoad(const ServiceContext& context, const wire::RequestFrame&, ReplyTo to, std::string* out) {
  wire::AppendDataPacket(out, to, 100, wire::EncodeHostLoadBody({context.live_connections->load(), context.capacity}));
  return Finish(out, to, wire::kStatusComplete);
}

std::int32_t KeepAlive(const ServiceContext&, const wire::RequestFrame&, ReplyTo to, std::string* out) {
  return Finish(out, to, wire::kStatusComplete);
}

std::int32_t TableTimeStamp(const ServiceContext& context, const wire::RequestFrame& frame, ReplyTo to,
                            std::string* out) {
  const auto table = wire::DecodeTableRequest(frame.body);
  if (!table) return Finish(out, to, wire::kStatusMalformed);
  std::int64_t stamp = 0;
  switch (TableStamp(*context.reader, *table, &stamp)) {
    case StampLookup::kFailed:
      return Finish(out, to, wire::kStatusServerError);
    case StampLookup::kUnknownTable:
      wire::AppendDataPacket(out, to, 100, wire::EncodeTimeStampBody({wire::kTableUnknown, -1}));
      break;
    case StampLookup::kFound:
      wire::AppendDataPacket(out, to, 100, wire::EncodeTimeStampBody({wire::kTableKnown, stamp}));
      break;
  }
  return Finish(out, to, wire::kStatusComplete);
}

void AppendFileChunks(std::string* out, ReplyTo to, const std::string& bytes) {
  if (bytes.empty()) {
    wire::AppendDataPacket(out, to, 100, {});
    return;
  }
  for (std::size_t sent = 0; sent < bytes.size();) {
    const std::size_t chunk = std::min<std::size_t>(wire::kFileChunkSize, bytes.size() - sent);
    const std::string_view piece(bytes.data() + sent, chunk);
    sent += chunk;
    wire::AppendDataPacket(out, to, static_cast<std::int32_t>(sent * 100 / bytes.size()), piece);
  }
}

std::int32_t FileFetch(const ServiceContext& context, const wire::RequestFrame& frame, ReplyTo to,
                       std::string* out) {
  const auto request = wire::DecodeFileFetchRequest(frame.body);
  if (!request) return Finish(out, to, wire::kStatusMalformed);
  const FetchAnswer answer = context.files->Fetch(request->name, request->digest);
  switch (answer.outcome) {
    case FetchOutcome::kBadName:
      return Finish(out, to, wire::kStatusMalformed);
    case FetchOutcome::kNotFound:
      return Finish(out, to, wire::kStatusNotFound);
    case FetchOutcome::kUnchanged:
      break;
    case FetchOutcome::kContent:
      AppendFileChunks(out, to, *answer.bytes);
      break;
  }
  return Finish(out, to, wire::kStatusComplete);
}

// The statement requests run over the storage with the whole frame body.
template <std::int32_t (*Run)(Storage&, SqlConnection&, std::string_view, ReplyTo, std::string*)>
std::int32_t Statement(const ServiceContext& context, const wire::RequestFrame& frame, ReplyTo to,
                       std::string* out) {
  return Run(*context.storage, *context.reader, frame.body, to, out);
}

struct HandlerEntry {
  std::uint16_t code;
  const char* name;
  Handler handler;
};

constexpr std::array<HandlerEntry, 13> kHandlers = {{
    {wire::kCodeHostLoad, "host-load", HostLoad},
    {wire::kCodeKeepAlive, "keep-alive", KeepAlive},
    {wire::kCodeTableTimeStamp, "time-stamp", TableTimeStamp},
    {wire::kCodeFileFetch, "file-fetch", FileFetch},
    {wire::kCodeSelect, "select", Statement<RunSelect>},
    {wire::kCodeFlush, "flush", Statement<RunFlush>},
    {wire::kCodeDelete, "delete", Statement<RunDelete>},
    {wire::kCodeUpdate, "update", Statement<RunUpdate>},
    {wire::kCodeInsert, "insert", Statement<RunInsert>},
    {wire::kCodeStatistics, "statistics", Statement<RunStatistics>},
    {wire::kCodeTimeStampIncrease, "stamp-increase", Statement<RunStampIncrease>},
    {wire::kCodeCall, "call", HandleCall},
    {wire::kCodeReload, "reload", HandleReload},
}};

const HandlerEntry* FindHandler(std::uint16_t code) {
  const auto found = std::find_if(kHandlers.begin(), kHandlers.end(),
                                  [code](const HandlerEntry& entry) { return entry.code == code; });
  return found == kHandlers.end() ? nullptr : &*found;
}

}  // namespace

const char* RequestName(std::uint16_t code) {
  const HandlerEntry* entry = FindHandler(code);
  return entry ? entry->name : "unknown";
}

std::int32_t HandleRequest(const ServiceContext& context, const wire::RequestFrame& frame, std::string_view peer,
                           std::string* out) {
  const ReplyTo to{frame.header.request_id, frame.code};
  const HandlerEntry* entry = FindHandler(frame.code);
  if (entry == nullptr) return Finish(out, to, wire::kStatusUnknownCode);
  if (!context.writable && !wire::IsReadRequest(frame.code)) {
    LogLine(LogLevel::kWarn, "%.*s: %s refused: the server is read-only (no --writable)",
            static_cast<int>(peer.size()), peer.data(), entry->name);
    return Finish(out, to, wire::kStatusRefused);
  }
  return entry->handler(context, frame, to, out);
}

}  // namespace orbe::server
