// The list: a grid built from typed columns (heading records) and rows of
// values, shown by each column's format, money unit, zero and invalid codes.
// It can be turned (rows become columns), sorted, given summary rows and
// coloured by comparison.
#ifndef ORBE_WIDGETS_VLIST_H_
#define ORBE_WIDGETS_VLIST_H_

#include <string>
#include <vector>

#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/value_format.h"

struct VListHead {
  std::string title;          // GBK
  std::string compare_title;  // the column this one is compared with
  int data_kind = 0;          // 0 text, 1 number, 2 date (yyyymmdd)
  int data_align = 2;         // 0 left, 1 right, 2 centre
  int head_align = 2;
  int width = 0;        // 0: sized to the content
  int head_format = 0;  // 1: the column holds money (scaled by the unit)
  int decimals = 2;
  int data_format = 0;  // 0-20; 21-24 are click actions, shown as 0
  int zero_format = 0;
  int invalid_format = 0;
  int color_mode = 0;        // 0 none, 1 by sign, 2 against compare_title
  bool hide_invalid = true;  // HideInvalidColumns may hide the column
  int money_unit = 0;
};

enum class SummaryKind : int { kSum = 0, kCount = 1, kMin = 2, kMax = 3, kAvg = 4 };

class VList : public CGridCtrl {
 public:
  VList();

  // While one lives, the setters change the list's rows and columns only, and
  // the grid is laid out once when the outermost batch ends: filling a list
  // takes one layout instead of one a setter.
  class Batch {
   public:
    explicit Batch(VList& list) : list_(list) { ++list_.batch_depth_; }
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    VList& list_;
  };

  // Replaces the columns; drops every row.
  void SetHead(const std::vector<VListHead>& heads);
  int GetHeadCount() const { return static_cast<int>(heads_.size()); }
  const VListHead* GetHead(int col) const;
  int FindColumn(const std::string& title) const;
  void SetFixFirstCol(bool fixed);

  // Data rows, in the unturned layout.
  int AddRow();
  bool SetValue(int row, int col, const orbe::ListValue& value);
  orbe::ListValue GetValue(int row, int col) const;
  std::string GetValueText(int row, int col) const;
  int GetDataRowCount() const { return static_cast<int>(rows_.size()); }

  void Reverse();
  bool IsReversed() const { return reversed_; }
  void SetMoneyUnit(int unit);
  int GetMoneyUnit() const { return money_unit_; }
  // Sorts the data rows by a column's values (numbers and dates by value,
  // invalid values last).
  bool SortByColumn(int col, bool ascending);
  // A header click sorts the records by value, as SortByColumn.
  bool SortItems(int col, bool ascending) override;
  // Hides the columns flagged hide_invalid whose values are all zero or invalid.
  void HideInvalidColumns();
  bool IsColumnHidden(int col) const;
  // Appends a row labelled in the first column ("合计", "计数", "最小",
  // "最大", "平均") holding the summary of each listed number column.
  void AddSummaryRow(SummaryKind kind, const std::vector<int>& columns);
  int GetSummaryRowCount() const { return static_cast<int>(summaries_.size()); }
  void ApplyCompareColors();
  void SetTruncated(bool truncated);
  bool IsTruncated() const { return truncated_; }
  // Gives the columns whose heading width is 0 a width fitted to their texts.
  void ResizeZeroWidthColumns();

  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  bool IsNumberCell(int row, int col) const override;

 private:
  struct Row {
    std::vector<orbe::ListValue> values;
    std::vector<COLORREF> colors;
    std::string label;  // summary rows only
  };

  orbe::ValueFormat FormatOf(int col) const;
  std::string HeadingText(int col) const;
  std::string RowText(const Row& row, int col) const;
  const Row* RowAt(int index) const;  // data rows, then summary rows
  void Rebuild();
  void FillCell(int grid_row, int grid_col, int list_row, int col);

  std::vector<VListHead> heads_;
  std::vector<bool> hidden_;
  std::vector<Row> rows_;
  std::vector<Row> summaries_;
  bool fix_first_col_ = false;
  bool reversed_ = false;
  bool truncated_ = false;
  int batch_depth_ = 0;
  bool layout_pending_ = false;
  int money_unit_ = 0;
};

#endif  // ORBE_WIDGETS_VLIST_H_
