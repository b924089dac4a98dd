#include "orbe/widgets/vchart.h"

#include <algorithm>
#include <cmath>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/vector_drawing.h"

bool CKvxVChart::AddItem(const VChartItem& item) {
  if (!std::isfinite(item.value)) return false;
  items_.push_back(item);
  if (max_items_ > 0 && static_cast<int>(items_.size()) > max_items_) {
    items_.erase(items_.begin(), items_.end() - max_items_);
  }
  return true;
}

bool CKvxVChart::RemoveItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return false;
  items_.erase(items_.begin() + index);
  return true;
}

bool CKvxVChart::SetMaxItemCount(int count) {
  if (count < 0) return false;
  max_items_ = count;
  if (count > 0 && static_cast<int>(items_.size()) > count) items_.erase(items_.begin(), items_.end() - count);
  return true;
}

bool CKvxVChart::SetMinMax(double min, double max, int decimals) {
  if (!(min < max) || !std::isfinite(min) || !std::isfinite(max) || decimals < 0 || decimals > 10) return false;
  min_ = min;
  max_ = max;
  look_.decimals = decimals;
  automatic_ = false;
  return true;
}

void CKvxVChart::GetRange(double* min, double* max) const {
  if (!automatic_) {
    *min = min_;
    *max = max_;
    return;
  }
  double low = 0, high = 0;  // columns grow from zero, which is always in range
  for (const VChartItem& item : items_) {
    low = std::min(low, item.value);
    high = std::max(high, item.value);
  }
  if (low == high) high = low + 1;
  *min = low;
  *max = high;
}

std::vector<VChartItem> CKvxVChart::ShownItems() const {
  std::vector<VChartItem> shown = items_;
  if (look_.order == 1 || look_.order == 2) {
    std::stable_sort(shown.begin(), shown.end(), [this](const VChartItem& a, const VChartItem& b) {
      return look_.order == 1 ? a.value < b.value : b.value < a.value;
    });
  }
  return shown;
}

void CKvxVChart::SetRedraw(bool redraw) {
  if (!redraw && redraw_) frozen_ = RenderSvg();
  if (redraw) frozen_.clear();
  redraw_ = redraw;
}

void CKvxVChart::Draw(orbe::VectorDrawing& d) const {
  constexpr double kLeft = 48, kTop = 24, kBottom = 28, kRight = 10;
  const double width = d.Width(), height = d.Height();
  const double plot_w = std::max(width - kLeft - kRight, 1.0), plot_h = std::max(height - kTop - kBottom, 1.0);
  double min = 0, max = 1;
  GetRange(&min, &max);
  const auto y_of = [&](double v) { return kTop + plot_h * (max - std::clamp(v, min, max)) / (max - min); };
  if (GetBkColor() != CLR_DEFAULT) {
    orbe::DrawStyle back;
    back.fill = GetBkColor();
    d.Rect(0, 0, width, height, back).css_class = "back";
  }
  if (!title_.empty()) d.Text(width / 2, 16, title_, look_.title_color, {}, 1).css_class = "title";
  // Ruler: five steps with their texts, grid lines across.
  for (int i = 0; i <= 4; ++i) {
    const double v = min + (max - min) * i / 4;
    const double y = y_of(v);
    if (look_.grid_type != 0) {
      orbe::DrawStyle grid;
      grid.stroke = look_.grid_color;
      grid.dash = look_.grid_type == 2 ? orbe::kDashDot : orbe::kDashSolid;
      d.Line(kLeft, y, kLeft + plot_w, y, grid).css_class = "grid";
    }
    d.Text(kLeft - 4, y + 4, orbe::Format("%.*f", look_.decimals, v), look_.ruler_color, {}, 2).css_class = "ruler";
  }
  orbe::DrawStyle frame;
  frame.stroke = look_.frame_color;
  frame.stroke_width = std::max(look_.frame_width, 0);
  if (look_.frame_width > 0) {
    d.Line(kLeft, kTop, kLeft, kTop + plot_h, frame);
    d.Line(kLeft, kTop + plot_h, kLeft + plot_w, kTop + plot_h, frame);
  }
  const std::vector<VChartItem> shown = ShownItems();
  const double slot = plot_w / static_cast<double>(std::max<std::size_t>(shown.size(), 1));
  const double bar = look_.bar_width > 0 ? look_.bar_width : std::max(slot - look_.interval, 1.0);
  const double zero = y_of(0);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const VChartItem& item = shown[i];
    const double x = kLeft + slot * static_cast<double>(i) + (slot - bar) / 2;
    const double y = y_of(item.value);
    orbe::DrawStyle fill;
    fill.fill = item.color != CLR_NONE ? item.color : item.value >= 0 ? RGB(255, 0, 0) : RGB(0, 160, 0);
    if (look_.gradient != 0) {
      fill.gradient_to = RGB(255, 255, 255);
      fill.gradient_horizontal = look_.gradient == 2;
    }
    orbe::Shape& column = d.Rect(x, std::min(y, zero), bar, std::max(std::abs(zero - y), 1.0), fill);
    column.css_class = "column";
    column.attributes = "data-item=\"" + std::to_string(i) + "\"";
    d.Text(x + bar / 2, kTop + plot_h + 14, item.label, look_.label_color, {}, 1).css_class = "label";
    if (item.show_value) {
      const COLORREF color = item.value_color != CLR_DEFAULT ? item.value_color : look_.value_color;
      d.Text(x + bar / 2, std::min(y, zero) - 3, orbe::Format("%.*f", look_.decimals, item.value), color, {}, 1)
          .css_class = "value";
    }
  }
}

std::string CKvxVChart::RenderSvg() const {
  orbe::VectorDrawing drawing = orbe::ClientAreaDrawing(*this, 60);
  Draw(drawing);
  return orbe::SvgText(drawing, "vchart");
}

void CKvxVChart::RenderHtml(orbe::HtmlWriter& out) const { out.Raw(redraw_ ? RenderSvg() : frozen_); }
