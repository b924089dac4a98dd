// Bringing the dictionary files up to date before a session loads them: the
// files to fetch, the progress texts, and turning the downloaded files into
// the plain files that loading reads.
#ifndef ORBE_SRC_DICTIONARY_DICTIONARY_REFRESH_H_
#define ORBE_SRC_DICTIONARY_DICTIONARY_REFRESH_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orbe {

// Downloaded files of this size or more are left as they are.
inline constexpr std::size_t kDictionaryFileLimit = 0x400000;

// One file to fetch: the name asked of the file server, the progress text
// shown while it comes (GBK), and the MD5 of the local copy that the server
// compares to decide whether to send it ("" when there is none).
struct DictionaryDownload {
  std::string listed_name;
  std::string progress_text;
  std::string local_digest;
};

// Names to fetch for a session initialised in this mode, in fetch order.
std::vector<std::string> DictionaryFilesToFetch(int mode);
// The listed name without a trailing ".compress".
std::string PlainNameOf(std::string_view listed_name);
// "常量表", "表之表" or "字段表" (GBK) for a listed name.
std::string DictionaryFileLabel(std::string_view listed_name);
// "更新文件" followed by the label (GBK).
std::string DictionaryProgressText(std::string_view listed_name);
// The whole plan for a session directory (ending in a separator).
std::vector<DictionaryDownload> PlanDictionaryDownloads(const std::string& directory, int mode);

enum class PostProcessResult {
  kLeftAlone,     // missing, empty, or 4 MiB or more
  kDecompressed,  // the plain file now holds the inflated bytes
  kCopied,        // not a zlib stream: the plain file now holds the bytes as they came
  kWriteFailed,
};

// Post-processes one downloaded file of the directory.
PostProcessResult PostProcessDownloadedFile(const std::string& directory, std::string_view listed_name);
// Post-processes constinfo.idx, tableinfo.idx.compress, fieldinfo.idx.compress
// and ZQ_Sort_Export_0.xml, in that order.
void PostProcessDownloadedFiles(const std::string& directory);

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_DICTIONARY_REFRESH_H_
