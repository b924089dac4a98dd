// The quote-indicator INI: fields of the host's quote record.
#include "indicators/index_file_keys.h"
#include "indicators/index_files.h"
#include "indicators/ini_read.h"

namespace orbe {
namespace {

constexpr const char* kCount = "行情指标个数";
constexpr const char* kStructType = "结构类型";
constexpr const char* kStructOffset = "结构偏移";
constexpr const char* kStructLength = "结构长度";

int NotNegative(int value) { return value < 0 ? 0 : value; }

std::unique_ptr<HqIndex> ReadHqIndex(const std::string& path, const std::string& section) {
  auto index = std::make_unique<HqIndex>();
  index->datatype = ReadIniInt(path, section, index_keys::kDataType, 0);
  index->unittype = ReadIniInt(path, section, index_keys::kUnitType, 0);
  index->name = ReadIniText(path, section, index_keys::kName);
  index->alias = ReadIniText(path, section, index_keys::kAlias);
  index->info = ReadIniText(path, section, index_keys::kInfo);
  index->structtype = ReadIniText(path, section, kStructType);
  index->structoffset = NotNegative(ReadIniInt(path, section, kStructOffset, 0));
  index->structlength = NotNegative(ReadIniInt(path, section, kStructLength, 0));
  return index;
}

}  // namespace

bool ReadHqIndexFile(const std::string& path, IndexSink& sink) {
  const int count = ReadIniCount(path, index_keys::kMain, kCount, kMaxIniEntries);
  for (int number = 1; number <= count; ++number) {
    if (!sink.Add(ReadHqIndex(path, index_keys::Section(number)))) return false;
  }
  return true;
}

}  // namespace orbe
