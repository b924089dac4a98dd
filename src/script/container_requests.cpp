// The data requests of IContainerFun: asynchronous requests entered in the
// request map (their reply reaches the named script function), synchronous
// requests on the session's long-lived handle, and reading the replies.
#include "orbe/script/container_fun.h"

#include <cstring>
#include <vector>

#include "dataservice/reply_packets.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/platform/text.h"
#include "orbe/script/secured_text.h"
#include "script/container_data.h"

using namespace orbe;

namespace {

// An SQL option block (SELECT and statistics) never exceeds this.
constexpr int kMaxOptionBlock = 8000;
// Texts of one field: the widest constant translation or data-area text.
constexpr int kMaxFieldText = 65536;

// The statement of a secured pair: both parts must decode.
std::string SecuredStatement(const std::string& head, const std::string& tail) {
  const std::string first = DecodeSecuredText(head);
  if (first.empty()) return std::string();
  if (tail.empty()) return first;
  const std::string second = DecodeSecuredText(tail);
  return second.empty() ? std::string() : first + second;
}

// The table of a time-stamp or flush request: the number, or (when it is 0)
// the table whose number or name the text gives.
int TableOf(OrbeClientSession* session, int table, const std::string& name) {
  if (table != 0 || name.empty()) return table;
  char* end = nullptr;
  const long number = std::strtol(name.c_str(), &end, 10);
  if (end != name.c_str() && *end == '\0') return static_cast<int>(number);
  std::vector<tagMemTableInfo> tables(kMaxTables);
  const long count = CwFileUtil::GetAllTable(session, tables.data());
  for (long i = 0; i < count; ++i) {
    const tagMemTableInfo& info = tables[static_cast<std::size_t>(i)];
    if (name == FieldText(info.name)) return static_cast<int>(info.table_number);
  }
  return 0;
}

// A value read from a reply by one of the handle's slots; the empty value
// when the id names no handle or the slot finds nothing.
template <typename T>
T ReadReply(ContainerData& d, int handle, BOOL (IFetchData::*read)(T*)) {
  IFetchData* h = d.HandleOf(handle);
  T value{};
  return h != nullptr && (h->*read)(&value) ? value : T{};
}

// The accumulated SQL options as one block (empty without any); the list
// starts over.
std::string TakeOptionBlock(ContainerData& d) {
  if (d.sql_options.empty()) return std::string();
  std::string block(kMaxOptionBlock, '\0');
  block.resize(EncodeSqlOptions(d.sql_options, block.data(), kMaxOptionBlock));
  d.sql_options.clear();
  return block;
}

std::string& FieldBuffer() {
  thread_local std::string buffer(kMaxFieldText + 1, '\0');
  return buffer;
}

}  // namespace

// --- Asynchronous requests ---

namespace {

// Makes the request's handle, sends with `send`, and answers 1 when the
// request is in flight: its reply then reaches the callback once. A refused
// send answers 0 and its callback is never called.
template <typename Send>
int StartRequest(ContainerData& d, const std::string& callback, Send send) {
  int id = 0;
  IFetchData* handle = d.NewRequest(callback, &id);
  if (handle == nullptr) return 0;
  if (send(*handle) != FALSE) return 1;
  d.RetireRequest(id);
  return 0;
}

}  // namespace

int IContainerFun::FetchData(const std::string& callback, const std::string& sql, int option_type,
                             const std::string& option_text) {
  if (!option_text.empty()) AddSqlOption(option_type, option_text);
  const std::string block = TakeOptionBlock(*data_);
  return StartRequest(*data_, callback, [&](IFetchData& h) {
    return h.FetchData(sql.c_str(), block.empty() ? nullptr : block.data(), static_cast<int>(block.size()), FALSE);
  });
}

int IContainerFun::FetchData_Sec(const std::string& callback, const std::string& secured,
                                 const std::string& secured_tail, int option_type,
                                 const std::string& option_text) {
  return FetchData(callback, SecuredStatement(secured, secured_tail), option_type, option_text);
}

int IContainerFun::FetchStatData(const std::string& callback, const std::string& sql) {
  const std::string block = TakeOptionBlock(*data_);
  return StartRequest(*data_, callback, [&](IFetchData& h) {
    return h.FetchStatData(sql.c_str(), block.empty() ? nullptr : block.data(), static_cast<int>(block.size()));
  });
}

int IContainerFun::FetchStatData_Sec(const std::string& callback, const std::string& secured,
                                     const std::string& secured_tail) {
  return FetchStatData(callback, SecuredStatement(secured, secured_tail));
}

int IContainerFun::DeleteBySql(const std::string& callback, const std::string& sql, const std::string& secured) {
  const std::string statement = sql.empty() ? SecuredStatement(secured, "") : sql;
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.DeleteBySql(statement.c_str()); });
}

