#include "orbe/widgets/scroll_container.h"

#include <algorithm>

#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/histogram_list.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/table_export.h"
#include "orbe/widgets/vlist.h"
#include "orbe/widgets/web_pane.h"

struct ScrollContainer::Cell {
  int id = 0;
  ScrollCellType type = ScrollCellType::kList;
  std::unique_ptr<orbe::KvxWidget> widget;
  std::string title;
  COLORREF title_color = RGB(0, 0, 0);
  int title_height = 0;
  int height = 0;
  int width = 0;
  bool collapsed = false;
  RECT title_rect{0, 0, 0, 0};

  bool Hidden() const { return HiddenWith(BodyHeight()); }
  bool HiddenWith(int body) const { return title_height <= 0 && body <= 0; }
  int BodyHeight() const;
};

namespace {

// Rows of a grid that are shown, as tall as they are.
int RowsHeight(const CGridCtrl& grid) {
  int total = 0;
  for (int row = 0; row < grid.GetRowCount(); ++row) total += std::max(grid.GetRowHeight(row), 0);
  return total;
}

int LabelHeight(const CColorEdit& label) {
  const std::string text = label.GetText();
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return lines * ScrollContainer::kLabelLineHeight + 8;
}

// What a cell of height kFitContent takes: a list its rows, a list with a
// histogram its rows plus the histogram's share, a label its lines; a chart
// and a web pane have no rows, so they take a fixed height.
int ContentHeight(ScrollCellType type, const orbe::KvxWidget& widget) {
  switch (type) {
    case ScrollCellType::kList:
      return RowsHeight(static_cast<const VList&>(widget));
    case ScrollCellType::kHistogramList: {
      const auto& composite = static_cast<const KVXHistogramList&>(widget);
      const int percent = std::clamp(composite.GetHistogramPercent(), 0, 90);
      return RowsHeight(composite.GetList()) * 100 / (100 - percent);
    }
    case ScrollCellType::kChartBar:
      return ScrollContainer::kChartContentHeight;
    case ScrollCellType::kWeb:
      return ScrollContainer::kWebContentHeight;
    case ScrollCellType::kLabel:
      return LabelHeight(static_cast<const CColorEdit&>(widget));
  }
  return 0;
}

std::unique_ptr<orbe::KvxWidget> MakeCellWidget(ScrollCellType type) {
  switch (type) {
    case ScrollCellType::kList:
      return std::make_unique<VList>();
    case ScrollCellType::kChartBar:
      return std::make_unique<CChartBarCtrl>();
    case ScrollCellType::kWeb:
      return std::make_unique<CWebBrowser2>();
    case ScrollCellType::kLabel:
      return std::make_unique<CColorEdit>();
    case ScrollCellType::kHistogramList:
      return std::make_unique<KVXHistogramList>();
  }
  return nullptr;
}

}  // namespace

int ScrollContainer::Cell::BodyHeight() const {
  if (collapsed) return 0;
  return height >= 0 ? height : ContentHeight(type, *widget);
}

ScrollContainer::ScrollContainer() : KvxWidget(orbe::WidgetKind::kScrollContainer) {}

// The cells' widgets are children: they go before the container's window.
ScrollContainer::~ScrollContainer() { cells_.clear(); }

void ScrollContainer::SetTitle(const std::string& title, COLORREF color, int height) {
  title_ = title;
  title_color_ = color;
  title_height_ = std::max(height, 0);
  AdjustAllWnd();
}

ScrollContainer::Cell* ScrollContainer::Find(int id) {
  const auto at =
      std::find_if(cells_.begin(), cells_.end(), [id](const auto& cell) { return cell->id == id; });
  return at != cells_.end() ? at->get() : nullptr;
}

const ScrollContainer::Cell* ScrollContainer::Find(int id) const {
  return const_cast<ScrollContainer*>(this)->Find(id);
}

int ScrollContainer::AddWnd(const std::string& title, int type, int title_height, int cell_height,
                            int cell_width) {
  return InsertCell(cells_.size(), title, type, title_height, cell_height, cell_width);
}

int ScrollContainer::InsertWndAfter(int after_id, const std::string& title, int type, int title_height,
                                    int cell_height, int cell_width) {
  const auto after =
      std::find_if(cells_.begin(), cells_.end(), [after_id](const auto& cell) { return cell->id == after_id; });
  if (after == cells_.end()) return -1;
  const auto position = static_cast<std::size_t>(after - cells_.begin()) + 1;
  return InsertCell(position, title, type, title_height, cell_height, cell_width);
}

