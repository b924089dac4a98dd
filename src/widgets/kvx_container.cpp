#include "orbe/widgets/kvx_container.h"

#include <algorithm>

#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combo_tree.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/grid_scroll_frame.h"
#include "orbe/widgets/histogram.h"
#include "orbe/widgets/histogram_list.h"
#include "orbe/widgets/html_tree.h"
#include "orbe/widgets/kvx_messages.h"
#include "orbe/widgets/list_tree.h"
#include "orbe/widgets/pager.h"
#include "orbe/widgets/picture.h"
#include "orbe/widgets/pie.h"
#include "orbe/widgets/plugin_wnd.h"
#include "orbe/widgets/scroll_container.h"
#include "orbe/widgets/spin.h"
#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/text_progress.h"
#include "orbe/widgets/title_bar.h"
#include "orbe/widgets/trade_quote.h"
#include "orbe/widgets/up_down_stream.h"
#include "orbe/widgets/vchart.h"
#include "orbe/widgets/vlist.h"
#include "orbe/widgets/web_pane.h"

namespace {

using orbe::WidgetKind;

struct WidgetFactory {
  WidgetKind kind;
  std::unique_ptr<orbe::KvxWidget> (*make)();
};

template <typename T>
std::unique_ptr<orbe::KvxWidget> Make() {
  return std::make_unique<T>();
}

template <WidgetKind kKind>
std::unique_ptr<orbe::KvxWidget> MakePlain() {
  return std::make_unique<orbe::KvxWidget>(kKind);
}

std::unique_ptr<orbe::KvxWidget> MakeExtendedPager() { return std::make_unique<CKvxPager>(true); }

// The kinds a container can create (a splitter and a nested container are
// made by their owners, not by a script).
constexpr WidgetFactory kFactories[] = {
    {WidgetKind::kGeneric, &MakePlain<WidgetKind::kGeneric>},
    {WidgetKind::kList, &Make<VList>},
    {WidgetKind::kChartBar, &Make<CChartBarCtrl>},
    {WidgetKind::kWeb, &Make<CWebBrowser2>},
    {WidgetKind::kEdit, &Make<CColorEdit>},
    {WidgetKind::kHistogramList, &Make<KVXHistogramList>},
    {WidgetKind::kGrid, &Make<CGridCtrl>},
    {WidgetKind::kChart, &Make<CChartCtrl>},
    {WidgetKind::kTree, &Make<CXHtmlTree>},
    {WidgetKind::kSwitch, &Make<CSwitchEx>},
    {WidgetKind::kHistogram, &Make<KVXHistogram>},
    {WidgetKind::kScrollContainer, &Make<ScrollContainer>},
    {WidgetKind::kProgress, &Make<CTextProgressCtrl>},
    {WidgetKind::kTitle, &Make<CKvxTitle>},
    {WidgetKind::kListTree, &Make<TListTree>},
    {WidgetKind::kButton, &Make<CKvxButton>},
    {WidgetKind::kCheck, &Make<CKvxCheckBox>},
    {WidgetKind::kRadio, &Make<CKvxRadio>},
    {WidgetKind::kCombo, &Make<CKvxComboBox>},
    {WidgetKind::kPie, &Make<CKvxPieChart>},
    {WidgetKind::kCheckCombo, &Make<CKvxCheckCombo>},
    {WidgetKind::kSpin, &Make<CKvxSpin>},
    {WidgetKind::kDateTime, &Make<CKvxDateTimePicker>},
    {WidgetKind::kPaging, &Make<CKvxPager>},
    {WidgetKind::kXPaging, &MakeExtendedPager},
    {WidgetKind::kMonthCal, &Make<CKvxMonthCalendar>},
    {WidgetKind::kPicture, &Make<CKvxPicture>},
    {WidgetKind::kUpDownStream, &Make<CKvxUpDownStream>},
    {WidgetKind::kPictureButton, &Make<CKvxPictureButton>},
    {WidgetKind::kComboTree, &Make<CKvxComboTree>},
    {WidgetKind::kTradeQuote, &Make<CKvxTradeQuote>},
    {WidgetKind::kPlugin, &Make<CKvxPluginWnd>},
    {WidgetKind::kVChart, &Make<CKvxVChart>},
};

template <typename T>
T* As(orbe::KvxWidget* widget, WidgetKind kind) {
  return widget != nullptr && widget->Kind() == kind ? static_cast<T*>(widget) : nullptr;
}

// The container's own message: destroy the widgets retired since it was posted.
UINT FreeRetiredMessage() {
  static const UINT message = RegisterWindowMessageA("KVXCONTAINER_FREE_RETIRED");
  return message;
}

// A widget taken from the container reports nothing more.
void Silence(orbe::KvxWidget& widget) {
  widget.ShowWindow(SW_HIDE);
  if (widget.Kind() == WidgetKind::kGrid || widget.Kind() == WidgetKind::kList) {
    static_cast<CGridCtrl&>(widget).SetNotifyListener(nullptr);
  }
  if (auto* composite = As<KVXHistogramList>(&widget, WidgetKind::kHistogramList)) {
    composite->GetList().SetNotifyListener(nullptr);
  }
  if (auto* chart = As<CChartCtrl>(&widget, WidgetKind::kChart)) chart->SetListener(nullptr);
  if (auto* control = dynamic_cast<orbe::EventWidget*>(&widget)) control->SetEventSink(nullptr);
}

}  // namespace

