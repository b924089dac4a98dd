// The replies of the SQL and TQL stages and the moves between them.
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

void CFetchMultiProgress::ReadSqlReply(IFetchData* reply) {
  if (reply == nullptr || group_ < 0 || group_ >= static_cast<int>(groups_.size())) return;
  const int records = reply->GetRecordCount();
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
    CodeValues fetched;
    for (int record = 0; record < records; ++record) {
      std::vector<char> key(kTextBuffer, '\0');
      if (!reply->GetRecordAsRawString(record, &keyField, key.data(), kTextBuffer)) continue;
      const std::string raw = key.data();
      const std::string code = sys->keytype == IIndexMgr::CODE_INNER   ? Codes().CompanyOfInnerCode(raw)
                               : sys->keytype == IIndexMgr::CODE_STOCK ? Codes().CompanyOfSecuCode(raw)
                                                                       : raw;
      vtParam value;
      if (code.empty() || !ReadValue(*reply, record, valueField, sys->datatype, value)) continue;
      fetched[code] = value;
    }
    CodeValues& stored = results_[static_cast<std::size_t>(seq)];
    for (auto& [code, value] : fetched) stored[code] = std::move(value);
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
  if (status == kStatusComplete) ReadTqlReply(reinterpret_cast<IFetchData*>(handle));
  const int groups = static_cast<int>(groups_.size());
  const int tqlCount = static_cast<int>(tqls_.size());
  if (AdvanceChunk(tql_, tqlCount)) {
    SetProgress((groups + tql_) * kFullProgress / (groups + tqlCount), false);
    SendTql();
    return;
  }
  Finish(true);
}
