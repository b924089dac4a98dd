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

void LogRefused(const SqlConnection& connection) {
  LogLine(LogLevel::kWarn, "statement refused: %s", connection.LastError().c_str());
}

// Runs the statements of one write; the count is the changes of the last.
// Equal stamps promise equal data, so a write that changed nothing keeps it.
bool RunWrite(Storage& storage, std::uint32_t table, const std::vector<BuiltSql>& statements,
              std::uint32_t* count) {
  const std::lock_guard lock(storage.WriteMutex());
  SqlConnection& writer = storage.Writer();
  SqlTransaction transaction(writer, TransactionKind::kWrite, table);
  if (!transaction.Open()) {
    LogRefused(writer);
    return false;
  }
  std::int64_t changes = 0;
  for (const BuiltSql& sql : statements) {
    if (!writer.Execute(sql.text, sql.bindings, &changes)) {
      LogRefused(writer);
      return false;
    }
  }
  *count = static_cast<std::uint32_t>(changes);
  if (*count > 0 && !RaiseStamp(writer, table, 1)) return false;
  return transaction.Commit();
}

std::int32_t AnswerWrite(Storage& storage, std::uint32_t table, const std::vector<BuiltSql>& statements,
                         wire::ReplyTo to, std::string* out) {
  std::uint32_t count = 0;
  const bool done = RunWrite(storage, table, statements, &count);
  return Answer(out, to, wire::EncodeWriteResult({done ? wire::kResultOk : wire::kResultFailed, done ? count : 0}));
}

// Outcome of reading the result rows of a SELECT.
enum class Rows { kDone, kTooLarge, kFailed };

Rows CollectRecords(SqlConnection& reader, const SelectStatement& select, std::vector<std::string>* records) {
  const BuiltSql sql = BuildSelect(select, reader.Dialect());
  const RecordEncoder encoder(select.fields);
  std::size_t total = 0;
  bool too_large = false;
  const bool ok = reader.Query(sql.text, sql.bindings, [&](const SqlRow& row) {
    records->push_back(encoder.Encode(row));
    total += records->back().size() + wire::kReplyHeaderSize;
    too_large = total > kMaxSelectReplyBytes;
    return !too_large;
  });
  if (!ok) {
    LogRefused(reader);
    return Rows::kFailed;
  }
  return too_large ? Rows::kTooLarge : Rows::kDone;
}

}  // namespace

std::int32_t RunSelect(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to,
                       std::string* out) {
  SelectStatement select;
  if (DecodeSelect(storage.Schema(), body, &select) != Refusal::kNone) {
    return Finish(out, to, wire::kStatusMalformed);
  }
  std::vector<std::string> records;
  switch (CollectRecords(reader, select, &records)) {
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

std::int32_t RunStatistics(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to,
                           std::string* out) {
  StatStatement stat;
  switch (DecodeStat(storage.Schema(), body, &stat)) {
    case Refusal::kMalformed:
      return Finish(out, to, wire::kStatusMalformed);
    case Refusal::kUnknownTable:
      return Answer(out, to, wire::EncodeStatResult(wire::kResultFailed, 0, {}));
    case Refusal::kNone:
      break;
  }
  const BuiltSql sql = BuildStat(stat, reader.Dialect());
  std::string answer;
  const bool ok = reader.Query(sql.text, sql.bindings, [&](const SqlRow& row) {
    answer = EncodeStatRow(stat, row);
    return false;
  });
  if (!ok || answer.empty()) {
    if (!ok) LogRefused(reader);
    return Finish(out, to, wire::kStatusServerError);
  }
  return Answer(out, to, answer);
}

// Decodes a write statement. On a refusal the answer is already written to
// `out`, its status is in `*status`, and the result is false.
template <typename Statement, typename Decode>
bool DecodeWrite(Storage& storage, std::string_view body, Decode decode, Statement* statement, wire::ReplyTo to,
                 std::string* out, std::int32_t* status) {
  switch (decode(storage.Schema(), body, statement)) {
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

std::int32_t RunDelete(Storage& storage, SqlConnection&, std::string_view body, wire::ReplyTo to,
                       std::string* out) {
  DeleteStatement remove;
  std::int32_t status = 0;
  if (!DecodeWrite(storage, body, DecodeDelete, &remove, to, out, &status)) return status;
  return AnswerWrite(storage, remove.table->number, {BuildDelete(remove, storage.Dialect())}, to, out);
}

std::int32_t RunUpdate(Storage& storage, SqlConnection&, std::string_view body, wire::ReplyTo to,
                       std::string* out) {
  UpdateStatement update;
  std::int32_t status = 0;
  if (!DecodeWrite(storage, body, DecodeUpdate, &update, to, out, &status)) return status;
  return AnswerWrite(storage, update.table->number, {BuildUpdate(update, storage.Dialect())}, to, out);
}

std::int32_t RunInsert(Storage& storage, SqlConnection&, std::string_view body, wire::ReplyTo to,
                       std::string* out) {
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

std::int32_t RunFlush(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to,
                      std::string* out) {
  const auto table = wire::DecodeTableRequest(body);
  if (!table) return Finish(out, to, wire::kStatusMalformed);
  std::int64_t stamp = 0;
  switch (TableStamp(reader, *table, &stamp)) {
    case StampLookup::kFailed:
      return Finish(out, to, wire::kStatusServerError);
    case StampLookup::kUnknownTable:
      return Answer(out, to, wire::EncodeFlushResult(wire::kResultFailed));
    case StampLookup::kFound:
      break;
  }
  // Every write is committed before it is answered; flushing moves the
  // committed pages into the database file itself.
  const std::lock_guard lock(storage.WriteMutex());
  const bool flushed = storage.Writer().Flush();
  return Answer(out, to, wire::EncodeFlushResult(flushed ? wire::kResultOk : wire::kResultFailed));
}

std::int32_t RunStampIncrease(Storage& storage, SqlConnection&, std::string_view body, wire::ReplyTo to,
                              std::string* out) {
  const auto table = wire::DecodeTableRequest(body);
  if (!table) return Finish(out, to, wire::kStatusMalformed);
  const std::lock_guard lock(storage.WriteMutex());
  SqlConnection& writer = storage.Writer();
  const auto number = static_cast<std::uint32_t>(*table);
  SqlTransaction transaction(writer, TransactionKind::kWrite, number);
  std::int64_t stamp = 0;
  const StampLookup known = transaction.Open() ? TableStamp(writer, *table, &stamp) : StampLookup::kFailed;
  if (known == StampLookup::kFailed) return Finish(out, to, wire::kStatusServerError);
  if (known == StampLookup::kUnknownTable) return Answer(out, to, wire::EncodeTimeStampBody({wire::kResultFailed, -1}));
  // The new stamp is read in the transaction that raised it, so the answer
  // is this raise's stamp even while other servers raise the same one.
  if (!RaiseStamp(writer, number, 1) || TableStamp(writer, *table, &stamp) != StampLookup::kFound ||
      !transaction.Commit()) {
    return Answer(out, to, wire::EncodeTimeStampBody({wire::kResultFailed, -1}));
  }
  return Answer(out, to, wire::EncodeTimeStampBody({wire::kResultOk, stamp}));
}

}  // namespace orbe::server