CKVXContainer::CKVXContainer(int type) : KvxWidget(WidgetKind::kContainer), type_(type) {}

// The widgets are child windows: they go while the container's window still exists.
CKVXContainer::~CKVXContainer() { DestroyWindow(); }

BOOL CKVXContainer::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  return CWnd::Create(parent, rect, id, style);
}

void CKVXContainer::OnDestroy() {
  frames_.clear();  // a frame leaves its grid's scroll listener first
  navigate_.reset();
  widgets_.clear();
  pool_.clear();
  retired_.clear();
}

CKVXContainer::DeliveryScope::~DeliveryScope() {
  if (--container_.dispatch_depth_ == 0 && !container_.retired_.empty()) container_.ScheduleFree();
}

void CKVXContainer::Retire(std::unique_ptr<orbe::KvxWidget> widget) {
  if (widget == nullptr) return;
  Silence(*widget);
  retired_.push_back(std::move(widget));
  ScheduleFree();
}

void CKVXContainer::ScheduleFree() {
  if (free_posted_) return;
  // Without a window there is no loop to wait for, and no event running.
  if (GetSafeHwnd() == nullptr) {
    if (dispatch_depth_ == 0) retired_.clear();
    return;
  }
  free_posted_ = PostMessage(FreeRetiredMessage()) != FALSE;
}

LRESULT CKVXContainer::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == FreeRetiredMessage()) {
    free_posted_ = false;
    // A modal loop inside an event pumps this too: the delivery's end posts again.
    if (dispatch_depth_ == 0) retired_.clear();
    return 0;
  }
  if (message == WM_NOTIFY && lparam != 0 && OnWidgetNotify(*reinterpret_cast<const NMHDR*>(lparam))) return 0;
  const orbe::KvxMessage kvx = orbe::KvxMessageOf(message);
  if (kvx != orbe::KvxMessage::kCount) {
    static constexpr std::pair<orbe::KvxMessage, const char*> kEditEvents[] = {
        {orbe::KvxMessage::kRichEditChange, "OnRichEditTextChanged"},
        {orbe::KvxMessage::kRichEditReturn, "OnRichEditEnterKeyDown"},
        {orbe::KvxMessage::kRichEditSetFocus, "OnRichEditSetfocus"},
        {orbe::KvxMessage::kRichEditKillFocus, "OnRichEditKillfocus"},
    };
    const int id = static_cast<int>(wparam);
    const CColorEdit* edit = GetEdit(id);
    for (const auto& [kind, name] : kEditEvents) {
      if (kind != kvx || edit == nullptr) continue;
      const DeliveryScope scope(*this);
      if (kind == orbe::KvxMessage::kRichEditChange) {
        OnWidgetEvent(orbe::WidgetEvent{name, id, {edit->GetText()}});
      } else {
        OnWidgetEvent(orbe::WidgetEvent{name, id, {}});
      }
      return 0;
    }
  }
  if (message == WM_RBUTTONUP) {
    const int x = static_cast<short>(lparam & 0xFFFF);
    const int y = static_cast<short>((lparam >> 16) & 0xFFFF);
    const DeliveryScope scope(*this);
    OnWidgetEvent(orbe::WidgetEvent{"OnContainerRButtonUp", GetDlgCtrlID(), {x, y}});
    return 0;
  }
  return KvxWidget::WindowProc(message, wparam, lparam);
}

