// Key names shared by the three catalogue INI files.
#ifndef ORBE_INDICATORS_INDEX_FILE_KEYS_H_
#define ORBE_INDICATORS_INDEX_FILE_KEYS_H_

#include <string>

namespace orbe::index_keys {

inline constexpr const char* kMain = "MAIN";
inline constexpr const char* kDataType = "指标数据类型";
inline constexpr const char* kUnitType = "指标单位类型";
inline constexpr const char* kName = "指标名称";
inline constexpr const char* kAlias = "指标别名";
inline constexpr const char* kInfo = "指标说明";
inline constexpr const char* kTree = "指标树";

// Section of indicator n, from 1.
inline std::string Section(int number) { return "指标" + std::to_string(number); }

}  // namespace orbe::index_keys

#endif  // ORBE_INDICATORS_INDEX_FILE_KEYS_H_
