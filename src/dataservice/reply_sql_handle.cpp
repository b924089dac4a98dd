#include "dataservice/reply_sql_handle.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "dataservice/deferred_reply_cache.h"
#include "dataservice/prepared_selects.h"
#include "dataservice/reply_cache_lock.h"
#include "dataservice/reply_record_reader.h"
#include "dataservice/reply_requests.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "protocol/request_objects.h"

namespace {

constexpr std::size_t kFieldNameLength = 4;

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

}  // namespace

ReplySqlHandle::ReplySqlHandle(OrbeClientSession* session, HWND notifyWindow, UINT notifyMessage)
    : notify_window_(notifyWindow),
      notify_message_(notifyMessage),
      link_(session != nullptr ? session->Link() : nullptr) {
  ICwDataEngin* engine = session != nullptr ? session->GetEngine() : nullptr;
  if (engine != nullptr) {
    request_ = MakeEngineRequest(engine);
    stamp_request_ = MakeEngineRequest(engine);
  }
}

// The engine ends every request it accepted, within its time-out, and the
// module ends its sessions' requests before it stops the engine: the wait
// has an end without a limit of its own.
ReplySqlHandle::~ReplySqlHandle() {
  {
    std::unique_lock<std::mutex> hold(flight_mutex_);
    flight_ended_.wait(hold, [this] { return flights_ == 0; });
  }
  // A session that ended took its engine's requests with it.
  if (Session() == nullptr) {
    (void)request_.release();
    (void)stamp_request_.release();
  }
}

void ReplySqlHandle::Release() {
  {
    const std::lock_guard<std::mutex> hold(flight_mutex_);
    if (flights_ > 0) {
      released_ = true;
      return;
    }
  }
  const std::unique_ptr<ReplySqlHandle> owned(this);
}

OrbeClientSession* ReplySqlHandle::Session() const {
  return link_ != nullptr ? link_->session.load() : nullptr;
}

ITCwcache* ReplySqlHandle::Cache() const {
  OrbeClientSession* const session = Session();
  return session != nullptr ? session->GetCwcache() : nullptr;
}

ICwRequestSession* ReplySqlHandle::Requests() const {
  OrbeClientSession* const session = Session();
  return session != nullptr ? session->GetSession() : nullptr;
}

// --- engine callbacks ---

void ReplySqlHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr) return;
  if (auto record = orbe::wire::RecordOfReply(*reply)) {
    std::lock_guard<std::mutex> hold(records_mutex_);
    records_.push_back(std::move(*record));
  }
  const HWND progress = progress_window_.load();
  if (progress != nullptr) PostToWindow(progress, progress_message_.load(), static_cast<WPARAM>(reply->GetProgress()));
}

void ReplySqlHandle::OnStatus(int code) { Complete(code, code == kCwStatusComplete); }

void ReplySqlHandle::OnTimeStamp(int /*code*/) {
  if (stamp_waited_.load()) return;
  time_stamp_.store(stamp_handle_.TimeStamp());
  if (select_with_stamp_.load()) {
    EndFlight(std::nullopt);
    return;
  }
  bool cached = false;
  ICwRequestSession* requests = nullptr;
  if (link_ != nullptr) {
    // The session cannot end while this uses it.
    const std::lock_guard<std::mutex> hold(link_->use);
    OrbeClientSession* const session = link_->session.load();
    cached = ShortCutAllowed() && LoadIfStampMatches(session, time_stamp_.load());
    if (session != nullptr && !cached) requests = session->GetSession();
  }
  // Sent without the lock, which a reply delivered at once takes again. The
  // engine frees a quit request session only on the thread this runs on, and
  // refuses what is sent on it after the quit.
  if (cached) {
    Complete(kCwStatusComplete, false);
  } else if (requests == nullptr || !requests->Send(this, request_.get())) {
    Complete(0, false);
  }
}

// --- completion and flight bookkeeping ---

void ReplySqlHandle::BeginFlight() {
  std::lock_guard<std::mutex> hold(flight_mutex_);
  ++flights_;
  ready_.store(false);
}