bool CKVXContainer::OnWidgetNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  if (header.code == SWN_SELCHANGED && GetSwitch(id) != nullptr) {
    const auto& change = reinterpret_cast<const NM_SWITCH&>(header);
    const DeliveryScope scope(*this);
    OnWidgetEvent(orbe::WidgetEvent{"OnSwitchChanged", id, {change.iNewLabel}});
    return true;
  }
  const TListTree* tree = GetListTree(id);
  if (tree == nullptr || (header.code != NM_CLICK && header.code != NM_DBLCLK)) return false;
  const HTREEITEM item = tree->GetSelectItem();
  const DeliveryScope scope(*this);
  OnWidgetEvent(orbe::WidgetEvent{header.code == NM_CLICK ? "OnListTreeButtonClk" : "OnListTreeButtonDbl", id,
                                  {static_cast<int>(item), tree->GetItemText(item)}});
  return true;
}

bool CKVXContainer::Adopt(std::unique_ptr<orbe::KvxWidget> widget, int x, int y, int cx, int cy, int& id) {
  id = 0;
  if (widget == nullptr || GetSafeHwnd() == nullptr || cx < 0 || cy < 0) return false;
  const int new_id = next_id_;
  if (!widget->Create(this, RECT{x, y, x + cx, y + cy}, static_cast<UINT>(new_id), WS_CHILD | WS_VISIBLE)) {
    return false;
  }
  ++next_id_;
  if (widget->Kind() == WidgetKind::kGrid || widget->Kind() == WidgetKind::kList) {
    static_cast<CGridCtrl*>(widget.get())->SetNotifyListener(this);
  }
  if (widget->Kind() == WidgetKind::kHistogramList) {
    static_cast<KVXHistogramList*>(widget.get())->GetList().SetNotifyListener(this);
  }
  if (auto* chart = As<CChartCtrl>(widget.get(), WidgetKind::kChart)) chart->SetListener(this);
  if (auto* title = As<CKvxTitle>(widget.get(), WidgetKind::kTitle)) {
    title->SetGoBackAction([this] { SetScrollPos32(0, 0); });
  }
  if (auto* control = dynamic_cast<orbe::EventWidget*>(widget.get())) control->SetEventSink(this);
  widgets_.emplace(new_id, std::move(widget));
  id = new_id;
  return true;
}

bool CKVXContainer::AddWnd(int x, int y, int cx, int cy, int& id, int kind, const std::string& text) {
  id = 0;
  const auto* factory =
      std::find_if(std::begin(kFactories), std::end(kFactories),
                   [kind](const WidgetFactory& f) { return static_cast<int>(f.kind) == kind; });
  if (factory == std::end(kFactories) || !Adopt(factory->make(), x, y, cx, cy, id)) return false;
  orbe::KvxWidget* widget = GetWnd(id);
  if (auto* tabs = As<CSwitchEx>(widget, WidgetKind::kSwitch); tabs != nullptr && !text.empty()) {
    tabs->InsertSwitchLabel(-1, text);
    tabs->SetCurLabel(0);
  } else if (auto* web = As<CWebBrowser2>(widget, WidgetKind::kWeb)) {
    web->Navigate(text);
  } else if (auto* edit = As<CColorEdit>(widget, WidgetKind::kEdit)) {
    edit->SetText(text);
  } else if (auto* pie = As<CKvxPieChart>(widget, WidgetKind::kPie)) {
    pie->SetPieChartTitle(text);
  } else if (auto* picture_button = As<CKvxPictureButton>(widget, WidgetKind::kPictureButton)) {
    picture_button->SetImagePath(text);
  } else if (auto* vchart = As<CKvxVChart>(widget, WidgetKind::kVChart)) {
    vchart->SetTitle(text);
  } else {
    widget->SetWindowText(text);
  }
  return true;
}

bool CKVXContainer::Tree_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kTree), text);
}

bool CKVXContainer::ListTree_AddWnd(int x, int y, int cx, int cy, int& id, int item_height) {
  if (!AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kListTree), "")) return false;
  GetListTree(id)->SetItemHeight(item_height);
  return true;
}

