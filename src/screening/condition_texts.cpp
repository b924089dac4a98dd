#include "screening/condition_texts.h"

#include <iterator>

#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"

namespace orbe {

const std::vector<std::string>& ConditionOperators() {
  static const std::vector<std::string> operators = [] {
    std::vector<std::string> list = {""};
    list.insert(list.end(), std::begin(kConditionOperators), std::end(kConditionOperators));
    return list;
  }();
  return operators;
}

const std::vector<std::string>& ConditionUnits(int unittype) {
  static const std::vector<std::string> money = {"元", "百元", "千元", "万元", "百万元", "千万元", "亿元"};
  static const std::vector<std::string> shares = {"股", "百股", "千股", "万股", "百万股", "千万股", "亿股"};
  static const std::vector<std::string> percent = {"%"};
  static const std::vector<std::string> none;
  switch (unittype) {
    case IIndexMgr::UNIT_MONEY:
      return money;
    case IIndexMgr::UNIT_SHARES:
      return shares;
    case IIndexMgr::UNIT_PERCENT:
      return percent;
    default:
      return none;
  }
}

}  // namespace orbe
