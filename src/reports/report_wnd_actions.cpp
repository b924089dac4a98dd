// The title bar's commands: turning, exporting, splitting and the
// configuration tool, and the two selections.
#include <filesystem>

#include "orbe/platform/file_dialog.h"
#include "orbe/platform/loader.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "reports/ini_report_wnd_impl.h"

namespace {

namespace ids = orbe::report_wnd;

constexpr char kConfigTool[] = "ReportCfgTool.dll";
constexpr char kConfigEntry[] = "ShowCfgDlg";
// ShowCfgDlg(iniPath, 0): non-zero when the user saved a changed report.
using ShowCfgDlgFn = int (*)(const char* iniPath, int reserved);

constexpr char kExportFilter[] = "Excel 文件 (*.xlsx)|*.xlsx||";
constexpr char kExportFailed[] = "导出失败";
constexpr char kErrorCaption[] = "错误";

// Switches the current directory for one scope and back.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& folder) {
    std::error_code failed;
    previous_ = std::filesystem::current_path(failed);
    if (!failed && !folder.empty()) std::filesystem::current_path(folder, failed);
    changed_ = !failed && !folder.empty();
  }
  ~ScopedCurrentDirectory() {
    std::error_code failed;
    if (changed_) std::filesystem::current_path(previous_, failed);
  }
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
  bool changed_ = false;
};

}  // namespace

void CIniReportWnd::OnCommand(int id) {
  if (popup_open_) return;
  switch (id) {
    case ids::kRotateButton: Rotate(); break;
    case ids::kExportButton: Export(); break;
    case ids::kSplitButton: ToggleSplit(); break;
    case ids::kConfigButton: Configure(); break;
    case ids::kUnitSelection: ChangeMoneyUnit(); break;
    case ids::kTermSelection: SetSecuCode(security_code_, true); break;
    default: break;
  }
}

void CIniReportWnd::Rotate() {
  for (const auto& [id, cell] : cells_) {
    const auto* list = dynamic_cast<const ListCfg*>(cell);
    VList* widget = container_.GetList(id);
    if (list == nullptr || widget == nullptr || !list->enable_reverse) continue;
    widget->Reverse();
    widget->ApplyCompareColors();
  }
  container_.AdjustAllWnd();
  Invalidate();
}

void CIniReportWnd::Export() {
  orbe::FileDialogRequest request;
  request.kind = orbe::FileDialogKind::kSaveFile;
  request.filter = kExportFilter;
  request.default_extension = "xlsx";
  const std::string title = cfg_ != nullptr ? orbe::FieldText(cfg_->title) : "";
  request.initial_name = (host_text_.empty() ? title : title + " " + host_text_) + ".xlsx";
  request.title = title;
  const std::string path = orbe::ShowFileDialog(request);
  if (path.empty()) return;
  if (!container_.SaveAsExcel(path)) MessageBoxA(GetSafeHwnd(), kExportFailed, kErrorCaption, MB_OK | MB_ICONERROR);
}

void CIniReportWnd::ToggleSplit() {
  if (splits_.IsSplit()) {
    splits_.MergeAll(container_, cells_, true);
    title_bar_.ShowSplitState(false);
  } else {
    // The map changes as pieces are added: split from a copy of it.
    const orbe::CellMap shown = cells_;
    for (const auto& [id, cell] : shown) {
      const auto* list = dynamic_cast<const ListCfg*>(cell);
      if (list != nullptr && list->splittable) splits_.Split(container_, id, *list, title_bar_.Unit(), cells_);
    }
    title_bar_.ShowSplitState(splits_.IsSplit());
    container_.AdjustAllWnd();
  }
  Invalidate();
}

void CIniReportWnd::Configure() {
  const std::string folder = ComponentFolder();
  ScopedCurrentDirectory in_folder(folder);
  const HMODULE tool = LoadLibraryA(kConfigTool);
  if (tool == nullptr) return;
  const auto show = GetProcAddressAs<ShowCfgDlgFn>(tool, kConfigEntry);
  const bool changed = show != nullptr && show(ini_path_.c_str(), 0) != 0;
  FreeLibrary(tool);
  if (changed) SetIniFile(ini_path_);
}

void CIniReportWnd::ChangeMoneyUnit() {
  const int unit = title_bar_.Unit();
  for (const auto& [id, cell] : cells_) {
    if (VList* list = container_.GetList(id)) list->SetMoneyUnit(unit);
  }
  container_.AdjustAllWnd();
  Invalidate();
}