bool CKVXContainer::DeleteWnd(int id) {
  const auto found = widgets_.find(id);
  if (found == widgets_.end()) return false;
  frames_.erase(id);
  std::erase(tab_order_, id);
  std::unique_ptr<orbe::KvxWidget> widget = std::move(found->second);
  widgets_.erase(found);
  RefreshNavigate();
  Retire(std::move(widget));
  return true;
}

bool CKVXContainer::MoveWndRect(int id, int x, int y, int cx, int cy, bool repaint) {
  orbe::KvxWidget* widget = GetWnd(id);
  if (widget == nullptr || cx < 0 || cy < 0) return false;
  // A framed grid moves with its frame, which lays the grid out inside it.
  if (const auto frame = frames_.find(id); frame != frames_.end()) {
    frame->second->MoveWindow(x, y, cx, cy, repaint);
  } else {
    widget->MoveWindow(x, y, cx, cy, repaint);
  }
  return true;
}

void CKVXContainer::Pool(std::unique_ptr<orbe::KvxWidget> widget) {
  // A pooled widget has no id any more: its events would name nothing.
  Silence(*widget);
  pool_.push_back(std::move(widget));
}

void CKVXContainer::RecycleWnd(int id) {
  const auto at = widgets_.find(id);
  if (at == widgets_.end()) return;
  frames_.erase(id);
  std::erase(tab_order_, id);
  std::unique_ptr<orbe::KvxWidget> widget = std::move(at->second);
  widgets_.erase(at);
  RefreshNavigate();
  Pool(std::move(widget));
  SetWndPoolSize(pool_size_);
}

bool CKVXContainer::ShowWnd(int id, bool show) {
  orbe::KvxWidget* widget = GetWnd(id);
  if (widget == nullptr) return false;
  widget->ShowWindow(show ? SW_SHOW : SW_HIDE);
  return true;
}

int CKVXContainer::GetWndType(int id) const {
  const orbe::KvxWidget* widget = GetWnd(id);
  return widget != nullptr ? static_cast<int>(widget->Kind()) : -1;
}

std::vector<int> CKVXContainer::GetAllWndID() const {
  std::vector<int> ids;
  for (const auto& [id, widget] : widgets_) ids.push_back(id);
  return ids;
}

orbe::KvxWidget* CKVXContainer::GetWnd(int id) const {
  const auto at = widgets_.find(id);
  return at != widgets_.end() ? at->second.get() : nullptr;
}

CGridCtrl* CKVXContainer::GetGrid(int id) const {
  orbe::KvxWidget* widget = GetWnd(id);
  if (auto* list = As<VList>(widget, WidgetKind::kList)) return list;
  return As<CGridCtrl>(widget, WidgetKind::kGrid);
}
CChartCtrl* CKVXContainer::GetChart(int id) const { return As<CChartCtrl>(GetWnd(id), WidgetKind::kChart); }
CColorEdit* CKVXContainer::GetEdit(int id) const { return As<CColorEdit>(GetWnd(id), WidgetKind::kEdit); }
CSwitchEx* CKVXContainer::GetSwitch(int id) const { return As<CSwitchEx>(GetWnd(id), WidgetKind::kSwitch); }
CWebBrowser2* CKVXContainer::GetWeb(int id) const { return As<CWebBrowser2>(GetWnd(id), WidgetKind::kWeb); }
CXHtmlTree* CKVXContainer::GetTree(int id) const { return As<CXHtmlTree>(GetWnd(id), WidgetKind::kTree); }
TListTree* CKVXContainer::GetListTree(int id) const {
  return As<TListTree>(GetWnd(id), WidgetKind::kListTree);
}

void CKVXContainer::InitWndPool() {
  pool_.clear();
  pool_size_ = 64;
}

void CKVXContainer::SetWndPoolSize(int size) {
  pool_size_ = std::max(size, 0);
  while (static_cast<int>(pool_.size()) > pool_size_) {
    Retire(std::move(pool_.front()));
    pool_.pop_front();
  }
}

void CKVXContainer::DeleteWndPool() {
  while (!pool_.empty()) {
    Retire(std::move(pool_.front()));
    pool_.pop_front();
  }
}

void CKVXContainer::RecycleWndPool(bool keep_in_pool) {
  frames_.clear();
  tab_order_.clear();
  if (navigate_ != nullptr) navigate_->SetEntries({});
  std::map<int, std::unique_ptr<orbe::KvxWidget>> taken;
  taken.swap(widgets_);
  for (auto& [id, widget] : taken) {
    if (keep_in_pool) {
      Pool(std::move(widget));
    } else {
      Retire(std::move(widget));
    }
  }
  SetWndPoolSize(pool_size_);
}