void ReplySqlHandle::EndFlight(std::optional<int> posted_code) {
  bool last_use = false;
  {
    // Posted under the lock, so that a Release either comes first and stops
    // the post, or comes after the completion was posted.
    const std::lock_guard<std::mutex> hold(flight_mutex_);
    if (posted_code && !released_ && notify_window_ != nullptr) {
      PostToWindow(notify_window_, notify_message_, static_cast<WPARAM>(*posted_code));
    }
    if (flights_ > 0) --flights_;
    last_use = released_ && flights_ == 0;
    flight_ended_.notify_all();
  }
  // A released handle goes with its last request; nothing of it is touched
  // after.
  if (last_use) const std::unique_ptr<ReplySqlHandle> owned(this);
}

bool ReplySqlHandle::InFlight() {
  const std::lock_guard<std::mutex> hold(flight_mutex_);
  return flights_ > 0;
}

void ReplySqlHandle::Complete(int code, bool save) {
  ResetCursor();
  last_status_.store(code);
  ready_.store(true);
  std::optional<CacheEntry> entry = save ? EntryToStore() : std::nullopt;
  if (!entry) {
    EndFlight(code);
    return;
  }
  // Posted under the cache lock, before the store: whoever reads the cache
  // after the post finds the reply there. The store only queues a copy (the
  // cache file is written when the replies pause); the handle may be reused
  // or gone once posted, so the store works on the copy.
  const std::lock_guard<std::mutex> session_hold(entry->link->use);
  const std::lock_guard<std::mutex> cache_hold(orbe::ReplyCacheLock());
  EndFlight(code);
  StoreInCache(std::move(*entry));
}

void ReplySqlHandle::ResetCursor() {
  std::lock_guard<std::mutex> hold(records_mutex_);
  cursor_.Reset(records_.size() == 1 ? std::string_view(records_[0]) : std::string_view());
}

void ReplySqlHandle::PostToWindow(HWND window, UINT message, WPARAM value) {
  // A destroyed window refuses the post; the reply is then dropped.
  PostMessage(window, message, value, reinterpret_cast<LPARAM>(static_cast<IFetchData*>(this)));
}

// --- sending ---

bool ReplySqlHandle::CanSend() {
  // A stamp still on its way would be taken for the next request's.
  return ready_.load() && Requests() != nullptr && request_ != nullptr && !InFlight();
}

void ReplySqlHandle::Clear() {
  {
    std::lock_guard<std::mutex> hold(records_mutex_);
    records_.clear();
    cursor_.Reset({});
  }
  time_stamp_.store(-1);
  cache_key_.clear();
  ready_.store(true);
  fields_.clear();
}

BOOL ReplySqlHandle::Dispatch(ICwRequest* request, IReplyHandle* handle, Mode mode) {
  BeginFlight();
  ICwRequestSession* requests = Requests();
  const bool sent = requests != nullptr &&
                    (mode == Mode::kAsync ? requests->Send(handle, request) : requests->SendAndWait(handle, request));
  if (!sent) {
    Complete(0, false);
    return FALSE;
  }
  return mode == Mode::kAsync || last_status_.load() == kCwStatusComplete;
}

template <typename Build>
BOOL ReplySqlHandle::SendBuilt(Mode mode, Build build) {
  if (!CanSend()) return FALSE;
  Clear();
  if (!build(*request_)) return FALSE;
  return Dispatch(request_.get(), this, mode);
}

// --- SELECT ---

BOOL ReplySqlHandle::StartSelect(const char* sql, const char* options, int optionLength, BOOL force, Mode mode) {
  if (!ready_.load()) return FALSE;
  const bool async = mode == Mode::kAsync;
  if (!CanSend()) {
    if (async) Complete(0, false);
    return FALSE;
  }
  Clear();
  const std::string_view option_bytes = orbe::OptionBytes(options, optionLength);
  const std::shared_ptr<const orbe::PreparedSelect> prepared =
      orbe::PrepareSelect(Session(), sql, option_bytes);
  if (prepared == nullptr || !orbe::BuildSelectRequest(*request_, prepared->record, option_bytes)) {
    if (async) Complete(0, false);
    return FALSE;
  }
  fields_ = prepared->fields;
  cache_key_ = prepared->cache_key;
  force_.store(force != FALSE);
  if (Cache() == nullptr || stamp_request_ == nullptr)
    return Dispatch(request_.get(), this, mode);
  orbe::BuildTableRequest(*stamp_request_, orbe::wire::kCodeTableTimeStamp, prepared->record.table);
  stamp_handle_.ResetTimeStamp();
  return async ? SendStampThenSelect() : WaitStampThenSelect();
}

