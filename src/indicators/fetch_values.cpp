// Values of result cells: unit scaling, condition tests, the invalid mark and
// display texts.
#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <cstring>

#include "indicators/fetch_calculator.h"
#include "orbe/platform/text.h"

namespace orbe {

namespace {

struct UnitDivisor {
  const char* text;
  double divisor;
};

// Searched in this order: "千万" and "百万" before "万".
constexpr UnitDivisor kUnitDivisors[] = {
    {"亿", 1e8}, {"千万", 1e7}, {"百万", 1e6}, {"万", 1e4}, {"千", 1e3}, {"百", 1e2},
};
constexpr unsigned char kInvalidByte = 0x38;  // the digit eight

double AsDouble(const vtParam& v) {
  switch (v.type) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2: return v.i32;
    case DATA_TYPE_DOUBLE: return v.dbl;
    case DATA_TYPE_INT64: return static_cast<double>(v.i64);
    case DATA_TYPE_STRING: return std::atof(v.str.c_str());
    default: return 0.0;
  }
}

std::int64_t AsInt64(const vtParam& v) {
  switch (v.type) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2: return v.i32;
    case DATA_TYPE_DOUBLE: return static_cast<std::int64_t>(v.dbl);
    case DATA_TYPE_INT64: return v.i64;
    case DATA_TYPE_STRING: return std::strtoll(v.str.c_str(), nullptr, 10);
    default: return 0;
  }
}

std::string AsText(const vtParam& v) {
  switch (v.type) {
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2: return Format("%d", v.i32);
    case DATA_TYPE_DOUBLE: return Format("%f", v.dbl);
    case DATA_TYPE_INT64: return Format("%" PRId64, v.i64);
    case DATA_TYPE_STRING: return v.str;
    default: return std::string();
  }
}

template <typename T>
bool Compare(const std::string& op, T cell, T value) {
  if (op == "等于") return cell == value;
  if (op == "不等于") return cell != value;
  if (op == "大于") return cell > value;
  if (op == "小于") return cell < value;
  if (op == "大于等于") return cell >= value;
  return cell <= value;  // "小于等于"
}

bool KnownOperator(const std::string& op) {
  for (const char* known : kConditionOperators) {
    if (op == known) return true;
  }
  return false;
}

template <typename T>
bool AllInvalid(const T& field) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &field, sizeof(T));
  for (const unsigned char b : bytes) {
    if (b != kInvalidByte) return false;
  }
  return true;
}

}  // namespace

vtParam ScaleToUnit(const vtParam& value, std::int32_t unittype, const std::string& unit) {
  if (unittype != IIndexMgr::UNIT_MONEY && unittype != IIndexMgr::UNIT_SHARES) return value;
  if (IsMarkedInvalid(value)) return value;
  vtParam scaled = value;
  for (const UnitDivisor& unitDivisor : kUnitDivisors) {
    if (unit.find(unitDivisor.text) == std::string::npos) continue;
    const double divisor = unitDivisor.divisor;
    switch (value.type) {
      case DATA_TYPE_INT:
      case DATA_TYPE_INT2: scaled.i32 = value.i32 / static_cast<int>(divisor); break;
      case DATA_TYPE_INT64: scaled.i64 = value.i64 / static_cast<std::int64_t>(divisor); break;
      case DATA_TYPE_DOUBLE: scaled.dbl = value.dbl / divisor; break;
      default: break;
    }
    return scaled;
  }
  return scaled;
}

bool TestCondition(const vtParam& cell, std::int32_t datatype, const std::string& op, const std::string& value) {
  if (op.empty() || !KnownOperator(op)) return true;
  if (op == "包含" || op == "不包含") {
    const bool contains = AsText(cell).find(value) != std::string::npos;
    return op == "包含" ? contains : !contains;
  }
  switch (datatype) {
    case DATA_TYPE_DOUBLE: return Compare(op, AsDouble(cell), std::atof(value.c_str()));
    case DATA_TYPE_INT64: return Compare(op, AsInt64(cell), static_cast<std::int64_t>(std::strtoll(value.c_str(), nullptr, 10)));
    case DATA_TYPE_STRING: return Compare(op, AsText(cell), value);
    default: return Compare(op, static_cast<int>(AsInt64(cell)), std::atoi(value.c_str()));
  }
}

void MarkInvalid(vtParam& value) {
  std::memset(&value.dbl, kInvalidByte, sizeof value.dbl);
  std::memset(&value.i64, kInvalidByte, sizeof value.i64);
  std::memset(&value.i32, kInvalidByte, sizeof value.i32);
}

bool IsMarkedInvalid(const vtParam& value) {
  // Only float quote fields are ever marked; an integer of those bytes is a value.
  return value.type == DATA_TYPE_DOUBLE && AllInvalid(value.dbl);
}

std::string DisplayText(const vtParam& value, int decimals) {
  if (IsMarkedInvalid(value)) return "--";
  if (value.type == DATA_TYPE_DOUBLE) return Format("%.*f", std::clamp(decimals, 0, 10), value.dbl);
  return AsText(value);
}

}  // namespace orbe
