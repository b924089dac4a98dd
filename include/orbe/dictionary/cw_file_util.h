// The module's dictionary and file utilities. Stateless: every dictionary
// operation reads the dictionary of the session given as first argument.
#ifndef ORBE_DICTIONARY_CW_FILE_UTIL_H_
#define ORBE_DICTIONARY_CW_FILE_UTIL_H_

#include <cstdio>
#include <string>
#include <vector>

#include "orbe/dictionary/dictionary_records.h"
#include "orbe/dictionary/reference_records.h"
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
  // --- Security and board lookups (reference_*.cpp, host_boards.cpp) ---
  // Over the session's reference tables, answering what a scan in stored
  // order would (first match) from indexes. Buffer lookups zero-fill out
  // (outLength bytes) whenever out is usable, then copy the value found,
  // bounded to outLength - 1 bytes; a missing session, an empty key or no
  // match leaves out empty. Lists are empty in those cases.
  static std::vector<tagSECUMAIN> GetAllSecuMain(OrbeClientSession* session);
  static std::vector<tagLISTEDCMP> GetAlllistedCmp(OrbeClientSession* session);
  static std::vector<tagGGINFO> GetAllGGInfo(OrbeClientSession* session);
  static std::vector<tagJJINFO> GetAllJJInfo(OrbeClientSession* session);
  static std::vector<tagZQINFO> GetAllZQInfo(OrbeClientSession* session);
  static std::vector<tagQHINFO> GetAllQHInfo(OrbeClientSession* session);

  // Security master. "ByCode" lookups of a stock skip the fund categories "8"
  // and "13"; GetFundAbbrByCode reads only those.
  static void GetSecuCode(OrbeClientSession* session, char* out, int outLength, const char* companyCode);
  static void GetSecuAbbr(OrbeClientSession* session, char* out, int outLength, const char* companyCode);
  static void GetSecuAbbrByCode(OrbeClientSession* session, char* out, int outLength, const char* secuCode);
  static void GetFundAbbrByCode(OrbeClientSession* session, char* out, int outLength, const char* secuCode);
  static void GetCompanyCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                       const char* secuCode);
  static void GetSecuMainCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                        const char* secuCode);
  static void GetInnerCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                     const char* secuCode);
  static void GetCompanyCodeByInnerCode(OrbeClientSession* session, char* out, int outLength,
                                        const char* innerCode);
  static void GetSecuCategoryByInnercode(OrbeClientSession* session, char* out, int outLength,
                                         const char* innerCode);

  // Industries: a classification number is also the constant class ("%d")
  // of its industry tree. Both Get*HyCode append to out: every code, then
  // its descendants depth first, so a code at depth d stands d times.
  static void GetHyCode(OrbeClientSession* session, int classification, std::vector<std::string>& out);
  static void GetSubHyCode(OrbeClientSession* session, int classification, const char* parentCode,
                           std::vector<std::string>& out);
  // Company codes of the listed companies of an industry, in table order.
  static std::vector<std::string> GetHyCmpCode(OrbeClientSession* session, int classification,
                                               const char* industryCode);
  // The same with sub-industries: by substring for 964, 994, 996 and 997,
  // by descendants for 966, exactly for 974.
  static std::vector<std::string> GetHyAndSubHyCmpCode(OrbeClientSession* session, int classification,
                                                       const char* industryCode);

  // Hong Kong stocks. By company code, the security code and abbreviation
  // come from the row with the preferred listing state: "1", "2", "3", empty.
  static void GG_GetSecuCodeByCompCode(OrbeClientSession* session, char* out, int outLength,
                                       const char* compCode);
  static void GG_GetSecuAbbrByCompCode(OrbeClientSession* session, char* out, int outLength,
                                       const char* compCode);
  static void GG_GetSecuStateByCode(OrbeClientSession* session, char* out, int outLength,
                                    const char* secuCode);
  static void GG_GetSecuAbbrBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                       const char* secuCode);
  static void GG_GetCompCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                       const char* secuCode);
  static void GG_GetBkNameByBkID(OrbeClientSession* session, char* out, int outLength, const char* bkID);
  static void GG_GetHyIDBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                   const char* secuCode);
  static void GG_GetHyIDByCompCode(OrbeClientSession* session, char* out, int outLength,
                                   const char* compCode);
  static void GG_GetHyNameByHyCode(OrbeClientSession* session, char* out, int outLength, const char* hyID);
  // Unique, in ascending byte order; board identifiers without empty ones.
  static std::vector<std::string> GG_GetBkIDBySecuCode(OrbeClientSession* session, const char* secuCode);
  static std::vector<std::string> GG_GetBkSecuCodeByBkID(OrbeClientSession* session, const char* bkID);
  static std::vector<std::string> GG_GetHySecuCodeByHyID(OrbeClientSession* session, const char* hyID);

  // Funds. The *Abbr lookups of codes read the dictionary's constants: the
  // category from class "998", type and style from the first constant of
  // any class with that code.
  static void JJ_GetJJAbbr(OrbeClientSession* session, char* out, int outLength, const char* fundCode);
  static void JJ_GetJJCategoryCode(OrbeClientSession* session, char* out, int outLength,
                                   const char* fundCode);
  static void JJ_GetJJInvestTypeCode(OrbeClientSession* session, char* out, int outLength,
                                     const char* fundCode);
  static void JJ_GetJJInvestStyleCode(OrbeClientSession* session, char* out, int outLength,
                                      const char* fundCode);
  static void JJ_IsRestructureJJ(OrbeClientSession* session, char* out, int outLength, const char* fundCode);
  static void JJ_GetJJCategoryAbbr(OrbeClientSession* session, char* out, int outLength, const char* code);
  static void JJ_GetJJInvestTypeAbbr(OrbeClientSession* session, char* out, int outLength, const char* code);
  static void JJ_GetJJInvestStyleAbbr(OrbeClientSession* session, char* out, int outLength, const char* code);
  // Fund codes in table order.
  static std::vector<std::string> JJ_GetJJCodeByCategory(OrbeClientSession* session, const char* category);
  static std::vector<std::string> JJ_GetJJCodeByInvestType(OrbeClientSession* session,
                                                           const char* investType);
  static std::vector<std::string> JJ_GetJJCodeByInvestStyle(OrbeClientSession* session,
                                                            const char* investStyle);
  static std::vector<std::string> JJ_GetRestructureJJCode(OrbeClientSession* session, const char* flag);

  // Bonds. A string lookup returns the key itself when there is no session,
  // the key is empty or nothing matches; a null key gives "".
  static CString ZQ_GetZQAbbr(OrbeClientSession* session, const char* bondCode);
  static CString ZQ_GetZQMainID(OrbeClientSession* session, const char* bondCode);
  static CString ZQ_GetZQType(OrbeClientSession* session, const char* bondCode);
  static CString ZQ_GetZQTradMarket(OrbeClientSession* session, const char* bondCode);
  static CString ZQ_GetZQIssueOrg(OrbeClientSession* session, const char* bondCode);
  static CString ZQ_GetZQTypeByMainID(OrbeClientSession* session, const char* mainID);
  static CString ZQ_GetZQIssueOrgByMainID(OrbeClientSession* session, const char* mainID);
  // Unique, in ascending byte order.
  static std::vector<std::string> ZQ_GetZQCode(OrbeClientSession* session, const char* mainID);
  static std::vector<std::string> ZQ_GetZQAbbrByMainID(OrbeClientSession* session, const char* mainID);
  static std::vector<std::string> ZQ_GetZQTradMarketByMainID(OrbeClientSession* session, const char* mainID);
  // In table order.
  static std::vector<std::string> ZQ_GetAllZQCodeByTypeName(OrbeClientSession* session, const char* typeName);
  static std::vector<std::string> ZQ_GetAllZQMainIDByTypeName(OrbeClientSession* session,
                                                              const char* typeName);

  // Futures. With an empty exchange a contract is a variety code and month
  // suffix; with any other exchange text, rows of exchanges other than "CZ",
  // "QS", "QD", "QZ" match by variety code alone. The exchange text does not
  // restrict the rows. No match leaves out empty.
  static void QH_GetQHNameByCode(OrbeClientSession* session, char* out, int outLength, const char* code,
                                 const char* exchange);
  static void QH_GetPZCodeByQHCode(OrbeClientSession* session, char* out, int outLength, const char* code,
                                   const char* exchange);
  static void QH_GetPZNameByQHCode(OrbeClientSession* session, char* out, int outLength, const char* code,
                                   const char* exchange);

  // Boards the host terminal keeps, asked through its data function; empty
  // when the host registered none. Concept boards leave out the two index
  // and fund boards; the own and holdings lists keep only A-share codes.
  static std::vector<std::string> GetConceptBoard();
  static std::vector<std::string> GetZXGBoard();
  static std::vector<std::string> GetCCGBoard();
  static std::vector<std::string> GetTJGBoard();
  static std::vector<std::string> GetZDYBoard(const char* boardName);
  static std::vector<std::string> GetConceptContentStock(const char* boardName);

  // Cuts text at every separator; empty pieces are dropped. An empty
  // separator leaves the text whole.
  static std::vector<std::string> SplitStr(const CString& text, const CString& separator);
  // Dialogs of orbe/platform/file_dialog.h; extensions are separated by "|".
  // Each returns the chosen path, or "" when cancelled.
  static CString OpenCFileDialog(const CString& extensions);
  static CString SaveCFileDialog(const CString& extensions, const CString& fileName);
  static CString BrowseForFolder();
  // --- end of security and board lookups ---
};

#endif  // ORBE_DICTIONARY_CW_FILE_UTIL_H_