// Without a cache entry the stamp cannot spare the SELECT, so the SELECT goes
// right behind it instead of after its reply. Both go on one connection,
// which the server answers in order: the stamp is still read before the
// records it is stored with, as when the SELECT waited for it.
BOOL ReplySqlHandle::SendStampThenSelect() {
  stamp_waited_.store(false);
  const bool together = !CacheCouldAnswer();
  select_with_stamp_.store(together);
  BeginFlight();
  if (together) BeginFlight();  // the stamp's own, ended by its reply
  ICwRequestSession* requests = Requests();
  if (requests == nullptr || !requests->Send(&stamp_handle_, stamp_request_.get())) {
    if (together) EndFlight(std::nullopt);
    Complete(0, false);
    return FALSE;
  }
  if (together && !requests->Send(this, request_.get())) {
    Complete(0, false);
    return FALSE;
  }
  return TRUE;
}

bool ReplySqlHandle::CacheCouldAnswer() {
  if (!ShortCutAllowed()) return false;
  ITCwcache* cache = Cache();
  if (cache == nullptr || cache_key_.empty()) return false;
  // The window's thread does not wait for the engine's thread storing a
  // reply: while it is, the stamp goes alone, as without this shortcut, and
  // the cache is asked when the stamp is back.
  const std::unique_lock<std::mutex> hold(orbe::ReplyCacheLock(), std::try_to_lock);
  if (!hold.owns_lock()) return true;
  const std::int64_t stored = cache->GetTimeStamp(cache_key_.c_str());
  return stored != -1 && stored != 0;
}

BOOL ReplySqlHandle::WaitStampThenSelect() {
  if (ShortCutAllowed() && LoadIfUsable()) {
    FinishWaitFromCache();
    return TRUE;
  }
  stamp_waited_.store(true);
  ICwRequestSession* requests = Requests();
  if (requests != nullptr) requests->SendAndWait(&stamp_handle_, stamp_request_.get());
  stamp_waited_.store(false);
  time_stamp_.store(stamp_handle_.TimeStamp());
  if (ShortCutAllowed() && LoadIfStampMatches(Session(), time_stamp_.load())) {
    FinishWaitFromCache();
    return TRUE;
  }
  return Dispatch(request_.get(), this, Mode::kWait);
}

void ReplySqlHandle::FinishWaitFromCache() {
  ResetCursor();
  last_status_.store(kCwStatusComplete);
  ready_.store(true);
}

bool ReplySqlHandle::ShortCutAllowed() const { return !force_.load() && !ShiftDown(); }

bool ReplySqlHandle::LoadIfUsable() {
  ITCwcache* cache = Cache();
  std::lock_guard<std::mutex> hold(orbe::ReplyCacheLock());
  return cache->IsUsable(cache_key_.c_str()) && LoadRecordsLocked(cache, cache_key_);
}

bool ReplySqlHandle::LoadIfStampMatches(OrbeClientSession* session, std::int64_t stamp) {
  ITCwcache* cache = session != nullptr ? session->GetCwcache() : nullptr;
  if (cache == nullptr || cache_key_.empty() || stamp == -1 || stamp == 0) return false;
  std::lock_guard<std::mutex> hold(orbe::ReplyCacheLock());
  return cache->GetTimeStamp(cache_key_.c_str()) == stamp && LoadRecordsLocked(cache, cache_key_);
}