int IContainerFun::UpdateBySql(const std::string& callback, const std::string& sql, const std::string& secured) {
  const std::string statement = sql.empty() ? SecuredStatement(secured, "") : sql;
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.UpdateBySql(statement.c_str()); });
}

int IContainerFun::InsertBySql(const std::string& callback, const std::string& sql, const std::string& secured) {
  const std::string statement = sql.empty() ? SecuredStatement(secured, "") : sql;
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.InsertBySql(statement.c_str()); });
}

int IContainerFun::IncTimestamp(const std::string& callback, int table, const std::string& table_name) {
  const int number = TableOf(Session(), table, table_name);
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.IncTimestamp(number); });
}

int IContainerFun::FlushTable(const std::string& callback, int table, const std::string& table_name) {
  const int number = TableOf(Session(), table, table_name);
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.FlushTable(number); });
}

int IContainerFun::CallTQL(const std::string& callback, const std::string& name, const std::string& parameters) {
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.CallTQL(name.c_str(), parameters.c_str()); });
}

int IContainerFun::ReloadTQL(const std::string& callback, const std::string& name, const std::string&) {
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.ReloadTQL(name.c_str()); });
}

int IContainerFun::FetchTQLCache(const std::string& callback, const std::string& key) {
  return StartRequest(*data_, callback, [&](IFetchData& h) { return h.LoadCache(key.c_str()); });
}

// --- Synchronous requests ---

namespace {

template <typename Send>
int SendOnSyncHandle(ContainerData& d, Send send) {
  int id = 0;
  IFetchData* handle = d.SyncHandleOfSession(&id);
  return handle != nullptr && send(*handle) ? id : 0;
}

}  // namespace

int IContainerFun::Syn_FetchStatData(const std::string& sql) {
  const std::string block = TakeOptionBlock(*data_);
  return SendOnSyncHandle(*data_, [&](IFetchData& h) {
    return h.SynFetchStatData(sql.c_str(), block.empty() ? nullptr : block.data(), static_cast<int>(block.size())) !=
           FALSE;
  });
}

int IContainerFun::Syn_FetchStatData_Sec(const std::string& secured, const std::string& secured_tail) {
  return Syn_FetchStatData(SecuredStatement(secured, secured_tail));
}

std::int64_t IContainerFun::Syn_GetTimestamp(int table) {
  IFetchData* handle = data_->SyncHandleOfSession(nullptr);
  return handle != nullptr ? handle->SynGetTimestamp(table) : 0;
}

int IContainerFun::Syn_IncTimestamp(int table, const std::string& table_name) {
  const int number = TableOf(Session(), table, table_name);
  return SendOnSyncHandle(*data_, [&](IFetchData& h) { return h.SynIncTimestamp(number) != FALSE; });
}

int IContainerFun::Syn_CallTQL(const std::string& name, const std::string& parameters) {
  return SendOnSyncHandle(*data_,
                          [&](IFetchData& h) { return h.SynCallTQL(name.c_str(), parameters.c_str()) != FALSE; });
}

int IContainerFun::Syn_ReloadTQL(const std::string& name, const std::string&) {
  return SendOnSyncHandle(*data_, [&](IFetchData& h) { return h.SynReloadTQL(name.c_str()) != FALSE; });
}

// --- SQL options ---

void IContainerFun::AddSqlOption(int type, const std::string& text) {
  // The option block carries the type in one byte; 0 would end the block.
  if (type <= 0 || type > 255) return;
  data_->sql_options.push_back({static_cast<std::uint8_t>(type), text});
}

void IContainerFun::ClearSqlOption() { data_->sql_options.clear(); }

// --- Reading replies ---

int IContainerFun::GetSqlRecordRowCount(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr ? h->GetRecordCount() : 0;
}

std::string IContainerFun::GetSqlRecordAsString(int handle, int record, const std::string& field_name) {
  IFetchData* h = data_->HandleOf(handle);
  const tagMemFieldInfo* field = data_->FieldOf(h, field_name);
  std::string& buffer = FieldBuffer();
  if (field == nullptr || !h->GetRecordAsString(record, field, buffer.data(), static_cast<int>(buffer.size()))) {
    return std::string();
  }
  return std::string(buffer.c_str());
}

int IContainerFun::GetSqlRecordAsInt(int handle, int record, const std::string& field_name) {
  IFetchData* h = data_->HandleOf(handle);
  const tagMemFieldInfo* field = data_->FieldOf(h, field_name);
  int value = 0;
  return field != nullptr && h->GetRecordAsInt(record, field, &value) ? value : 0;
}

