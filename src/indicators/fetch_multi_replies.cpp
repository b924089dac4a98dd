// The replies of the SQL and TQL stages and the moves between them.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/indicators/fetch_multi_progress.h"
#include "orbe/platform/message_box.h"

namespace {

constexpr int kFullProgress = 100;
constexpr int kTextBuffer = 4097;
constexpr WPARAM kStatusComplete = 100;

bool ReadValue(IFetchData& reply, int record, const tagMemFieldInfo& field, std::int32_t datatype, vtParam& value) {
  value.type = datatype;
  switch (datatype) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2:
      return reply.GetRecordAsInt(record, &field, &value.i32) != FALSE;
    case DATA_TYPE_DOUBLE:
      return reply.GetRecordAsDouble(record, &field, &value.dbl) != FALSE;
    case DATA_TYPE_INT64:
      return reply.GetRecordAsInt64(record, &field, &value.i64) != FALSE;
    default: {
      value.type = DATA_TYPE_STRING;
      std::vector<char> text(kTextBuffer, '\0');
      if (!reply.GetRecordAsString(record, &field, text.data(), kTextBuffer)) return false;
      value.str = text.data();
      return true;
    }
  }
}

}  // namespace

// The screening code of every record, read through the key field and
// converted by the key type; empty where a record has none.
std::vector<std::string> CFetchMultiProgress::RecordCodes(IFetchData& reply, const tagMemFieldInfo& keyField,
                                                          int keytype, int records) const {
  std::vector<std::string> codes(static_cast<std::size_t>(records));
  std::vector<char> key(kTextBuffer, '\0');
  for (int record = 0; record < records; ++record) {
    key[0] = '\0';
    if (!reply.GetRecordAsRawString(record, &keyField, key.data(), kTextBuffer)) continue;
    const std::string raw = key.data();
    codes[static_cast<std::size_t>(record)] = keytype == IIndexMgr::CODE_INNER   ? Codes().CompanyOfInnerCode(raw)
                                              : keytype == IIndexMgr::CODE_STOCK ? Codes().CompanyOfSecuCode(raw)
                                                                                 : raw;
  }
  return codes;
}

void CFetchMultiProgress::ReadSqlReply(IFetchData* reply) {
  if (reply == nullptr || group_ < 0 || group_ >= static_cast<int>(groups_.size())) return;
  const int records = reply->GetRecordCount();
  // The indicators of a group share the key column: its codes are read once.
  std::map<std::pair<std::string, int>, std::vector<std::string>> codesByKey;
  for (const int seq : groups_[static_cast<std::size_t>(group_)]) {
    int entity = 0;
    int base = 0;
    const auto* sys = dynamic_cast<const SysIndex*>(GetNonUsrIndexInEntityParams(entities_, seq, entity, base));
    if (sys == nullptr) continue;
    tagMemFieldInfo keyField{};
    tagMemFieldInfo valueField{};
    if (!reply->GetFieldInfo(sys->key.c_str(), &keyField) || !reply->GetFieldInfo(sys->tablefield.c_str(), &valueField)) {
      continue;
    }
    auto [known, added] = codesByKey.try_emplace({sys->key, sys->keytype});
    if (added) known->second = RecordCodes(*reply, keyField, sys->keytype, records);
    const std::vector<std::string>& codes = known->second;
    // A later chunk adds to and overwrites what earlier ones stored.
    CodeValues& stored = results_[static_cast<std::size_t>(seq)];
    for (int record = 0; record < records; ++record) {
      const std::string& code = codes[static_cast<std::size_t>(record)];
      vtParam value;
      if (code.empty() || !ReadValue(*reply, record, valueField, sys->datatype, value)) continue;
      stored[code] = value;
    }
  }
}

void CFetchMultiProgress::OnAsynReceiveSQLData(WPARAM status, LPARAM handle) {
  if (!busy_ || group_ < 0) return;
  if (status == kStatusComplete) ReadSqlReply(reinterpret_cast<IFetchData*>(handle));
  const int groups = static_cast<int>(groups_.size());
  if (AdvanceChunk(group_, groups)) {
    SetProgress(group_ * kFullProgress / (groups + static_cast<int>(tqls_.size())), false);
    if (!SendSqlGroup()) {
      MessageBoxA(GetSafeHwnd(), "系统配置文件错误", "错误", MB_OK | MB_ICONERROR);
      Finish(true);
    }
    return;
  }
  group_ = -1;
  AfterSqlStage();
}

void CFetchMultiProgress::AfterSqlStage() {
  if (tqls_.empty()) {
    Finish(true);
    return;
  }
  tql_ = 0;
  chunk_ = chunks_.empty() ? -1 : 0;
  const int groups = static_cast<int>(groups_.size());
  SetProgress(groups * kFullProgress / (groups + static_cast<int>(tqls_.size())), false);
  SendTql();
}

void CFetchMultiProgress::OnAsynReceiveTQLData(WPARAM status, LPARAM handle) {
  if (!busy_ || tql_ < 0) return;
  if (status == kStatusComplete) {
    SaveTqlToCache(reinterpret_cast<IFetchData*>(handle));
    ReadTqlReply(reinterpret_cast<IFetchData*>(handle));
  }
  const int groups = static_cast<int>(groups_.size());
  const int tqlCount = static_cast<int>(tqls_.size());
  if (AdvanceChunk(tql_, tqlCount)) {
    SetProgress((groups + tql_) * kFullProgress / (groups + tqlCount), false);
    SendTql();
    return;
  }
  Finish(true);
}