bool ReplySqlHandle::LoadRecordsLocked(ITCwcache* cache, const std::string& key) {
  CwPacketList packets;
  if (!cache->Load(key.c_str(), packets)) return false;
  std::lock_guard<std::mutex> hold(records_mutex_);
  records_ = std::move(packets);
  return true;
}

std::optional<ReplySqlHandle::CacheEntry> ReplySqlHandle::EntryToStore() const {
  const std::int64_t stamp = time_stamp_.load();
  if (link_ == nullptr || cache_key_.empty() || stamp < 0) return std::nullopt;
  const std::lock_guard<std::mutex> hold(records_mutex_);
  return CacheEntry{link_, cache_key_, stamp, records_};
}

void ReplySqlHandle::StoreInCache(CacheEntry&& entry) {
  OrbeClientSession* const session = entry.link->session.load();
  orbe::DeferredReplyCache* cache = session != nullptr ? session->ReplyCache() : nullptr;
  if (cache != nullptr) cache->Queue(std::move(entry.key), std::move(entry.records), entry.stamp);
}
BOOL ReplySqlHandle::FetchData(const char* sql, const char* options, int optionLength, BOOL force) {
  return StartSelect(sql, options, optionLength, force, Mode::kAsync);
}

BOOL ReplySqlHandle::SynFetchData(const char* sql, const char* options, int optionLength, BOOL force) {
  return StartSelect(sql, options, optionLength, force, Mode::kWait);
}

// --- records ---

BOOL ReplySqlHandle::GetFieldInfo(const char* name, tagMemFieldInfo* field) {
  if (name == nullptr || field == nullptr || std::strlen(name) != kFieldNameLength) return FALSE;
  if ((name[0] != 'T' && name[0] != 't') || std::isdigit(static_cast<unsigned char>(name[1])) == 0) return FALSE;
  const int number = std::atoi(name + 1);
  for (const tagMemFieldInfo& candidate : fields_) {
    if (candidate.field_number == number) {
      *field = candidate;
      return TRUE;
    }
  }
  return FALSE;
}

// Read for every value of every record, so without the lock: the records
// change only while a request is in flight, when the handle is not ready, and
// the view handed out is used after any lock taken here would be released.
std::optional<std::string_view> ReplySqlHandle::Record(int index) const {
  if (!ready_.load(std::memory_order_acquire) || index < 0) return std::nullopt;
  if (static_cast<std::size_t>(index) >= records_.size()) return std::nullopt;
  return std::string_view(records_[static_cast<std::size_t>(index)]);
}

std::optional<std::string_view> ReplySqlHandle::OnlyRecord() const {
  if (!ready_.load()) return std::nullopt;
  std::lock_guard<std::mutex> hold(records_mutex_);
  if (records_.size() != 1) return std::nullopt;
  return std::string_view(records_[0]);
}

int ReplySqlHandle::GetRecordCount() {
  if (!ready_.load()) return 0;
  std::lock_guard<std::mutex> hold(records_mutex_);
  return static_cast<int>(records_.size());
}

BOOL ReplySqlHandle::GetRecordAsInt(int record, const tagMemFieldInfo* field, int* value) {
  const auto bytes = Record(record);
  return bytes && field != nullptr && orbe::ReadFieldAsInt(*bytes, *field, value);
}

BOOL ReplySqlHandle::GetRecordAsDouble(int record, const tagMemFieldInfo* field, double* value) {
  const auto bytes = Record(record);
  return bytes && field != nullptr && orbe::ReadFieldAsDouble(*bytes, *field, value);
}

BOOL ReplySqlHandle::GetRecordAsInt64(int record, const tagMemFieldInfo* field, std::int64_t* value) {
  const auto bytes = Record(record);
  return bytes && field != nullptr && orbe::ReadFieldAsInt64(*bytes, *field, value);
}

