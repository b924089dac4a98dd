// The system-indicator INI: every indicator a column of a data-service table.
#include "indicators/index_file_keys.h"
#include "indicators/index_files.h"
#include "indicators/ini_read.h"

namespace orbe {
namespace {

constexpr const char* kCount = "系统指标个数";
constexpr const char* kTableName = "指标表名";
constexpr const char* kTableField = "指标字段";
constexpr const char* kKey = "指标键值";
constexpr const char* kCondition = "附加条件";
constexpr const char* kSpecialType = "特殊处理";
constexpr const char* kKeyType = "指标键值类型";
constexpr const char* kParamCount = "指标参数个数";
constexpr const char* kParamFlag = "指标参数标记";
constexpr const char* kParamField = "指标型参";

std::unique_ptr<SysIndex> ReadSysIndex(const std::string& path, const std::string& section) {
  auto index = std::make_unique<SysIndex>();
  index->datatype = ReadIniInt(path, section, index_keys::kDataType, 0);
  index->unittype = ReadIniInt(path, section, index_keys::kUnitType, 0);
  index->name = ReadIniText(path, section, index_keys::kName);
  index->alias = ReadIniText(path, section, index_keys::kAlias);
  index->info = ReadIniText(path, section, index_keys::kInfo);
  index->tablename = ReadIniText(path, section, kTableName);
  index->tablefield = ReadIniText(path, section, kTableField);
  index->tree = ReadIniText(path, section, index_keys::kTree);
  index->key = ReadIniText(path, section, kKey);
  index->condition = ReadIniText(path, section, kCondition);
  index->specialtype = ReadIniInt(path, section, kSpecialType, 0);
  index->keytype = ReadIniInt(path, section, kKeyType, 0);
  const int params = ReadIniCount(path, section, kParamCount, kMaxIniRows);
  for (int number = 1; number <= params; ++number) {
    SysIndexParam param;
    param.flag = ReadIniText(path, section, kParamFlag + std::to_string(number));
    param.field = ReadIniText(path, section, kParamField + std::to_string(number));
    index->params.push_back(std::move(param));
  }
  return index;
}

}  // namespace

bool ReadSysIndexIni(const std::string& path, IndexSink& sink) {
  const int count = ReadIniCount(path, index_keys::kMain, kCount, kMaxIniEntries);
  for (int number = 1; number <= count; ++number) {
    sink.Progress(kSysStageEnd, static_cast<float>(number) / static_cast<float>(count) * 100.0f);
    if (!sink.Add(ReadSysIndex(path, index_keys::Section(number)))) return false;
  }
  return true;
}

}  // namespace orbe
