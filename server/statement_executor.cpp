#include "statement_executor.h"

#include <algorithm>
#include <vector>

#include "protocol/replies.h"
#include "protocol/requests.h"
#include "protocol/sql_records.h"
#include "server_log.h"
#include "statement_decode.h"
#include "statement_reply.h"
#include "statement_sql.h"

namespace orbe::server {
namespace {

std::int32_t Finish(std::string* out, wire::ReplyTo to, std::int32_t status) {
  wire::AppendEndPacket(out, to, status);
  return status;
}

// One data packet with the body, then end 100.
std::int32_t Answer(std::string* out, wire::ReplyTo to, const std::string& body) {
  wire::AppendDataPacket(out, to, 100, body);
  return Finish(out, to, wire::kStatusComplete);
}

void Bind(sqlite3_stmt* statement, const std::vector<SqlValue>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    const SqlValue& value = values[i];
    switch (value.kind) {
      case SqlValue::Kind::kInteger:
        sqlite3_bind_int64(statement, index, value.integer);
        break;
      case SqlValue::Kind::kReal:
        sqlite3_bind_double(statement, index, value.real);
        break;
      case SqlValue::Kind::kText:
        sqlite3_bind_text(statement, index, value.text.data(), static_cast<int>(value.text.size()),
                          SQLITE_STATIC);
        break;
      case SqlValue::Kind::kNull:
        sqlite3_bind_null(statement, index);
        break;
    }
  }
}

// Prepared and bound; null (and a log line) when SQLite refuses the text.
SqliteStatement Prepare(Storage& storage, const BuiltSql& sql) {
  std::string error;
  SqliteStatement statement = storage.Prepare(sql.text.c_str(), &error);
  if (!statement) {
    LogLine(LogLevel::kWarn, "statement refused: %s", error.c_str());
    return nullptr;
  }
  Bind(statement.get(), sql.bindings);
  return statement;
}

bool Execute(Storage& storage, const char* sql) {
  return sqlite3_exec(storage.Handle(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A write and its stamp raise commit together or not at all.
class WriteTransaction {
 public:
  explicit WriteTransaction(Storage& storage) : storage_(storage) {
    open_ = Execute(storage_, "BEGIN IMMEDIATE");
  }
  ~WriteTransaction() {
    if (open_) Execute(storage_, "ROLLBACK");
  }
  bool Open() const { return open_; }
  bool Commit() {
    open_ = !Execute(storage_, "COMMIT");
    return !open_;
  }

 private:
  Storage& storage_;
  bool open_ = false;
};

// Runs the statements of one write; the count is the changes of the last.
// Equal stamps promise equal data, so a write that changed nothing keeps it.
bool RunWrite(Storage& storage, std::uint32_t table, const std::vector<BuiltSql>& statements,
              std::uint32_t* count) {
  const std::lock_guard lock(storage.Mutex());
  WriteTransaction transaction(storage);
  if (!transaction.Open()) return false;
  for (const BuiltSql& sql : statements) {
    const SqliteStatement statement = Prepare(storage, sql);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_DONE) return false;
  }
  *count = static_cast<std::uint32_t>(sqlite3_changes(storage.Handle()));
  if (*count > 0 && !storage.RaiseStampLocked(table, 1)) return false;
  return transaction.Commit();
}

std::int32_t AnswerWrite(Storage& storage, std::uint32_t table, const std::vector<BuiltSql>& statements,
                         wire::ReplyTo to, std::string* out) {
  std::uint32_t count = 0;
  const bool done = RunWrite(storage, table, statements, &count);
  return Answer(out, to, wire::EncodeWriteResult({done ? wire::kResultOk : wire::kResultFailed, done ? count : 0}));
}

const DictionarySchema* SchemaOf(Storage& storage) {
  std::string error;
  const DictionarySchema* schema = storage.Schema(&error);
  if (schema == nullptr) LogLine(LogLevel::kError, "%s", error.c_str());
  return schema;
}

// Outcome of reading the result rows of a SELECT.
enum class Rows { kDone, kTooLarge, kFailed };

Rows CollectRecords(Storage& storage, const SelectStatement& select, std::vector<std::string>* records) {
  const BuiltSql sql = BuildSelect(select);
  const RecordEncoder encoder(select.fields);
  const std::lock_guard lock(storage.Mutex());
  const SqliteStatement statement = Prepare(storage, sql);
  if (!statement) return Rows::kFailed;
  std::size_t total = 0;
  int rc;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    records->push_back(encoder.Encode(statement.get()));
    total += records->back().size() + wire::kReplyHeaderSize;
    if (total > kMaxSelectReplyBytes) return Rows::kTooLarge;
  }
  return rc == SQLITE_DONE ? Rows::kDone : Rows::kFailed;
}

}  // namespace

std::int32_t RunSelect(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  const DictionarySchema* schema = SchemaOf(storage);
  if (schema == nullptr) return Finish(out, to, wire::kStatusServerError);
  SelectStatement select;
  if (DecodeSelect(*schema, body, &select) != Refusal::kNone) return Finish(out, to, wire::kStatusMalformed);
  std::vector<std::string> records;
  switch (CollectRecords(storage, select, &records)) {
    case Rows::kFailed:
      return Finish(out, to, wire::kStatusServerError);
    case Rows::kTooLarge:
      return Finish(out, to, wire::kStatusMalformed);
    case Rows::kDone:
      break;
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto progress = static_cast<std::int32_t>((i + 1) * 100 / records.size());
    // Records above the inflate buffer of the clients travel uncompressed.
    if (!wire::AppendCompressibleDataPacket(out, to, progress, records[i])) {
      wire::AppendDataPacket(out, to, progress, records[i]);
    }
  }
  return Finish(out, to, wire::kStatusComplete);
}

std::int32_t RunStatistics(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  const DictionarySchema* schema = SchemaOf(storage);
  if (schema == nullptr) return Finish(out, to, wire::kStatusServerError);
  StatStatement stat;
  switch (DecodeStat(*schema, body, &stat)) {
    case Refusal::kMalformed:
      return Finish(out, to, wire::kStatusMalformed);
    case Refusal::kUnknownTable:
      return Answer(out, to, wire::EncodeStatResult(wire::kResultFailed, 0, {}));
    case Refusal::kNone:
      break;
  }
  const BuiltSql sql = BuildStat(stat);
  const std::lock_guard lock(storage.Mutex());
  const SqliteStatement statement = Prepare(storage, sql);
  if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) {
    return Finish(out, to, wire::kStatusServerError);
  }
  return Answer(out, to, EncodeStatRow(stat, statement.get()));
}

