// The reference tables of one session. Loaders write them while the session
// starts; lookups read them afterwards on the user-interface thread.
#ifndef ORBE_DICTIONARY_REFERENCE_TABLES_H_
#define ORBE_DICTIONARY_REFERENCE_TABLES_H_

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "orbe/dictionary/reference_records.h"

namespace orbe {

// Hash indexes over the tables (src/dictionary/reference_index.h).
struct ReferenceIndex;

class ReferenceTables {
 public:
  ReferenceTables();
  ~ReferenceTables();
  ReferenceTables(const ReferenceTables&) = delete;
  ReferenceTables& operator=(const ReferenceTables&) = delete;

  // Writers. Every change of a table drops the indexes built over it.
  void ClearSecuMain() { Changed(kSecuMainBit, secu_main_).clear(); }
  void AppendSecuMain(const tagSECUMAIN& row) { Changed(kSecuMainBit, secu_main_).push_back(row); }
  void ClearListedCmp() { Changed(kListedCmpBit, listed_cmp_).clear(); }
  void AppendListedCmp(const tagLISTEDCMP& row) { Changed(kListedCmpBit, listed_cmp_).push_back(row); }
  void ClearGGInfo() { Changed(kGGInfoBit, gg_info_).clear(); }
  void AppendGGInfo(const tagGGINFO& row) { Changed(kGGInfoBit, gg_info_).push_back(row); }
  // For the Hong Kong stock merge, which rewrites rows in place. The index is
  // rebuilt on the next lookup, so finish the rewrite before looking up.
  std::vector<tagGGINFO>& MutableGGInfo() { return Changed(kGGInfoBit, gg_info_); }
  void ClearJJInfo() { Changed(kJJInfoBit, jj_info_).clear(); }
  void AppendJJInfo(const tagJJINFO& row) { Changed(kJJInfoBit, jj_info_).push_back(row); }
  void ClearZQInfo() { Changed(kZQInfoBit, zq_info_).clear(); }
  void AppendZQInfo(const tagZQINFO& row) { Changed(kZQInfoBit, zq_info_).push_back(row); }
  void ClearQHInfo() { Changed(kQHInfoBit, qh_info_).clear(); }
  void AppendQHInfo(const tagQHINFO& row) { Changed(kQHInfoBit, qh_info_).push_back(row); }
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

  // The indexes over the current rows. A table's index is built on the first
  // call after that table changed; the reference stays valid until the next
  // change. Safe from several reader threads, not alongside a writer.
  const ReferenceIndex& Index() const;

 private:
  enum StaleBit : std::uint8_t {
    kSecuMainBit = 1 << 0,
    kListedCmpBit = 1 << 1,
    kGGInfoBit = 1 << 2,
    kJJInfoBit = 1 << 3,
    kZQInfoBit = 1 << 4,
    kQHInfoBit = 1 << 5,
  };

  template <typename Row>
  std::vector<Row>& Changed(StaleBit bit, std::vector<Row>& table) {
    stale_ |= bit;
    return table;
  }

  std::vector<tagSECUMAIN> secu_main_;
  std::vector<tagLISTEDCMP> listed_cmp_;
  std::vector<tagGGINFO> gg_info_;
  std::vector<tagJJINFO> jj_info_;
  std::vector<tagZQINFO> zq_info_;
  std::vector<tagQHINFO> qh_info_;

  mutable std::mutex index_mutex_;
  mutable std::unique_ptr<ReferenceIndex> index_;
  mutable std::uint8_t stale_ = 0x3F;
};

}  // namespace orbe

#endif  // ORBE_DICTIONARY_REFERENCE_TABLES_H_
