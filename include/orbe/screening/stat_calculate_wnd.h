// The statistics under the result grid: a small grid with one row per chosen
// statistic and one column per indicator column of the result, computed over
// the rows whose check box is set, and the options panel that chooses the
// statistics, the weight column and the checked rows.
#ifndef ORBE_SCREENING_STAT_CALCULATE_WND_H_
#define ORBE_SCREENING_STAT_CALCULATE_WND_H_

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "orbe/platform/window.h"
#include "orbe/screening/statistics.h"

class CGridCtrl;
class CKvxButton;
class CKvxCheckBox;
class CKvxComboBox;

namespace orbe {
class CommandEvents;
}

// Messages the options panel posts to the statistics pane.
inline constexpr UINT WM_STAT_COMPUTE = 4001;      // wParam: the number of enabled statistics
inline constexpr UINT WM_STAT_CLEAR_ABOVE = 4012;  // uncheck rows 1 .. before the last selected
inline constexpr UINT WM_STAT_INVERT = 4013;       // invert every row's check box
inline constexpr UINT WM_STAT_CLEAR_BELOW = 4014;  // uncheck the rows after the last selected
inline constexpr UINT WM_STAT_CHECK_ALL = 4015;    // check every row

// Result grid layout the statistics read: row 0 the header; columns 0-2
// "序号", "代码", "简称"; column 3 the rows' check boxes; indicator columns from
// 4 on, each header cell's item data holding its type (StatColumnType).
inline constexpr int kResultCheckColumn = 3;
inline constexpr int kResultFirstIndicator = 4;

// The options panel (dialog 12022).
class CDlgCalculate : public CWnd {
 public:
  static constexpr UINT kDialogId = 12022;
  static constexpr UINT kWeightList = 4017;
  static constexpr UINT kComputeButton = 4031;
  static constexpr UINT kClearAboveButton = 4032;
  static constexpr UINT kClearBelowButton = 4033;
  static constexpr UINT kCheckAllButton = 4034;
  static constexpr UINT kInvertButton = 4035;
  static constexpr UINT kResetButton = 4036;
  static constexpr int kHeight = 92;

  CDlgCalculate();
  ~CDlgCalculate() override;

  // The pane the messages go to.
  void SetPane(HWND pane) { pane_ = pane; }
  // The weight list: the titles of the result's indicator columns; the first
  // is selected.
  void FillWeightList(const std::vector<std::string>& titles);
  std::string GetWeightTitle() const;
  // The fields, one per statistic in output-row order, 0 or 1.
  const std::array<int, orbe::kStatisticCount>& Fields() const { return fields_; }
  // The enabled statistics' positions in output-row order.
  std::vector<int> EnabledStatistics() const;

  CKvxCheckBox* GetStatisticCheck(UINT control) const;
  CKvxComboBox* GetWeightList() const { return weights_.get(); }
  CKvxButton* GetButton(UINT id) const;

 protected:
  int OnCreate() override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void OnCompute();
  void OnReset();
  void UpdateFieldsFromControls();
  void UpdateControlsFromFields();

  HWND pane_ = nullptr;
  std::array<int, orbe::kStatisticCount> fields_{};
  std::unique_ptr<orbe::CommandEvents> events_;
  std::vector<std::unique_ptr<CKvxCheckBox>> checks_;
  std::unique_ptr<CKvxComboBox> weights_;
  std::vector<std::unique_ptr<CKvxButton>> buttons_;
};

class CStatCalculateWnd : public CWnd {
 public:
  static constexpr UINT kOutputGridId = 7412;
  static constexpr int kRowHeight = 25;

  static constexpr COLORREF kBackground = 0xEDEBEB;  // 15592427

  CStatCalculateWnd();
  ~CStatCalculateWnd() override;

  // A window of the class "CStatCalculateWnd".
  BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style);

  // The result grid the statistics read (not owned) and the window told to
  // lay the pane out again after each computation.
  void SetResultGrid(CGridCtrl* grid) { result_ = grid; }
  void SetOwner(HWND owner) { owner_ = owner; }
  // Refills the weight list from the result grid's indicator columns.
  void RefreshWeightList();
  // The toggle of the options panel: shown when the count is odd.
  void ToggleOptions();
  int GetShowCount() const { return show_count_; }
  bool OptionsShown() const { return show_count_ % 2 == 1; }
  // The height the pane needs: its rows, plus the panel when shown.
  int GetPaneHeight() const;

  CGridCtrl* GetOutputGrid() const { return output_.get(); }
  CDlgCalculate* GetOptions() const { return options_.get(); }

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ResetOutputGrid();
  void Compute();
  void SetChecks(int first, int end, int mode);
  int LastSelectedRow() const;

  CGridCtrl* result_ = nullptr;
  HWND owner_ = nullptr;
  int show_count_ = 0;
  std::unique_ptr<CGridCtrl> output_;
  std::unique_ptr<CDlgCalculate> options_;
};

#endif  // ORBE_SCREENING_STAT_CALCULATE_WND_H_
