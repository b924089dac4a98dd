#include "dataservice/reply_requests.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/host/host_records.h"
#include "orbe/platform/crypto.h"
#include "protocol/request_objects.h"
#include "protocol/requests.h"
#include "protocol/statements.h"

namespace orbe {
namespace {

// The sender text is kept terminated.
constexpr std::size_t kSenderTextMax = sizeof(HostSenderBlock::text) - 1;

// True when the record and `extra` bytes behind it fit the request body.
bool Fits(ICwRequest& request, std::size_t recordSize, std::size_t extra) {
  return recordSize + extra <= request.GetCapacity();
}

void FillSender(cw_command_req& record) {
  const DataFuncProc dataFunc = GetDataFunc();
  if (dataFunc == nullptr) return;
  HostSenderBlock block{};
  dataFunc(nullptr, -1, kHostSender, &block, 1, HostValue7{}, HostValue7{}, 0, 0);
  block.text[kSenderTextMax] = '\0';
  std::memcpy(record.sender, block.text, sizeof record.sender);
  record.sender_value = block.value;
}

// A client-chosen operation key: 32 hex digits of a fresh UUID.
void FillOperationKey(char (&key)[32]) {
  std::string text = NewUuidText();
  text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
  text.resize(sizeof key, '0');
  std::memcpy(key, text.data(), sizeof key);
}

// The value area the parser fills behind an UPDATE or INSERT record: as much
// as the request holds behind it.
std::vector<char> ValueAreaFor(ICwRequest& request, std::size_t recordSize) {
  return std::vector<char>(request.GetCapacity() - recordSize);
}

}  // namespace

std::string_view OptionBytes(const char* options, int optionLength) {
  if (options == nullptr || optionLength <= 0) return {};
  return {options, std::min(static_cast<std::size_t>(optionLength), wire::kMaxOptionLength)};
}

bool BuildSelectRequest(ICwRequest& request, const cw_command_req& parsed, std::string_view options) {
  request.Reset();
  // Room for the longest option block, whatever this one's length.
  if (!Fits(request, sizeof parsed, wire::kMaxOptionLength + 1)) return false;
  cw_command_req record = parsed;
  FillSender(record);
  return wire::FillRequest(request, wire::EncodeSelectBody(record, options));
}

void BuildTableRequest(ICwRequest& request, std::uint16_t code, std::int32_t table) {
  wire::FillRequest(request, wire::EncodeTableBody(code, table));
}

bool BuildStatRequest(OrbeClientSession* session, ICwRequest& request, const char* sql, const char* options,
                      int optionLength) {
  request.Reset();
  cw_sqlstat_req record{};
  if (sql == nullptr || !CwFileUtil::ParseStatSql(session, sql, &record)) return false;
  return wire::FillRequest(request, wire::EncodeStatBody(record, OptionBytes(options, optionLength)));
}

bool BuildDeleteRequest(OrbeClientSession* session, ICwRequest& request, const char* sql) {
  request.Reset();
  cw_sqldelete_req record{};
  if (sql == nullptr || !CwFileUtil::ParseDeleteSql(session, sql, &record)) return false;
  FillOperationKey(record.key);
  return wire::FillRequest(request, wire::EncodeDeleteBody(record));
}

bool BuildUpdateRequest(OrbeClientSession* session, ICwRequest& request, const char* sql) {
  request.Reset();
  cw_sqlupdate_req record{};
  if (sql == nullptr || !Fits(request, sizeof record, 0)) return false;
  std::vector<char> area = ValueAreaFor(request, sizeof record);
  if (!CwFileUtil::ParseUpdateSql(session, sql, &record, area.data(), static_cast<long>(area.size()))) return false;
  FillOperationKey(record.key);
  return wire::FillRequest(request, wire::EncodeUpdateBody(record, {area.data(), record.value_length}));
}

bool BuildInsertRequest(OrbeClientSession* session, ICwRequest& request, const char* sql) {
  request.Reset();
  cw_sqlinsert_req record{};
  if (sql == nullptr || !Fits(request, sizeof record, 0)) return false;
  std::vector<char> area = ValueAreaFor(request, sizeof record);
  if (!CwFileUtil::ParseInsertSql(session, sql, &record, area.data(), static_cast<long>(area.size()))) return false;
  FillOperationKey(record.key);
  return wire::FillRequest(request, wire::EncodeInsertBody(record, {area.data(), record.value_length}));
}

bool BuildCallRequest(ICwRequest& request, std::uint16_t code, const char* name, std::string_view parameters) {
  request.Reset();
  if (name == nullptr) return false;
  const std::size_t nameLength = std::strlen(name);
  // The module keeps a NUL in the name field.
  if (nameLength == 0 || nameLength >= wire::kCallNameSize) return false;
  return wire::FillRequest(request, wire::EncodeCallBody(code, name, parameters));
}

}  // namespace orbe
