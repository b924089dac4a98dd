#include "reports/cell_reading.h"

#include <algorithm>
#include <iterator>

#include "orbe/reports/cini_report_util.h"

namespace orbe {

std::unique_ptr<CellWndCfgBase> NewCellOfType(EWndType type) {
  switch (type) {
    case kWndList: return std::make_unique<ListCfg>();
    case kWndChart: return std::make_unique<ChartCfg>();
    case kWndWebBrowser: return std::make_unique<WebBrowserCfg>();
    case kWndLabel: return std::make_unique<LabelCfg>();
    case kWndListHistogram: return std::make_unique<ListHistogramCfg>();
    case kWndNone: break;
  }
  return nullptr;
}

bool CellIsOfType(const CellWndCfgBase* cell, EWndType type) {
  switch (type) {
    case kWndList: return dynamic_cast<const ListCfg*>(cell) != nullptr;
    case kWndChart: return dynamic_cast<const ChartCfg*>(cell) != nullptr;
    case kWndWebBrowser: return dynamic_cast<const WebBrowserCfg*>(cell) != nullptr;
    case kWndLabel: return dynamic_cast<const LabelCfg*>(cell) != nullptr;
    case kWndListHistogram: return dynamic_cast<const ListHistogramCfg*>(cell) != nullptr;
    case kWndNone: break;
  }
  return false;
}

CellReading::~CellReading() {
  for (auto it = registered_.rbegin(); it != registered_.rend(); ++it) {
    if (const auto found = cfg_.cell_map.find(it->section); found != cfg_.cell_map.end()) {
      const std::unique_ptr<CellWndCfgBase> owned(found->second);
      cfg_.cell_map.erase(found);
    }
    if (it->for_popup) continue;
    const auto shown = std::find(cfg_.display_order.rbegin(), cfg_.display_order.rend(), it->section);
    if (shown != cfg_.display_order.rend()) cfg_.display_order.erase(std::next(shown).base());
  }
}

CellWndCfgBase* CellReading::Register(const std::string& section, std::unique_ptr<CellWndCfgBase> cell,
                                      bool for_popup) {
  // Remembered first: whatever fails after this is taken back.
  registered_.push_back(Registered{section, for_popup});
  CellWndCfgBase* const stored = cell.get();
  // The map owns its cells from here on (DestroyScrollWndCfg frees them).
  cfg_.cell_map.emplace(section, nullptr).first->second = cell.release();
  if (!for_popup) cfg_.display_order.push_back(section);
  queue_.push_back(Pending{stored, section});
  return stored;
}

CellWndCfgBase* CellReading::ClaimPopup(const std::string& section) {
  const EWndType type = CIniReportUtil::GetPrivateProfileEWndType(section.c_str(), "TYPE", path_.c_str());
  if (type == kWndNone) return nullptr;
  if (const auto found = cfg_.cell_map.find(section); found != cfg_.cell_map.end())
    return CellIsOfType(found->second, type) ? found->second : nullptr;
  return Register(section, NewCellOfType(type), true);
}

void CellReading::ReadQueued() {
  while (!queue_.empty()) {
    const Pending next = queue_.front();
    queue_.pop_front();
    ReadCellKeys(*next.cell, next.section, *this);
  }
}

}  // namespace orbe
