// The container's operations on pie charts and column charts.
#include <cmath>

#include "kvx_ops.h"
#include "orbe/widgets/pie.h"
#include "orbe/widgets/vchart.h"

using orbe::WidgetKind;
using orbe::widgets::Ask;
using orbe::widgets::FontOf;
using orbe::widgets::Set;

namespace {

bool Percent(double value) { return value >= 0 && value <= 100; }

}  // namespace

// --- Pie ---

bool CKVXContainer::Pie_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kPie), text);
}
bool CKVXContainer::Pie_InsertItem(int id, const std::string& label, const std::string& tip, double value,
                                   COLORREF color) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.InsertItem(label, tip, value, color); });
}
bool CKVXContainer::Pie_RemoveItem(int id, const std::string& label) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.RemoveItem(label); });
}
bool CKVXContainer::Pie_RemoveAllItem(int id) {
  return Set<CKvxPieChart>(*this, id, [](CKvxPieChart& p) { p.RemoveAllItem(); });
}
int CKVXContainer::Pie_GetElementID(int id, const std::string& label) const {
  return Ask<CKvxPieChart>(*this, id, -1, [&](const CKvxPieChart& p) { return p.GetElementID(label); });
}
std::string CKVXContainer::Pie_GetSelectedElement(int id) const {
  return Ask<CKvxPieChart>(*this, id, std::string(), [](const CKvxPieChart& p) { return p.GetSelectedElement(); });
}
bool CKVXContainer::Pie_SetSelectedElement(int id, const std::string& label) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.SetSelectedElement(label); });
}
bool CKVXContainer::Pie_SaveAsBmp(int id, const std::string& path) const {
  return Ask<CKvxPieChart>(*this, id, false, [&](const CKvxPieChart& p) { return p.SaveAsImage(path); });
}

#define ORBE_PIE_LOOK(body) Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { body; })

