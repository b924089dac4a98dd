// The names of the three dictionary files and of the compressed forms the
// file server sends, shared by their writer, their reader, the refresh that
// fetches them and the server that serves them. Layouts:
// include/orbe/dictionary/dictionary_records.h.
#ifndef ORBE_COMPONENTS_DICTIONARY_DICTIONARY_FILES_H_
#define ORBE_COMPONENTS_DICTIONARY_DICTIONARY_FILES_H_

namespace orbe {

inline constexpr const char* kConstFileName = "constinfo.idx";
inline constexpr const char* kTableFileName = "tableinfo.idx";
inline constexpr const char* kFieldFileName = "fieldinfo.idx";
inline constexpr const char* kCompressedSuffix = ".compress";
inline constexpr const char* kTableDownloadName = "tableinfo.idx.compress";
inline constexpr const char* kFieldDownloadName = "fieldinfo.idx.compress";

}  // namespace orbe

#endif  // ORBE_COMPONENTS_DICTIONARY_DICTIONARY_FILES_H_
