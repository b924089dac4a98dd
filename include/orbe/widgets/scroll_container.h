// The report's cell stack: a container title on top, then cells one below the
// other, each a title bar and a widget. A cell can be collapsed to its title
// bar or hidden (title and body height 0). A cell height of -1 (what a report
// cell has when its INI gives none) fits the cell to its content. The
// container scrolls vertically and exports its lists to one spreadsheet.
#ifndef ORBE_WIDGETS_SCROLL_CONTAINER_H_
#define ORBE_WIDGETS_SCROLL_CONTAINER_H_

#include <memory>
#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

class VList;
class CChartBarCtrl;
class CWebBrowser2;
class CColorEdit;
class KVXHistogramList;

// Cell kinds as the report passes them to AddWnd.
enum class ScrollCellType : int { kList = 0, kChartBar = 1, kWeb = 2, kLabel = 3, kHistogramList = 4 };

class ScrollContainer : public orbe::KvxWidget {
 public:
  ScrollContainer();
  ~ScrollContainer() override;

  void SetTitle(const std::string& title, COLORREF color, int height);
  const std::string& GetTitle() const { return title_; }
  COLORREF GetTitleColor() const { return title_color_; }
  int GetTitleHeight() const { return title_height_; }

  // A cell height that fits the cell to its content (any negative height).
  static constexpr int kFitContent = -1;
  // Content heights of the cell kinds that have no rows to count.
  static constexpr int kChartContentHeight = 300;
  static constexpr int kWebContentHeight = 400;
  static constexpr int kLabelLineHeight = 18;

  // Creates the cell's widget (the container must exist) and lays out every
  // cell; returns the id, or -1 for an unknown type or without a window.
  // cell_width 0 takes the container's width.
  int AddWnd(const std::string& title, int type, int title_height, int cell_height, int cell_width = 0);
  // As AddWnd, with the new cell placed right after the cell `after_id`;
  // -1 (nothing made) when there is no such cell.
  int InsertWndAfter(int after_id, const std::string& title, int type, int title_height, int cell_height,
                     int cell_width = 0);
  bool DeleteWnd(int id);
  // Removes every cell at once, laying out once, and hands their widgets to
  // the caller, who chooses when they go: a page that is rebuilt frees the
  // old one after its new requests are on their way. Until then the widgets
  // stay children of the container, outside its layout.
  std::vector<std::unique_ptr<orbe::KvxWidget>> DetachAllWnd();
  std::vector<int> GetAllWndID() const;
  int GetWndCount() const { return static_cast<int>(cells_.size()); }
  int GetWndType(int id) const;  // -1 for an unknown id

  orbe::KvxWidget* GetWnd(int id) const;
  // The list of a list or list-with-histogram cell; null otherwise.
  VList* GetList(int id) const;
  CChartBarCtrl* GetChartBar(int id) const;
  CWebBrowser2* GetWeb(int id) const;
  CColorEdit* GetLabel(int id) const;
  KVXHistogramList* GetHistogramList(int id) const;

  bool SetCellTitle(int id, const std::string& title);
  std::string GetCellTitle(int id) const;
  bool SetCellTitleColor(int id, COLORREF color);
  COLORREF GetCellTitleColor(int id) const;
  bool SetTitleHeight(int id, int height);
  // The cell's body height as set (kFitContent for a fitted cell), and
  // whether it is collapsed to its title bar.
  bool SetWndHigth(int id, int height, bool collapsed);
  int GetWndHigth(int id) const;
  // The body height the cell takes now: 0 when collapsed, the content's
  // height for a fitted cell; 0 for an unknown id.
  int GetShownHigth(int id) const;
  bool IsCollapsed(int id) const;

  // Lays the cells out again from the current scroll position.
  void AdjustAllWnd();
  // Height of everything stacked, title included.
  int GetTotalHeight() const;
  // Kept within 0..(total - client height).
  void SetScrollPos(int y);
  int GetScrollPos() const { return scroll_y_; }
  // The title bar's place now (container coordinates); empty while hidden.
  RECT CellTitleRect(int id) const;

  // A user's click on a cell's title bar toggles its collapse.
  bool ClickTitle(int id);

  // Every shown list cell as one table titled by its cell title.
  bool SaveAsExcel(const std::string& path) const;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  void OnSize(UINT type, int width, int height) override;

 private:
  struct Cell;

  Cell* Find(int id);
  const Cell* Find(int id) const;
  int InsertCell(std::size_t position, const std::string& title, int type, int title_height, int cell_height,
                 int cell_width);

  std::vector<std::unique_ptr<Cell>> cells_;
  int next_id_ = 1000;
  std::string title_;
  COLORREF title_color_ = RGB(0, 0, 0);
  int title_height_ = 0;
  int scroll_y_ = 0;
};

#endif  // ORBE_WIDGETS_SCROLL_CONTAINER_H_
