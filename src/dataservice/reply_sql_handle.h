// The reply handle behind IFetchData: sends one request at a time on its
// session, collects the reply packets as records and reports completion to
// its window. SELECTs are answered from the local cache when the table's
// server time stamp is unchanged.
#ifndef ORBE_DATASERVICE_REPLY_SQL_HANDLE_H_
#define ORBE_DATASERVICE_REPLY_SQL_HANDLE_H_

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataservice/reply_packets.h"
#include "dataservice/reply_results.h"
#include "dataservice/timestamp_handles.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "protocol/cw_cache.h"
#include "protocol/cw_data_engin.h"
#include "protocol/reply_handle.h"
#include "protocol/sql_records.h"

class ReplySqlHandle : public IReplyHandle, public IFetchData, public ITimeStampHandleASYNNotify {
 public:
  // session may be null: every request then fails.
  ReplySqlHandle(OrbeClientSession* session, HWND notifyWindow, UINT notifyMessage);
  // Waits for a request in flight to end, however long: the engine still
  // holds this handle, and it ends every request it accepted.
  ~ReplySqlHandle() override;
  // Deletes the handle now, or, with a request in flight, when that request
  // has ended, posting nothing more (DeleteFetchDataHandle): nothing waits,
  // and nothing the engine still holds is freed.
  void Release();
  ReplySqlHandle(const ReplySqlHandle&) = delete;
  ReplySqlHandle& operator=(const ReplySqlHandle&) = delete;

  // IReplyHandle, on engine threads.
  void OnReply(ICwReply* reply) override;
  void OnStatus(int code) override;
  // ITimeStampHandleASYNNotify, on engine threads.
  void OnTimeStamp(int code) override;

  // IFetchData.
  void SetProgressNotify(HWND window, UINT message) override;
  WORD GetSqlOptionBuffer(char* buffer, int size) override;
  BOOL FetchData(const char* sql, const char* options, int optionLength, BOOL force) override;
  BOOL SynFetchData(const char* sql, const char* options, int optionLength, BOOL force) override;
  BOOL GetFieldInfo(const char* name, tagMemFieldInfo* field) override;
  BOOL GetRecordAsInt(int record, const tagMemFieldInfo* field, int* value) override;
  BOOL GetRecordAsDouble(int record, const tagMemFieldInfo* field, double* value) override;
  BOOL GetRecordAsInt64(int record, const tagMemFieldInfo* field, std::int64_t* value) override;
  BOOL GetRecordAsString(int record, const tagMemFieldInfo* field, char* text, int size) override;
  BOOL GetRecordAsRawString(int record, const tagMemFieldInfo* field, char* text, int size) override;
  int GetRecordCount() override;
  BOOL DeleteBySql(const char* sql) override;
  BOOL SynDeleteBySql(const char* sql) override;
  int GetDeleteResult(int* count) override;
  BOOL UpdateBySql(const char* sql) override;
  BOOL SynUpdateBySql(const char* sql) override;
  int GetUpdateResult(int* count) override { return GetDeleteResult(count); }
  BOOL InsertBySql(const char* sql) override;
  BOOL SynInsertBySql(const char* sql) override;
  int GetInsertResult(int* count) override { return GetDeleteResult(count); }
  BOOL FetchStatData(const char* sql, const char* options, int optionLength) override;
  BOOL SynFetchStatData(const char* sql, const char* options, int optionLength) override;
  BOOL GetStatResultAsInt(int* value) override;
  BOOL GetStatResultAsDouble(double* value) override;
  BOOL GetStatResultAsString(char* text, int size) override;
  int GetStatResultAsRaw(void* buffer, int size) override;
  BOOL IncTimestamp(int table) override;
  BOOL SynIncTimestamp(int table) override;
  std::int64_t GetIncTimestampResult() override;
  BOOL FlushTable(int table) override;
  int GetFlushTableResult() override;
  BOOL CallTQL(const char* name, const char* parameters) override;
  BOOL ReloadTQL(const char* name) override;
  BOOL SynCallTQL(const char* name, const char* parameters) override;
  BOOL SynReloadTQL(const char* name) override;
  BOOL LoadCache(const char* key) override;
  BOOL SaveCache(const char* key, std::int64_t timeStamp) override;
  std::int64_t GetCacheTimeStamp(const char* key) override;
  int GetCallResult() override;
  BOOL SetReplyReadPos(int position) override;
  int GetReplyReadPos() override;
  int GetReplyLength() override;
  BOOL PopReplyAsString(int length, char* text, int size) override;
  BOOL PopReplyAsChar(signed char* value) override;
  BOOL PopReplyAsShort(short* value) override;
  BOOL PopReplyAsInt(int* value) override;
  BOOL PopReplyAsInt64(std::int64_t* value) override;
  BOOL PopReplyAsFloat(float* value) override;
  BOOL PopReplyAsDouble(double* value) override;
  std::int64_t SynGetTimestamp(int table) override;
  BOOL CallRPC(const char* name, const void* parameters, int length) override;
  BOOL SynCallRPC(const char* name, const void* parameters, int length) override;
  void AddSqlOption(BYTE type, const char* text) override;
  void ClearSqlOption() override;

