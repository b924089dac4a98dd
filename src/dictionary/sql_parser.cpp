// CwFileUtil's statement members: the session's dictionary handed to the parsers.
#include "dictionary/sql_parser.h"

#include <cstring>

#include "dictionary/sql_scanner.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

// The value area is bytes whatever the caller's pointer type.
std::uint8_t* AreaBytes(char* area) { return reinterpret_cast<std::uint8_t*>(area); }

bool ValidArea(const char* area, long size) { return area != nullptr && size >= 0; }

}  // namespace

bool CwFileUtil::ParseReqCommand(OrbeClientSession* session, const char* sql, cw_command_req* request) {
  if (session == nullptr || sql == nullptr || request == nullptr) return false;
  return orbe::sql::ParseSelect(session->Dictionary(), sql, request);
}

bool CwFileUtil::ParseStatSql(OrbeClientSession* session, const char* sql, cw_sqlstat_req* request) {
  if (session == nullptr || sql == nullptr || request == nullptr) return false;
  return orbe::sql::ParseStat(session->Dictionary(), sql, request);
}

bool CwFileUtil::GetStatType(const char* sql, cw_sqlstat_req* request) {
  if (sql == nullptr || request == nullptr) return false;
  return orbe::sql::ParseStatType(sql, request);
}

bool CwFileUtil::ParseDeleteSql(OrbeClientSession* session, const char* sql, cw_sqldelete_req* request) {
  if (session == nullptr || sql == nullptr || request == nullptr) return false;
  return orbe::sql::ParseDelete(session->Dictionary(), sql, request);
}

bool CwFileUtil::ParseUpdateSql(OrbeClientSession* session, const char* sql, cw_sqlupdate_req* request,
                                char* valueArea, long valueAreaSize) {
  if (session == nullptr || sql == nullptr || request == nullptr || !ValidArea(valueArea, valueAreaSize)) {
    return false;
  }
  return orbe::sql::ParseUpdate(session->Dictionary(), sql, request, AreaBytes(valueArea),
                                static_cast<std::size_t>(valueAreaSize));
}

bool CwFileUtil::GetUpdateField(OrbeClientSession* session, const char* sql, cw_sqlupdate_req* request,
                                char* valueArea, long valueAreaSize) {
  if (session == nullptr || sql == nullptr || request == nullptr || !ValidArea(valueArea, valueAreaSize)) {
    return false;
  }
  return orbe::sql::ParseUpdateFields(session->Dictionary(), sql, request, AreaBytes(valueArea),
                                      static_cast<std::size_t>(valueAreaSize));
}

bool CwFileUtil::ParseInsertSql(OrbeClientSession* session, const char* sql, cw_sqlinsert_req* request,
                                char* valueArea, long valueAreaSize) {
  if (session == nullptr || sql == nullptr || request == nullptr || !ValidArea(valueArea, valueAreaSize)) {
    return false;
  }
  return orbe::sql::ParseInsert(session->Dictionary(), sql, request, AreaBytes(valueArea),
                                static_cast<std::size_t>(valueAreaSize));
}

bool CwFileUtil::GetInsertField(OrbeClientSession* session, const char* textAfterTable,
                                cw_sqlinsert_req* request, char* valueArea, long valueAreaSize) {
  if (session == nullptr || textAfterTable == nullptr || request == nullptr ||
      !ValidArea(valueArea, valueAreaSize)) {
    return false;
  }
  return orbe::sql::ParseInsertFields(session->Dictionary(), textAfterTable, request, AreaBytes(valueArea),
                                      static_cast<std::size_t>(valueAreaSize));
}

bool CwFileUtil::GetOneCondition(OrbeClientSession* session, tagSigCond* conditions, unsigned char index,
                                 int tableNumber, const char* text, long length) {
  if (session == nullptr || conditions == nullptr || text == nullptr || length < 0) return false;
  // The text is a C string cut to length: a NUL ends it earlier.
  const std::size_t size = strnlen(text, static_cast<std::size_t>(length));
  return orbe::sql::ParseCondition(session->Dictionary(), conditions, index, tableNumber,
                                   std::string_view(text, size));
}

const char* CwFileUtil::GetCompareType(const char* text, int& code) {
  if (text == nullptr) return nullptr;
  const std::string_view view(text);
  const std::size_t after = orbe::sql::FindCompare(view, &code);
  return after == orbe::sql::kNotFound ? nullptr : text + after;
}
