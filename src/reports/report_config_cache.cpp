#include "reports/report_config_cache.h"

#include <map>
#include <new>
#include <optional>
#include <string>
#include <typeinfo>
#include <utility>

#include "orbe/platform/file.h"
#include "orbe/platform/file_version_cache.h"
#include "platform/no_destructor.h"

namespace orbe {
namespace {

// Enough for the reports a person keeps switching between; each copy is a
// few tens of kilobytes.
constexpr std::size_t kCachedReports = 16;

using OwnedCell = std::unique_ptr<CellWndCfgBase>;

// Copies the cell as its exact class; null for a class not listed.
template <typename... Kinds>
OwnedCell CopyAsExactKind(const CellWndCfgBase& cell) {
  OwnedCell copy;
  ((copy == nullptr && typeid(cell) == typeid(Kinds)
        ? (copy = std::make_unique<Kinds>(static_cast<const Kinds&>(cell)))
        : copy),
   ...);
  return copy;
}

OwnedCell CopyCell(const CellWndCfgBase& cell) {
  return CopyAsExactKind<CellWndCfgBase, ListCfg, ListHistogramCfg, ChartCfg, WebBrowserCfg, LabelCfg>(cell);
}

// Points the copied columns' pop-up cells at the copies of their cells.
bool RepointPopups(const std::map<const CellWndCfgBase*, CellWndCfgBase*>& copies, CellWndCfgBase& cell) {
  auto* list = dynamic_cast<ListCfg*>(&cell);
  if (list == nullptr) return true;
  for (ListColCfg& column : list->columns) {
    if (column.pop_cell == nullptr) continue;
    const auto found = copies.find(column.pop_cell);
    if (found == copies.end()) return false;
    column.pop_cell = found->second;
  }
  return true;
}

FileVersionCache<ScrollWndCfg>& Cache() {
  static NoDestructor<FileVersionCache<ScrollWndCfg>> cache(kCachedReports);
  return *cache.get();
}

}  // namespace

OwnedConfig CopyReportConfig(const ScrollWndCfg& source) {
  try {
    std::map<CString, OwnedCell> cells;
    std::map<const CellWndCfgBase*, CellWndCfgBase*> copies;
    for (const auto& [section, cell] : source.cell_map) {
      OwnedCell fresh = cell != nullptr ? CopyCell(*cell) : nullptr;
      if (cell != nullptr && fresh == nullptr) return nullptr;
      copies.emplace(cell, fresh.get());
      cells.emplace(section, std::move(fresh));
    }
    for (auto& [section, cell] : cells)
      if (cell != nullptr && !RepointPopups(copies, *cell)) return nullptr;
    // Every field of the root as it is, then the map of the copies.
    auto root = std::make_unique<ScrollWndCfg>(source);
    root->cell_map.clear();
    OwnedConfig copy(root.release());
    for (auto& [section, cell] : cells) copy->cell_map.emplace(section, cell.release());
    return copy;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

OwnedConfig ReadReportConfig(const char* path) {
  const std::optional<FileIdentity> identity = path != nullptr ? IdentifyFile(path) : std::nullopt;
  // Without a file there is nothing to tell versions apart by.
  if (!identity) return OwnedConfig(CIniReportUtil::GetScrollWndCfgFromINI(path));
  if (const auto kept = Cache().Find(path, *identity)) {
    if (OwnedConfig copy = CopyReportConfig(*kept)) return copy;
  }
  OwnedConfig read(CIniReportUtil::GetScrollWndCfgFromINI(path));
  // Kept only when the file did not change while it was read, so a copy is
  // never filed under a version it was not read from.
  if (read != nullptr && IdentifyFile(path) == identity) {
    if (OwnedConfig kept = CopyReportConfig(*read)) Cache().Store(path, *identity, std::move(kept));
  }
  return read;
}

}  // namespace orbe