int ScrollContainer::InsertCell(std::size_t position, const std::string& title, int type, int title_height,
                                int cell_height, int cell_width) {
  if (GetSafeHwnd() == nullptr || type < 0 || type > static_cast<int>(ScrollCellType::kHistogramList))
    return -1;
  auto cell = std::make_unique<Cell>();
  cell->id = next_id_;
  cell->type = static_cast<ScrollCellType>(type);
  cell->widget = MakeCellWidget(cell->type);
  if (!cell->widget->Create(this, RECT{0, 0, 0, 0}, static_cast<UINT>(cell->id), WS_CHILD | WS_VISIBLE))
    return -1;
  cell->title = title;
  cell->title_height = std::max(title_height, 0);
  cell->height = cell_height >= 0 ? cell_height : kFitContent;
  cell->width = std::max(cell_width, 0);
  ++next_id_;
  const int id = cell->id;
  cells_.insert(cells_.begin() + static_cast<std::ptrdiff_t>(position), std::move(cell));
  AdjustAllWnd();
  return id;
}

bool ScrollContainer::DeleteWnd(int id) {
  const auto removed = std::erase_if(cells_, [id](const auto& cell) { return cell->id == id; });
  if (removed == 0) return false;
  AdjustAllWnd();
  return true;
}

std::vector<std::unique_ptr<orbe::KvxWidget>> ScrollContainer::DetachAllWnd() {
  std::vector<std::unique_ptr<orbe::KvxWidget>> widgets;
  widgets.reserve(cells_.size());
  for (const auto& cell : cells_) widgets.push_back(std::move(cell->widget));
  cells_.clear();
  AdjustAllWnd();
  return widgets;
}

std::vector<int> ScrollContainer::GetAllWndID() const {
  std::vector<int> ids;
  for (const auto& cell : cells_) ids.push_back(cell->id);
  return ids;
}

int ScrollContainer::GetWndType(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? static_cast<int>(cell->type) : -1;
}

orbe::KvxWidget* ScrollContainer::GetWnd(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? cell->widget.get() : nullptr;
}

VList* ScrollContainer::GetList(int id) const {
  if (auto* composite = GetHistogramList(id)) return &composite->GetList();
  return GetWndType(id) == static_cast<int>(ScrollCellType::kList) ? static_cast<VList*>(GetWnd(id))
                                                                   : nullptr;
}

CChartBarCtrl* ScrollContainer::GetChartBar(int id) const {
  return GetWndType(id) == static_cast<int>(ScrollCellType::kChartBar)
             ? static_cast<CChartBarCtrl*>(GetWnd(id))
             : nullptr;
}

CWebBrowser2* ScrollContainer::GetWeb(int id) const {
  return GetWndType(id) == static_cast<int>(ScrollCellType::kWeb) ? static_cast<CWebBrowser2*>(GetWnd(id))
                                                                  : nullptr;
}

CColorEdit* ScrollContainer::GetLabel(int id) const {
  return GetWndType(id) == static_cast<int>(ScrollCellType::kLabel) ? static_cast<CColorEdit*>(GetWnd(id))
                                                                    : nullptr;
}

KVXHistogramList* ScrollContainer::GetHistogramList(int id) const {
  return GetWndType(id) == static_cast<int>(ScrollCellType::kHistogramList)
             ? static_cast<KVXHistogramList*>(GetWnd(id))
             : nullptr;
}

bool ScrollContainer::SetCellTitle(int id, const std::string& title) {
  Cell* cell = Find(id);
  if (cell == nullptr) return false;
  cell->title = title;
  return true;
}

std::string ScrollContainer::GetCellTitle(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? cell->title : std::string();
}

bool ScrollContainer::SetCellTitleColor(int id, COLORREF color) {
  Cell* cell = Find(id);
  if (cell == nullptr) return false;
  cell->title_color = color;
  return true;
}

COLORREF ScrollContainer::GetCellTitleColor(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? cell->title_color : CLR_DEFAULT;
}

bool ScrollContainer::SetTitleHeight(int id, int height) {
  Cell* cell = Find(id);
  if (cell == nullptr) return false;
  cell->title_height = std::max(height, 0);
  return true;
}

