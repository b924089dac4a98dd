// Owning a report configuration, and the parsed configurations kept per
// version of their file: opening a report again (another security, another
// window) copies the cells read before instead of reading every key of the
// file again.
#ifndef ORBE_REPORTS_REPORT_CONFIG_CACHE_H_
#define ORBE_REPORTS_REPORT_CONFIG_CACHE_H_

#include <memory>

#include "orbe/reports/cini_report_util.h"

namespace orbe {

struct ConfigDestroyer {
  void operator()(ScrollWndCfg* cfg) const { CIniReportUtil::DestroyScrollWndCfg(cfg); }
};
using OwnedConfig = std::unique_ptr<ScrollWndCfg, ConfigDestroyer>;

// A deep copy: cells of their own, the columns' pop-up cells pointing into
// the copy's map. Null when a cell is of a class unknown here or memory runs
// out.
OwnedConfig CopyReportConfig(const ScrollWndCfg& source);

// What CIniReportUtil::GetScrollWndCfgFromINI(path) gives, the caller's to
// change and to free, served from the last read of the same version of the
// file when there is one.
OwnedConfig ReadReportConfig(const char* path);

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_CONFIG_CACHE_H_