bool CKVXContainer::Pie_SetBackgrndColor(int id, COLORREF color) {
  return ORBE_PIE_LOOK(p.GetLook().background = color);
}
bool CKVXContainer::Pie_EnableBkColorGradient(int id, bool enable) {
  return ORBE_PIE_LOOK(p.GetLook().background_gradient = enable);
}
bool CKVXContainer::Pie_SetLabelColor(int id, COLORREF color) { return ORBE_PIE_LOOK(p.GetLook().label_color = color); }
bool CKVXContainer::Pie_SetLabelBoxColor(int id, COLORREF color) {
  return ORBE_PIE_LOOK(p.GetLook().label_box_color = color);
}
bool CKVXContainer::Pie_SetItemHighlightColor(int id, COLORREF color) {
  return ORBE_PIE_LOOK(p.GetLook().highlight_color = color);
}
bool CKVXContainer::Pie_EnableTooltip(int id, bool enable) { return ORBE_PIE_LOOK(p.GetLook().tooltip = enable); }
bool CKVXContainer::Pie_SetToolTipColor(int id, COLORREF text, COLORREF bk) {
  return ORBE_PIE_LOOK(p.GetLook().tooltip_text = text; p.GetLook().tooltip_bk = bk);
}
bool CKVXContainer::Pie_ShowPercentages(int id, bool show) { return ORBE_PIE_LOOK(p.GetLook().percentages = show); }
bool CKVXContainer::Pie_ShowPieLable(int id, bool show) { return ORBE_PIE_LOOK(p.GetLook().labels = show); }
bool CKVXContainer::Pie_ShowPieTitle(int id, bool show) { return ORBE_PIE_LOOK(p.GetLook().show_title = show); }
bool CKVXContainer::Pie_SetTitleColor(int id, COLORREF color) { return ORBE_PIE_LOOK(p.GetLook().title_color = color); }
bool CKVXContainer::Pie_DockTitle(int id, int side) {
  if (side < 0 || side > 3) return false;
  return ORBE_PIE_LOOK(p.GetLook().title_dock = side);
}
bool CKVXContainer::Pie_UnDockTitle(int id, int x, int y) {
  return ORBE_PIE_LOOK(p.GetLook().title_dock = -1; p.GetLook().title_x = x; p.GetLook().title_y = y);
}
bool CKVXContainer::Pie_SetLabelFont(int id, int size, const std::string& face) {
  return ORBE_PIE_LOOK(p.GetLook().label_font = FontOf(size, face));
}
bool CKVXContainer::Pie_SetTitleFont(int id, int size, const std::string& face, int weight) {
  return ORBE_PIE_LOOK(p.GetLook().title_font = FontOf(size, face, weight));
}
bool CKVXContainer::Pie_SetPieChartStyle(int id, int style) {
  if (style < 0 || style > 1) return false;
  return ORBE_PIE_LOOK(p.GetLook().style = style);
}
bool CKVXContainer::Pie_SetPieChartTitle(int id, const std::string& title) {
  return ORBE_PIE_LOOK(p.SetPieChartTitle(title));
}
bool CKVXContainer::Pie_UpdateItemValue(int id, const std::string& label, double value) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.UpdateItemValue(label, value); });
}
bool CKVXContainer::Pie_UpdateItemLabel(int id, const std::string& label, const std::string& new_label) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.UpdateItemLabel(label, new_label); });
}
bool CKVXContainer::Pie_UpdateItemColor(int id, const std::string& label, COLORREF color) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.UpdateItemColor(label, color); });
}
bool CKVXContainer::Pie_SetStartAngle(int id, double degrees) {
  if (!std::isfinite(degrees)) return false;
  return ORBE_PIE_LOOK(p.GetLook().start_angle = std::fmod(degrees, 360.0));
}
bool CKVXContainer::Pie_SetInclineAngle(int id, double degrees) {
  if (!(degrees >= 0 && degrees <= 90)) return false;
  return ORBE_PIE_LOOK(p.GetLook().incline_angle = degrees);
}
bool CKVXContainer::Pie_SetDepth(int id, double depth) {
  if (!(depth >= 0 && depth <= 100)) return false;
  return ORBE_PIE_LOOK(p.GetLook().depth = depth);
}
bool CKVXContainer::Pie_SetDistanceIndex(int id, const std::string& label, int distance) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.SetDistanceIndex(label, distance); });
}
bool CKVXContainer::Pie_SetDistanceIndexAll(int id, int distance) {
  if (distance < 0) return false;
  return ORBE_PIE_LOOK(p.SetDistanceIndexAll(distance));
}
bool CKVXContainer::Pie_SetElementTransparency(int id, const std::string& label, double transparency) {
  return Set<CKvxPieChart>(*this, id,
                           [&](CKvxPieChart& p) { return p.SetElementTransparency(label, transparency); });
}
bool CKVXContainer::Pie_SetElementTransparencyAll(int id, double transparency) {
  if (!(transparency >= 0 && transparency <= 1)) return false;
  return ORBE_PIE_LOOK(p.SetElementTransparencyAll(transparency));
}
bool CKVXContainer::Pie_SetHorizontalOffset(int id, int offset) {
  return ORBE_PIE_LOOK(p.GetLook().horizontal_offset = offset);
}
bool CKVXContainer::Pie_SortElements(int id, bool ascending) { return ORBE_PIE_LOOK(p.SortElements(ascending)); }
bool CKVXContainer::Pie_SortToOrginalOrder(int id) { return ORBE_PIE_LOOK(p.SortToOriginalOrder()); }
bool CKVXContainer::Pie_SetElementGradientLight(int id, const std::string& label, double light) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.SetElementGradientLight(label, light); });
}
bool CKVXContainer::Pie_SetElementGradientDark(int id, const std::string& label, double dark) {
  return Set<CKvxPieChart>(*this, id, [&](CKvxPieChart& p) { return p.SetElementGradientDark(label, dark); });
}
bool CKVXContainer::Pie_SetElementGradientLightAll(int id, double light) {
  if (!Percent(light)) return false;
  return ORBE_PIE_LOOK(p.SetElementGradientLightAll(light));
}
bool CKVXContainer::Pie_SetElementGradientDarkAll(int id, double dark) {
  if (!Percent(dark)) return false;
  return ORBE_PIE_LOOK(p.SetElementGradientDarkAll(dark));
}
bool CKVXContainer::Pie_SetBackGroundGradientLight(int id, double light) {
  if (!Percent(light)) return false;
  return ORBE_PIE_LOOK(p.GetLook().background_light = light);
}
bool CKVXContainer::Pie_SetBackGroundGradientDark(int id, double dark) {
  if (!Percent(dark)) return false;
  return ORBE_PIE_LOOK(p.GetLook().background_dark = dark);
}
#undef ORBE_PIE_LOOK

namespace {

int ElementGradient(const CKvxPieChart& pie, const std::string& label, bool light) {
  const int index = pie.GetElementID(label);
  if (index < 0) return 0;
  const PieElement& element = pie.GetElements()[static_cast<std::size_t>(index)];
  return static_cast<int>(std::lround(light ? element.gradient_light : element.gradient_dark));
}

}  // namespace

