// Cells without data of their own: a web pane showing the cell's address for
// the report's security, and a label showing the cell's text.
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/web_pane.h"
#include "reports/report_wnd_cells.h"

namespace orbe {
namespace {

constexpr COLORREF kLabelBackground = RGB(255, 255, 255);

int AddCell(ScrollContainer& container, const CellWndCfgBase& cfg, ScrollCellType type) {
  return container.AddWnd(FieldText(cfg.title), static_cast<int>(type), cfg.title_high, cfg.control_high,
                          cfg.control_width);
}

}  // namespace

int BuildWebCell(const CellBuild& build, const WebBrowserCfg& cfg) {
  const int id = AddCell(build.container, cfg, ScrollCellType::kWeb);
  CWebBrowser2* web = id >= 0 ? build.container.GetWeb(id) : nullptr;
  if (web == nullptr) return -1;
  web->Navigate(CIniReportUtil::GenerateUrl(FieldText(cfg.url), build.security_code));
  return id;
}

int BuildLabelCell(const CellBuild& build, const LabelCfg& cfg) {
  const int id = AddCell(build.container, cfg, ScrollCellType::kLabel);
  CColorEdit* label = id >= 0 ? build.container.GetLabel(id) : nullptr;
  if (label == nullptr) return -1;
  label->SetReadOnly(true);
  label->SetBkColor(kLabelBackground);
  label->SetFont(kReportFont);
  label->SetText(FieldText(cfg.label_text), CLR_DEFAULT, kReportFont);
  return id;
}

}  // namespace orbe