void CKVXContainer::CellEndEdit(int id, int row, int col, const std::string& text) {
  if (listener_ != nullptr) listener_->CellEndEdit(id, row, col, text);
}
void CKVXContainer::ComboCellSelChange(int id, int row, int col, int index) {
  if (listener_ != nullptr) listener_->ComboCellSelChange(id, row, col, index);
}
void CKVXContainer::CheckCellClicked(int id, int row, int col, bool checked) {
  if (listener_ != nullptr) listener_->CheckCellClicked(id, row, col, checked);
}
void CKVXContainer::SelectChangedNotify(int id, int row, int col) {
  if (listener_ != nullptr) listener_->SelectChangedNotify(id, row, col);
}
void CKVXContainer::ManualResizeColNotify(int id, int col, int width) {
  if (listener_ != nullptr) listener_->ManualResizeColNotify(id, col, width);
}
void CKVXContainer::LButtonDblClkNotify(int id, int row, int col) {
  if (listener_ != nullptr) listener_->LButtonDblClkNotify(id, row, col);
}
void CKVXContainer::LButtonClkNotify(int id, int row, int col) {
  if (listener_ != nullptr) listener_->LButtonClkNotify(id, row, col);
}
void CKVXContainer::OnMouseEventSeries(int id, int series, int point, ChartMouseEvent event) {
  if (listener_ != nullptr) listener_->OnMouseEventSeries(id, series, point, event);
}
void CKVXContainer::OnKeyEventPlotArea(int id, UINT key) {
  if (listener_ != nullptr) listener_->OnKeyEventPlotArea(id, key);
}
void CKVXContainer::PluginMessage(IPluginWnd* plugin, const std::string& name, const std::string& value) {
  if (listener_ != nullptr) listener_->PluginMessage(plugin, name, value);
}

// A list inside a list-with-histogram reports the composite's id: that is the
// id the container gave out.
namespace {
int WidgetIdOf(const CWnd& widget) {
  const CWnd* parent = widget.GetParent();
  if (const auto* composite = dynamic_cast<const KVXHistogramList*>(parent)) return composite->GetDlgCtrlID();
  return widget.GetDlgCtrlID();
}
}  // namespace

void CKVXContainer::OnGridClick(CGridCtrl& grid, int row, int col) {
  const DeliveryScope scope(*this);
  LButtonClkNotify(WidgetIdOf(grid), row, col);
}
void CKVXContainer::OnGridDblClick(CGridCtrl& grid, int row, int col) {
  const DeliveryScope scope(*this);
  LButtonDblClkNotify(WidgetIdOf(grid), row, col);
}
void CKVXContainer::OnGridSelChanged(CGridCtrl& grid, int row, int col) {
  const DeliveryScope scope(*this);
  SelectChangedNotify(WidgetIdOf(grid), row, col);
}
void CKVXContainer::OnGridEndEdit(CGridCtrl& grid, int row, int col, const std::string& text) {
  const DeliveryScope scope(*this);
  CellEndEdit(WidgetIdOf(grid), row, col, text);
}
void CKVXContainer::OnGridCheckClicked(CGridCtrl& grid, int row, int col, bool checked) {
  const DeliveryScope scope(*this);
  CheckCellClicked(WidgetIdOf(grid), row, col, checked);
}
void CKVXContainer::OnGridComboSelChange(CGridCtrl& grid, int row, int col, int index) {
  const DeliveryScope scope(*this);
  ComboCellSelChange(WidgetIdOf(grid), row, col, index);
}
void CKVXContainer::OnGridColumnResized(CGridCtrl& grid, int col, int width) {
  const DeliveryScope scope(*this);
  ManualResizeColNotify(WidgetIdOf(grid), col, width);
}
void CKVXContainer::OnMouseEventSeries(CChartCtrl& chart, int series, int point, ChartMouseEvent event) {
  const DeliveryScope scope(*this);
  OnMouseEventSeries(chart.GetDlgCtrlID(), series, point, event);
}
void CKVXContainer::OnKeyEventPlotArea(CChartCtrl& chart, UINT key) {
  const DeliveryScope scope(*this);
  OnKeyEventPlotArea(chart.GetDlgCtrlID(), key);
}