BOOL ReplySqlHandle::GetRecordAsString(int record, const tagMemFieldInfo* field, char* text, int size) {
  if (text != nullptr && size > 0) text[0] = '\0';
  const auto bytes = Record(record);
  if (!bytes || field == nullptr) return FALSE;
  std::vector<tagMemConstInfo> consts;
  bool loaded = false;
  const orbe::ConstTextLookup lookup = [&](std::string_view code, std::string* out) {
    if (!loaded) {
      consts.resize(orbe::kMaxConstsPerClass);
      consts.resize(static_cast<std::size_t>(
          std::max(0L, CwFileUtil::GetConstList(Session(), field->const_class, consts.data()))));
      loaded = true;
    }
    for (const tagMemConstInfo& entry : consts) {
      if (code == entry.code) {
        *out = entry.text;
        return true;
      }
    }
    return false;
  };
  return orbe::ReadFieldAsText(*bytes, *field, text, size, &lookup);
}

BOOL ReplySqlHandle::GetRecordAsRawString(int record, const tagMemFieldInfo* field, char* text, int size) {
  if (text != nullptr && size > 0) text[0] = '\0';
  const auto bytes = Record(record);
  return bytes && field != nullptr && orbe::ReadFieldAsText(*bytes, *field, text, size, nullptr);
}

// --- changes and statistics ---

BOOL ReplySqlHandle::DeleteBySql(const char* sql) {
  return SendBuilt(Mode::kAsync, [&](ICwRequest& r) { return orbe::BuildDeleteRequest(Session(), r, sql); });
}
BOOL ReplySqlHandle::SynDeleteBySql(const char* sql) {
  return SendBuilt(Mode::kWait, [&](ICwRequest& r) { return orbe::BuildDeleteRequest(Session(), r, sql); });
}
BOOL ReplySqlHandle::UpdateBySql(const char* sql) {
  return SendBuilt(Mode::kAsync, [&](ICwRequest& r) { return orbe::BuildUpdateRequest(Session(), r, sql); });
}
BOOL ReplySqlHandle::SynUpdateBySql(const char* sql) {
  return SendBuilt(Mode::kWait, [&](ICwRequest& r) { return orbe::BuildUpdateRequest(Session(), r, sql); });
}
BOOL ReplySqlHandle::InsertBySql(const char* sql) {
  return SendBuilt(Mode::kAsync, [&](ICwRequest& r) { return orbe::BuildInsertRequest(Session(), r, sql); });
}
BOOL ReplySqlHandle::SynInsertBySql(const char* sql) {
  return SendBuilt(Mode::kWait, [&](ICwRequest& r) { return orbe::BuildInsertRequest(Session(), r, sql); });
}

int ReplySqlHandle::GetDeleteResult(int* count) {
  const orbe::ChangeResult result = orbe::ParseChangeResult(OnlyRecord().value_or(std::string_view()));
  if (count != nullptr) *count = result.count;
  return result.status;
}

BOOL ReplySqlHandle::FetchStatData(const char* sql, const char* options, int optionLength) {
  return SendBuilt(Mode::kAsync, [&](ICwRequest& r) {
    return orbe::BuildStatRequest(Session(), r, sql, options, optionLength);
  });
}

BOOL ReplySqlHandle::SynFetchStatData(const char* sql, const char* options, int optionLength) {
  return SendBuilt(Mode::kWait, [&](ICwRequest& r) {
    return orbe::BuildStatRequest(Session(), r, sql, options, optionLength);
  });
}

std::optional<orbe::wire::StatResult> ReplySqlHandle::Stat() const {
  const auto record = OnlyRecord();
  if (!record) return std::nullopt;
  return orbe::ParseStatResult(*record);
}

BOOL ReplySqlHandle::GetStatResultAsInt(int* value) {
  const auto stat = Stat();
  const auto read = stat ? orbe::StatAsInt64(*stat) : std::nullopt;
  if (!read || value == nullptr) return FALSE;
  *value = static_cast<std::int32_t>(*read);
  return TRUE;
}

BOOL ReplySqlHandle::GetStatResultAsDouble(double* value) {
  const auto stat = Stat();
  const auto read = stat ? orbe::StatAsDouble(*stat) : std::nullopt;
  if (!read || value == nullptr) return FALSE;
  *value = *read;
  return TRUE;
}

