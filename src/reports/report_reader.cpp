// Reading a report and its cells. Nothing is thrown out of these members:
// an allocation failure gives null, as the readers promise.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "reports/cell_reading.h"
#include "reports/report_config_cache.h"

namespace orbe {
namespace {

constexpr std::string_view kControlPrefix = "CONTROL";

// The numbers i in 1..count for which a section "CONTROL<i>" exists, in
// ascending order. Sections that do not exist have no TYPE and give no cell,
// so visiting only these gives what the loop over 1..count gives, without
// billions of lookups for a huge CONTROL_NUM.
std::vector<int> ExistingControlNumbers(const std::string& path, int count) {
  std::vector<int> numbers;
  for (const std::string& name : ProfileSectionNames(path)) {
    if (name.size() <= kControlPrefix.size() ||
        !EqualsIgnoreAsciiCase(std::string_view(name).substr(0, kControlPrefix.size()), kControlPrefix))
      continue;
    const std::string digits = name.substr(kControlPrefix.size());
    if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    const long long number = std::stoll(digits);
    if (number < 1 || number > count || Format("%lld", number) != digits) continue;
    numbers.push_back(static_cast<int>(number));
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

void ReadMainSection(ScrollWndCfg& cfg, const std::string& path) {
  for (char& c : cfg.title) c = '\0';
  GetPrivateProfileStringA("MAIN", "TITLE", "", cfg.title, sizeof(cfg.title), path.c_str());
  cfg.title_high = ProfileInt(path, "MAIN", "TITLE_HIGH", 30);
  cfg.adopt_money_format =
      CIniReportUtil::GetPrivateProfileBool("MAIN", "ADOPT_MONEY_FORMAT", path.c_str(), false);
  cfg.adopt_report_term =
      CIniReportUtil::GetPrivateProfileBool("MAIN", "ADOPT_REPORT_TERM", path.c_str(), false);
}

void ReadShownCell(ScrollWndCfg* cfg, const std::string& section, const char* path) {
  switch (CIniReportUtil::GetPrivateProfileEWndType(section.c_str(), "TYPE", path)) {
    case kWndList: CIniReportUtil::GetListCfgFromINI(cfg, section.c_str(), path, false); break;
    case kWndChart: CIniReportUtil::GetChartCfgFromINI(cfg, section.c_str(), path, false); break;
    case kWndWebBrowser: CIniReportUtil::GetWebBrowserCfgFromINI(cfg, section.c_str(), path, false); break;
    case kWndLabel: CIniReportUtil::GetLabelCfgFromINI(cfg, section.c_str(), path, false); break;
    case kWndListHistogram:
      CIniReportUtil::GetListHistogramCfgFromINI(cfg, section.c_str(), path, false);
      break;
    case kWndNone: break;
  }
}

// Every reader of one cell class: an existing cell is reused (or refused
// when of another class); a new one is registered, then read with every
// pop-up it leads to.
template <class Cell>
Cell* ReadSection(ScrollWndCfg* cfg, const char* section, const char* path, bool for_popup) {
  if (cfg == nullptr || section == nullptr || path == nullptr) return nullptr;
  try {
    if (const auto found = cfg->cell_map.find(section); found != cfg->cell_map.end())
      return dynamic_cast<Cell*>(found->second);
    CellReading reading(*cfg, path);
    auto* const cell = static_cast<Cell*>(reading.Register(section, std::make_unique<Cell>(), for_popup));
    reading.ReadQueued();
    reading.Commit();
    return cell;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace
}  // namespace orbe

ScrollWndCfg* CIniReportUtil::GetScrollWndCfgFromINI(const char* path) {
  // The configuration keeps the path in a fixed field; a path that does not
  // fit is refused rather than kept cut, so the report is never reread from
  // a different file.
  if (path == nullptr || std::strlen(path) >= sizeof(ScrollWndCfg::ini_path)) return nullptr;
  try {
    orbe::OwnedConfig cfg(new ScrollWndCfg());
    orbe::CopyToField(cfg->ini_path, path);
    const std::string file(path);
    // One look at the file for the whole read, not one a key.
    const orbe::ProfileReadScope read_once(file);
    orbe::ReadMainSection(*cfg, file);
    const int count = orbe::ProfileInt(file, "MAIN", "CONTROL_NUM", 0);
    for (const int i : orbe::ExistingControlNumbers(file, count))
      orbe::ReadShownCell(cfg.get(), orbe::Format("CONTROL%d", i), path);
    return cfg.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void CIniReportUtil::DestroyScrollWndCfg(ScrollWndCfg* cfg) {
  if (cfg == nullptr) return;
  const std::unique_ptr<ScrollWndCfg> root(cfg);
  // The map owns its cells: adopting each pointer frees it.
  for (auto& entry : root->cell_map) {
    const std::unique_ptr<CellWndCfgBase> owned(entry.second);
  }
  root->cell_map.clear();
  root->display_order.clear();
}

ListCfg* CIniReportUtil::GetListCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path,
                                           bool forPopup) {
  return orbe::ReadSection<ListCfg>(cfg, section, path, forPopup);
}

ListHistogramCfg* CIniReportUtil::GetListHistogramCfgFromINI(ScrollWndCfg* cfg, const char* section,
                                                             const char* path, bool forPopup) {
  return orbe::ReadSection<ListHistogramCfg>(cfg, section, path, forPopup);
}

ChartCfg* CIniReportUtil::GetChartCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path,
                                             bool forPopup) {
  return orbe::ReadSection<ChartCfg>(cfg, section, path, forPopup);
}

WebBrowserCfg* CIniReportUtil::GetWebBrowserCfgFromINI(ScrollWndCfg* cfg, const char* section,
                                                       const char* path, bool forPopup) {
  return orbe::ReadSection<WebBrowserCfg>(cfg, section, path, forPopup);
}

LabelCfg* CIniReportUtil::GetLabelCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path,
                                             bool forPopup) {
  return orbe::ReadSection<LabelCfg>(cfg, section, path, forPopup);
}

CellWndCfgBase* CIniReportUtil::GetCfgFromINIForPopWnd(ScrollWndCfg* cfg, const char* section,
                                                       const char* path) {
  switch (GetPrivateProfileEWndType(section, "TYPE", path)) {
    case kWndList: return GetListCfgFromINI(cfg, section, path, true);
    case kWndChart: return GetChartCfgFromINI(cfg, section, path, true);
    case kWndWebBrowser: return GetWebBrowserCfgFromINI(cfg, section, path, true);
    case kWndLabel: return GetLabelCfgFromINI(cfg, section, path, true);
    case kWndListHistogram: return GetListHistogramCfgFromINI(cfg, section, path, true);
    case kWndNone: break;
  }
  return nullptr;
}
