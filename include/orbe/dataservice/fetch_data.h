// Request and reply handles that windows and scripts use to query the data
// service: statements, statistics, changes, time stamps, calls and the local
// cache. Slot 0 of each interface is its virtual destructor; numbered
// operations keep their slot order.
#ifndef ORBE_DATASERVICE_FETCH_DATA_H_
#define ORBE_DATASERVICE_FETCH_DATA_H_

#include <cstdint>

#include "orbe/dictionary/dictionary_records.h"
#include "orbe/platform/types.h"

// Hears that the table time stamp asked for has arrived (or failed).
class ITimeStampHandleASYNNotify {
 public:
  virtual ~ITimeStampHandleASYNNotify() = default;  // 0
  virtual void OnTimeStamp(int code) = 0;           // 1
};

// Request slots return TRUE when the request was sent. Asynchronous forms
// post (notify window, notify message, status, IFetchData*) on completion;
// waiting forms return after the reply was processed, TRUE for status 100.
// Records and results are readable only while no request is in flight.
class IFetchData {
 public:
  virtual ~IFetchData() = default;  // 0
  // Posts (window, message, progress 0..100, IFetchData*) per reply packet.
  virtual void SetProgressNotify(HWND window, UINT message) = 0;  // 1
  // The SQL options as an option block; returns the bytes written.
  virtual WORD GetSqlOptionBuffer(char* buffer, int size) = 0;  // 2
  // SELECT; force skips the cache.
  virtual BOOL FetchData(const char* sql, const char* options, int optionLength, BOOL force) = 0;     // 3
  virtual BOOL SynFetchData(const char* sql, const char* options, int optionLength, BOOL force) = 0;  // 4
  // name is "T" or "t" and three digits; looked up among the selected fields.
  virtual BOOL GetFieldInfo(const char* name, tagMemFieldInfo* field) = 0;  // 5
  virtual BOOL GetRecordAsInt(int record, const tagMemFieldInfo* field, int* value) = 0;             // 6
  virtual BOOL GetRecordAsDouble(int record, const tagMemFieldInfo* field, double* value) = 0;       // 7
  virtual BOOL GetRecordAsInt64(int record, const tagMemFieldInfo* field, std::int64_t* value) = 0;  // 8
  // size must exceed 8; constants of type 1 are translated to their texts.
  virtual BOOL GetRecordAsString(int record, const tagMemFieldInfo* field, char* text, int size) = 0;     // 9
  virtual BOOL GetRecordAsRawString(int record, const tagMemFieldInfo* field, char* text, int size) = 0;  // 10
  virtual int GetRecordCount() = 0;  // 11

  virtual BOOL DeleteBySql(const char* sql) = 0;     // 12
  virtual BOOL SynDeleteBySql(const char* sql) = 0;  // 13
  // Status byte (0 = success, 1 = failure); count -1 when the reply has none.
  virtual int GetDeleteResult(int* count) = 0;       // 14
  virtual BOOL UpdateBySql(const char* sql) = 0;     // 15
  virtual BOOL SynUpdateBySql(const char* sql) = 0;  // 16
  virtual int GetUpdateResult(int* count) = 0;       // 17
  virtual BOOL InsertBySql(const char* sql) = 0;     // 18
  virtual BOOL SynInsertBySql(const char* sql) = 0;  // 19
  virtual int GetInsertResult(int* count) = 0;       // 20

  virtual BOOL FetchStatData(const char* sql, const char* options, int optionLength) = 0;     // 21
  virtual BOOL SynFetchStatData(const char* sql, const char* options, int optionLength) = 0;  // 22
  virtual BOOL GetStatResultAsInt(int* value) = 0;                                             // 23
  virtual BOOL GetStatResultAsDouble(double* value) = 0;                                       // 24
  virtual BOOL GetStatResultAsString(char* text, int size) = 0;                                // 25
  // Copies the value bytes; returns their count, -1 when absent or too big.
  virtual int GetStatResultAsRaw(void* buffer, int size) = 0;                                  // 26

  virtual BOOL IncTimestamp(int table) = 0;              // 27
  virtual BOOL SynIncTimestamp(int table) = 0;           // 28
  virtual std::int64_t GetIncTimestampResult() = 0;      // 29; -1 when absent
  virtual BOOL FlushTable(int table) = 0;                // 30
  virtual int GetFlushTableResult() = 0;                 // 31; 0 = flushed, 1 otherwise

  // Calls a server procedure with a parameter text.
  virtual BOOL CallTQL(const char* name, const char* parameters) = 0;     // 32
  virtual BOOL ReloadTQL(const char* name) = 0;                           // 33
  virtual BOOL SynCallTQL(const char* name, const char* parameters) = 0;  // 34
  virtual BOOL SynReloadTQL(const char* name) = 0;                        // 35

  // The local cache of the handle's session under a caller's key.
  virtual BOOL LoadCache(const char* key) = 0;                                  // 36
  virtual BOOL SaveCache(const char* key, std::int64_t timeStamp) = 0;          // 37
  virtual std::int64_t GetCacheTimeStamp(const char* key) = 0;                  // 38; -1 when none

  // Status byte of a call or reload reply; 1 when the reply is empty.
  virtual int GetCallResult() = 0;                          // 39
  // Accepts 0 < position < reply length - 2.
  virtual BOOL SetReplyReadPos(int position) = 0;           // 40
  virtual int GetReplyReadPos() = 0;                        // 41
  virtual int GetReplyLength() = 0;                         // 42; reply length - 1
  // Pops advance the read position; they fail, unchanged, when bytes lack.
  virtual BOOL PopReplyAsString(int length, char* text, int size) = 0;  // 43; length <= 65536
  virtual BOOL PopReplyAsChar(signed char* value) = 0;                  // 44
  virtual BOOL PopReplyAsShort(short* value) = 0;                       // 45
  virtual BOOL PopReplyAsInt(int* value) = 0;                           // 46
  virtual BOOL PopReplyAsInt64(std::int64_t* value) = 0;                // 47
  virtual BOOL PopReplyAsFloat(float* value) = 0;                       // 48
  virtual BOOL PopReplyAsDouble(double* value) = 0;                     // 49

  // The table's server time stamp; -1 when unknown or on failure.
  virtual std::int64_t SynGetTimestamp(int table) = 0;  // 50
  // Calls with a parameter block the caller filled.
  virtual BOOL CallRPC(const char* name, const void* parameters, int length) = 0;     // 51
  virtual BOOL SynCallRPC(const char* name, const void* parameters, int length) = 0;  // 52

  // The SQL options travel with the next statement request (slot 2 encodes them).
  virtual void AddSqlOption(BYTE type, const char* text) = 0;  // 53
  virtual void ClearSqlOption() = 0;                           // 54
};

// A handle over the main (or sub) session; the session may be absent, then
// every request fails. Null is ignored by the delete.
extern "C" {
IFetchData* CreateFetchDataHandle(HWND notifyWindow, UINT notifyMessage);
IFetchData* CreateFetchDataHandle_Sub(HWND notifyWindow, UINT notifyMessage);
void DeleteFetchDataHandle(IFetchData* handle);
}  // extern "C"

#endif  // ORBE_DATASERVICE_FETCH_DATA_H_