double IContainerFun::GetSqlRecordAsDouble(int handle, int record, const std::string& field_name) {
  IFetchData* h = data_->HandleOf(handle);
  const tagMemFieldInfo* field = data_->FieldOf(h, field_name);
  double value = 0;
  return field != nullptr && h->GetRecordAsDouble(record, field, &value) ? value : 0;
}

std::int64_t IContainerFun::GetSqlRecordAsInt64(int handle, int record, const std::string& field_name) {
  IFetchData* h = data_->HandleOf(handle);
  const tagMemFieldInfo* field = data_->FieldOf(h, field_name);
  std::int64_t value = 0;
  return field != nullptr && h->GetRecordAsInt64(record, field, &value) ? value : 0;
}

double IContainerFun::GetStatResultAsDouble(int handle) {
  return ReadReply(*data_, handle, &IFetchData::GetStatResultAsDouble);
}

int IContainerFun::GetStatResultAsInt(int handle) {
  return ReadReply(*data_, handle, &IFetchData::GetStatResultAsInt);
}

std::string IContainerFun::GetStatResultAsStr(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  char text[256] = {};
  return h != nullptr && h->GetStatResultAsString(text, sizeof text) ? std::string(text) : std::string();
}

namespace {

// (1 when the write succeeded, records changed); (0, 0) without a reply.
std::tuple<int, int> ChangeResult(IFetchData* handle) {
  if (handle == nullptr) return {0, 0};
  int count = 0;
  const int status = handle->GetDeleteResult(&count);
  return {status == 0 ? 1 : 0, count < 0 ? 0 : count};
}

}  // namespace

std::tuple<int, int> IContainerFun::GetDeleteCount(int handle) { return ChangeResult(data_->HandleOf(handle)); }
std::tuple<int, int> IContainerFun::GetUpdateCount(int handle) { return ChangeResult(data_->HandleOf(handle)); }
std::tuple<int, int> IContainerFun::GetInsertResult(int handle) { return ChangeResult(data_->HandleOf(handle)); }

std::int64_t IContainerFun::GetIncTimestampResultAsInt64(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr ? h->GetIncTimestampResult() : 0;
}

int IContainerFun::GetFlushTableResultAsInt(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr ? h->GetFlushTableResult() : 0;
}

void IContainerFun::SaveTQLCache(int handle, const std::string& name, const std::string& parameters,
                                 std::int64_t stamp) {
  IFetchData* h = data_->HandleOf(handle);
  if (h != nullptr) h->SaveCache((name + "|" + parameters).c_str(), stamp);
}

std::int64_t IContainerFun::GetTQLCacheTimeStamp(const std::string& name, const std::string& parameters) {
  IFetchData* h = data_->SyncHandleOfSession(nullptr);
  return h != nullptr ? h->GetCacheTimeStamp((name + "|" + parameters).c_str()) : 0;
}

int IContainerFun::GetTQLResult(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr ? h->GetCallResult() : 0;
}

// --- The reply buffer of call replies ---

int IContainerFun::SeekTQLRpyBufPos(int handle, int position) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr && h->SetReplyReadPos(position) ? 1 : 0;
}

int IContainerFun::GetTQLRpyBufPos(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr ? h->GetReplyReadPos() : 0;
}

int IContainerFun::GetTQLRpyLength(int handle) {
  IFetchData* h = data_->HandleOf(handle);
  return h != nullptr ? h->GetReplyLength() : 0;
}

std::string IContainerFun::PopRpyBufAsString(int handle, int length) {
  IFetchData* h = data_->HandleOf(handle);
  if (h == nullptr || length <= 0 || length > 65536) return std::string();
  std::string& buffer = FieldBuffer();
  if (!h->PopReplyAsString(length, buffer.data(), static_cast<int>(buffer.size()))) return std::string();
  return std::string(buffer.c_str());
}

int IContainerFun::PopRpyBufAsChar(int handle) {
  return ReadReply(*data_, handle, &IFetchData::PopReplyAsChar);
}

int IContainerFun::PopRpyBufAsShort(int handle) {
  return ReadReply(*data_, handle, &IFetchData::PopReplyAsShort);
}

int IContainerFun::PopRpyBufAsInt(int handle) {
  return ReadReply(*data_, handle, &IFetchData::PopReplyAsInt);
}

std::int64_t IContainerFun::PopRpyBufAsInt64(int handle) {
  return ReadReply(*data_, handle, &IFetchData::PopReplyAsInt64);
}

float IContainerFun::PopRpyBufAsFloat(int handle) {
  return ReadReply(*data_, handle, &IFetchData::PopReplyAsFloat);
}

double IContainerFun::PopRpyBufAsDouble(int handle) {
  return ReadReply(*data_, handle, &IFetchData::PopReplyAsDouble);
}
