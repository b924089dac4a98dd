#include "dictionary/dictionary_refresh.h"

#include <array>
#include <optional>

#include "dictionary/dictionary_files.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"

namespace orbe {
namespace {

constexpr std::string_view kCompressSuffix = kCompressedSuffix;
constexpr const char* kConstFile = kConstFileName;
constexpr const char* kBondExportFile = "ZQ_Sort_Export_0.xml";
constexpr const char* kTableDownload = kTableDownloadName;
constexpr const char* kFieldDownload = kFieldDownloadName;

// GBK bytes written as escapes: the fuzz build's compiler keeps literals UTF-8.
constexpr const char* kUpdatingText = "\xb8\xfc\xd0\xc2\xce\xc4\xbc\xfe";  // 更新文件
constexpr const char* kConstLabel = "\xb3\xa3\xc1\xbf\xb1\xed";             // 常量表
constexpr const char* kTableLabel = "\xb1\xed\xd6\xae\xb1\xed";             // 表之表
constexpr const char* kFieldLabel = "\xd7\xd6\xb6\xce\xb1\xed";             // 字段表

constexpr std::array<const char*, 4> kPostProcessOrder = {kConstFile, kTableDownload, kFieldDownload,
                                                          kBondExportFile};

}  // namespace

std::vector<std::string> DictionaryFilesToFetch(int mode) {
  std::vector<std::string> names;
  if (mode == 0 || mode == 3) names.emplace_back(kConstFile);
  if (mode == 3) names.emplace_back(kBondExportFile);
  names.emplace_back(kTableDownload);
  names.emplace_back(kFieldDownload);
  return names;
}

std::string PlainNameOf(std::string_view listed_name) {
  if (listed_name.ends_with(kCompressSuffix)) listed_name.remove_suffix(kCompressSuffix.size());
  return std::string(listed_name);
}

std::string DictionaryFileLabel(std::string_view listed_name) {
  if (listed_name == kConstFile) return kConstLabel;
  if (listed_name == kTableDownload) return kTableLabel;
  return kFieldLabel;
}

std::string DictionaryProgressText(std::string_view listed_name) {
  return std::string(kUpdatingText) + DictionaryFileLabel(listed_name);
}

std::vector<DictionaryDownload> PlanDictionaryDownloads(const std::string& directory, int mode) {
  std::vector<DictionaryDownload> plan;
  for (const std::string& name : DictionaryFilesToFetch(mode)) {
    const std::string local_path = directory + PlainNameOf(name);
    plan.push_back({name, DictionaryProgressText(name), CwFileUtil::GetFileMD5(local_path.c_str())});
  }
  return plan;
}

PostProcessResult PostProcessDownloadedFile(const std::string& directory, std::string_view listed_name) {
  const std::string path = directory + std::string(listed_name);
  const long length = CwFileUtil::GetCwFileLen(path.c_str());
  if (length < 1 || static_cast<std::size_t>(length) >= kDictionaryFileLimit) return PostProcessResult::kLeftAlone;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes || bytes->empty()) return PostProcessResult::kLeftAlone;
  const std::string plain_path = directory + PlainNameOf(listed_name);
  const std::optional<std::string> inflated = Uncompress(*bytes, kDictionaryFileLimit);
  if (!inflated && plain_path == path) return PostProcessResult::kCopied;  // already in place as it came
  const std::string& content = inflated ? *inflated : *bytes;
  if (CwFileUtil::PutCwFileData(plain_path.c_str(), content.data(), static_cast<long>(content.size())) != 1) {
    return PostProcessResult::kWriteFailed;
  }
  return inflated ? PostProcessResult::kDecompressed : PostProcessResult::kCopied;
}

void PostProcessDownloadedFiles(const std::string& directory) {
  for (const char* name : kPostProcessOrder) PostProcessDownloadedFile(directory, name);
}

}  // namespace orbe
