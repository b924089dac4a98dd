// The grid: cells of text, check boxes and drop-down lists under fixed header
// rows and columns, with selection, sorting, editing and per-cell looks.
#ifndef ORBE_WIDGETS_GRID_CTRL_H_
#define ORBE_WIDGETS_GRID_CTRL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/table_export.h"
#include "orbe/widgets/widget.h"

struct CCellID {
  int row = -1;
  int col = -1;
  bool IsValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CCellID&) const = default;
};

// Inclusive on both ends; an invalid range (min > max or negative) is empty.
struct CCellRange {
  int min_row = -1;
  int min_col = -1;
  int max_row = -1;
  int max_col = -1;
  bool IsValid() const { return min_row >= 0 && min_col >= 0 && min_row <= max_row && min_col <= max_col; }
  bool InRange(int row, int col) const {
    return IsValid() && row >= min_row && row <= max_row && col >= min_col && col <= max_col;
  }
  bool operator==(const CCellRange&) const = default;
};

enum class GridCellType : int { kText = 0, kCheck = 1, kCombo = 2, kMultiLine = 3 };
enum class GridSortKind : int { kText = 0, kNumber = 1 };
enum class CellAlign : int { kLeft = 0, kRight = 1, kCenter = 2 };

struct GridCell {
  std::string text;
  GridCellType type = GridCellType::kText;
  bool checked = false;
  std::vector<std::string> combo_items;
  bool read_only = false;
  COLORREF text_color = CLR_DEFAULT;
  COLORREF bk_color = CLR_DEFAULT;
  orbe::FontSpec font;
  CellAlign align = CellAlign::kLeft;
  LPARAM data = 0;
};

// Told when the grid scrolls, for a scroll frame kept outside the grid.
class IGridScroll {
 public:
  virtual ~IGridScroll() = default;
  virtual void OnGridScrolled(int first_row, int first_col) = 0;
};

// How a sort treats a text: a number is the text without thousands commas
// and a trailing '%'; anything else ("--", "") is not a number.
namespace orbe {
bool ParseGridNumber(const std::string& text, double* value);
}

class CGridCtrl : public orbe::KvxWidget {
 public:
  CGridCtrl(int rows = 0, int cols = 0, int fixed_rows = 0, int fixed_cols = 0,
            IGridScroll* scroll = nullptr);

  BOOL Create(const RECT& rect, CWnd* parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);

  // Shape. Growing adds empty cells; shrinking drops cells and clamps the
  // fixed counts, the selection and the focus cell.
  bool SetRowCount(int rows);
  bool SetColumnCount(int cols);
  bool SetFixedRowCount(int rows);
  bool SetFixedColumnCount(int cols);
  int GetRowCount() const { return static_cast<int>(cells_.size()); }
  int GetColumnCount() const { return cols_; }
  int GetFixedRowCount() const { return fixed_rows_; }
  int GetFixedColumnCount() const { return fixed_cols_; }
  // Inserts before `before` (-1: at the end); returns the new row or -1.
  int InsertRow(const std::string& heading, int before = -1);
  bool DeleteRow(int row);
  // Keeps the fixed rows, drops the others.
  void DeleteNonFixedRows();
  void DeleteAllItems();

  bool IsValid(int row, int col) const;
  GridCell* GetCell(int row, int col);
  const GridCell* GetCell(int row, int col) const;
  bool SetItem(int row, int col, const GridCell& cell);
  bool SetItemText(int row, int col, const std::string& text);
  std::string GetItemText(int row, int col) const;
  bool SetItemData(int row, int col, LPARAM data);
  LPARAM GetItemData(int row, int col) const;
  bool SetItemBkColour(int row, int col, COLORREF color);
  bool SetItemFgColour(int row, int col, COLORREF color);
  bool SetItemFont(int row, int col, const orbe::FontSpec& font);
  bool SetItemAlign(int row, int col, CellAlign align);

