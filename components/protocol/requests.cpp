#include "protocol/requests.h"

#include <cstring>

#include "protocol/byte_order.h"

namespace orbe::wire {

std::string EncodeRequest(std::uint32_t request_id, std::uint16_t code, std::string_view rest) {
  const std::size_t total = kRequestHeaderSize + sizeof(code) + rest.size();
  if (total > kMaxRequestLength) return {};
  RequestHeader header{};
  header.request_id = request_id;
  header.marker = kRequestMarker;
  header.version = kProtocolVersion;
  header.total_length = static_cast<std::uint32_t>(total);
  std::string frame;
  frame.reserve(total);
  Append(&frame, header);
  Append(&frame, code);
  frame.append(rest);
  return frame;
}

std::string EncodeHostLoadRequest(std::uint32_t request_id) {
  return EncodeRequest(request_id, kCodeHostLoad, {});
}

std::string EncodeKeepAliveRequest(std::uint32_t request_id) {
  return EncodeRequest(request_id, kCodeKeepAlive, {});
}

std::string EncodeTableRequest(std::uint32_t request_id, std::uint16_t code, std::int32_t table) {
  std::string rest;
  Append(&rest, table);
  return EncodeRequest(request_id, code, rest);
}

std::string EncodeFileFetchRequest(std::uint32_t request_id, std::string_view digest, std::string_view name) {
  if (name.empty() || name.size() > kMaxFileNameSize) return {};
  std::string rest(kDigestTextSize, '\0');
  if (digest.size() == kDigestTextSize) rest.assign(digest);
  Append(&rest, static_cast<std::uint32_t>(name.size()));
  rest.append(name);
  return EncodeRequest(request_id, kCodeFileFetch, rest);
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
  if (body.size() < 2 + sizeof(std::int32_t)) return std::nullopt;
  return LoadAt<std::int32_t>(body, 2);
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

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace orbe::wire
