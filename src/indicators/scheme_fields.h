// The fields of a scheme row as data: their INI key prefixes ("列宽" + n),
// their XML attribute names and their members, in the order both file
// formats write them.
#ifndef ORBE_INDICATORS_SCHEME_FIELDS_H_
#define ORBE_INDICATORS_SCHEME_FIELDS_H_

#include <cstdint>
#include <string>

#include "orbe/indicators/index_scheme.h"

namespace orbe {

struct SchemeTextField {
  const char* ini_prefix;
  const char* xml_attribute;
  std::string IndexSchemeItem::*member;
};

struct SchemeIntField {
  const char* ini_prefix;
  const char* xml_attribute;
  std::int32_t IndexSchemeItem::*member;
};

inline constexpr SchemeTextField kSchemeTextFields[] = {
    {"指标", "index", &IndexSchemeItem::index}, {"参数", "condition", &IndexSchemeItem::param},
    {"运算符", "op", &IndexSchemeItem::op},     {"数值", "value", &IndexSchemeItem::value},
    {"单位", "unit", &IndexSchemeItem::unit},
};

// Written after "是否显示" / "visable", in this order.
inline constexpr SchemeIntField kSchemeIntFields[] = {
    {"列宽", "colwidth", &IndexSchemeItem::colwidth},
    {"小数位", "decimalbit", &IndexSchemeItem::decimalbit},
    {"数据格式", "formatdata", &IndexSchemeItem::formatdata},
    {"显示零", "formatzero", &IndexSchemeItem::formatzero},
    {"显示无效", "formatinvalid", &IndexSchemeItem::formatinvalid},
    {"颜色样式", "colcrlmode", &IndexSchemeItem::colcrlmode},
    {"颜色", "colcrl", &IndexSchemeItem::colcrl},
    {"数据对齐", "dataalign", &IndexSchemeItem::dataalign},
    {"表头对齐", "headalign", &IndexSchemeItem::headalign},
};

inline constexpr const char* kVisibleIniPrefix = "是否显示";
inline constexpr const char* kVisibleXmlAttribute = "visable";

// The INI key of a row's field: the prefix and the row number from 1.
inline std::string RowKey(const char* prefix, std::size_t row) { return prefix + std::to_string(row); }

}  // namespace orbe

#endif  // ORBE_INDICATORS_SCHEME_FIELDS_H_
