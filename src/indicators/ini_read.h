// Reads INI values the way the indicator and scheme files were always read:
// texts through a 256-byte buffer, so at most 255 bytes of a value survive.
#ifndef ORBE_INDICATORS_INI_READ_H_
#define ORBE_INDICATORS_INI_READ_H_

#include <cstddef>
#include <string>

namespace orbe {

inline constexpr std::size_t kIniTextBuffer = 256;

// Counts read from a file are bounded, so that a shared file with a count of
// two thousand million cannot make a reader loop or allocate without end.
inline constexpr int kMaxIniEntries = 100000;
inline constexpr int kMaxIniRows = 1000;

// A count key: negative reads as 0, more than `limit` as `limit`.
int ReadIniCount(const std::string& file, const std::string& section, const std::string& key, int limit);

std::string ReadIniText(const std::string& file, const std::string& section, const std::string& key,
                        std::size_t buffer = kIniTextBuffer);
int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def);
// True only for "TRUE", false only for "FALSE" (exact case); otherwise def.
bool ReadIniBool(const std::string& file, const std::string& section, const std::string& key, bool def);

}  // namespace orbe

#endif  // ORBE_INDICATORS_INI_READ_H_
