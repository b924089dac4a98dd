// A histogram: one bar per item (rising red, falling green), an optional
// label under each bar, one selected item. A click on a bar selects it and
// posts the selection message to the owner.
#ifndef ORBE_WIDGETS_HISTOGRAM_H_
#define ORBE_WIDGETS_HISTOGRAM_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

struct HistogramItem {
  double value = 0;
  std::string label;          // GBK; shown under the bar when bottom labels are on
  COLORREF color = CLR_NONE;  // CLR_NONE: red above zero, green below
};

class KVXHistogram : public orbe::KvxWidget {
 public:
  KVXHistogram() : KvxWidget(orbe::WidgetKind::kHistogram) {}

  // The look (0 plain, 1 quote style with value texts); stored for rendering.
  void SetType(int type) { type_ = type; }
  int GetType() const { return type_; }
  int AddItem(double value, const std::string& label = "", COLORREF color = CLR_NONE);
  void ClearAll();
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  const HistogramItem* GetItem(int index) const;
  // Values are shown divided by the scale (refused unless positive) with this many decimals (0..10).
  bool SetScale(double scale);
  double GetScale() const { return scale_; }
  void SetDecimals(int decimals);
  int GetDecimals() const { return decimals_; }
  void SetBottomLabels(bool show) { bottom_labels_ = show; }
  bool HasBottomLabels() const { return bottom_labels_; }
  // The text shown for an item's value.
  std::string ValueText(int index) const;

  // Programmatic: no message. -1 selects nothing.
  bool SetSelectedItem(int index);
  int GetSelectedItem() const { return selected_; }
  // The owner's message for a user's selection: wParam the item, lParam the
  // histogram's control id. 0 = none.
  void SetSelectMessage(CWnd* owner, UINT message);

  // A user's click on bar `index`: selects it and posts the selection
  // message when the selection changed.
  bool ClickItem(int index);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::vector<HistogramItem> items_;
  int type_ = 0;
  double scale_ = 1;
  int decimals_ = 2;
  bool bottom_labels_ = true;
  int selected_ = -1;
  HWND owner_ = nullptr;
  UINT message_ = 0;
};

#endif  // ORBE_WIDGETS_HISTOGRAM_H_
