// One pass of reading cells into a configuration. A section is registered in
// the cell map before its keys are read, and the pop-up sections its columns
// name are queued rather than read recursively: a chain of pop-ups, however
// long or circular, ends with every section read once and no deep stack.
#ifndef ORBE_REPORTS_CELL_READING_H_
#define ORBE_REPORTS_CELL_READING_H_

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "orbe/reports/report_config.h"

namespace orbe {

// Every column LIST_COL_NUM names is read, described in the file or not. A
// count whose columns would take more than this much memory is treated as
// the allocation failure it would be: the reader gives null and keeps no
// part of what it read (tens of thousands of columns are still read).
inline constexpr std::size_t kListColumnsMemoryBudget = std::size_t{64} << 20;
inline constexpr int kMaxListColumns = static_cast<int>(kListColumnsMemoryBudget / sizeof(ListColCfg));

class CellReading {
 public:
  CellReading(ScrollWndCfg& cfg, std::string path) : cfg_(cfg), path_(std::move(path)) {}
  // A reading that was not committed (an allocation failed on the way)
  // takes back every cell it registered, so no half-read cell stays.
  ~CellReading();
  CellReading(const CellReading&) = delete;
  CellReading& operator=(const CellReading&) = delete;

  // Stores a new cell under `section` (and in the display order unless
  // for_popup) and queues its keys to be read. Returns the stored cell.
  CellWndCfgBase* Register(const std::string& section, std::unique_ptr<CellWndCfgBase> cell, bool for_popup);
  // The pop-up cell of a section: the cell already stored under that name
  // when it is of the section's TYPE, else a new one registered for a
  // pop-up; null for a section of no cell type.
  CellWndCfgBase* ClaimPopup(const std::string& section);
  // Reads the keys of every queued cell, including the pop-ups found on the way.
  void ReadQueued();
  // The cells read stay in the configuration.
  void Commit() { registered_.clear(); }

  const std::string& path() const { return path_; }

 private:
  struct Pending {
    CellWndCfgBase* cell;
    std::string section;
  };
  struct Registered {
    std::string section;
    bool for_popup;
  };

  ScrollWndCfg& cfg_;
  const std::string path_;
  std::deque<Pending> queue_;
  std::vector<Registered> registered_;
};

// A new cell of the class of a type code; null for kWndNone.
std::unique_ptr<CellWndCfgBase> NewCellOfType(EWndType type);
// True when the cell can be used as the class of that type code.
bool CellIsOfType(const CellWndCfgBase* cell, EWndType type);

// The keys of one section into a cell of its class (cell_readers.cpp).
void ReadCellKeys(CellWndCfgBase& cell, const std::string& section, CellReading& reading);

}  // namespace orbe

#endif  // ORBE_REPORTS_CELL_READING_H_
