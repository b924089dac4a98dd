#include "orbe/widgets/chart_bar_ctrl.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "axis_steps.h"
#include "orbe/widgets/html_writer.h"

namespace {

constexpr std::array<COLORREF, 6> kPalette{RGB(70, 130, 180), RGB(220, 20, 60),  RGB(46, 139, 87),
                                           RGB(255, 140, 0),  RGB(106, 90, 205), RGB(128, 128, 0)};
constexpr int kMargin = 40;
constexpr int kTitleHeight = 24;
constexpr int kMaxValueTicks = 50;

}  // namespace

void CChartBarCtrl::AddBar(double x, double y, const std::string& label, COLORREF color, bool highlighted) {
  bars_.push_back({x, y, label, color, highlighted});
}

bool CChartBarCtrl::SetLeftMinMax(double min, double max) {
  if (!(min < max)) return false;
  left_min_ = min;
  left_max_ = max;
  return true;
}

void CChartBarCtrl::SetBottomTickIncrement(bool automatic, double increment) {
  bottom_tick_auto_ = automatic;
  if (increment > 0) bottom_tick_ = increment;
}

void CChartBarCtrl::RenderHtml(orbe::HtmlWriter& out) const {
  RECT rect;
  GetClientRect(&rect);
  const int width = std::max<int>(rect.right - rect.left, 2 * kMargin + 10);
  const int height = std::max<int>(rect.bottom - rect.top, 2 * kMargin + kTitleHeight + 10);
  const double plot_left = kMargin, plot_top = kMargin / 2 + kTitleHeight;
  const double plot_width = width - 2 * kMargin, plot_height = height - plot_top - kMargin;
  const auto to_y = [&](double value) {
    const double clamped = std::clamp(value, left_min_, left_max_);
    return plot_top + plot_height * (left_max_ - clamped) / (left_max_ - left_min_);
  };
  out.Raw("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"")
      .Number(width)
      .Raw("\" height=\"")
      .Number(height)
      .Raw("\">");
  out.Raw("<text x=\"")
      .Number(width / 2.0)
      .Raw("\" y=\"18\" text-anchor=\"middle\" fill=\"")
      .Raw(orbe::CssColor(title_color_))
      .Raw("\" style=\"")
      .Raw(orbe::CssFont(title_font_))
      .Raw("\">")
      .Text(title_)
      .Raw("</text>");
  out.Raw("<line x1=\"")
      .Number(plot_left)
      .Raw("\" y1=\"")
      .Number(plot_top)
      .Raw("\" x2=\"")
      .Number(plot_left)
      .Raw("\" y2=\"")
      .Number(plot_top + plot_height)
      .Raw("\" stroke=\"#000\"/>");
  out.Raw("<line x1=\"")
      .Number(plot_left)
      .Raw("\" y1=\"")
      .Number(plot_top + plot_height)
      .Raw("\" x2=\"")
      .Number(plot_left + plot_width)
      .Raw("\" y2=\"")
      .Number(plot_top + plot_height)
      .Raw("\" stroke=\"#000\"/>");
  // The value axis: a tick and a light grid line at every step of 1, 2 or 5
  // times a power of ten, each with its value, under the bars.
  const double step = orbe::NiceAxisStep(left_max_ - left_min_);
  int ticks = 0;
  for (double value = std::ceil(left_min_ / step) * step; value <= left_max_ + step * 1e-9 && ticks < kMaxValueTicks;
       value = std::ceil(left_min_ / step) * step + step * ++ticks) {
    const double y = to_y(value);
    out.Raw("<line class=\"grid\" x1=\"").Number(plot_left).Raw("\" y1=\"").Number(y);
    out.Raw("\" x2=\"").Number(plot_left + plot_width).Raw("\" y2=\"").Number(y).Raw("\" stroke=\"#e4e4e4\"/>");
    out.Raw("<line x1=\"").Number(plot_left - 4).Raw("\" y1=\"").Number(y);
    out.Raw("\" x2=\"").Number(plot_left).Raw("\" y2=\"").Number(y).Raw("\" stroke=\"#000\"/>");
    out.Raw("<text class=\"tick\" x=\"").Number(plot_left - 6).Raw("\" y=\"").Number(y + 3);
    out.Raw("\" font-size=\"10\" text-anchor=\"end\">").Text(orbe::AxisNumberText(value, step)).Raw("</text>");
  }
  if (!left_text_.empty()) {
    out.Raw("<text x=\"4\" y=\"")
        .Number(plot_top - 4)
        .Raw("\" font-size=\"10\">")
        .Text(left_text_)
        .Raw("</text>");
  }
  const double slot = bars_.empty() ? plot_width : plot_width / static_cast<double>(bars_.size());
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    const ChartBar& bar = bars_[i];
    const COLORREF color = bar.color == CLR_NONE ? kPalette[i % kPalette.size()] : bar.color;
    const double top = std::min(to_y(bar.y), to_y(0)), bottom = std::max(to_y(bar.y), to_y(0));
    out.Raw("<rect class=\"bar\" x=\"")
        .Number(plot_left + slot * static_cast<double>(i) + slot * 0.15)
        .Raw("\" y=\"")
        .Number(top)
        .Raw("\" width=\"")
        .Number(slot * 0.7)
        .Raw("\" height=\"")
        .Number(bottom - top)
        .Raw("\" fill=\"")
        .Raw(orbe::CssColor(color))
        .Raw(bar.highlighted ? "\" stroke=\"#000\"" : "\"")
        .Raw("><title>")
        .Text(bar.label)
        .Raw("</title></rect>");
  }
  if (legend_visible_) {
    // A label "period: value" takes two lines, the period over the value,
    // so that neighbouring labels do not run into each other.
    for (std::size_t i = 0; i < bars_.size(); ++i) {
      const std::string& label = bars_[i].label;
      const std::size_t colon = label.find(": ");
      const double x = plot_left + slot * (static_cast<double>(i) + 0.5);
      out.Raw("<text class=\"legend\" x=\"").Number(x).Raw("\" y=\"").Number(height - kMargin + 12);
      out.Raw("\" font-size=\"10\" text-anchor=\"middle\">");
      if (colon == std::string::npos) {
        out.Text(label);
      } else {
        out.Raw("<tspan x=\"").Number(x).Raw("\">").Text(label.substr(0, colon + 1)).Raw("</tspan>");
        out.Raw("<tspan x=\"").Number(x).Raw("\" dy=\"12\">").Text(label.substr(colon + 2)).Raw("</tspan>");
      }
      out.Raw("</text>");
    }
  }
  out.Raw("</svg>");
}
