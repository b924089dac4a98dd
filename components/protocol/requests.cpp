#include "protocol/requests.h"

#include <algorithm>
#include <cstring>

#include "protocol/byte_order.h"

namespace orbe::wire {
namespace {

std::string_view UpToNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

std::string EncodeRequestFrame(std::uint32_t request_id, std::string_view body) {
  const std::size_t total = kRequestHeaderSize + body.size();
  if (body.size() < sizeof(std::uint16_t) || total > kMaxRequestLength) return {};
  RequestHeader header{};
  header.request_id = request_id;
  header.marker = kRequestMarker;
  header.version = kProtocolVersion;
  header.total_length = static_cast<std::uint32_t>(total);
  std::string frame;
  frame.reserve(total);
  Append(&frame, header);
  frame.append(body);
  return frame;
}

std::string EncodeRequest(std::uint32_t request_id, std::uint16_t code, std::string_view rest) {
  return EncodeRequestFrame(request_id, EncodeCodeBody(code).append(rest));
}

std::string EncodeHostLoadRequest(std::uint32_t request_id) {
  return EncodeRequestFrame(request_id, EncodeCodeBody(kCodeHostLoad));
}

std::string EncodeKeepAliveRequest(std::uint32_t request_id) {
  return EncodeRequestFrame(request_id, EncodeCodeBody(kCodeKeepAlive));
}

std::string EncodeTableRequest(std::uint32_t request_id, std::uint16_t code, std::int32_t table) {
  return EncodeRequestFrame(request_id, EncodeTableBody(code, table));
}

std::string EncodeFileFetchRequest(std::uint32_t request_id, std::string_view digest, std::string_view name) {
  const std::string body = EncodeFileFetchBody(digest, name);
  return body.empty() ? std::string() : EncodeRequestFrame(request_id, body);
}

std::string EncodeCodeBody(std::uint16_t code) {
  std::string body;
  Append(&body, code);
  return body;
}

std::string EncodeTableBody(std::uint16_t code, std::int32_t table) {
  std::string body = EncodeCodeBody(code);
  Append(&body, table);
  return body;
}

std::string EncodeFileFetchBody(std::string_view digest, std::string_view name) {
  if (name.empty() || name.size() > kMaxFileNameSize) return {};
  std::string body = EncodeCodeBody(kCodeFileFetch);
  body.append(digest.size() == kDigestTextSize ? digest : std::string(kDigestTextSize, '\0'));
  Append(&body, static_cast<std::uint32_t>(name.size()));
  body.append(name);
  return body;
}

std::string EncodeCallBody(std::uint16_t code, std::string_view name, std::string_view parameters) {
  std::string body(kCallParameterOffset, '\0');
  StoreAt(&body, 0, code);
  std::copy_n(name.begin(), std::min(name.size(), kCallNameSize), body.begin() + kCallNameOffset);
  StoreAt(&body, kCallParameterLengthOffset, static_cast<std::uint32_t>(parameters.size()));
  body.append(parameters);
  return body;
}

bool StampRequestHeader(unsigned char* header, std::uint32_t request_id) {
  RequestHeader fields;
  std::memcpy(&fields, header, sizeof(fields));
  fields.request_id = request_id;
  fields.marker = kRequestMarker;
  fields.version = kProtocolVersion;
  std::memcpy(header, &fields, sizeof(fields));
  return ValidRequestHeaderLength(fields.total_length);
}

bool ValidRequestHeaderLength(std::uint32_t length) {
  return length >= kMinRequestLength && length <= kMaxRequestLength;
}

std::optional<std::int32_t> DecodeTableRequest(std::string_view body) {
  if (body.size() < kTableBodySize) return std::nullopt;
  return LoadAt<std::int32_t>(body, sizeof(std::uint16_t));
}

std::optional<FileFetchRequest> DecodeFileFetchRequest(std::string_view body) {
  if (body.size() < kFetchNameOffset) return std::nullopt;
  const auto name_length = LoadAt<std::uint32_t>(body, kFetchNameLengthOffset);
  if (name_length == 0 || name_length > kMaxFileNameSize) return std::nullopt;
  if (body.size() - kFetchNameOffset < name_length) return std::nullopt;
  FileFetchRequest request;
  request.digest.assign(body.substr(kFetchDigestOffset, kDigestTextSize));
  request.name.assign(body.substr(kFetchNameOffset, name_length));
  return request;
}

std::optional<CallRequest> DecodeCallRequest(std::string_view body) {
  if (body.size() < kCallParameterOffset) return std::nullopt;
  const auto length = LoadAt<std::uint32_t>(body, kCallParameterLengthOffset);
  if (length > body.size() - kCallParameterOffset) return std::nullopt;
  CallRequest request;
  request.name = UpToNul(body.substr(kCallNameOffset, kCallNameSize));
  request.parameters = UpToNul(body.substr(kCallParameterOffset, length));
  return request;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace orbe::wire
