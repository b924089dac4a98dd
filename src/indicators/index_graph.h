// The reference graph of user indicators: what they finally read, how deep
// their chains go, and the unit type they inherit.
#ifndef ORBE_INDICATORS_INDEX_GRAPH_H_
#define ORBE_INDICATORS_INDEX_GRAPH_H_

#include <vector>

#include "orbe/indicators/index_base.h"

namespace orbe {

// Longest allowed chain of nested user-indicator references.
inline constexpr int kMaxReferenceDepth = 500;

// Appends, depth first in reference order, every non-user indicator that
// `usr` reads; duplicates stay. A chain deeper than kMaxReferenceDepth (a
// cycle) is not followed further.
void AppendBaseIndexes(const UsrIndex* usr, std::vector<IndexBase*>& out);

// True when some user indicator of `indexes` reaches more than
// kMaxReferenceDepth nested user indicators: a reference cycle, or a chain
// too deep to evaluate.
bool HasReferenceCycle(const std::vector<IndexBase*>& indexes);

// Sets the unit type of every user indicator of `indexes` from its
// references: their common unit type, else 0. Expects no cycle.
void DeriveUnitTypes(const std::vector<IndexBase*>& indexes);

}  // namespace orbe

#endif  // ORBE_INDICATORS_INDEX_GRAPH_H_
