// The module's dictionary and file utilities. Stateless: every dictionary
// operation reads the dictionary of the session given as first argument.
#ifndef ORBE_DICTIONARY_CW_FILE_UTIL_H_
#define ORBE_DICTIONARY_CW_FILE_UTIL_H_

#include <cstdio>

#include "orbe/dictionary/dictionary_records.h"
#include "orbe/platform/types.h"

class OrbeClientSession;

class CwFileUtil {
 public:
  CwFileUtil() = delete;

  // Length of an open file; its position is kept. 0 if the position cannot be read.
  static long filelength(FILE* file);
  // Length of the file, or -1 if it cannot be opened.
  static long GetCwFileLen(const char* path);
  // Reads up to size bytes in one read; returns the whole records of
  // recordSize actually read (0 if the file cannot be opened).
  static long GetCwFileData(const char* path, long size, void* buffer, long recordSize);
  // Replaces the file with size bytes; 1 on success, 0 on failure.
  static long PutCwFileData(const char* path, const void* buffer, long size);
  // MD5 of the file as 32 upper-case hex digits; "" if it cannot be read.
  static CString GetFileMD5(const char* path);
  // A new UUID in textual form; "" on failure.
  static CString GenUUID();

  // Loads constinfo.idx, tableinfo.idx and fieldinfo.idx from directory (which
  // ends in a separator). False if the session is missing or the table or
  // field file cannot be opened; a missing constant file is not an error.
  static bool LoadCWSysData(OrbeClientSession* session, const char* directory);
  static void UnLoadCWSysData(OrbeClientSession* session);

  // tables has room for orbe::kMaxTables records.
  static long GetAllTable(OrbeClientSession* session, tagMemTableInfo* tables);
  // fields has room for orbe::kMaxFieldsPerTable records.
  static long GetFieldInfo(OrbeClientSession* session, DWORD tableNumber, tagMemFieldInfo* fields);
  // fieldText is a generated name "T%03d" of the field number, any case.
  static bool GetOneFieldInfo(OrbeClientSession* session, DWORD tableNumber, const char* fieldText,
                              tagMemFieldInfo* field);
  // fieldName is the field's own (Chinese) name, ASCII case ignored.
  static bool GetOneFieldInfo2(OrbeClientSession* session, DWORD tableNumber, const char* fieldName,
                               tagMemFieldInfo* field);
  static long GetFieldID(OrbeClientSession* session, DWORD tableNumber, unsigned char* ids, long maxCount);
  static bool GetOneFieldID(OrbeClientSession* session, DWORD tableNumber, const char* fieldText,
                            unsigned char* id);
  // consts has room for orbe::kMaxConstsPerClass records.
  static long GetConstList(OrbeClientSession* session, const char* constClass, tagMemConstInfo* consts);
  static tagMemConstInfo GetConst(OrbeClientSession* session, const char* constClass, const char* code);

  // --- SQL statements (sql_parser.cpp) ---
  // Statements into the request records of orbe/dictionary/sql_records.h,
  // resolved through the session's dictionary. Each zero-fills its record
  // first; false means the record must not be sent. UPDATE and INSERT write
  // their values into valueArea, never past valueAreaSize bytes.
  static bool ParseReqCommand(OrbeClientSession* session, const char* sql, struct cw_command_req* request);
  static bool ParseStatSql(OrbeClientSession* session, const char* sql, struct cw_sqlstat_req* request);
  static bool GetStatType(const char* sql, struct cw_sqlstat_req* request);
  static bool ParseDeleteSql(OrbeClientSession* session, const char* sql, struct cw_sqldelete_req* request);
  static bool ParseUpdateSql(OrbeClientSession* session, const char* sql, struct cw_sqlupdate_req* request,
                             char* valueArea, long valueAreaSize);
  static bool GetUpdateField(OrbeClientSession* session, const char* sql, struct cw_sqlupdate_req* request,
                             char* valueArea, long valueAreaSize);
  static bool ParseInsertSql(OrbeClientSession* session, const char* sql, struct cw_sqlinsert_req* request,
                             char* valueArea, long valueAreaSize);
  // textAfterTable: the statement after INSERT's table token and its blanks.
  static bool GetInsertField(OrbeClientSession* session, const char* textAfterTable,
                             struct cw_sqlinsert_req* request, char* valueArea, long valueAreaSize);
  // conditions has 5 slots; false for an index of 5 or more.
  static bool GetOneCondition(OrbeClientSession* session, struct tagSigCond* conditions, unsigned char index,
                              int tableNumber, const char* text, long length);
  // The position just after the first comparison operator in search order,
  // with its code; nullptr when there is none.
  static const char* GetCompareType(const char* text, int& code);
  // --- end of SQL statements ---
};

#endif  // ORBE_DICTIONARY_CW_FILE_UTIL_H_
