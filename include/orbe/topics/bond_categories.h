// The bond category file of the bond topic tree (layout: docs/topics.md): an
// XML file of nested categories, each naming the bond types and trading
// markets whose bonds it holds.
#ifndef ORBE_TOPICS_BOND_CATEGORIES_H_
#define ORBE_TOPICS_BOND_CATEGORIES_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbe {

struct BondCategory {
  std::string name;                  // GBK
  std::vector<std::string> types;    // bond type names (GBK); empty: no condition
  std::vector<std::string> markets;  // trading market names (GBK); empty: no condition
  std::vector<BondCategory> children;

  // A category without types and markets holds only what its children hold.
  bool HasRule() const { return !types.empty() || !markets.empty(); }
  // Whether a bond of that type and market is one of the category's own.
  bool Holds(std::string_view type, std::string_view market) const;
};

// Bounds a file must keep; beyond them it is refused rather than half read.
inline constexpr std::size_t kMaxBondCategoryFileBytes = 4 << 20;
inline constexpr int kMaxBondCategoryDepth = 16;
inline constexpr std::size_t kMaxBondCategories = 10000;
inline constexpr std::size_t kMaxBondCategoryNameBytes = 60;

// The top-level categories of a file's bytes, or nullopt with a message
// (ASCII, naming the line) in *error.
std::optional<std::vector<BondCategory>> ParseBondCategories(std::string_view bytes, std::string* error);
// The same for a file; a missing or unreadable file is an error too.
std::optional<std::vector<BondCategory>> LoadBondCategories(const std::string& path, std::string* error);

}  // namespace orbe

#endif  // ORBE_TOPICS_BOND_CATEGORIES_H_
