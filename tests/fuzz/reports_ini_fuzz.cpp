// Arbitrary INI bytes through the report reader, then a walk over every
// cell and column read. ASCII literals only: this is built with clang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "orbe/platform/file.h"
#include "orbe/reports/cini_report_util.h"

namespace {

const std::string& ReportPath() {
  static const std::string path = "/tmp/orbe-reports-fuzz-" + std::to_string(getpid()) + ".ini";
  return path;
}

std::size_t Touch(const char* field, std::size_t size) { return std::string_view(field, size).find('\0'); }

std::size_t Walk(const ScrollWndCfg& cfg) {
  std::size_t sum = cfg.display_order.size();
  for (const auto& [section, cell] : cfg.cell_map) {
    sum += Touch(cell->sql_statement, sizeof(cell->sql_statement)) + Touch(cell->title, sizeof(cell->title));
    sum += CIniReportUtil::GetCacheKey(&cfg, cell).size();
    if (const auto* list = dynamic_cast<const ListCfg*>(cell)) {
      for (const ListColCfg& col : list->columns) {
        sum += Touch(col.name, sizeof(col.name)) + Touch(col.pop_param, sizeof(col.pop_param));
        if (col.pop_cell != nullptr) sum += static_cast<std::size_t>(col.pop_cell->type);
      }
    } else if (const auto* label = dynamic_cast<const LabelCfg*>(cell)) {
      sum += Touch(label->label_text, sizeof(label->label_text));
    }
  }
  for (int i = 0; i < static_cast<int>(cfg.display_order.size()); ++i) {
    const CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(&cfg, i);
    const ScrollWndCfg child = CIniReportUtil::GenerateChildScrollWndCfg(&cfg, cell);
    sum += child.display_order.size();
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!orbe::WriteFileAtomically(ReportPath(), bytes)) return 0;
  ScrollWndCfg* cfg = CIniReportUtil::GetScrollWndCfgFromINI(ReportPath().c_str());
  if (cfg != nullptr) {
    volatile std::size_t sink = Walk(*cfg);
    (void)sink;
  }
  CIniReportUtil::DestroyScrollWndCfg(cfg);
  return 0;
}