  bool SetCellType(int row, int col, GridCellType type);
  bool SetCheck(int row, int col, bool checked);
  bool GetCheck(int row, int col) const;
  bool SetComboItems(int row, int col, const std::vector<std::string>& items);
  // Multi-line cells keep '\n' and render one line per piece.
  bool SetMultiLineItemText(int row, int col, const std::string& text);

  void SetEditable(bool editable) { editable_ = editable; }
  bool IsEditable() const { return editable_; }
  bool SetCellReadOnly(int row, int col, bool read_only);
  bool SetRowReadOnly(int row, bool read_only);
  bool SetColReadOnly(int col, bool read_only);
  void SetAllCellReadOnly(bool read_only);
  // Editable by a user: the grid is editable, the cell is not fixed, not
  // read-only, and a text or multi-line cell.
  bool IsCellEditable(int row, int col) const;

  // Geometry. A width of 0 hides the column from rendering and export.
  bool SetColumnWidth(int col, int width);
  int GetColumnWidth(int col) const;
  bool SetRowHeight(int row, int height);
  int GetRowHeight(int row) const;
  bool IsColumnShown(int col) const { return GetColumnWidth(col) > 0; }
  // Gives every shown column the width of its longest text (7 px a byte,
  // plus padding), so that nothing is cut; hidden columns stay hidden.
  void AutoSizeColumns();

  // Look of the whole grid.
  void SetGridBkColor(COLORREF c) { SetBkColor(c); }
  void SetGridLineColor(COLORREF c) { line_color_ = c; }
  COLORREF GetGridLineColor() const { return line_color_; }
  void SetFixedTextColor(COLORREF c) { fixed_text_color_ = c; }
  COLORREF GetFixedTextColor() const { return fixed_text_color_; }
  void SetFixedBkColor(COLORREF c) { fixed_bk_color_ = c; }
  COLORREF GetFixedBkColor() const { return fixed_bk_color_; }
  void SetTextBkColor(COLORREF c) { text_bk_color_ = c; }
  COLORREF GetTextBkColor() const { return text_bk_color_; }
  // The background of selected and cross-selected cells.
  void SetSelColor(COLORREF c) { sel_color_ = c; }
  COLORREF GetSelColor() const { return sel_color_; }
  // Their text colour; CLR_DEFAULT keeps each cell's own colour.
  void SetSelTextColor(COLORREF c) { sel_text_color_ = c; }
  COLORREF GetSelTextColor() const { return sel_text_color_; }
  void SetFixedRowFont(const orbe::FontSpec& font) { fixed_font_ = font; }
  const orbe::FontSpec& GetFixedRowFont() const { return fixed_font_; }

  // Selection. In list mode a click selects whole rows.
  void SetListMode(bool list_mode) { list_mode_ = list_mode; }
  bool GetListMode() const { return list_mode_; }
  void SetSingleRowSelection(bool single) { single_row_ = single; }
  void EnableSelection(bool enable) { selection_enabled_ = enable; }
  bool SetSelectedRange(const CCellRange& range);
  CCellRange GetSelectedCellRange() const { return selection_; }
  bool IsCellSelected(int row, int col) const { return selection_.InRange(row, col); }
  bool SetFocusCell(int row, int col);
  CCellID GetFocusCell() const { return focus_; }

  // Cross selection: the cross cell's whole row and whole column (their
  // non-fixed cells) show in the selection colour. A user's click on a data
  // cell moves the cross there and, when it moved and a message is given,
  // posts that message to the parent (wParam row, lParam column), as quote
  // grids tell their owner. Switching it off keeps the cross cell.
  void EnableCrossSelection(bool enable, UINT message = 0);
  bool IsCrossSelection() const { return cross_enabled_; }
  // Silent, as a program sets it; (-1, -1) clears it. Refused for a cell
  // outside the grid or a fixed one.
  bool SetCrossCell(int row, int col);
  CCellID GetCrossCell() const { return cross_; }
  bool IsCellCrossSelected(int row, int col) const;

