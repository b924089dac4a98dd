// Arbitrary bytes through the bond category reader, then a walk over every
// category read, matching each against its own first type and market. ASCII
// literals only: this is built with clang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/topics/bond_categories.h"

namespace {

std::size_t Walk(const std::vector<orbe::BondCategory>& categories, int depth) {
  if (depth > orbe::kMaxBondCategoryDepth + 1) __builtin_trap();
  std::size_t sum = 0;
  for (const orbe::BondCategory& category : categories) {
    if (category.name.empty() || category.name.size() > orbe::kMaxBondCategoryNameBytes) __builtin_trap();
    if (!category.HasRule() && category.children.empty()) __builtin_trap();
    const std::string type = category.types.empty() ? std::string() : category.types.front();
    const std::string market = category.markets.empty() ? std::string() : category.markets.front();
    if (category.HasRule() && !category.Holds(type, market)) __builtin_trap();
    sum += category.name.size() + Walk(category.children, depth + 1);
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto categories =
      orbe::ParseBondCategories(std::string_view(reinterpret_cast<const char*>(data), size), &error);
  if (categories) {
    volatile std::size_t sink = Walk(*categories, 1);
    (void)sink;
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
