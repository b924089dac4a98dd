// The reference tables of one session. Loaders write them while the session
// starts; lookups read them afterwards on the user-interface thread.
#ifndef ORBE_DICTIONARY_REFERENCE_TABLES_H_
#define ORBE_DICTIONARY_REFERENCE_TABLES_H_

#include <vector>

#include "orbe/dictionary/reference_records.h"

namespace orbe {

class ReferenceTables {
 public:
  ReferenceTables() = default;
  ReferenceTables(const ReferenceTables&) = delete;
  ReferenceTables& operator=(const ReferenceTables&) = delete;

  // Writers. Every change of a table drops the indexes built over it.
  void ClearSecuMain() { secu_main_.clear(); }
  void AppendSecuMain(const tagSECUMAIN& row) { secu_main_.push_back(row); }
  void ClearListedCmp() { listed_cmp_.clear(); }
  void AppendListedCmp(const tagLISTEDCMP& row) { listed_cmp_.push_back(row); }
  void ClearGGInfo() { gg_info_.clear(); }
  void AppendGGInfo(const tagGGINFO& row) { gg_info_.push_back(row); }
  // For the Hong Kong stock merge, which rewrites rows in place.
  std::vector<tagGGINFO>& MutableGGInfo() { return gg_info_; }
  void ClearJJInfo() { jj_info_.clear(); }
  void AppendJJInfo(const tagJJINFO& row) { jj_info_.push_back(row); }
  void ClearZQInfo() { zq_info_.clear(); }
  void AppendZQInfo(const tagZQINFO& row) { zq_info_.push_back(row); }
  void ClearQHInfo() { qh_info_.clear(); }
  void AppendQHInfo(const tagQHINFO& row) { qh_info_.push_back(row); }
  void ClearAll() {
    ClearSecuMain();
    ClearListedCmp();
    ClearGGInfo();
    ClearJJInfo();
    ClearZQInfo();
    ClearQHInfo();
  }

  // Readers, in stored order.
  const std::vector<tagSECUMAIN>& SecuMain() const { return secu_main_; }
  const std::vector<tagLISTEDCMP>& ListedCmp() const { return listed_cmp_; }
  const std::vector<tagGGINFO>& GGInfo() const { return gg_info_; }
  const std::vector<tagJJINFO>& JJInfo() const { return jj_info_; }
  const std::vector<tagZQINFO>& ZQInfo() const { return zq_info_; }
  const std::vector<tagQHINFO>& QHInfo() const { return qh_info_; }

 private:
  std::vector<tagSECUMAIN> secu_main_;
  std::vector<tagLISTEDCMP> listed_cmp_;
  std::vector<tagGGINFO> gg_info_;
  std::vector<tagJJINFO> jj_info_;
  std::vector<tagZQINFO> zq_info_;
  std::vector<tagQHINFO> qh_info_;
};

}  // namespace orbe

#endif  // ORBE_DICTIONARY_REFERENCE_TABLES_H_
