// What the result display hands on: the security of a row and the result as
// a board to the host, the grid to a file.
#include <cstring>
#include <vector>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/widgets/grid_ctrl.h"

namespace {

constexpr std::size_t kCodeLength = 6;
constexpr std::size_t kSwitchValueSize = 7;  // the code and a zero byte
constexpr std::size_t kBoardRecordSize = 7;  // market byte and the code
constexpr unsigned char kMarketNotGiven = 0xFF;
constexpr int kSwitchShowSecurity = 12;
constexpr int kSwitchSaveBoard = 9;
constexpr int kCodeColumn = 1;
constexpr const char* kExportName = "选股结果";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool CDataDisplayWnd::SwitchToRow(int row) {
  const SwitchFuncProc switchFunc = GetSwitchFunc();
  if (switchFunc == nullptr || grid_ == nullptr || fetching_ || row < 1 || row >= grid_->GetRowCount()) return false;
  const std::string code = grid_->GetItemText(row, kCodeColumn);
  if (code.size() != kCodeLength) return false;
  char value[kSwitchValueSize] = {};
  std::memcpy(value, code.data(), kCodeLength);
  switchFunc(value, -1, nullptr, -1, kSwitchShowSecurity, 0, 0);
  return true;
}

bool CDataDisplayWnd::SaveAsBoard() {
  const SwitchFuncProc switchFunc = GetSwitchFunc();
  if (switchFunc == nullptr || grid_ == nullptr) return false;
  std::vector<unsigned char> records;
  for (int row = 1; row < grid_->GetRowCount(); ++row) {
    const std::string code = grid_->GetItemText(row, kCodeColumn);
    if (code.size() != kCodeLength) continue;
    records.push_back(kMarketNotGiven);
    records.insert(records.end(), code.begin(), code.end());
  }
  if (records.empty()) {
    MessageBoxA(GetSafeHwnd(), "没有数据需要保存", "提示", MB_OK | MB_ICONINFORMATION);
    return false;
  }
  static_assert(kBoardRecordSize == 1 + kCodeLength);
  switchFunc(nullptr, -1, records.data(), static_cast<int>(records.size()), kSwitchSaveBoard, 0, 0);
  return true;
}

bool CDataDisplayWnd::Export() {
  if (grid_ == nullptr) return false;
  const std::string path = CwFileUtil::SaveCFileDialog("xlsx|csv", kExportName);
  if (path.empty()) return false;
  return EndsWith(orbe::AsciiLower(path), ".csv") ? grid_->SaveAsCsv(path) : grid_->SaveAsExcel(path);
}
