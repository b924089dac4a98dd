// Splitting a list into one list per data row (each titled by its value in
// the split column, without that column) and merging the pieces back. The
// original list stays in the container, hidden, while it is split.
#ifndef ORBE_REPORTS_REPORT_WND_SPLITS_H_
#define ORBE_REPORTS_REPORT_WND_SPLITS_H_

#include <map>
#include <memory>
#include <vector>

#include "orbe/reports/report_config.h"
#include "orbe/widgets/scroll_container.h"

namespace orbe {

// Widget id in the container -> the configuration the cell shows.
using CellMap = std::map<int, CellWndCfgBase*>;

class ReportSplits {
 public:
  // Lists of more data rows are not split.
  static constexpr int kMaxSplitRows = 50;

  // Splits the list cell `id` at cfg's split title. Refused (false, nothing
  // changes) unless the cell is a list with 1 to kMaxSplitRows data rows
  // and a column of that title. The pieces' configurations enter `cells`.
  bool Split(ScrollContainer& container, int id, const ListCfg& cfg, int money_unit, CellMap& cells);
  // Deletes every piece and its configuration. With restore, each original
  // list gets its heights back from its configuration and the cells are laid
  // out again.
  void MergeAll(ScrollContainer& container, CellMap& cells, bool restore);
  bool IsSplit() const { return split_; }

 private:
  struct SplitList {
    int original = -1;
    const ListCfg* cfg = nullptr;
    std::vector<int> pieces;
    std::vector<std::unique_ptr<ListCfg>> piece_cfgs;
  };

  std::vector<SplitList> splits_;
  bool split_ = false;
};

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_WND_SPLITS_H_
