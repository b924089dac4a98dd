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

// Links open their address when clicked; image cells show only their image.
enum class GridCellType : int { kText = 0, kCheck = 1, kCombo = 2, kMultiLine = 3, kUrl = 4, kImage = 5 };
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
  std::string url;          // a link cell's address
  std::string hidden;       // kept with the cell, never shown
  std::string tip_title;    // the tip shown over the cell: a title line ...
  std::string tip;          // ... and its text
  int image = -1;           // one of the library's cell images (GridCellImage), -1 none
  int combo_style = 0;      // a drop-down cell: 0 pick from the list, 1 editable
};

// The library's cell images (Grid_SetImage).
enum class GridCellImage : int { kUp = 0, kDown = 1, kFlat = 2, kStar = 3, kFlag = 4, kDot = 5 };
constexpr int kGridCellImageCount = 6;

// Which lines the grid draws between its cells.
enum GridLines : int { GVL_NONE = 0, GVL_HORZ = 1, GVL_VERT = 2, GVL_BOTH = 3 };
// What auto-sizing measures.
enum GridAutoSize : int { GVS_DEFAULT = 0, GVS_HEADER = 1, GVS_DATA = 2, GVS_BOTH = 3 };

// Fixed cells shown as one, with the top-left cell's text.
struct GridMerge {
  CCellRange range;
  CellAlign align = CellAlign::kCenter;
  COLORREF bk = CLR_DEFAULT;
};

// The look of a grid beyond its cells, for the renderer and the getters.
struct GridLook {
  int lines = GVL_BOTH;
  COLORREF alternate_even = CLR_DEFAULT;  // backgrounds of the data rows by parity
  COLORREF alternate_odd = CLR_DEFAULT;
  bool fixed_gradient = false;
  COLORREF gradient_from = CLR_DEFAULT;
  COLORREF gradient_to = CLR_DEFAULT;
  bool gradient_horizontal = false;
  int arrow_type = 0;   // 0 a triangle after the heading, 1 before it, 2 none
  int arrow_row = -1;   // the fixed row with the arrow; -1 the last one
  COLORREF arrow_color = CLR_DEFAULT;
  int arrow_room = 0;   // pixels kept for the arrow
  COLORREF fixed_border_light = CLR_DEFAULT;
  COLORREF fixed_border_dark = CLR_DEFAULT;
  bool flat_head = false;
  COLORREF frame_color = CLR_DEFAULT;
  int frame_width = 0;
  COLORREF top_left_bk = CLR_DEFAULT;  // where fixed rows and columns meet
  COLORREF top_left_text = CLR_DEFAULT;
  bool operator==(const GridLook&) const = default;
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

  // The most a grid holds: a script's count beyond these is refused, not
  // allocated.
  static constexpr int kMaxRows = 1000000;
  static constexpr int kMaxColumns = 4096;
  static constexpr long long kMaxCells = 10000000;

  // Shape. Growing adds empty cells; shrinking drops cells and clamps the
  // fixed counts, the selection and the focus cell. Refused past the limits.
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
  // What auto-sizing measures (GridAutoSize); refused outside 0..3.
  bool SetAutoSizeStyle(int style);
  int GetAutoSizeStyle() const { return autosize_style_; }
  // One column by the cells `style` names; refused for a hidden column.
  bool AutoSizeColumn(int col, int style);
  // A row as high as its tallest cell (18 px a line of a multi-line cell, plus padding).
  bool AutoSizeRow(int row);
  void AutoSize(int style);
  // The width of the shown columns and the height of the rows.
  SIZE GetTotalSize() const;
  // The cell under a point of the client area (scrolled data behind the
  // fixed cells), (-1, -1) outside every cell.
  CCellID GetCellFromPt(int x, int y) const;
  // The data cells that fit the client area at the scroll position; an
  // invalid range for a grid without data cells.
  CCellRange GetVisibleNonFixedCellRange() const;

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
  // Lines, alternating rows, the heading's gradient, sort arrow and borders,
  // the frame and the top-left cells.
  GridLook& Look() { return look_; }
  const GridLook& Look() const { return look_; }
  // Refused outside GVL_NONE..GVL_BOTH.
  bool SetGridLines(int lines);

  // Cell extras: links, images, hidden texts, tips, drop-down styles.
  bool SetItemUrl(int row, int col, const std::string& url);
  bool SetItemImage(int row, int col, int image);  // -1 removes; refused beyond the images
  bool SetItemHidden(int row, int col, const std::string& text);
  std::string GetItemHidden(int row, int col) const;
  bool SetItemTitleTip(int row, int col, const std::string& title, const std::string& tip);
  bool SetComboStyle(int row, int col, int style);
  bool AddComboItem(int row, int col, const std::string& text);
  // Empties the texts and looks of the data cells; rows, columns and fixed cells stay.
  void CleanNonFixedCells();

