// One screening pumped to completion on the calling thread.
#include "orbe/screening/headless_screening.h"

#include <memory>

#include "orbe/platform/sync.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"

namespace orbe {

namespace {

constexpr UINT kFetchDone = WM_USER + 0x301;
constexpr DWORD kPumpSliceMs = 50;

// The owner the fetch reports to; it only notes the completion.
class ScreeningOwner : public CWnd {
 public:
  bool done = false;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kFetchDone) done = true;
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

}  // namespace

std::vector<ScreeningColumn> ScreeningColumns(IIndexMgr* mgr, const IndexScheme& scheme) {
  std::vector<ScreeningColumn> columns = {
      {"", "序号", DATA_TYPE_INT}, {"", "代码", DATA_TYPE_STRING}, {"", "简称", DATA_TYPE_STRING}};
  if (mgr == nullptr) return columns;
  for (const IndexSchemeItem& item : scheme.items) {
    const IndexBase* index = mgr->FindIndex(item.index);
    if (index == nullptr) continue;
    ScreeningColumn column;
    column.key = item.unit.empty() ? item.param : item.param + "," + item.unit;
    column.title = index->alias.empty() ? index->name : index->alias;
    if (!item.param.empty()) column.title += "\n[参数]:" + item.param;
    if (!item.unit.empty()) column.title += "\n[单位]:" + item.unit;
    column.datatype = index->datatype;
    column.width = item.colwidth;
    column.visible = item.visable;
    columns.push_back(std::move(column));
  }
  return columns;
}

std::string ScreeningSummary(int selected, int total) {
  const float ratio = total == 0 ? 0.0f : static_cast<float>(selected) / static_cast<float>(total) * 100.0f;
  return Format("选中数量：%d，总数：%d，选中比例：%.2f%%", selected, total, static_cast<double>(ratio));
}

ScreeningResult RunScreening(IIndexMgr* mgr, const IndexScheme& scheme, const std::string& companyCodes,
                             const ScreeningProgress& progress, DWORD timeoutMs) {
  ScreeningResult result;
  ScreeningOwner owner;
  if (!owner.Create(nullptr, RECT{0, 0, 400, 300}, 0)) {
    result.error = "window";
    return result;
  }
  auto fetch = std::make_unique<CFetchMultiProgress>(mgr, owner.GetSafeHwnd(), kFetchDone);
  if (!fetch->Create(&owner, RECT{0, 0, 200, 20}, 1)) {
    result.error = "window";
    return result;
  }
  if (!fetch->FetchData(scheme, companyCodes)) {
    result.error = "筛选未能开始";
    return result;
  }
  int shown = -1;
  const DWORD start = GetTickCount();
  while (!owner.done) {
    if (GetTickCount() - start > timeoutMs) {
      result.error = "超时";
      return result;
    }
    PumpUntil([&] { return owner.done || fetch->GetProgress() != shown; }, kPumpSliceMs);
    if (fetch->GetProgress() != shown) {
      shown = fetch->GetProgress();
      if (progress) progress(shown);
    }
  }
  if (fetch->GetFailedStatus() != 0) {
    result.error = Format("数据请求失败（状态 %d）", fetch->GetFailedStatus());
    return result;
  }
  result.ok = true;
  result.columns = ScreeningColumns(mgr, scheme);
  result.rows = fetch->GetResultTable();
  result.total = fetch->GetTotal();
  return result;
}

}  // namespace orbe
