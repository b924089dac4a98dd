// A screening without a screen: quote boards into company codes, one
// multi-indicator fetch pumped to completion, the result table with its
// column headers and the summary line.
#ifndef ORBE_SCREENING_HEADLESS_SCREENING_H_
#define ORBE_SCREENING_HEADLESS_SCREENING_H_

#include <functional>
#include <string>
#include <vector>

#include "orbe/indicators/fetch_multi_progress.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"

namespace orbe {

// One column of the result grid.
struct ScreeningColumn {
  std::string key;    // the row's parameter, then "," and the unit when there is one
  std::string title;  // alias or name, "\n[参数]:" parameter, "\n[单位]:" unit
  int datatype = DATA_TYPE_STRING;
  int width = 0;        // the row's column width; 0 fits the texts
  bool visible = true;  // the row is shown as a column
};

struct ScreeningResult {
  bool ok = false;
  std::string error;  // GBK, when not ok
  std::vector<ScreeningColumn> columns;
  SgTable rows;   // the rows that passed, by row id
  int total = 0;  // securities with any value
};

using ScreeningProgress = std::function<void(int percent)>;

// The security codes of the host's quote board (request 107) of that name, in
// board order; empty when the host has no such board or no data function.
std::vector<std::string> QuoteBoardCodes(const std::string& boardName);
// Company codes of the securities of the boards: each security code through
// the main session's security master; the set ordered byte-wise, joined by ",".
std::string BoardCompanyCodes(const std::vector<std::string>& boardNames);

// "序号", "代码", "简称", then one column per scheme row found in the catalogue.
std::vector<ScreeningColumn> ScreeningColumns(IIndexMgr* mgr, const IndexScheme& scheme);
// "选中数量：%d，总数：%d，选中比例：%.2f%%" (GBK).
std::string ScreeningSummary(int selected, int total);

// Runs the scheme over the codes; waits at most timeoutMs for the replies.
ScreeningResult RunScreening(IIndexMgr* mgr, const IndexScheme& scheme, const std::string& companyCodes,
                             const ScreeningProgress& progress, DWORD timeoutMs = 600000);

}  // namespace orbe

#endif  // ORBE_SCREENING_HEADLESS_SCREENING_H_
