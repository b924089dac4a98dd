// The result display: the grid of the securities a screening found, one
// column per scheme row, a chart of the same columns, the statistics pane
// and the summary line. It owns the multi-indicator fetch, starts it when the
// screening window asks, fills the grid on completion and tells its owner.
#ifndef ORBE_SCREENING_DATA_DISPLAY_WND_H_
#define ORBE_SCREENING_DATA_DISPLAY_WND_H_

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/fetch_multi_progress.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/window.h"
#include "orbe/screening/headless_screening.h"

class CChartCtrl;
class CGridCtrl;
class CKvxButton;
class CStatCalculateWnd;

namespace orbe {
class CommandEvents;
}

class CDataDisplayWnd : public CWnd {
 public:
  static constexpr int kHeaderHeight = 50;
  static constexpr int kRowHeight = 25;
  static constexpr int kSummaryHeight = 18;
  static constexpr int kFixedColumns = 3;
  // Series colours of the chart, 0x00BBGGRR, by indicator column mod 10.
  static constexpr std::array<COLORREF, 10> kChartColors = {0x008080, 0xFF00FF, 0x808040, 0x0000FF, 0x009600,
                                                            0xFF0000, 0x00FFFF, 0xFFFF00, 0x0080FF, 0x800080};

  // owner receives doneMessage (both parameters 0) when a fetch has filled the grid.
  CDataDisplayWnd(IIndexMgr* mgr, HWND owner, UINT doneMessage);
  ~CDataDisplayWnd() override;

  // Starts a screening of the scheme over the company codes; true when it
  // started (nothing else was running).
  bool Fetch(const IndexScheme& scheme, const std::string& codes);
  bool IsFetching() const { return fetching_; }
  // Empties the grid and the chart; the header of no scheme.
  void Clear();
  // Saves the grid where the save dialog says (.csv as CSV, else .xlsx);
  // false when cancelled or not written.
  bool Export();
  // Hands the 6-character codes of the result to the host as a board (switch
  // kind 9); "没有数据需要保存" when there is none.
  bool SaveAsBoard();
  // Switches the host to the security of a data row (switch kind 12).
  bool SwitchToRow(int row);
  // Lays the pane out again with the statistics options toggled.
  void ShowStatistics();
  // Grid (3012) or chart (3013).
  void ShowGrid();
  void ShowChart();
  bool IsChartShown() const { return chart_shown_; }
  // Enter on the grid switches the host to the selected row's security.
  BOOL PreTranslateMessage(MSG* msg) override;

  int GetGridRowCount() const;
  int GetTotal() const { return total_; }
  int GetResultRows() const { return result_rows_; }
  int GetFetchProgress() const;
  std::string GetSummaryText() const;
  const IndexScheme& GetScheme() const { return scheme_; }
  const std::vector<orbe::ScreeningColumn>& GetColumns() const { return columns_; }

  CGridCtrl* GetGrid() const { return grid_.get(); }
  CChartCtrl* GetChart() const { return chart_.get(); }
  CStatCalculateWnd* GetStatistics() const { return stats_.get(); }
  CFetchMultiProgress* GetFetch() const { return fetch_.get(); }
  CKvxButton* GetViewButton(UINT id) const;

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void BuildHeader(const IndexScheme& scheme);
  void FillGrid();
  void OnFetchDone();
  void BuildChart();
  void Layout();
  void UpdateSummary();

  IIndexMgr* mgr_;
  HWND owner_;
  UINT done_message_;
  IndexScheme scheme_;
  std::vector<orbe::ScreeningColumn> columns_;
  bool fetching_ = false;
  bool chart_shown_ = false;
  int total_ = 0;
  int result_rows_ = 0;
  std::unique_ptr<orbe::CommandEvents> events_;
  std::unique_ptr<CFetchMultiProgress> fetch_;
  std::unique_ptr<CGridCtrl> grid_;
  std::unique_ptr<CChartCtrl> chart_;
  std::unique_ptr<CStatCalculateWnd> stats_;
  std::unique_ptr<CWnd> summary_;
  std::unique_ptr<CKvxButton> grid_button_;
  std::unique_ptr<CKvxButton> chart_button_;
};

#endif  // ORBE_SCREENING_DATA_DISPLAY_WND_H_