bool ScrollContainer::SetWndHigth(int id, int height, bool collapsed) {
  Cell* cell = Find(id);
  if (cell == nullptr) return false;
  cell->height = height >= 0 ? height : kFitContent;
  cell->collapsed = collapsed;
  AdjustAllWnd();
  return true;
}

int ScrollContainer::GetWndHigth(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? cell->height : 0;
}

int ScrollContainer::GetShownHigth(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? cell->BodyHeight() : 0;
}

bool ScrollContainer::IsCollapsed(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr && cell->collapsed;
}

int ScrollContainer::GetTotalHeight() const {
  int total = title_height_;
  for (const auto& cell : cells_) {
    if (!cell->Hidden()) total += cell->title_height + cell->BodyHeight();
  }
  return total;
}

void ScrollContainer::SetScrollPos(int y) {
  RECT client;
  GetClientRect(&client);
  scroll_y_ = std::clamp(y, 0, std::max(GetTotalHeight() - static_cast<int>(client.bottom), 0));
  AdjustAllWnd();
}

// Each cell's height is worked out once: a list's is the sum of its rows,
// and the page is laid out again after every cell it builds.
void ScrollContainer::AdjustAllWnd() {
  RECT client;
  GetClientRect(&client);
  std::vector<int> bodies;
  bodies.reserve(cells_.size());
  int total = title_height_;
  for (const auto& cell : cells_) {
    bodies.push_back(cell->BodyHeight());
    if (!cell->HiddenWith(bodies.back())) total += cell->title_height + bodies.back();
  }
  scroll_y_ = std::clamp(scroll_y_, 0, std::max(total - static_cast<int>(client.bottom), 0));
  int y = title_height_ - scroll_y_;
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    Cell& cell = *cells_[i];
    const int body = bodies[i];
    const int width = cell.width > 0 ? cell.width : static_cast<int>(client.right);
    if (cell.HiddenWith(body)) {
      cell.title_rect = RECT{0, 0, 0, 0};
      cell.widget->ShowWindow(SW_HIDE);
      continue;
    }
    cell.title_rect = RECT{0, y, width, y + cell.title_height};
    y += cell.title_height;
    cell.widget->MoveWindow(0, y, width, body);
    cell.widget->ShowWindow(body > 0 ? SW_SHOW : SW_HIDE);
    y += body;
  }
}

RECT ScrollContainer::CellTitleRect(int id) const {
  const Cell* cell = Find(id);
  return cell != nullptr ? cell->title_rect : RECT{0, 0, 0, 0};
}

bool ScrollContainer::ClickTitle(int id) {
  Cell* cell = Find(id);
  if (cell == nullptr || cell->Hidden() || cell->title_height <= 0 || !IsWindowEnabled()) return false;
  cell->collapsed = !cell->collapsed;
  AdjustAllWnd();
  return true;
}

bool ScrollContainer::SaveAsExcel(const std::string& path) const {
  std::vector<orbe::Table> tables;
  for (const auto& cell : cells_) {
    const VList* list = GetList(cell->id);
    if (list == nullptr || cell->Hidden()) continue;
    orbe::Table table = list->GetTable();
    table.title = cell->title;
    tables.push_back(std::move(table));
  }
  return orbe::SaveTablesAsXlsx(tables, path);
}

void ScrollContainer::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { AdjustAllWnd(); }

void ScrollContainer::RenderHtml(orbe::HtmlWriter& out) const {
  RECT client;
  GetClientRect(&client);
  if (title_height_ > 0) {
    out.Raw("<div class=\"w title\" style=\"left:0;top:0;width:").Number(client.right).Raw("px;height:");
    out.Number(title_height_).Raw("px;color:").Raw(orbe::CssColor(title_color_)).Raw("\">").Text(title_);
    out.Raw("</div>");
  }
  for (const auto& cell : cells_) {
    const RECT& r = cell->title_rect;
    if (r.bottom <= r.top) continue;
    out.Raw("<div class=\"w title cell-title\" data-cell=\"")
        .Raw(std::to_string(cell->id))
        .Raw("\" style=\"left:0;top:");
    out.Number(r.top).Raw("px;width:").Number(r.right - r.left).Raw("px;height:").Number(r.bottom - r.top);
    out.Raw("px;background:#e8eef8;color:")
        .Raw(orbe::CssColor(cell->title_color))
        .Raw("\">")
        .Text(cell->title);
    out.Raw("</div>");
  }
}
