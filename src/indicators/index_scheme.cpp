#include "orbe/indicators/index_scheme.h"

#include <algorithm>

bool IndexScheme::HasCondition() const {
  return std::any_of(items.begin(), items.end(),
                     [](const IndexSchemeItem& item) { return !item.op.empty() && !item.value.empty(); });
}