int CKVXContainer::Pie_GetElementGrLight(int id, const std::string& label) const {
  return Ask<CKvxPieChart>(*this, id, 0, [&](const CKvxPieChart& p) { return ElementGradient(p, label, true); });
}
int CKVXContainer::Pie_GetElementGrDark(int id, const std::string& label) const {
  return Ask<CKvxPieChart>(*this, id, 0, [&](const CKvxPieChart& p) { return ElementGradient(p, label, false); });
}

// --- VChart ---

bool CKVXContainer::VChart_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kVChart), text);
}
bool CKVXContainer::VChart_SetTitle(int id, const std::string& title) {
  return Set<CKvxVChart>(*this, id, [&](CKvxVChart& v) { v.SetTitle(title); });
}
bool CKVXContainer::VChart_AddItem(int id, const std::string& label, double value, COLORREF color,
                                   COLORREF value_color, bool show_value) {
  return Set<CKvxVChart>(*this, id,
                         [&](CKvxVChart& v) { return v.AddItem({label, value, color, value_color, show_value}); });
}
bool CKVXContainer::VChart_RemoveItem(int id, int index) {
  return Set<CKvxVChart>(*this, id, [&](CKvxVChart& v) { return v.RemoveItem(index); });
}
bool CKVXContainer::VChart_RemoveAllItem(int id) {
  return Set<CKvxVChart>(*this, id, [](CKvxVChart& v) { v.RemoveAllItem(); });
}
bool CKVXContainer::VChart_SetMaxItemCount(int id, int count) {
  return Set<CKvxVChart>(*this, id, [&](CKvxVChart& v) { return v.SetMaxItemCount(count); });
}
bool CKVXContainer::VChart_SetMinMax(int id, double min, double max, int decimals) {
  return Set<CKvxVChart>(*this, id, [&](CKvxVChart& v) { return v.SetMinMax(min, max, decimals); });
}
bool CKVXContainer::VChart_SetAutomatic(int id, bool automatic) {
  return Set<CKvxVChart>(*this, id, [&](CKvxVChart& v) { v.SetAutomatic(automatic); });
}

#define ORBE_VCHART_LOOK(check, body)                    \
  Set<CKvxVChart>(*this, id, [&](CKvxVChart& v) {        \
    if (!(check)) return false;                          \
    body;                                                \
    return true;                                         \
  })

bool CKVXContainer::VChart_SetGradientType(int id, int type) {
  return ORBE_VCHART_LOOK(type >= 0 && type <= 2, v.Look().gradient = type);
}
bool CKVXContainer::VChart_SetGridLineColor(int id, COLORREF color) {
  return ORBE_VCHART_LOOK(true, v.Look().grid_color = color);
}
bool CKVXContainer::VChart_SetGridLineType(int id, int type) {
  return ORBE_VCHART_LOOK(type >= 0 && type <= 2, v.Look().grid_type = type);
}
bool CKVXContainer::VChart_SetBkColor(int id, COLORREF color) { return ORBE_VCHART_LOOK(true, v.SetBkColor(color)); }
bool CKVXContainer::VChart_SetTitleTextColor(int id, COLORREF color) {
  return ORBE_VCHART_LOOK(true, v.Look().title_color = color);
}
bool CKVXContainer::VChart_SetUserTextColor(int id, COLORREF color) {
  return ORBE_VCHART_LOOK(true, v.Look().label_color = color);
}
bool CKVXContainer::VChart_SetRulerTextColor(int id, COLORREF color) {
  return ORBE_VCHART_LOOK(true, v.Look().ruler_color = color);
}
bool CKVXContainer::VChart_SetShowTextValueColor(int id, COLORREF color) {
  return ORBE_VCHART_LOOK(true, v.Look().value_color = color);
}
bool CKVXContainer::VChart_SetAxisFrameColor(int id, COLORREF color) {
  return ORBE_VCHART_LOOK(true, v.Look().frame_color = color);
}
bool CKVXContainer::VChart_SetAxisFrameWidth(int id, int width) {
  return ORBE_VCHART_LOOK(width >= 0, v.Look().frame_width = width);
}
bool CKVXContainer::VChart_SetAscOrDescFlag(int id, int flag) {
  return ORBE_VCHART_LOOK(flag >= 0 && flag <= 2, v.Look().order = flag);
}
bool CKVXContainer::VChart_SetRedraw(int id, bool redraw) { return ORBE_VCHART_LOOK(true, v.SetRedraw(redraw)); }
bool CKVXContainer::VChart_SetBarWidth(int id, int width) {
  return ORBE_VCHART_LOOK(width >= 0, v.Look().bar_width = width);
}
bool CKVXContainer::VChart_SetBarIntervalSize(int id, int space) {
  return ORBE_VCHART_LOOK(space >= 0, v.Look().interval = space);
}
#undef ORBE_VCHART_LOOK