BOOL ReplySqlHandle::GetStatResultAsString(char* text, int size) {
  if (text == nullptr || size <= 0) return FALSE;
  text[0] = '\0';
  const auto stat = Stat();
  const auto read = stat ? orbe::StatAsText(*stat) : std::nullopt;
  if (!read || read->size() >= static_cast<std::size_t>(size)) return FALSE;
  std::memcpy(text, read->c_str(), read->size() + 1);
  return TRUE;
}

int ReplySqlHandle::GetStatResultAsRaw(void* buffer, int size) {
  const auto stat = Stat();
  if (!stat || buffer == nullptr || size < 0 || stat->value.size() > static_cast<std::size_t>(size)) return -1;
  std::memcpy(buffer, stat->value.data(), stat->value.size());
  return static_cast<int>(stat->value.size());
}

// --- time stamps and flush ---

BOOL ReplySqlHandle::IncTimestamp(int table) {
  return SendBuilt(Mode::kAsync, [&](ICwRequest& r) {
    orbe::BuildTableRequest(r, orbe::wire::kCodeTimeStampIncrease, table);
    return true;
  });
}

BOOL ReplySqlHandle::SynIncTimestamp(int table) {
  return SendBuilt(Mode::kWait, [&](ICwRequest& r) {
    orbe::BuildTableRequest(r, orbe::wire::kCodeTimeStampIncrease, table);
    return true;
  });
}

std::int64_t ReplySqlHandle::GetIncTimestampResult() {
  const auto record = OnlyRecord();
  return record ? orbe::ParseIncreasedStamp(*record) : -1;
}

BOOL ReplySqlHandle::FlushTable(int table) {
  return SendBuilt(Mode::kAsync, [&](ICwRequest& r) {
    orbe::BuildTableRequest(r, orbe::wire::kCodeFlush, table);
    return true;
  });
}

int ReplySqlHandle::GetFlushTableResult() {
  const auto record = OnlyRecord();
  return record ? orbe::ParseFlushResult(*record) : orbe::kResultFailed;
}

std::int64_t ReplySqlHandle::SynGetTimestamp(int table) {
  if (!CanSend() || stamp_request_ == nullptr) return -1;
  orbe::BuildTableRequest(*stamp_request_, orbe::wire::kCodeTableTimeStamp, table);
  stamp_handle_.ResetTimeStamp();
  stamp_waited_.store(true);
  ICwRequestSession* requests = Requests();
  const bool sent = requests != nullptr && requests->SendAndWait(&stamp_handle_, stamp_request_.get());
  stamp_waited_.store(false);
  return sent ? stamp_handle_.TimeStamp() : -1;
}

// --- calls and reloads ---

BOOL ReplySqlHandle::Call(std::uint16_t code, const char* name, std::string_view parameters, Mode mode) {
  return SendBuilt(mode, [&](ICwRequest& r) { return orbe::BuildCallRequest(r, code, name, parameters); });
}

BOOL ReplySqlHandle::CallTQL(const char* name, const char* parameters) {
  return Call(orbe::wire::kCodeCall, name, parameters != nullptr ? parameters : "", Mode::kAsync);
}
BOOL ReplySqlHandle::SynCallTQL(const char* name, const char* parameters) {
  return Call(orbe::wire::kCodeCall, name, parameters != nullptr ? parameters : "", Mode::kWait);
}
BOOL ReplySqlHandle::ReloadTQL(const char* name) { return Call(orbe::wire::kCodeReload, name, {}, Mode::kAsync); }
BOOL ReplySqlHandle::SynReloadTQL(const char* name) { return Call(orbe::wire::kCodeReload, name, {}, Mode::kWait); }

BOOL ReplySqlHandle::CallRPC(const char* name, const void* parameters, int length) {
  if (length < 0 || (length > 0 && parameters == nullptr)) return FALSE;
  return Call(orbe::wire::kCodeCall, name, std::string_view(static_cast<const char*>(parameters), length), Mode::kAsync);
}

BOOL ReplySqlHandle::SynCallRPC(const char* name, const void* parameters, int length) {
  if (length < 0 || (length > 0 && parameters == nullptr)) return FALSE;
  return Call(orbe::wire::kCodeCall, name, std::string_view(static_cast<const char*>(parameters), length), Mode::kWait);
}