// Decodes a write statement. On a refusal the answer is already written to
// `out`, its status is in `*status`, and the result is false.
template <typename Statement, typename Decode>
bool DecodeWrite(Storage& storage, std::string_view body, Decode decode, Statement* statement, wire::ReplyTo to,
                 std::string* out, std::int32_t* status) {
  const DictionarySchema* schema = SchemaOf(storage);
  if (schema == nullptr) {
    *status = Finish(out, to, wire::kStatusServerError);
    return false;
  }
  switch (decode(*schema, body, statement)) {
    case Refusal::kMalformed:
      *status = Finish(out, to, wire::kStatusMalformed);
      return false;
    case Refusal::kUnknownTable:
      *status = Answer(out, to, wire::EncodeWriteResult({wire::kResultFailed, 0}));
      return false;
    case Refusal::kNone:
      break;
  }
  return true;
}

std::int32_t RunDelete(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  DeleteStatement remove;
  std::int32_t status = 0;
  if (!DecodeWrite(storage, body, DecodeDelete, &remove, to, out, &status)) return status;
  return AnswerWrite(storage, remove.table->number, {BuildDelete(remove)}, to, out);
}

std::int32_t RunUpdate(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  UpdateStatement update;
  std::int32_t status = 0;
  if (!DecodeWrite(storage, body, DecodeUpdate, &update, to, out, &status)) return status;
  return AnswerWrite(storage, update.table->number, {BuildUpdate(update)}, to, out);
}

std::int32_t RunInsert(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  InsertStatement insert;
  std::int32_t status = 0;
  if (!DecodeWrite(storage, body, DecodeInsert, &insert, to, out, &status)) return status;
  const std::uint8_t key_field = insert.table->key_field;
  const auto holds_key = [key_field](const Assignment& assignment) {
    return (static_cast<std::uint16_t>(assignment.field->number) & 0xFF) == key_field;
  };
  const auto key = std::find_if(insert.assignments.begin(), insert.assignments.end(), holds_key);
  // A table with a key field takes no record without its key.
  if (key_field != 0 && key == insert.assignments.end()) {
    return Answer(out, to, wire::EncodeWriteResult({wire::kResultFailed, 0}));
  }
  std::vector<BuiltSql> statements;
  if (insert.back && key != insert.assignments.end()) {
    statements.push_back(BuildDeleteByKey(*insert.table, *key));
  }
  statements.push_back(BuildInsert(insert));
  return AnswerWrite(storage, insert.table->number, statements, to, out);
}

std::int32_t RunFlush(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  const auto table = wire::DecodeTableRequest(body);
  if (!table) return Finish(out, to, wire::kStatusMalformed);
  std::int64_t stamp = 0;
  switch (storage.TableStamp(*table, &stamp)) {
    case StampLookup::kFailed:
      return Finish(out, to, wire::kStatusServerError);
    case StampLookup::kUnknownTable:
      return Answer(out, to, wire::EncodeFlushResult(wire::kResultFailed));
    case StampLookup::kFound:
      break;
  }
  // Every write is committed before it is answered; flushing moves the
  // committed pages into the database file itself.
  const std::lock_guard lock(storage.Mutex());
  sqlite3* db = storage.Handle();
  const bool flushed = sqlite3_db_cacheflush(db) == SQLITE_OK &&
                       sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr) ==
                           SQLITE_OK;
  return Answer(out, to, wire::EncodeFlushResult(flushed ? wire::kResultOk : wire::kResultFailed));
}

std::int32_t RunStampIncrease(Storage& storage, std::string_view body, wire::ReplyTo to, std::string* out) {
  const auto table = wire::DecodeTableRequest(body);
  if (!table) return Finish(out, to, wire::kStatusMalformed);
  std::int64_t stamp = 0;
  switch (storage.TableStamp(*table, &stamp)) {
    case StampLookup::kFailed:
      return Finish(out, to, wire::kStatusServerError);
    case StampLookup::kUnknownTable:
      return Answer(out, to, wire::EncodeTimeStampBody({wire::kResultFailed, -1}));
    case StampLookup::kFound:
      break;
  }
  if (!storage.RaiseStamp(static_cast<std::uint32_t>(*table), 1) ||
      storage.TableStamp(*table, &stamp) != StampLookup::kFound) {
    return Answer(out, to, wire::EncodeTimeStampBody({wire::kResultFailed, -1}));
  }
  return Answer(out, to, wire::EncodeTimeStampBody({wire::kResultOk, stamp}));
}

}  // namespace orbe::server