  // Status of the last completed request (0 when it could not be sent).
  int LastStatus() const { return last_status_.load(); }
  bool IsReady() const { return ready_.load(); }
  const std::string& CacheKey() const { return cache_key_; }

 private:
  enum class Mode { kAsync, kWait };

  // Null once the session has ended.
  OrbeClientSession* Session() const;
  ITCwcache* Cache() const;
  ICwRequestSession* Requests() const;
  // Session, request session and no request in flight.
  bool CanSend();
  // The start of every statement request.
  void Clear();
  // Sends the built request; a failed send ends it with status 0.
  BOOL Dispatch(ICwRequest* request, IReplyHandle* handle, Mode mode);
  template <typename Build>
  BOOL SendBuilt(Mode mode, Build build);
  BOOL Call(std::uint16_t code, const char* name, std::string_view parameters, Mode mode);

  BOOL StartSelect(const char* sql, const char* options, int optionLength, BOOL force, Mode mode);
  BOOL SendStampThenSelect();
  // Whether the cache could answer the key should the server's stamp match.
  bool CacheCouldAnswer();
  BOOL WaitStampThenSelect();
  void FinishWaitFromCache();
  bool ShortCutAllowed() const;
  // Replace the records with the cache entry of the key when it may be used.
  bool LoadIfUsable();
  bool LoadIfStampMatches(OrbeClientSession* session, std::int64_t stamp);
  bool LoadRecordsLocked(ITCwcache* cache, const std::string& key);
  // What a complete reply leaves for the cache, taken before the handle
  // may go.
  struct CacheEntry {
    OrbeSessionLinkPtr link;
    std::string key;
    std::int64_t stamp;
    CwPacketList records;
  };
  std::optional<CacheEntry> EntryToStore() const;
  // Under the entry's session use and the cache lock.
  static void StoreInCache(CacheEntry&& entry);

  // Ends a request: ready, cursor, cache (when `save`), completion post.
  // The last thing its caller does: a released handle goes with it.
  void Complete(int code, bool save);
  void ResetCursor();
  void BeginFlight();
  // Posts the code (none for a stamp sent together with its SELECT).
  void EndFlight(std::optional<int> posted_code);
  bool InFlight();
  void PostToWindow(HWND window, UINT message, WPARAM value);

  // The record, when ready and in range.
  std::optional<std::string_view> Record(int index) const;
  // The first and only record of the reply.
  std::optional<std::string_view> OnlyRecord() const;
  std::optional<orbe::wire::StatResult> Stat() const;

  mutable std::mutex records_mutex_;
  std::vector<std::string> records_;
  std::atomic<bool> ready_{true};
  std::string cache_key_;
  const HWND notify_window_;
  const UINT notify_message_;
  EngineRequestPtr request_;
  std::atomic<std::int64_t> time_stamp_{-1};
  std::vector<tagMemFieldInfo> fields_;
  std::atomic<HWND> progress_window_{nullptr};
  std::atomic<UINT> progress_message_{0};
  GetTimeStampHandle stamp_handle_{this};
  EngineRequestPtr stamp_request_;
  std::atomic<bool> force_{false};
  const OrbeSessionLinkPtr link_;
  std::vector<orbe::SqlOption> sql_options_;

  orbe::ReplyCursor cursor_;
  std::atomic<int> last_status_{0};
  // The stamp of a waiting SELECT is read by the caller, not by OnTimeStamp.
  std::atomic<bool> stamp_waited_{false};
  // The SELECT went right behind its stamp, with no cache entry the stamp
  // could have spared it: the stamp's reply only records the stamp.
  std::atomic<bool> select_with_stamp_{false};
  std::mutex flight_mutex_;
  std::condition_variable flight_ended_;
  int flights_ = 0;  // requests sent whose completion has not run to its end
  bool released_ = false;  // Release came with a request in flight
};

#endif  // ORBE_DATASERVICE_REPLY_SQL_HANDLE_H_