int ReplySqlHandle::GetCallResult() { return ready_.load() ? cursor_.Status() : orbe::kResultFailed; }

BOOL ReplySqlHandle::SetReplyReadPos(int position) { return ready_.load() && cursor_.Seek(position); }
int ReplySqlHandle::GetReplyReadPos() { return cursor_.Position(); }
int ReplySqlHandle::GetReplyLength() { return ready_.load() ? cursor_.LengthMinusOne() : -1; }

BOOL ReplySqlHandle::PopReplyAsString(int length, char* text, int size) {
  if (!ready_.load() || text == nullptr || size <= 0) return FALSE;
  text[0] = '\0';
  // Tried on a copy: a text that does not fit the caller leaves the position.
  orbe::ReplyCursor trial = cursor_;
  const auto popped = trial.PopText(length);
  if (!popped || popped->size() >= static_cast<std::size_t>(size)) return FALSE;
  std::memcpy(text, popped->c_str(), popped->size() + 1);
  cursor_ = trial;
  return TRUE;
}

template <typename T>
static BOOL PopInto(bool ready, orbe::ReplyCursor& cursor, T* value) {
  if (!ready || value == nullptr) return FALSE;
  const auto popped = cursor.Pop<T>();
  if (!popped) return FALSE;
  *value = *popped;
  return TRUE;
}

BOOL ReplySqlHandle::PopReplyAsChar(signed char* value) { return PopInto(ready_.load(), cursor_, value); }
BOOL ReplySqlHandle::PopReplyAsShort(short* value) { return PopInto(ready_.load(), cursor_, value); }
BOOL ReplySqlHandle::PopReplyAsInt(int* value) { return PopInto(ready_.load(), cursor_, value); }
BOOL ReplySqlHandle::PopReplyAsInt64(std::int64_t* value) { return PopInto(ready_.load(), cursor_, value); }
BOOL ReplySqlHandle::PopReplyAsFloat(float* value) { return PopInto(ready_.load(), cursor_, value); }
BOOL ReplySqlHandle::PopReplyAsDouble(double* value) { return PopInto(ready_.load(), cursor_, value); }

// --- local cache ---

BOOL ReplySqlHandle::LoadCache(const char* key) {
  ITCwcache* cache = Cache();
  if (cache == nullptr || key == nullptr || !ready_.load()) return FALSE;
  {
    std::lock_guard<std::mutex> hold(orbe::ReplyCacheLock());
    if (!LoadRecordsLocked(cache, key)) return FALSE;
  }
  BeginFlight();
  Complete(kCwStatusComplete, false);
  return TRUE;
}

BOOL ReplySqlHandle::SaveCache(const char* key, std::int64_t timeStamp) {
  ITCwcache* cache = Cache();
  if (cache == nullptr || key == nullptr || !ready_.load()) return FALSE;
  std::lock_guard<std::mutex> cacheHold(orbe::ReplyCacheLock());
  std::lock_guard<std::mutex> hold(records_mutex_);
  return cache->Save(key, records_, timeStamp) ? TRUE : FALSE;
}

std::int64_t ReplySqlHandle::GetCacheTimeStamp(const char* key) {
  ITCwcache* cache = Cache();
  if (cache == nullptr || key == nullptr) return -1;
  std::lock_guard<std::mutex> hold(orbe::ReplyCacheLock());
  return cache->GetTimeStamp(key);
}

// --- options and progress ---

void ReplySqlHandle::SetProgressNotify(HWND window, UINT message) {
  progress_message_.store(message);
  progress_window_.store(window);
}

WORD ReplySqlHandle::GetSqlOptionBuffer(char* buffer, int size) {
  return orbe::EncodeSqlOptions(sql_options_, buffer, size);
}

void ReplySqlHandle::AddSqlOption(BYTE type, const char* text) {
  sql_options_.push_back({type, text != nullptr ? text : ""});
}

void ReplySqlHandle::ClearSqlOption() { sql_options_.clear(); }
