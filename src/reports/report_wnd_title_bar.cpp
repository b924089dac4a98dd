#include "reports/report_wnd_title_bar.h"

#include <algorithm>

#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/ini_report_wnd.h"
#include "reports/report_wnd_look.h"

namespace orbe {
namespace {

namespace ids = report_wnd;

struct ButtonRow {
  int id;
  const char* caption;
};
// Left to right; the last one ends at the window's right edge.
constexpr ButtonRow kButtons[] = {
    {ids::kRotateButton, "旋转"},
    {ids::kExportButton, "导出"},
    {ids::kSplitButton, "拆分"},
    {ids::kConfigButton, "配置"},
};
constexpr char kMergeCaption[] = "合并";
constexpr char kUnitCaption[] = "单位:";
constexpr char kTermCaption[] = "报告期:";

constexpr int kUnitLabelWidth = 36;
constexpr int kTermLabelWidth = 50;
constexpr int kGap = 4;
constexpr int kSelectionHeight = 20;


bool CreateControl(KvxWidget& control, CWnd& owner, int id, const std::string& text, const FontSpec& font) {
  if (!control.Create(&owner, RECT{0, 0, 0, 0}, static_cast<UINT>(id), WS_CHILD | WS_VISIBLE)) return false;
  control.SetWindowText(text);
  control.SetFont(font);
  return true;
}

void Place(CWnd& control, int x, int y, int width, int height, bool shown) {
  control.MoveWindow(x, y, width, height);
  control.ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

}  // namespace

bool ReportTitleBar::Create(CWnd& owner, IWidgetEventSink& sink, const TitleBarChoices& choices) {
  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    if (!CreateControl(buttons_[i], owner, kButtons[i].id, kButtons[i].caption, kReportFont)) return false;
    buttons_[i].SetEventSink(&sink);
  }
  if (!CreateControl(unit_label_, owner, ids::kUnitLabel, kUnitCaption, kReportFont) ||
      !CreateControl(term_label_, owner, ids::kTermLabel, kTermCaption, kReportFont) ||
      !CreateControl(unit_, owner, ids::kUnitSelection, "", kReportNumberFont) ||
      !CreateControl(term_, owner, ids::kTermSelection, "", kReportNumberFont)) {
    return false;
  }
  for (const CString& unit : CIniReportUtil::GetMoneyUnitList()) unit_.AddString(unit);
  for (const std::string& term : choices.terms) term_.AddString(term);
  unit_.SetCurSel(choices.unit);
  term_.SetCurSel(choices.term);
  unit_.SetEventSink(&sink);
  term_.SetEventSink(&sink);
  return true;
}

void ReportTitleBar::Layout(int width, int title_height, bool show_unit, bool show_term) {
  const int button_top = std::max((title_height - kButtonHeight) / 2, 0);
  const int first_button = width - static_cast<int>(std::size(kButtons)) * kButtonStep;
  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    Place(buttons_[i], first_button + static_cast<int>(i) * kButtonStep, button_top, kButtonWidth, kButtonHeight,
          true);
  }
  const int top = std::max((title_height - kSelectionHeight) / 2, 0);
  int right = first_button - kGap;
  const auto place_selection = [&](CWnd& label, int label_width, CKvxComboBox& selection, bool shown) {
    if (shown) right -= kSelectionWidth;
    Place(selection, right, top, kSelectionWidth, kSelectionHeight, shown);
    if (shown) right -= label_width;
    Place(label, right, top, label_width, kSelectionHeight, shown);
    if (shown) right -= kGap;
  };
  place_selection(term_label_, kTermLabelWidth, term_, show_term);
  place_selection(unit_label_, kUnitLabelWidth, unit_, show_unit);
}

void ReportTitleBar::EnableForCells(bool rotate, bool export_lists, bool split) {
  buttons_[0].EnableWindow(rotate);
  buttons_[1].EnableWindow(export_lists);
  buttons_[2].EnableWindow(split);
}

void ReportTitleBar::SetBuilding(bool building, bool config_allowed) {
  term_.EnableWindow(!building);
  buttons_[3].EnableWindow(!building && config_allowed);
}

void ReportTitleBar::ShowSplitState(bool split) {
  buttons_[2].SetWindowText(split ? kMergeCaption : kButtons[2].caption);
}

}  // namespace orbe
