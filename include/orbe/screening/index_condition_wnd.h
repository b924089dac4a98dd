// The condition window: the grid of a screening's condition rows (indicator,
// parameter, operator, value, unit), the logical expression that joins them,
// the report-period selector and the command buttons. It fetches nothing: its
// commands are posted to the receiver window (the screening window), which
// runs the screening and saves the scheme.
#ifndef ORBE_SCREENING_INDEX_CONDITION_WND_H_
#define ORBE_SCREENING_INDEX_CONDITION_WND_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/window.h"

class CGridCtrl;
class CColorEdit;
class CKvxButton;
class CKvxComboBox;
class CKvxRadio;
class CTextProgressCtrl;

namespace orbe {
class CommandEvents;
}

class CIndexConditionWnd : public CWnd {
 public:
  // The placeholder of the expression box; it counts as no expression.
  static constexpr const char* kExpressionPrompt = "逻辑关系运算式";
  static constexpr int kColumns = 6;
  static constexpr int kPeriodYears = 21;

  static CIndexConditionWnd* CreatIndexConditionWnd(IIndexMgr* mgr, CWnd* parent, const RECT& rect, DWORD style,
                                                    UINT id);
  static void DeleteIndexConditionWnd(CIndexConditionWnd* wnd);

  explicit CIndexConditionWnd(IIndexMgr* mgr);
  ~CIndexConditionWnd() override;

  // The argument order of the framework's window class (style before id).
  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  // The window that receives the posted commands; none: nothing is posted.
  void SetMsgHwnd(HWND receiver) { receiver_ = receiver; }
  HWND GetMsgHwnd() const { return receiver_; }

  // Appends a row and regenerates the expression with the checked mode.
  // Returns the new row's number, 0 for no indicator.
  int AddIndex(IndexBase* index);
  // Removes a data row, renumbers the rows after it and regenerates the
  // expression as an "and" of all rows. 0 when there is no such row.
  int DelIndex(int row);
  void ClearAllIndex();
  // 0 when there is nothing to save or fetch; else rebuilds the scheme's
  // items (and its expression, unless the box shows the placeholder).
  int GenScheme(IndexScheme& scheme);
  // Shows a scheme: rows of the indicators the catalogue has, in order.
  void ChangeScheme(const IndexScheme& scheme);
  CString GetEditExpressText() const;
  void SetProgress(int pos, bool hide);
  void EnableFetchButton(bool enable);

  // What the window shows, for hosts and tests that act on it as a user.
  CGridCtrl* GetGrid() const { return grid_.get(); }
  CColorEdit* GetExpressionEdit() const { return expression_.get(); }
  CKvxComboBox* GetPeriodCombo() const { return period_.get(); }
  CKvxRadio* GetIntersectionRadio() const { return and_radio_.get(); }
  CKvxRadio* GetUnionRadio() const { return or_radio_.get(); }
  CTextProgressCtrl* GetProgressBar() const { return progress_.get(); }
  CKvxButton* GetButton(UINT id) const;
  // The data rows' indicators, by row number from 1.
  const std::map<int, IndexBase*>& GetRows() const { return rows_; }
  // The selected data row, 0 for none.
  int GetSelectedRow() const;

  // The default parameter of a new row of this indicator.
  static std::string DefaultParameter(const IndexBase& index);
  // The report-period list for a calendar year: four entries per year from
  // `year` down to year - 20.
  static std::vector<std::string> ReportPeriodList(int year);

  // Delete (46) and the keypad's Delete (110) on the grid delete the selected row.
  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateControls();
  void FillPeriodList();
  void OnCommand(UINT id, WORD code);
  void OnGridNotify(UINT code, int row, int col);
  void PostToReceiver(UINT message);
  void GenerateExpression(bool intersection);
  void NumberRows();
  void PaintRow(int row);
  void SetUnitCell(int row, const IndexBase& index);
  void OnPeriodChosen();
  void OnNewCondition();
  void DeleteSelectedRow();
  void EditSelectedRow();
  void EditRowParameter(int row);
  // The grid's pop-up: "删除所选" and "删除全部".
  void ShowGridMenu();
  void ShowIndexManager();

  IIndexMgr* mgr_;
  HWND receiver_ = nullptr;
  std::map<int, IndexBase*> rows_;
  // The display settings of rows that came from a loaded scheme, kept for
  // the scheme they make again.
  std::map<int, IndexSchemeItem> row_looks_;
  std::unique_ptr<orbe::CommandEvents> events_;
  std::unique_ptr<CGridCtrl> grid_;
  std::unique_ptr<CColorEdit> expression_;
  std::unique_ptr<CKvxRadio> and_radio_;
  std::unique_ptr<CKvxRadio> or_radio_;
  std::unique_ptr<CKvxComboBox> period_;
  std::unique_ptr<CTextProgressCtrl> progress_;
  std::vector<std::unique_ptr<CKvxButton>> buttons_;
};

#endif  // ORBE_SCREENING_INDEX_CONDITION_WND_H_
