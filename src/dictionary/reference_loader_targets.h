// What each reference loader does with the records of its procedure: the
// destination of every field, the rows it drops, and the merges that run
// once all sets are in.
#ifndef ORBE_SRC_DICTIONARY_REFERENCE_LOADER_TARGETS_H_
#define ORBE_SRC_DICTIONARY_REFERENCE_LOADER_TARGETS_H_

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictionary/reference_loader.h"
#include "orbe/dictionary/reference_tables.h"
#include "orbe/platform/text.h"

namespace orbe {

// Where one reply field goes in its record: offset and full width (with the
// NUL). A width of 0 drops the field.
struct FieldSlot {
  std::size_t offset;
  std::size_t size;
};

// A zero-filled record with each field copied into its slot, cut to fit and
// never splitting a GBK character.
template <typename Record>
Record RecordFromFields(std::span<const FieldSlot> slots, std::span<const std::string> fields) {
  Record record{};
  char* const base = reinterpret_cast<char*>(&record);
  for (std::size_t i = 0; i < slots.size() && i < fields.size(); ++i) {
    if (slots[i].size != 0) CopyBounded(base + slots[i].offset, slots[i].size, fields[i]);
  }
  return record;
}

// Security master (set 0) and listed companies (set 1).
class MainTableTarget : public ReferenceTarget {
 public:
  explicit MainTableTarget(ReferenceTables& tables) : tables_(tables) {}
  void Clear() override;
  void Store(int set, std::span<const std::string> fields) override;

 private:
  ReferenceTables& tables_;
};

// Hong Kong stocks: board rows, company rows and three maps, merged at the end.
class GgInfoTarget : public ReferenceTarget {
 public:
  explicit GgInfoTarget(ReferenceTables& tables) : tables_(tables) {}
  void Clear() override;
  void Store(int set, std::span<const std::string> fields) override;
  void Finish() override;

 private:
  ReferenceTables& tables_;
  std::vector<tagGGINFO> companies_;
  std::map<std::string, std::string> board_names_;
  std::map<std::string, std::string> industry_names_;
  std::map<std::string, std::string> stock_industries_;
};

class JjInfoTarget : public ReferenceTarget {
 public:
  explicit JjInfoTarget(ReferenceTables& tables) : tables_(tables) {}
  void Clear() override;
  void Store(int set, std::span<const std::string> fields) override;

 private:
  ReferenceTables& tables_;
};

// Futures: contracts (set 0) get their variety name (set 1) and exchange name
// (set 2) at the end. Contract dates and names (sets 3, 4) have no field in
// the record and are read only to keep the procedure's steps.
class QhInfoTarget : public ReferenceTarget {
 public:
  explicit QhInfoTarget(ReferenceTables& tables) : tables_(tables) {}
  void Clear() override;
  void Store(int set, std::span<const std::string> fields) override;
  void Finish() override;

 private:
  ReferenceTables& tables_;
  std::vector<tagQHINFO> contracts_;
  // (exchange, variety) -> name, and variety alone for a contract whose
  // exchange the variety table does not list.
  std::map<std::pair<std::string, std::string>, std::string> variety_names_;
  std::map<std::string, std::string> variety_any_exchange_;
  std::map<std::string, std::string> exchange_names_;
};

class ZqInfoTarget : public ReferenceTarget {
 public:
  explicit ZqInfoTarget(ReferenceTables& tables) : tables_(tables) {}
  void Clear() override;
  void Store(int set, std::span<const std::string> fields) override;

 private:
  ReferenceTables& tables_;
};

// The bond markets whose codes get a suffix: "012001" -> ".SH" ...
struct BondMarket {
  std::string_view code;
  std::string_view suffix;
};
std::span<const BondMarket> BondMarkets();
// The code suffix of a bond market code; empty for any other code.
std::string_view BondCodeSuffix(std::string_view market);

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_REFERENCE_LOADER_TARGETS_H_
