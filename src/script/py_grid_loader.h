// CPyGridLoader: the script grid loader behind CreatePyGridWnd. A window
// holding a quote grid (id 23401) with its own two scroll bars and corner,
// and below them a histogram of the grid's selected column; a script fills
// the grid through IPyGrid and is called by fixed names without arguments.
#ifndef ORBE_SCRIPT_PY_GRID_LOADER_H_
#define ORBE_SCRIPT_PY_GRID_LOADER_H_

#include <memory>
#include <string>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/platform/window.h"
#include "orbe/script/py_grid.h"
#include "orbe/script/script_ref.h"
#include "orbe/widgets/grid_ctrl.h"

class HQGridCtrl;
class CXScrollBar;
class KVXHistogram;
namespace orbe {
class KvxWidget;
}

namespace orbe::script {

// The loader's window messages.
inline constexpr UINT kGridCrossChanged = 1025;      // wParam row, lParam column (posted by the grid)
inline constexpr UINT kHistogramSelected = 1026;     // wParam item (posted by the histogram)
inline constexpr UINT kGridReplyReady = 1027;        // wParam status, lParam the reply handle
inline constexpr UINT kGridLayout = 1028;
inline constexpr UINT kGridUpdateQuotes = 1029;
inline constexpr UINT kLoaderGridId = 23401;
inline constexpr UINT kLoaderCornerId = 65535;
inline constexpr int kLoaderBarThickness = 17;
// A head of this type opens a picture summary on a double click.
inline constexpr int kPictureSummaryHead = 27;
// GetFieldAsInt of a field that is not there.
inline constexpr int kAbsentInt = 87654321;

class CPyGridLoader : public CWnd, public IPyGrid, public VCFGFunc, public IGridScroll {
 public:
  CPyGridLoader();
  ~CPyGridLoader() override;

  // Creates the window of class "PyGridLoader" (registered on first use).
  bool CreateLoader(CWnd* parent, DWORD style, UINT id, DWORD ex_style);

  // IPyGrid
  void SetDebug(bool on) override { debug_ = on; }
  bool FetchData(const std::string& callback, const std::string& sql, int option_type,
                 const std::string& option_text) override;
  void PostLayout() override;
  int GetRecordCount() override;
  std::string GetFieldAsString(int record, const std::string& field) override;
  int GetFieldAsInt(int record, const std::string& field) override;
  double GetFieldAsDouble(int record, const std::string& field) override;
  void ReleaseReply() override;
  void RedrawGrid() override;
  void ClearGrid() override;
  bool SortGrid(int col, bool ascending) override;
  void ResizeZeroWidthColumns() override;
  bool SetFixedColumnCount(int count) override;
  int InsertHead(const std::string& name, int width, int align, int decimals, double scale, int numeric,
                 int head_type, int histogram_decimals, double histogram_scale, int bottom_labels, int code_column,
                 int col) override;
  int InsertHeadSimple(const std::string& name, int width, int numeric) override;
  bool SetCellText(int row, int col, const std::string& text) override;
  bool SetCellTextColor(int row, int col, const std::string& text, COLORREF color) override;
  bool SetCellInt(int row, int col, int value) override;
  bool SetCellIntColor(int row, int col, int value, COLORREF color) override;
  bool SetCellDouble(int row, int col, double value) override;
  bool SetCellDoubleColor(int row, int col, double value, COLORREF color) override;
  bool SetCellInt64(int row, int col, std::int64_t value) override;
  bool SetCellDate(int row, int col, int yyyymmdd) override;
  bool UpdateCellDouble(int row, int col, double value) override;
  void SetOptionValue(int value) override { option_value_ = value; }
  bool SetFixedRowCount(int count) override;
  int GetRowCount() override;
  int GetHeadRowCount() override;
  int GetDataRowCount() override;
  std::string GetCellText(int row, int col) override;
  std::string GetDataCellText(int row, int col) override;
  int FindRow(int col, const std::string& key) override;
  std::string HostQuote(const std::string& code, int field) override;
  std::string HostQuoteOnMarket(const std::string& code, int market, int field) override;
  std::string HostBoardCodes(const std::string& board) override;
  std::string HostSecurityText(const std::string& code, int which) override;
  void DebugMessageBox(const std::string& text) override;

  // VCFGFunc
  void SetOption(int value, int option) override;
  void ApplyAppearance(const PyGridLook& look) override;
  bool LoadScript(const std::string& path) override;
  bool LoadScriptEx(const std::string& path, bool grid_only) override;
  void Reserved5() override {}
  void Reserved6() override {}
  void MoveWindow(int left, int top, int right, int bottom, int repaint) override;
  int GetColumnCount() override;
  void FocusGrid() override;
  std::string GetFocusRowText() override;
  void PostUpdateHQ() override;

  // IGridScroll: the grid scrolled, the bars follow.
  void OnGridScrolled(int first_row, int first_col) override;

  // For the terminal and tests.
  HQGridCtrl* Grid() const { return grid_.get(); }
  KVXHistogram* Histogram() const { return histogram_.get(); }
  CXScrollBar* VerticalBar() const { return vbar_.get(); }
  CXScrollBar* HorizontalBar() const { return hbar_.get(); }
  orbe::KvxWidget* Corner() const { return corner_.get(); }
  bool IsBusy() const { return busy_; }
  bool IsDebug() const { return debug_; }
  bool IsGridOnly() const { return grid_only_; }
  int GetOptionValue() const { return option_value_; }
  int GetCodeColumn() const { return code_column_; }
  const std::string& GetScriptPath() const { return path_; }
  // The last script error (when debugging, also shown in a message box).
  const std::string& LastError() const { return error_; }
  // Calls a function of the loaded script without arguments; false when it
  // is missing or raised.
  bool CallScript(const std::string& name);

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  BOOL PreTranslateMessage(MSG* msg) override;

 private:
  void Layout();
  void SyncBars();
  void RefillHistogram(int col);
  void SelectDataRow(int row);
  // A double click or the return key on a data row.
  void OpenRow(int grid_row, int grid_col);
  // The data row `row` exists (rows are added up to it, within a bound).
  bool EnsureRow(int row);
  bool SetNumber(int row, int col, double value, COLORREF color);
  bool Load(const std::string& path);
  void ReportError();
  const tagMemFieldInfo* FieldOf(const std::string& name);

  std::unique_ptr<HQGridCtrl> grid_;
  std::unique_ptr<CXScrollBar> vbar_;
  std::unique_ptr<CXScrollBar> hbar_;
  std::unique_ptr<orbe::KvxWidget> corner_;
  std::unique_ptr<KVXHistogram> histogram_;
  IFetchData* reply_ = nullptr;
  bool busy_ = false;
  bool reply_ready_ = false;
  std::string callback_;
  std::string path_;
  ScriptRef module_;
  bool debug_ = false;
  bool grid_only_ = false;
  int code_column_ = -1;
  int option_value_ = 0;
  std::string error_;
  tagMemFieldInfo field_{};
  std::string field_name_;
};

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_PY_GRID_LOADER_H_
