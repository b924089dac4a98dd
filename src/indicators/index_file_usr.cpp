// The user-indicator INI: Python functions over other indicators, and the
// folder of their scripts relative to the file.
#include "indicators/index_file_keys.h"
#include "indicators/index_files.h"
#include "indicators/ini_image.h"
#include "indicators/ini_read.h"
#include "indicators/script_dir.h"

namespace orbe {
namespace {

constexpr const char* kCount = "用户指标个数";
constexpr const char* kScriptPath = "脚本路径";
constexpr const char* kCodeFile = "代码文件";
constexpr const char* kRefCount = "指标引用个数";
constexpr const char* kRef = "指标引用";
// The script path was read into a 128-byte buffer.
constexpr std::size_t kScriptPathBuffer = 128;

std::unique_ptr<UsrIndex> ReadUsrIndex(const std::string& path, const std::string& section) {
  auto index = std::make_unique<UsrIndex>();
  index->datatype = ReadIniInt(path, section, index_keys::kDataType, 0);
  index->name = ReadIniText(path, section, index_keys::kName);
  index->alias = ReadIniText(path, section, index_keys::kAlias);
  index->info = ReadIniText(path, section, index_keys::kInfo);
  index->codefile = ReadIniText(path, section, kCodeFile);
  index->tree = ReadIniText(path, section, index_keys::kTree);
  const int refs = ReadIniCount(path, section, kRefCount, kMaxIniRows);
  for (int number = 1; number <= refs; ++number)
    index->refnames.push_back(ReadIniText(path, section, kRef + std::to_string(number)));
  return index;
}

}  // namespace

std::string ReadUsrScriptPath(const std::string& path) {
  return NormaliseScriptPath(ReadIniText(path, index_keys::kMain, kScriptPath, kScriptPathBuffer));
}

bool ReadUsrIndexFile(const std::string& path, IndexSink& sink) {
  const int count = ReadIniCount(path, index_keys::kMain, kCount, kMaxIniEntries);
  for (int number = 1; number <= count; ++number) {
    sink.Progress(kUsrStageEnd, static_cast<float>(number) / static_cast<float>(count) * 100.0f);
    if (!sink.Add(ReadUsrIndex(path, index_keys::Section(number)))) return false;
  }
  return true;
}

bool WriteUsrIndexFile(const std::string& path, const std::string& script_path,
                       const std::vector<const UsrIndex*>& indexes) {
  IniImage image;
  image.Section(index_keys::kMain);
  image.Key(kCount, static_cast<int>(indexes.size()));
  image.Key(kScriptPath, script_path);
  int number = 0;
  for (const UsrIndex* index : indexes) {
    image.Section(index_keys::Section(++number));
    image.Key(index_keys::kName, index->name);
    image.Key(index_keys::kAlias, index->alias);
    image.Key(index_keys::kInfo, index->info);
    image.Key(index_keys::kTree, index->tree);
    image.Key(index_keys::kDataType, index->datatype);
    image.Key(kRefCount, static_cast<int>(index->refnames.size()));
    for (std::size_t ref = 0; ref < index->refnames.size(); ++ref)
      image.Key(kRef + std::to_string(ref + 1), index->refnames[ref]);
    image.Key(kCodeFile, index->codefile);
  }
  return image.WriteTo(path);
}

}  // namespace orbe
