// The container's add operations for the controls, and the way their events
// reach the container's callbacks.
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/kvx_container.h"
#include "orbe/widgets/plugin_wnd.h"
#include "orbe/widgets/trade_quote.h"

namespace {
using orbe::WidgetKind;
constexpr int KindNumber(WidgetKind kind) { return static_cast<int>(kind); }
}  // namespace

bool CKVXContainer::Button_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kButton), text);
}
bool CKVXContainer::Check_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kCheck), text);
}
bool CKVXContainer::Radio_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kRadio), text);
}
bool CKVXContainer::Combo_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kCombo), "");
}
bool CKVXContainer::CheckCombo_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kCheckCombo), text);
}
bool CKVXContainer::Pie_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& title) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPie), title);
}
bool CKVXContainer::Spin_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kSpin), "");
}
bool CKVXContainer::DateTime_AddWnd(int x, int y, int cx, int cy, int& id, int format, int show_none) {
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kDateTime), "")) return false;
  auto* picker = GetWidget<CKvxDateTimePicker>(id);
  picker->SetShowFormat(format);
  picker->SetShowNone(show_none != 0);
  return true;
}
bool CKVXContainer::Paging_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPaging), "");
}
bool CKVXContainer::XPaging_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kXPaging), "");
}
bool CKVXContainer::MonthCal_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kMonthCal), "");
}
bool CKVXContainer::PictureEx_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPicture), "");
}
bool CKVXContainer::UpDownStream_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kUpDownStream), "");
}
bool CKVXContainer::PictureBtn_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& image_path) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPictureButton), image_path);
}
bool CKVXContainer::ComboTree_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kComboTree), "");
}

bool CKVXContainer::Trade_Quote_AddWnd(int x, int y, int cx, int cy, int& id, int levels) {
  id = 0;
  if (levels < 1 || levels > 10) return false;
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kTradeQuote), "")) return false;
  GetWidget<CKvxTradeQuote>(id)->SetLevelCount(levels);
  return true;
}

bool CKVXContainer::AddPluginWnd(int x, int y, int cx, int cy, int& id, int plugin_id, int option) {
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPlugin), "")) return false;
  GetWidget<CKvxPluginWnd>(id)->SetPlugin(plugin_id, option);
  return true;
}

void CKVXContainer::DeliverEvent(const orbe::WidgetEvent& event) {
  const DeliveryScope scope(*this);
  if (event.name == "OnPluginMessage") {
    PluginMessage(GetWidget<CKvxPluginWnd>(event.id), event.ArgText(0), event.ArgText(1));
    return;
  }
  OnWidgetEvent(event);
}

void CKVXContainer::OnWidgetEvent(const orbe::WidgetEvent& event) {
  if (listener_ != nullptr) listener_->OnWidgetEvent(event);
}

void CKVXContainer::RenderHtml(orbe::HtmlWriter& out) const {
  KvxWidget::RenderHtml(out);
  RECT client;
  GetClientRect(&client);
  drawing_.RenderHtml(out, client.right - client.left, client.bottom - client.top);
  menu_.RenderHtml(out);
}
