// A list with a histogram under it: the histogram shows one column of the
// list (a bar per record), and the two share one selected record. A cell
// click in the list picks the column and the record; a bar click selects the
// record in the list.
#ifndef ORBE_WIDGETS_HISTOGRAM_LIST_H_
#define ORBE_WIDGETS_HISTOGRAM_LIST_H_

#include "orbe/widgets/histogram.h"
#include "orbe/widgets/vlist.h"

// WM_NOTIFY code (with NM_GRIDVIEW: the record's grid row, the column) when a
// user selects a record through the histogram.
constexpr UINT HLN_BARSELECTED = static_cast<UINT>(-191);

class KVXHistogramList : public orbe::KvxWidget {
 public:
  static constexpr UINT kListId = 1;
  static constexpr UINT kHistogramId = 2;

  KVXHistogramList() : KvxWidget(orbe::WidgetKind::kHistogramList) {}
  ~KVXHistogramList() override { DestroyWindow(); }

  VList& GetList() { return list_; }
  const VList& GetList() const { return list_; }
  KVXHistogram& GetHistogram() { return histogram_; }
  const KVXHistogram& GetHistogram() const { return histogram_; }

  // Fills the histogram from a list column: valid numbers as bars, anything
  // else as an empty bar; labels from the first column. A turned list or a
  // column out of range shows an empty histogram.
  void SetHistogramColumn(int col);
  int GetHistogramColumn() const { return column_; }
  // Re-reads the column after the list's records changed.
  void RefreshHistogram() { SetHistogramColumn(column_); }
  // The histogram's share of the height, in percent (0..90).
  void SetHistogramPercent(int percent);
  int GetHistogramPercent() const { return percent_; }

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  static constexpr UINT kBarSelectedMessage = WM_APP + 1;

  void OnListSelection(int grid_row, int col);
  void OnBarSelected(int record);

  VList list_;
  KVXHistogram histogram_;
  int column_ = -1;
  int percent_ = 35;
};

#endif  // ORBE_WIDGETS_HISTOGRAM_LIST_H_
