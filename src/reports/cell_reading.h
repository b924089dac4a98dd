// One pass of reading cells into a configuration. A section is registered in
// the cell map before its keys are read, and the pop-up sections its columns
// name are queued rather than read recursively: a chain of pop-ups, however
// long or circular, ends with every section read once and no deep stack.
#ifndef ORBE_REPORTS_CELL_READING_H_
#define ORBE_REPORTS_CELL_READING_H_

#include <deque>
#include <memory>
#include <string>

#include "orbe/reports/report_config.h"

namespace orbe {

// More columns than any list widget shows; a larger LIST_COL_NUM is cut here
// so that a typo cannot make a list of millions of empty columns.
inline constexpr int kMaxListColumns = 1024;

class CellReading {
 public:
  CellReading(ScrollWndCfg& cfg, std::string path) : cfg_(cfg), path_(std::move(path)) {}

  // Stores a new cell under `section` (and in the display order unless
  // for_popup) and queues its keys to be read. Returns the stored cell.
  CellWndCfgBase* Register(const std::string& section, std::unique_ptr<CellWndCfgBase> cell, bool for_popup);
  // The pop-up cell of a section: the cell already stored under that name
  // when it is of the section's TYPE, else a new one registered for a
  // pop-up; null for a section of no cell type.
  CellWndCfgBase* ClaimPopup(const std::string& section);
  // Reads the keys of every queued cell, including the pop-ups found on the way.
  void ReadQueued();

  const std::string& path() const { return path_; }

 private:
  struct Pending {
    CellWndCfgBase* cell;
    std::string section;
  };

  ScrollWndCfg& cfg_;
  const std::string path_;
  std::deque<Pending> queue_;
};

// A new cell of the class of a type code; null for kWndNone.
std::unique_ptr<CellWndCfgBase> NewCellOfType(EWndType type);
// True when the cell can be used as the class of that type code.
bool CellIsOfType(const CellWndCfgBase* cell, EWndType type);

// The keys of one section into a cell of its class (cell_readers.cpp).
void ReadCellKeys(CellWndCfgBase& cell, const std::string& section, CellReading& reading);

}  // namespace orbe

#endif  // ORBE_REPORTS_CELL_READING_H_
