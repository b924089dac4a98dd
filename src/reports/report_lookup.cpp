#include <algorithm>

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"

CellWndCfgBase* CIniReportUtil::GetCfgBase(const ScrollWndCfg* cfg, const CString& sectionName) {
  if (cfg == nullptr) return nullptr;
  const auto found = cfg->cell_map.find(sectionName);
  return found == cfg->cell_map.end() ? nullptr : found->second;
}

CellWndCfgBase* CIniReportUtil::GetCfgBase(const ScrollWndCfg* cfg, int index) {
  if (cfg == nullptr || index < 0 || static_cast<std::size_t>(index) >= cfg->display_order.size())
    return nullptr;
  return GetCfgBase(cfg, cfg->display_order[static_cast<std::size_t>(index)]);
}

CString CIniReportUtil::GetCacheKey(const ScrollWndCfg* cfg, const CellWndCfgBase* cell) {
  if (cfg == nullptr || cell == nullptr) return {};
  for (const auto& [section, stored] : cfg->cell_map) {
    if (stored == cell) return section;
  }
  return {};
}

ScrollWndCfg CIniReportUtil::GenerateChildScrollWndCfg(const ScrollWndCfg* parent,
                                                       const CellWndCfgBase* cell) {
  ScrollWndCfg child;
  if (parent == nullptr) return child;
  std::copy(std::begin(parent->ini_path), std::end(parent->ini_path), child.ini_path);
  std::copy(std::begin(parent->title), std::end(parent->title), child.title);
  child.title_high = parent->title_high;
  child.adopt_money_format = parent->adopt_money_format;
  child.adopt_report_term = parent->adopt_report_term;
  const CString section = GetCacheKey(parent, cell);
  if (section.empty()) return child;
  child.display_order.push_back(section);
  child.cell_map = parent->cell_map;
  return child;
}

bool CIniReportUtil::DeleteColCfgbyTitle(ListCfg* list, const CString& title) {
  if (list == nullptr) return false;
  const auto found = std::find_if(list->columns.begin(), list->columns.end(),
                                  [&](const ListColCfg& col) { return orbe::FieldText(col.title) == title; });
  if (found == list->columns.end()) return false;
  list->columns.erase(found);
  return true;
}
