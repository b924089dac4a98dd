// Building a report page: the cells of the display order one after another,
// each data cell after its own reply has arrived (message kCellReady from its
// fetch handle), each pane after a kCellReady the window posts itself. The
// statements of the next few cells are already on their way meanwhile.
#include "orbe/platform/text.h"
#include "reports/ini_report_wnd_impl.h"
#include "reports/report_wnd_cells.h"

namespace {

namespace ids = orbe::report_wnd;

constexpr char kConfigErrorText[] = "配置文件出错";
constexpr int kReplyComplete = 100;

bool NeedsData(EWndType type) { return type == kWndList || type == kWndChart || type == kWndListHistogram; }

bool IsBuildable(const CellWndCfgBase* cell) {
  return cell != nullptr && cell->type != kWndNone && cell->type <= kWndListHistogram;
}

}  // namespace

void CIniReportWnd::RebuildPage(bool reread) {
  splits_.MergeAll(container_, cells_, false);
  if (reread) {
    if (owns_cfg_) CIniReportUtil::DestroyScrollWndCfg(cfg_);
    cfg_ = CIniReportUtil::GetScrollWndCfgFromINI(ini_path_.c_str());
    owns_cfg_ = true;
  }
  // The old page is freed once the new page's statements are sent, while
  // the server answers them, rather than before they are asked.
  const auto old_page = container_.DetachAllWnd();
  cells_.clear();
  StartPage();
}

void CIniReportWnd::StartPage() {
  title_bar_.ShowSplitState(false);
  EnableTitleBar();
  if (cfg_ == nullptr || cfg_->display_order.empty()) {
    ShowConfigError();
    return;
  }
  container_.SetTitle(orbe::FieldText(cfg_->title), orbe::kTitleColor, cfg_->title_high);
  Layout();
  building_ = 0;
  requested_ = 0;
  for (PendingReply& reply : replies_) reply.cell = -1;
  failed_cells_ = 0;
  StartCell();
}

// Sends the statements of the cells up to kRepliesAhead past the one being
// built. It stops at a cell the page cannot build: the page ends there, and
// no reply may still be on its way when the next page starts.
void CIniReportWnd::RequestAhead() {
  const int cells = static_cast<int>(cfg_->display_order.size());
  while (requested_ < cells && requested_ < building_ + kRepliesAhead) {
    const CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(cfg_, requested_);
    if (!IsBuildable(cell) || (NeedsData(cell->type) && session_ == nullptr)) return;
    if (NeedsData(cell->type)) {
      PendingReply& reply = replies_[static_cast<std::size_t>(requested_ % kRepliesAhead)];
      // Handles are made as the read-ahead first needs them: a page of a
      // few data cells makes only those.
      if (reply.handle == nullptr) reply.handle.reset(CreateFetchDataHandle(GetSafeHwnd(), ids::kCellReady));
      if (reply.handle == nullptr) return;
      reply.cell = requested_;
      reply.status = -1;
      const std::string sql =
          statements_.For(requested_, orbe::FieldText(cell->sql_statement), orbe::FieldText(cell->parameter),
                          security_code_, title_bar_.Term());
      // A refused request posts its completion too (status 0), so the cell is
      // built, empty, and the page goes on.
      reply.handle->FetchData(sql.c_str(), nullptr, 0, FALSE);
    }
    ++requested_;
  }
}

void CIniReportWnd::StartCell() {
  const CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(cfg_, building_);
  if (!IsBuildable(cell) || (NeedsData(cell->type) && session_ == nullptr)) {
    ShowConfigError();
    return;
  }
  RequestAhead();
  title_bar_.SetBuilding(true, config_allowed_);
  if (!NeedsData(cell->type)) {
    PostMessage(ids::kCellReady, kReplyComplete, 0);
    return;
  }
  const PendingReply& reply = replies_[static_cast<std::size_t>(building_ % kRepliesAhead)];
  if (reply.cell != building_) {
    ShowConfigError();  // no handle could be made for it
    return;
  }
  // The reply may have come while earlier cells were built.
  if (reply.status != -1) {
    PostMessage(ids::kCellReady, static_cast<WPARAM>(reply.status), reinterpret_cast<LPARAM>(reply.handle.get()));
  }
}

void CIniReportWnd::OnReply(IFetchData* handle, int status) {
  if (!IsBuilding()) return;
  for (PendingReply& reply : replies_) {
    if (reply.handle.get() != handle || reply.cell < 0) continue;
    reply.status = status;
    if (reply.cell == building_) OnCellReady(status);
    return;
  }
}

void CIniReportWnd::OnCellReady(int status) {
  if (status != kReplyComplete) ++failed_cells_;
  PendingReply& reply = replies_[static_cast<std::size_t>(building_ % kRepliesAhead)];
  const bool own_reply = reply.cell == building_;
  BuildCurrentCell(own_reply ? reply.handle.get() : nullptr);
  if (own_reply) reply.cell = -1;
  container_.AdjustAllWnd();
  ++building_;
  if (building_ < static_cast<int>(cfg_->display_order.size())) {
    StartCell();
  } else {
    FinishPage();
  }
  Invalidate();
}

void CIniReportWnd::BuildCurrentCell(IFetchData* reply) {
  CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(cfg_, building_);
  if (cell == nullptr) return;
  const orbe::CellBuild build{container_, reply, session_, title_bar_.Unit(), security_code_};
  int id = -1;
  switch (cell->type) {
    case kWndList:
    case kWndListHistogram: {
      const auto& list = static_cast<const ListCfg&>(*cell);
      id = orbe::BuildListCell(build, list, cell->type == kWndListHistogram);
      if (id < 0) break;
      if (VList* widget = container_.GetList(id)) widget->SetNotifyListener(this);
      cells_[id] = cell;
      if (list.init_split && splits_.Split(container_, id, list, title_bar_.Unit(), cells_))
        title_bar_.ShowSplitState(true);
      return;
    }
    case kWndChart:
      id = orbe::BuildChartCell(build, static_cast<const ChartCfg&>(*cell));
      break;
    case kWndWebBrowser:
      id = orbe::BuildWebCell(build, static_cast<const WebBrowserCfg&>(*cell));
      break;
    case kWndLabel:
      id = orbe::BuildLabelCell(build, static_cast<const LabelCfg&>(*cell));
      break;
    default:
      break;
  }
  if (id >= 0) cells_[id] = cell;
}

void CIniReportWnd::FinishPage() {
  building_ = -1;
  title_bar_.SetBuilding(false, config_allowed_);
}

void CIniReportWnd::ShowConfigError() {
  container_.SetTitle(kConfigErrorText, orbe::kWarningColor, cfg_ != nullptr ? cfg_->title_high : 30);
  FinishPage();
}

// The buttons follow the cells the configuration shows.
void CIniReportWnd::EnableTitleBar() {
  bool rotate = false;
  bool lists = false;
  bool split = false;
  if (cfg_ != nullptr) {
    for (const CString& section : cfg_->display_order) {
      const auto* list = dynamic_cast<const ListCfg*>(CIniReportUtil::GetCfgBase(cfg_, section));
      if (list == nullptr) continue;
      lists = true;
      rotate = rotate || list->enable_reverse;
      split = split || list->splittable;
    }
  }
  title_bar_.EnableForCells(rotate, lists, split);
}