  // Merged fixed cells: the range must lie inside the fixed rows or the fixed
  // columns and overlap no other merge.
  bool MergeFixedCells(const GridMerge& merge);
  void UnMergeAllFixedCells() { merges_.clear(); }
  const std::vector<GridMerge>& GetMerges() const { return merges_; }
  // The merge covering a cell, null for none.
  const GridMerge* MergeAt(int row, int col) const;

  // Selection. In list mode a click selects whole rows.
  void SetListMode(bool list_mode) { list_mode_ = list_mode; }
  bool GetListMode() const { return list_mode_; }
  void SetSingleRowSelection(bool single) { single_row_ = single; }
  bool GetSingleRowSelection() const { return single_row_; }
  // A click selects the whole column.
  void SetSingleColSelection(bool single) { single_col_ = single; }
  bool GetSingleColSelection() const { return single_col_; }
  void EnableSelection(bool enable) { selection_enabled_ = enable; }
  bool IsSelectionEnabled() const { return selection_enabled_; }
  // A click on a fixed column selects its row.
  void EnableSelectFixedColumn(bool enable) { select_fixed_column_ = enable; }
  bool IsSelectFixedColumn() const { return select_fixed_column_; }
  bool SelectRow(int row);
  bool SelectColumn(int col);
  // Whether a user may resize (ResizeColumn, ResizeRow).
  void SetRowResize(bool enable) { row_resize_ = enable; }
  bool GetRowResize() const { return row_resize_; }
  void SetColumnResize(bool enable) { col_resize_ = enable; }
  bool GetColumnResize() const { return col_resize_; }
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
  UINT GetCrossMessage() const { return cross_message_; }
  // Silent, as a program sets it; (-1, -1) clears it. Refused for a cell
  // outside the grid or a fixed one.
  bool SetCrossCell(int row, int col);
  CCellID GetCrossCell() const { return cross_; }
  // A wider cross: the rows and columns of the range. With notify the
  // cross message is posted as for a click (wParam min row, lParam min column).
  bool SetCrossRange(const CCellRange& range, bool notify);
  CCellRange GetCrossRange() const { return cross_range_; }
  bool IsCellCrossSelected(int row, int col) const;

  // Sorting of the non-fixed rows by one column; a sort kind per column.
  void SetColumnSortKind(int col, GridSortKind kind);
  GridSortKind GetColumnSortKind(int col) const;
  virtual bool SortItems(int col, bool ascending);
  int GetSortColumn() const { return sort_col_; }
  bool GetSortAscending() const { return sort_ascending_; }
  // A click on a fixed-row cell sorts by its column (toggling the order).
  void SetHeaderSort(bool enable) { header_sort_ = enable; }
  bool GetHeaderSort() const { return header_sort_; }
  // After a sort the grid scrolls back to its first row.
  void SetSortedGoHead(bool go_head) { sorted_go_head_ = go_head; }
  bool GetSortedGoHead() const { return sorted_go_head_; }

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
  // Refused while column (row) resizing is off.
  bool ResizeColumn(int col, int width);
  bool ResizeRow(int row, int height);
  bool Scroll(int rows);
  // The scroll frame or owner that hears of scrolling.
  void SetScrollListener(IGridScroll* scroll) { scroll_ = scroll; }

  // The shown rows (height > 0) and columns (width > 0); the fixed rows are
  // the header. Number cells export as numbers.
  virtual orbe::Table GetTable() const;
  bool SaveAsExcel(const std::string& path) const;
  bool SaveAsCsv(const std::string& path) const;

  void RenderHtml(orbe::HtmlWriter& out) const override;
  // A live page's address of a cell: row, column, editable, drop-down entries.
  void RenderCellAddress(int row, int col, const GridCell& cell, orbe::HtmlWriter& out) const;

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
  void RenderCell(orbe::HtmlWriter& out, int row, int col, int row_span, int col_span) const;
  // Where the sort arrow shows: the sorted column's cell of the arrow row.
  bool HasSortArrow(int row, int col) const;
  // The widest text of a column among the rows `style` names, in bytes.
  std::size_t LongestText(int col, int style) const;

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
  CCellRange cross_range_;
  orbe::FontSpec fixed_font_;
  GridLook look_;
  std::vector<GridMerge> merges_;
  int autosize_style_ = GVS_BOTH;
  bool single_col_ = false;
  bool select_fixed_column_ = false;
  bool row_resize_ = true;
  bool col_resize_ = true;
  bool sorted_go_head_ = false;
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
