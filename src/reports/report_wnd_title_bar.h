// The controls on a report window's title bar: four buttons at the right and,
// left of them, the money-unit and report-term selections with their labels.
// The controls are children of the report window; their clicks and picks
// reach the window through the event sink it gives.
#ifndef ORBE_REPORTS_REPORT_WND_TITLE_BAR_H_
#define ORBE_REPORTS_REPORT_WND_TITLE_BAR_H_

#include <string>
#include <vector>

#include "orbe/widgets/buttons.h"
#include "orbe/widgets/combos.h"

namespace orbe {

struct TitleBarChoices {
  std::vector<std::string> terms;  // GBK, the term selection's entries
  int term = 1;                    // "最近两年"
  int unit = 0;                    // "元"
};

class ReportTitleBar {
 public:
  static constexpr int kButtonWidth = 50;
  static constexpr int kButtonHeight = 24;
  static constexpr int kButtonStep = 53;
  static constexpr int kSelectionWidth = 75;

  bool Create(CWnd& owner, IWidgetEventSink& sink, const TitleBarChoices& choices);
  // Places the controls along a title bar of that height at the top of a
  // window of that width; a selection the report does not adopt is hidden.
  void Layout(int width, int title_height, bool show_unit, bool show_term);
  // "旋转", "导出" and "拆分" as the configuration allows them.
  void EnableForCells(bool rotate, bool export_lists, bool split);
  // While a page is built the term selection and "配置" are disabled.
  void SetBuilding(bool building, bool config_allowed);
  void ShowSplitState(bool split);

  int Unit() const { return unit_.GetCurSel(); }
  std::string Term() const { return term_.GetSelectedText(); }

 private:
  CKvxButton buttons_[4];
  CKvxComboBox unit_;
  CKvxComboBox term_;
  KvxWidget unit_label_{WidgetKind::kTitle};
  KvxWidget term_label_{WidgetKind::kTitle};
};

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_WND_TITLE_BAR_H_
