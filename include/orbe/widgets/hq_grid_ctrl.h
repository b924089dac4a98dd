// The quote grid: one fixed heading row described by head records (title,
// width, decimals, scale), data rows addressed from 0 below it, numbers
// formatted by their column, and live updates coloured by their direction.
#ifndef ORBE_WIDGETS_HQ_GRID_CTRL_H_
#define ORBE_WIDGETS_HQ_GRID_CTRL_H_

#include <string>
#include <vector>

#include "orbe/widgets/grid_ctrl.h"

struct HQHead {
  std::string title;  // GBK
  int width = 70;
  int decimals = 2;
  double scale = 1;  // values are shown divided by it
  CellAlign align = CellAlign::kRight;
  bool numeric = true;
  int head_type = 0;  // the owner's kind of column (27: a picture summary)
  // How a histogram of the column shows its values.
  int histogram_decimals = 2;
  double histogram_scale = 1;
  bool histogram_bottom_labels = true;
};

class HQGridCtrl : public CGridCtrl {
 public:
  HQGridCtrl();

  // Inserts a column before `col` (-1 or past the end: appends); returns its index.
  int InsertHead(int col, const HQHead& head);
  const HQHead* GetHead(int col) const;
  int GetHeadCount() const { return static_cast<int>(heads_.size()); }
  void SetDataRowCount(int rows);
  // Removes every column and data row; the heading row stays.
  void ClearAll();
  int GetDataRowCount() const { return GetRowCount() - GetFixedRowCount(); }

  // Data rows from 0. A number is kept and shown by its column's decimals
  // and scale; CLR_DEFAULT leaves the body colour.
  bool SetCellData(int row, int col, const std::string& text, COLORREF color = CLR_DEFAULT);
  bool SetCellData(int row, int col, double value, COLORREF color = CLR_DEFAULT);
  // A live update: red when the value rose, green when it fell, unchanged
  // colour when equal; the cell stays marked as changed until ClearChangeMarks.
  bool UpdateCellData(int row, int col, double value);
  bool GetCellValue(int row, int col, double* value) const;
  bool IsCellChanged(int row, int col) const;
  void ClearChangeMarks();

  void SetHeadColors(COLORREF bk, COLORREF text);
  void SetBodyColors(COLORREF bk, COLORREF text);
  void SetHeadFont(const orbe::FontSpec& font) { SetFixedRowFont(font); }
  void SetBodyFont(const orbe::FontSpec& font) { SetFont(font); }
  void SetUpDownColors(COLORREF up, COLORREF down);

  // Moves the kept values with their rows.
  bool SortItems(int col, bool ascending) override;

 private:
  struct Slot {
    bool has_value = false;
    double value = 0;
    bool changed = false;
  };
  Slot* SlotAt(int row, int col);
  const Slot* SlotAt(int row, int col) const;
  void ShowValue(int row, int col, double value, COLORREF color);

  std::vector<HQHead> heads_;
  std::vector<std::vector<Slot>> slots_;  // [data row][col]
  COLORREF up_ = RGB(255, 0, 0);
  COLORREF down_ = RGB(0, 160, 0);
};

#endif  // ORBE_WIDGETS_HQ_GRID_CTRL_H_