  // Sorting of the non-fixed rows by one column; a sort kind per column.
  void SetColumnSortKind(int col, GridSortKind kind);
  GridSortKind GetColumnSortKind(int col) const;
  virtual bool SortItems(int col, bool ascending);
  int GetSortColumn() const { return sort_col_; }
  bool GetSortAscending() const { return sort_ascending_; }
  // A click on a fixed-row cell sorts by its column (toggling the order).
  void SetHeaderSort(bool enable) { header_sort_ = enable; }

  // Scrolling, in rows and columns of the non-fixed area.
  void SetScrollPos32(int col, int row);
  CCellID GetScrollPos32() const { return {scroll_row_, scroll_col_}; }

  void SetNotifyListener(IGridNotifyMsg* listener) { listener_ = listener; }

  // What a user does. Each returns whether anything happened and sends the
  // notifications the real control sends, in its order.
  bool ClickCell(int row, int col);
  bool DoubleClickCell(int row, int col);
  // The right button: selects a data cell as a click does (no check box
  // toggles), then NM_RCLICK, on which the parent opens its pop-up menu.
  bool RightClickCell(int row, int col);
  // A typed edit: refused for cells that are not editable, or when the parent
  // answers GVN_BEGINLABELEDIT with a negative result.
  bool EditCell(int row, int col, const std::string& text);
  bool PickComboEntry(int row, int col, int index);
  bool ResizeColumn(int col, int width);
  bool Scroll(int rows);

  // The shown rows (height > 0) and columns (width > 0); the fixed rows are
  // the header. Number cells export as numbers.
  virtual orbe::Table GetTable() const;
  bool SaveAsExcel(const std::string& path) const;
  bool SaveAsCsv(const std::string& path) const;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  // A non-fixed cell of a column that sorts as numbers.
  virtual bool IsNumberCell(int row, int col) const;
  // Sends WM_NOTIFY to the parent (when there is one) and returns its result.
  LRESULT Notify(UINT code, int row, int col);
  // After a listener's callback: the grid still has its window, that
  // listener and the cell, so the notifications of the same action go on.
  bool StillShowing(HWND self, const IGridNotifyMsg* listener, int row, int col) const;
  IGridNotifyMsg* Listener() const { return listener_; }
  void RememberSort(int col, bool ascending) {
    sort_col_ = col;
    sort_ascending_ = ascending;
  }
  bool IsFixed(int row, int col) const { return row < fixed_rows_ || col < fixed_cols_; }

 private:
  struct Row {
    std::vector<GridCell> cells;
    int height = 20;
  };

  void ClampState();
  // What a press on a cell selects; GVN_SELCHANGED when that changed.
  void SelectClickedCell(int row, int col);
  COLORREF CellBackground(int row, int col, const GridCell& cell) const;

  IGridScroll* scroll_ = nullptr;
  std::vector<Row> cells_;
  int cols_ = 0;
  int fixed_rows_ = 0;
  int fixed_cols_ = 0;
  std::vector<int> col_widths_;
  std::vector<GridSortKind> sort_kinds_;
  bool editable_ = true;
  COLORREF line_color_ = RGB(192, 192, 192);
  COLORREF fixed_text_color_ = CLR_DEFAULT;
  COLORREF fixed_bk_color_ = CLR_DEFAULT;
  COLORREF text_bk_color_ = CLR_DEFAULT;
  COLORREF sel_color_ = RGB(51, 153, 255);
  COLORREF sel_text_color_ = CLR_DEFAULT;
  bool cross_enabled_ = false;
  UINT cross_message_ = 0;
  CCellID cross_;
  orbe::FontSpec fixed_font_;
  bool list_mode_ = false;
  bool single_row_ = false;
  bool selection_enabled_ = true;
  bool header_sort_ = false;
  CCellRange selection_;
  CCellID focus_;
  int sort_col_ = -1;
  bool sort_ascending_ = true;
  int scroll_row_ = 0;
  int scroll_col_ = 0;
  IGridNotifyMsg* listener_ = nullptr;
};

#endif  // ORBE_WIDGETS_GRID_CTRL_H_
