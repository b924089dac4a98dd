#include "orbe/dictionary/reference_tables.h"

#include "dictionary/reference_index.h"

namespace orbe {

ReferenceTables::ReferenceTables() = default;
ReferenceTables::~ReferenceTables() = default;

const ReferenceIndex& ReferenceTables::Index() const {
  const std::lock_guard lock(index_mutex_);
  if (!index_) index_ = std::make_unique<ReferenceIndex>();
  ReferenceIndex& index = *index_;
  // Only the tables written since the last build are indexed again.
  if (stale_ & kSecuMainBit) index.secu_main = BuildSecuMainIndex(secu_main_);
  if (stale_ & kListedCmpBit) index.listed_cmp = BuildListedCmpIndex(listed_cmp_);
  if (stale_ & kGGInfoBit) index.gg_info = BuildGGInfoIndex(gg_info_);
  if (stale_ & kJJInfoBit) index.jj_info = BuildJJInfoIndex(jj_info_);
  if (stale_ & kZQInfoBit) index.zq_info = BuildZQInfoIndex(zq_info_);
  if (stale_ & kQHInfoBit) index.qh_info = BuildQHInfoIndex(qh_info_);
  stale_ = 0;
  return index;
}

}  // namespace orbe
