#include "orbe/widgets/histogram.h"

#include <algorithm>
#include <cmath>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

namespace {

constexpr double kLabelBand = 16;
constexpr double kValueBand = 14;

}  // namespace

int KVXHistogram::AddItem(double value, const std::string& label, COLORREF color) {
  items_.push_back({value, label, color});
  return GetItemCount() - 1;
}

void KVXHistogram::ClearAll() {
  items_.clear();
  selected_ = -1;
}

const HistogramItem* KVXHistogram::GetItem(int index) const {
  return index >= 0 && index < GetItemCount() ? &items_[static_cast<std::size_t>(index)] : nullptr;
}

bool KVXHistogram::SetScale(double scale) {
  if (!(scale > 0) || !std::isfinite(scale)) return false;
  scale_ = scale;
  return true;
}

void KVXHistogram::SetDecimals(int decimals) { decimals_ = std::clamp(decimals, 0, 10); }

std::string KVXHistogram::ValueText(int index) const {
  const HistogramItem* item = GetItem(index);
  if (item == nullptr || !std::isfinite(item->value)) return "--";
  return orbe::Format("%.*f", decimals_, item->value / scale_);
}

bool KVXHistogram::SetSelectedItem(int index) {
  if (index < -1 || index >= GetItemCount()) return false;
  selected_ = index;
  return true;
}

void KVXHistogram::SetSelectMessage(CWnd* owner, UINT message) {
  owner_ = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
  message_ = message;
}

bool KVXHistogram::ClickItem(int index) {
  if (GetItem(index) == nullptr || !IsWindowEnabled()) return false;
  if (selected_ == index) return true;
  selected_ = index;
  if (owner_ != nullptr && message_ != 0) {
    ::PostMessage(owner_, message_, static_cast<WPARAM>(index), GetDlgCtrlID());
  }
  return true;
}

void KVXHistogram::RenderHtml(orbe::HtmlWriter& out) const {
  RECT rect;
  GetClientRect(&rect);
  const double width = std::max<double>(rect.right - rect.left, 40);
  const double height = std::max<double>(rect.bottom - rect.top, 3 * (kLabelBand + kValueBand));
  double top = 0, bottom = 0;
  for (const HistogramItem& item : items_) {
    if (!std::isfinite(item.value)) continue;
    top = std::max(top, item.value);
    bottom = std::min(bottom, item.value);
  }
  const double span = top - bottom > 0 ? top - bottom : 1;
  const double plot_top = kValueBand, plot_height = height - kValueBand - (bottom_labels_ ? kLabelBand : 0);
  const auto to_y = [&](double value) { return plot_top + plot_height * (top - value) / span; };
  const double slot = width / static_cast<double>(std::max(GetItemCount(), 1));
  out.Raw("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"histogram\" width=\"").Number(width);
  out.Raw("\" height=\"").Number(height).Raw("\">");
  for (int i = 0; i < GetItemCount(); ++i) {
    const HistogramItem& item = items_[static_cast<std::size_t>(i)];
    const double value = std::isfinite(item.value) ? item.value : 0;
    const COLORREF color = item.color != CLR_NONE ? item.color : value >= 0 ? RGB(255, 0, 0) : RGB(0, 160, 0);
    const double x = slot * i + slot * 0.15;
    out.Raw("<rect class=\"bar\" x=\"").Number(x).Raw("\" y=\"").Number(std::min(to_y(value), to_y(0)));
    out.Raw("\" width=\"").Number(slot * 0.7).Raw("\" height=\"").Number(std::abs(to_y(value) - to_y(0)));
    out.Raw("\" fill=\"")
        .Raw(orbe::CssColor(color))
        .Raw(i == selected_ ? "\" stroke=\"#ffff00\" stroke-width=\"2\"" : "\"");
    out.Raw("/>");
    if (type_ == 1 || i == selected_) {
      out.Raw("<text x=\"").Number(x + slot * 0.35).Raw("\" y=\"").Number(std::min(to_y(value), to_y(0)) - 2);
      out.Raw("\" font-size=\"10\" text-anchor=\"middle\">").Raw(ValueText(i)).Raw("</text>");
    }
    if (bottom_labels_) {
      out.Raw("<text x=\"").Number(x + slot * 0.35).Raw("\" y=\"").Number(height - 4);
      out.Raw("\" font-size=\"10\" text-anchor=\"middle\">").Text(item.label).Raw("</text>");
    }
  }
  out.Raw("</svg>");
}
