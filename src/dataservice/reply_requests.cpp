#include "dataservice/reply_requests.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "orbe/dataservice/cw_data_engin.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

constexpr int kSenderDataCode = 0x7A;
constexpr std::size_t kSenderTextMax = 49;
constexpr std::uint32_t kTableRequestTotal = 20;

#pragma pack(push, 1)
// What the host's data function fills for code 0x7A.
struct SenderBlock {
  char text[50];
  std::uint16_t value;
};
#pragma pack(pop)
static_assert(sizeof(SenderBlock) == 52);

void SetTotalLength(ICwRequest& request, std::uint32_t bodyLength) {
  const std::uint32_t total = kCwRequestHeaderSize + bodyLength;
  std::memcpy(request.GetHeader() + kCwRequestLengthOffset, &total, sizeof total);
}

// True when the record and `extra` bytes behind it fit the request body.
bool Fits(ICwRequest& request, std::size_t recordSize, std::size_t extra) {
  return recordSize + extra <= request.GetCapacity();
}

void FillSender(cw_command_req& record) {
  const DataFuncProc dataFunc = GetDataFunc();
  if (dataFunc == nullptr) return;
  SenderBlock block{};
  dataFunc(nullptr, -1, kSenderDataCode, &block, 1, HostValue7{}, HostValue7{}, 0, 0);
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

int ClampOptionLength(const char* options, int optionLength) {
  if (options == nullptr || optionLength <= 0) return 0;
  return std::min(optionLength, kMaxOptionLength);
}

template <typename Record>
void WriteRecord(ICwRequest& request, const Record& record, std::size_t extra) {
  std::memcpy(request.GetBody(), &record, sizeof record);
  SetTotalLength(request, static_cast<std::uint32_t>(sizeof record + extra));
}

}  // namespace

bool BuildSelectRequest(OrbeClientSession* session, ICwRequest& request, const char* sql, const char* options,
                        int optionLength, cw_command_req* parsed) {
  request.Reset();
  cw_command_req record{};
  if (sql == nullptr || !CwFileUtil::ParseReqCommand(session, sql, &record)) return false;
  const int extra = ClampOptionLength(options, optionLength);
  if (!Fits(request, sizeof record, kMaxOptionLength + 1)) return false;
  record.request_code = kCwRequestSelect;
  record.extra_length = static_cast<std::uint16_t>(extra);
  FillSender(record);
  // The whole option area is zeroed even when the block is shorter.
  std::memset(request.GetBody() + sizeof record, 0, kMaxOptionLength + 1);
  if (extra > 0) std::memcpy(request.GetBody() + sizeof record, options, static_cast<std::size_t>(extra));
  WriteRecord(request, record, static_cast<std::size_t>(extra));
  *parsed = record;
  return true;
}

void BuildTableRequest(ICwRequest& request, std::uint16_t code, std::int32_t table) {
  request.Reset();
  unsigned char* body = request.GetBody();
  std::memcpy(body, &code, sizeof code);
  std::memcpy(body + sizeof code, &table, sizeof table);
  SetTotalLength(request, kTableRequestTotal - kCwRequestHeaderSize);
}

bool BuildStatRequest(OrbeClientSession* session, ICwRequest& request, const char* sql, const char* options,
                      int optionLength) {
  request.Reset();
  cw_sqlstat_req record{};
  if (sql == nullptr || !CwFileUtil::ParseStatSql(session, sql, &record)) return false;
  const int extra = ClampOptionLength(options, optionLength);
  if (!Fits(request, sizeof record, static_cast<std::size_t>(extra))) return false;
  record.request_code = kCwRequestStatistics;
  record.extra_length = static_cast<std::int16_t>(extra);
  if (extra > 0) std::memcpy(request.GetBody() + sizeof record, options, static_cast<std::size_t>(extra));
  WriteRecord(request, record, static_cast<std::size_t>(extra));
  return true;
}

bool BuildDeleteRequest(OrbeClientSession* session, ICwRequest& request, const char* sql) {
  request.Reset();
  cw_sqldelete_req record{};
  if (sql == nullptr || !CwFileUtil::ParseDeleteSql(session, sql, &record)) return false;
  record.request_code = kCwRequestDelete;
  FillOperationKey(record.key);
  WriteRecord(request, record, 0);
  return true;
}

bool BuildUpdateRequest(OrbeClientSession* session, ICwRequest& request, const char* sql) {
  request.Reset();
  cw_sqlupdate_req record{};
  if (sql == nullptr || !Fits(request, sizeof record, 0)) return false;
  char* area = reinterpret_cast<char*>(request.GetBody()) + sizeof record;
  const long areaSize = static_cast<long>(request.GetCapacity() - sizeof record);
  if (!CwFileUtil::ParseUpdateSql(session, sql, &record, area, areaSize)) return false;
  record.request_code = kCwRequestUpdate;
  FillOperationKey(record.key);
  WriteRecord(request, record, record.value_length);
  return true;
}

bool BuildInsertRequest(OrbeClientSession* session, ICwRequest& request, const char* sql) {
  request.Reset();
  cw_sqlinsert_req record{};
  if (sql == nullptr || !Fits(request, sizeof record, 0)) return false;
  char* area = reinterpret_cast<char*>(request.GetBody()) + sizeof record;
  const long areaSize = static_cast<long>(request.GetCapacity() - sizeof record);
  if (!CwFileUtil::ParseInsertSql(session, sql, &record, area, areaSize)) return false;
  record.request_code = kCwRequestInsert;
  FillOperationKey(record.key);
  WriteRecord(request, record, record.value_length);
  return true;
}

bool BuildCallRequest(ICwRequest& request, std::uint16_t code, const char* name, std::string_view parameters) {
  request.Reset();
  if (name == nullptr) return false;
  const std::size_t nameLength = std::strlen(name);
  constexpr std::size_t kFixed = sizeof(std::uint16_t) + kCallNameSize + sizeof(std::uint32_t);
  if (nameLength == 0 || nameLength >= kCallNameSize) return false;
  if (!Fits(request, kFixed, parameters.size())) return false;
  unsigned char* body = request.GetBody();
  std::memcpy(body, &code, sizeof code);
  std::memcpy(body + sizeof code, name, nameLength);
  const auto length = static_cast<std::uint32_t>(parameters.size());
  std::memcpy(body + sizeof code + kCallNameSize, &length, sizeof length);
  if (!parameters.empty()) std::memcpy(body + kFixed, parameters.data(), parameters.size());
  SetTotalLength(request, static_cast<std::uint32_t>(kFixed + parameters.size()));
  return true;
}

}  // namespace orbe
