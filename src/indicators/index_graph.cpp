#include "indicators/index_graph.h"

#include <unordered_map>

namespace orbe {
namespace {

const UsrIndex* AsUsr(const IndexBase* index) {
  return index != nullptr && index->kind == INDEX_KIND_USR ? static_cast<const UsrIndex*>(index) : nullptr;
}

void AppendBases(const UsrIndex* usr, int depth, std::vector<IndexBase*>& out) {
  if (usr == nullptr || depth > kMaxReferenceDepth) return;
  for (IndexBase* ref : usr->refs) {
    if (const UsrIndex* nested = AsUsr(ref))
      AppendBases(nested, depth + 1, out);
    else if (ref != nullptr)
      out.push_back(ref);
  }
}

// The length of the longest chain of user indicators starting at `usr`
// (itself counting 1). Memoised, so shared sub-chains are walked once; a
// chain on the current path (a cycle) counts as too deep at once.
class ChainDepth {
 public:
  // `path` counts the user indicators above `usr`; past the limit the
  // answer is known without walking on (and without a deep recursion).
  int Of(const UsrIndex* usr, int path = 0) {
    if (path >= kMaxReferenceDepth) return kTooDeep;
    const auto known = depth_.find(usr);
    if (known != depth_.end()) return known->second;
    depth_[usr] = kTooDeep;  // seen on the current path: a cycle if met again
    int deepest = 0;
    for (const IndexBase* ref : usr->refs) {
      const UsrIndex* nested = AsUsr(ref);
      if (nested == nullptr) continue;
      const int depth = Of(nested, path + 1);
      if (depth > deepest) deepest = depth;
      if (deepest > kMaxReferenceDepth) break;
    }
    const int depth = deepest >= kTooDeep ? kTooDeep : deepest + 1;
    depth_[usr] = depth;
    return depth;
  }

  static constexpr int kTooDeep = kMaxReferenceDepth + 1;

 private:
  std::unordered_map<const UsrIndex*, int> depth_;
};

class UnitDerivation {
 public:
  std::int32_t Of(UsrIndex* usr) {
    const auto known = unit_.find(usr);
    if (known != unit_.end()) return known->second;
    unit_[usr] = 0;  // a cycle (never present after a check) reads as mixed units
    std::int32_t unit = 0;
    bool first = true;
    for (IndexBase* ref : usr->refs) {
      UsrIndex* nested =
          ref != nullptr && ref->kind == INDEX_KIND_USR ? static_cast<UsrIndex*>(ref) : nullptr;
      const std::int32_t ref_unit = nested != nullptr ? Of(nested) : (ref != nullptr ? ref->unittype : 0);
      if (first) {
        unit = ref_unit;
        first = false;
      } else if (ref_unit != unit) {
        unit = 0;
        break;
      }
    }
    usr->unittype = unit;
    unit_[usr] = unit;
    return unit;
  }

 private:
  std::unordered_map<const UsrIndex*, std::int32_t> unit_;
};

}  // namespace

void AppendBaseIndexes(const UsrIndex* usr, std::vector<IndexBase*>& out) { AppendBases(usr, 1, out); }

bool HasReferenceCycle(const std::vector<IndexBase*>& indexes) {
  ChainDepth depth;
  for (const IndexBase* index : indexes) {
    if (const UsrIndex* usr = AsUsr(index); usr != nullptr && depth.Of(usr) > kMaxReferenceDepth) return true;
  }
  return false;
}

void DeriveUnitTypes(const std::vector<IndexBase*>& indexes) {
  UnitDerivation derivation;
  for (IndexBase* index : indexes) {
    if (index != nullptr && index->kind == INDEX_KIND_USR) derivation.Of(static_cast<UsrIndex*>(index));
  }
}

}  // namespace orbe
