// The container's operations on the controls (combos, buttons, spinners,
// date pickers, pagers, calendars, pictures, streams, trees, quote panels,
// plug-in windows), the way their events reach the container's callbacks,
// and the container's own page.
#include <tuple>

#include "kvx_ops.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/combo_tree.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/list_tree.h"
#include "orbe/widgets/pager.h"
#include "orbe/widgets/picture.h"
#include "orbe/widgets/plugin_wnd.h"
#include "orbe/widgets/spin.h"
#include "orbe/widgets/trade_quote.h"
#include "orbe/widgets/up_down_stream.h"

using orbe::WidgetKind;
using orbe::widgets::Ask;
using orbe::widgets::FontOf;
using orbe::widgets::Set;

namespace {
constexpr int KindNumber(WidgetKind kind) { return static_cast<int>(kind); }
}  // namespace

// --- Combo ---

bool CKVXContainer::Combo_AddWnd(int x, int y, int cx, int cy, int& id, int dropped_height) {
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kCombo), "")) return false;
  GetWidget<CKvxComboBox>(id)->SetDroppedHeight(dropped_height);
  return true;
}
int CKVXContainer::Combo_AddString(int id, const std::string& text) {
  CKvxComboBox* combo = GetWidget<CKvxComboBox>(id);
  return combo != nullptr ? combo->AddString(text) : CB_ERR;
}
int CKVXContainer::Combo_InsertString(int id, int index, const std::string& text) {
  CKvxComboBox* combo = GetWidget<CKvxComboBox>(id);
  return combo != nullptr ? combo->InsertString(index, text) : CB_ERR;
}
int CKVXContainer::Combo_DeleteString(int id, int index) {
  CKvxComboBox* combo = GetWidget<CKvxComboBox>(id);
  return combo != nullptr ? combo->DeleteString(index) : CB_ERR;
}
bool CKVXContainer::Combo_ResetContent(int id) {
  return Set<CKvxComboBox>(*this, id, [](CKvxComboBox& c) { c.ResetContent(); });
}
int CKVXContainer::Combo_FindString(int id, int start, const std::string& text) const {
  return Ask<CKvxComboBox>(*this, id, CB_ERR, [&](const CKvxComboBox& c) { return c.FindString(start, text); });
}
int CKVXContainer::Combo_SelectString(int id, int start, const std::string& text) {
  CKvxComboBox* combo = GetWidget<CKvxComboBox>(id);
  return combo != nullptr ? combo->SelectString(start, text) : CB_ERR;
}
bool CKVXContainer::Combo_EnableFocusMsg(int id, bool enable) {
  return Set<CKvxComboBox>(*this, id, [&](CKvxComboBox& c) { c.EnableFocusMsg(enable); });
}
int CKVXContainer::Combo_GetCurSel(int id) const {
  return Ask<CKvxComboBox>(*this, id, CB_ERR, [](const CKvxComboBox& c) { return c.GetCurSel(); });
}
int CKVXContainer::Combo_SetCurSel(int id, int index) {
  CKvxComboBox* combo = GetWidget<CKvxComboBox>(id);
  return combo != nullptr ? combo->SetCurSel(index) : CB_ERR;
}
int CKVXContainer::Combo_GetCount(int id) const {
  return Ask<CKvxComboBox>(*this, id, 0, [](const CKvxComboBox& c) { return c.GetCount(); });
}
std::string CKVXContainer::Combo_GetLBText(int id, int index) const {
  return Ask<CKvxComboBox>(*this, id, std::string(), [&](const CKvxComboBox& c) { return c.GetLBText(index); });
}
std::string CKVXContainer::Combo_GetWindowText(int id) const {
  return Ask<CKvxComboBox>(*this, id, std::string(), [](const CKvxComboBox& c) { return c.GetSelectedText(); });
}
bool CKVXContainer::Combo_SetDroppedWidth(int id, int width) {
  return Set<CKvxComboBox>(*this, id, [&](CKvxComboBox& c) {
    if (width < 0) return false;
    c.SetDroppedWidth(width);
    return true;
  });
}
bool CKVXContainer::Combo_SetItemHeight(int id, int index, int height) {
  return Set<CKvxComboBox>(*this, id, [&](CKvxComboBox& c) {
    if (height < 1) return false;
    c.SetItemHeight(index, height);
    return true;
  });
}
bool CKVXContainer::Combo_SetFont(int id, int size, const std::string& face) {
  return Set<CKvxComboBox>(*this, id, [&](CKvxComboBox& c) { c.SetFont(FontOf(size, face)); });
}

// --- Check combo ---

bool CKVXContainer::CheckCombo_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kCheckCombo), text);
}
int CKVXContainer::CheckCombo_AddString(int id, const std::string& text) {
  CKvxCheckCombo* combo = GetWidget<CKvxCheckCombo>(id);
  return combo != nullptr ? combo->AddString(text) : CB_ERR;
}
int CKVXContainer::CheckCombo_GetCurSel(int id) const {
  return Ask<CKvxCheckCombo>(*this, id, CB_ERR, [](const CKvxCheckCombo& c) { return c.GetCurSel(); });
}
int CKVXContainer::CheckCombo_SetCurSel(int id, int index) {
  CKvxCheckCombo* combo = GetWidget<CKvxCheckCombo>(id);
  return combo != nullptr ? combo->SetCurSel(index) : CB_ERR;
}
bool CKVXContainer::CheckCombo_ResetContent(int id) {
  return Set<CKvxCheckCombo>(*this, id, [](CKvxCheckCombo& c) { c.ResetContent(); });
}
std::string CKVXContainer::CheckCombo_GetLBText(int id, int index) const {
  return Ask<CKvxCheckCombo>(*this, id, std::string(), [&](const CKvxCheckCombo& c) { return c.GetLBText(index); });
}
bool CKVXContainer::CheckCombo_SetCheck(int id, int index, bool checked) {
  return Set<CKvxCheckCombo>(*this, id, [&](CKvxCheckCombo& c) { return c.SetCheck(index, checked); });
}
int CKVXContainer::CheckCombo_GetCheck(int id, int index) const {
  return Ask<CKvxCheckCombo>(*this, id, CB_ERR, [&](const CKvxCheckCombo& c) { return c.GetCheck(index); });
}
int CKVXContainer::CheckCombo_GetCount(int id) const {
  return Ask<CKvxCheckCombo>(*this, id, 0, [](const CKvxCheckCombo& c) { return c.GetCount(); });
}
bool CKVXContainer::CheckCombo_CheckAll(int id, bool checked) {
  return Set<CKvxCheckCombo>(*this, id, [&](CKvxCheckCombo& c) { c.CheckAll(checked); });
}
bool CKVXContainer::CheckCombo_SetItemHeight(int id, int index, int height) {
  return Set<CKvxCheckCombo>(*this, id, [&](CKvxCheckCombo& c) {
    if (height < 1) return false;
    c.SetItemHeight(index, height);
    return true;
  });
}

// --- Check box, radio, button ---

bool CKVXContainer::Check_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kCheck), text);
}
bool CKVXContainer::Check_GetCheck(int id) const {
  return Ask<CKvxCheckBox>(*this, id, false, [](const CKvxCheckBox& c) { return c.GetCheck(); });
}
bool CKVXContainer::Check_SetCheck(int id, bool checked) {
  return Set<CKvxCheckBox>(*this, id, [&](CKvxCheckBox& c) { c.SetCheck(checked); });
}
bool CKVXContainer::Check_SetWindowText(int id, const std::string& text) {
  return Set<CKvxCheckBox>(*this, id, [&](CKvxCheckBox& c) { c.SetWindowText(text); });
}
bool CKVXContainer::Check_SetTransparent(int id, bool transparent) {
  return Set<CKvxCheckBox>(*this, id, [&](CKvxCheckBox& c) { c.SetTransparent(transparent); });
}
bool CKVXContainer::Check_SetTextColor(int id, COLORREF color) {
  return Set<CKvxCheckBox>(*this, id, [&](CKvxCheckBox& c) { c.SetTextColor(color); });
}
bool CKVXContainer::Check_SetBkColor(int id, COLORREF color) {
  return Set<CKvxCheckBox>(*this, id, [&](CKvxCheckBox& c) { c.SetBkColor(color); });
}
bool CKVXContainer::Radio_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kRadio), text);
}
bool CKVXContainer::Radio_SetGroupID(int id, int group) {
  return Set<CKvxRadio>(*this, id, [&](CKvxRadio& r) { r.SetGroupID(group); });
}
int CKVXContainer::Radio_GetGroupID(int id) const {
  return Ask<CKvxRadio>(*this, id, 0, [](const CKvxRadio& r) { return r.GetGroupID(); });
}
bool CKVXContainer::Radio_SetCheck(int id, bool checked) {
  return Set<CKvxRadio>(*this, id, [&](CKvxRadio& r) { r.SetCheck(checked); });
}
bool CKVXContainer::Radio_GetCheck(int id) const {
  return Ask<CKvxRadio>(*this, id, false, [](const CKvxRadio& r) { return r.GetCheck(); });
}
bool CKVXContainer::Radio_SetWindowText(int id, const std::string& text) {
  return Set<CKvxRadio>(*this, id, [&](CKvxRadio& r) { r.SetWindowText(text); });
}
bool CKVXContainer::Radio_SetTransparent(int id, bool transparent) {
  return Set<CKvxRadio>(*this, id, [&](CKvxRadio& r) { r.SetTransparent(transparent); });
}
bool CKVXContainer::Radio_SetTextColor(int id, COLORREF color) {
  return Set<CKvxRadio>(*this, id, [&](CKvxRadio& r) { r.SetTextColor(color); });
}
bool CKVXContainer::Radio_SetBkColor(int id, COLORREF color) {
  return Set<CKvxRadio>(*this, id, [&](CKvxRadio& r) { r.SetBkColor(color); });
}
bool CKVXContainer::Button_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kButton), text);
}
bool CKVXContainer::Button_SetWindowText(int id, const std::string& text) {
  return Set<CKvxButton>(*this, id, [&](CKvxButton& b) { b.SetWindowText(text); });
}
bool CKVXContainer::Button_SetTextColor(int id, COLORREF color) {
  return Set<CKvxButton>(*this, id, [&](CKvxButton& b) { b.SetTextColor(color); });
}
bool CKVXContainer::Button_SetBkColor(int id, COLORREF color) {
  return Set<CKvxButton>(*this, id, [&](CKvxButton& b) { b.SetBkColor(color); });
}
bool CKVXContainer::Button_Click(int id) {
  return Set<CKvxButton>(*this, id, [](CKvxButton& b) { return b.Click(); });
}

// --- Spin ---

bool CKVXContainer::Spin_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kSpin), "");
}
int CKVXContainer::Spin_GetValue(int id) const {
  return Ask<CKvxSpin>(*this, id, 0, [](const CKvxSpin& s) { return s.GetValue(); });
}
bool CKVXContainer::Spin_SetValue(int id, int value, bool notify) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { s.SetValue(value, notify); });
}
void CKVXContainer::Spin_GetRange(int id, int& min, int& max) const {
  if (const CKvxSpin* spin = GetWidget<CKvxSpin>(id)) std::tie(min, max) = spin->GetRange();
}
bool CKVXContainer::Spin_SetRange(int id, int min, int max) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { return s.SetRange(min, max); });
}
bool CKVXContainer::Spin_GetReadOnly(int id) const {
  return Ask<CKvxSpin>(*this, id, false, [](const CKvxSpin& s) { return s.GetReadOnly(); });
}
bool CKVXContainer::Spin_SetReadOnly(int id, bool read_only) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { s.SetReadOnly(read_only); });
}
bool CKVXContainer::Spin_ShowPopUp(int id, bool show) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { s.ShowPopUp(show); });
}
bool CKVXContainer::Spin_ShowSpin(int id, bool show) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { s.ShowSpin(show); });
}
bool CKVXContainer::Spin_ShowMeter(int id, bool show) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { s.ShowMeter(show); });
}
bool CKVXContainer::Spin_NotifyLiveupdate(int id, bool live) {
  return Set<CKvxSpin>(*this, id, [&](CKvxSpin& s) { s.NotifyLiveUpdate(live); });
}

// --- Date picker ---

bool CKVXContainer::DateTime_AddWnd(int x, int y, int cx, int cy, int& id, int format, int show_none) {
  id = 0;
  if (format < 0 || format > 2) return false;
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kDateTime), "")) return false;
  auto* picker = GetWidget<CKvxDateTimePicker>(id);
  picker->SetShowFormat(format);
  picker->SetShowNone(show_none != 0);
  return true;
}
void CKVXContainer::DateTime_GetDateTime(int id, std::string& date, std::string& time) const {
  if (const auto* picker = GetWidget<CKvxDateTimePicker>(id)) std::tie(date, time) = picker->GetDateTime();
}
bool CKVXContainer::DateTime_SetDateTime(int id, const std::string& date, const std::string& time) {
  return Set<CKvxDateTimePicker>(*this, id, [&](CKvxDateTimePicker& p) { return p.SetDateTime(date, time); });
}
bool CKVXContainer::DateTime_SetRange32(int id, const std::string& min_date, const std::string& min_time,
                                        const std::string& max_date, const std::string& max_time) {
  return Set<CKvxDateTimePicker>(*this, id,
                                 [&](CKvxDateTimePicker& p) { return p.SetRange(min_date, min_time, max_date, max_time); });
}
void CKVXContainer::DateTime_GetRange32(int id, std::string& min_date, std::string& min_time, std::string& max_date,
                                        std::string& max_time) const {
  if (const auto* picker = GetWidget<CKvxDateTimePicker>(id)) {
    std::tie(min_date, min_time, max_date, max_time) = picker->GetRange();
  }
}

// --- Pagers: the plain (kind 25) and the extended one (kind 26) ---

namespace {

const CKvxPager* PagerOf(const CKVXContainer& c, int id, WidgetKind kind) {
  const orbe::KvxWidget* widget = c.GetWnd(id);
  return widget != nullptr && widget->Kind() == kind ? static_cast<const CKvxPager*>(widget) : nullptr;
}

template <typename Fn>
bool OnPager(const CKVXContainer& c, int id, WidgetKind kind, Fn fn) {
  auto* pager = const_cast<CKvxPager*>(PagerOf(c, id, kind));
  if (pager == nullptr) return false;
  if constexpr (std::is_void_v<decltype(fn(*pager))>) {
    fn(*pager);
    return true;
  } else {
    return static_cast<bool>(fn(*pager));
  }
}

constexpr WidgetKind kPlain = WidgetKind::kPaging;
constexpr WidgetKind kExtended = WidgetKind::kXPaging;

}  // namespace

bool CKVXContainer::Paging_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(kPlain), "");
}
bool CKVXContainer::Paging_SetTotalPageNum(int id, int count) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { return p.SetTotalPageNum(count); });
}
bool CKVXContainer::Paging_SetCurPageNo(int id, int page) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { return p.SetCurPageNo(page); });
}
int CKVXContainer::Paging_GetCurPageNo(int id) const {
  const CKvxPager* pager = PagerOf(*this, id, kPlain);
  return pager != nullptr ? pager->GetCurPageNo() : 0;
}
bool CKVXContainer::Paging_SetBkColor(int id, COLORREF color) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { p.SetBkColor(color); });
}
bool CKVXContainer::Paging_SetTextColor(int id, COLORREF color) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { p.SetTextColor(color); });
}
bool CKVXContainer::Paging_SetHotTextColor(int id, COLORREF color) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { p.SetHotTextColor(color); });
}
bool CKVXContainer::Paging_EnableBoldHotText(int id, bool bold) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { p.EnableBoldHotText(bold); });
}
bool CKVXContainer::Paging_EnableShowHandCursor(int id, bool hand) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { p.EnableShowHandCursor(hand); });
}
bool CKVXContainer::Paging_SetMaxPagenumber(int id, int count) {
  return OnPager(*this, id, kPlain, [&](CKvxPager& p) { return p.SetMaxPageNumber(count); });
}
bool CKVXContainer::XPaging_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(kExtended), "");
}
bool CKVXContainer::XPaging_SetTotalPageNum(int id, int count) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { return p.SetTotalPageNum(count); });
}
bool CKVXContainer::XPaging_SetCurPageNo(int id, int page) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { return p.SetCurPageNo(page); });
}
int CKVXContainer::XPaging_GetCurPageNo(int id) const {
  const CKvxPager* pager = PagerOf(*this, id, kExtended);
  return pager != nullptr ? pager->GetCurPageNo() : 0;
}
bool CKVXContainer::XPaging_SetTextFont(int id, int size, const std::string& face) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { p.SetFont(FontOf(size, face)); });
}
bool CKVXContainer::XPaging_SetBkColor(int id, COLORREF color) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { p.SetBkColor(color); });
}
bool CKVXContainer::XPaging_SetTotalPageTextColor(int id, COLORREF color) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { p.SetTotalPageTextColor(color); });
}
bool CKVXContainer::XPaging_SetItemBorderColor(int id, COLORREF normal, COLORREF hot, COLORREF current) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) {
    p.SetItemBorderColor(PageItemState::kNormal, normal);
    p.SetItemBorderColor(PageItemState::kHot, hot);
    p.SetItemBorderColor(PageItemState::kCurrent, current);
  });
}
bool CKVXContainer::XPaging_SetItemBkColor(int id, COLORREF normal, COLORREF hot, COLORREF current) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) {
    p.SetItemBkColor(PageItemState::kNormal, normal);
    p.SetItemBkColor(PageItemState::kHot, hot);
    p.SetItemBkColor(PageItemState::kCurrent, current);
  });
}
bool CKVXContainer::XPaging_SetItemTextColor(int id, COLORREF normal, COLORREF hot, COLORREF current) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) {
    p.SetItemTextColor(PageItemState::kNormal, normal);
    p.SetItemTextColor(PageItemState::kHot, hot);
    p.SetItemTextColor(PageItemState::kCurrent, current);
  });
}
void CKVXContainer::XPaging_GetReqSize(int id, int& cx, int& cy) const {
  if (const CKvxPager* pager = PagerOf(*this, id, kExtended)) {
    const SIZE size = pager->GetReqSize();
    cx = size.cx;
    cy = size.cy;
  }
}
bool CKVXContainer::XPaging_SetMaxPageCount(int id, int count) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { return p.SetMaxPageNumber(count); });
}
bool CKVXContainer::XPaging_ClearPageInputInfo(int id) {
  return OnPager(*this, id, kExtended, [](CKvxPager& p) { p.ClearPageInputInfo(); });
}
bool CKVXContainer::XPaging_InvalidateWnd(int id, bool erase) {
  return OnPager(*this, id, kExtended, [&](CKvxPager& p) { p.Invalidate(erase ? TRUE : FALSE); });
}

// --- Month calendar ---

bool CKVXContainer::MonthCal_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kMonthCal), "");
}
bool CKVXContainer::MonthCal_SetColor32(int id, int which, COLORREF color) {
  return Set<CKvxMonthCalendar>(*this, id, [&](CKvxMonthCalendar& m) { return m.SetColor(which, color); });
}
bool CKVXContainer::MonthCal_BOLDDAY(int id, int year, int month, int day, bool bold) {
  return Set<CKvxMonthCalendar>(*this, id, [&](CKvxMonthCalendar& m) { return m.SetDayBold(year, month, day, bold); });
}
bool CKVXContainer::MonthCal_SelToday(int id) {
  return Set<CKvxMonthCalendar>(*this, id, [](CKvxMonthCalendar& m) { return m.SelectToday(); });
}
bool CKVXContainer::MonthCal_SetCurSel32(int id, const std::string& date) {
  return Set<CKvxMonthCalendar>(*this, id, [&](CKvxMonthCalendar& m) { return m.SetCurSel(date); });
}
std::string CKVXContainer::MonthCal_GetCurSel32(int id) const {
  return Ask<CKvxMonthCalendar>(*this, id, std::string(), [](const CKvxMonthCalendar& m) { return m.GetCurSel(); });
}
bool CKVXContainer::MonthCal_SetRange32(int id, const std::string& min_date, const std::string& max_date) {
  return Set<CKvxMonthCalendar>(*this, id, [&](CKvxMonthCalendar& m) { return m.SetRange(min_date, max_date); });
}
void CKVXContainer::MonthCal_GetRange32(int id, std::string& min_date, std::string& max_date) const {
  if (const auto* calendar = GetWidget<CKvxMonthCalendar>(id)) std::tie(min_date, max_date) = calendar->GetRange();
}
void CKVXContainer::MonthCal_GetCurShowRange(int id, int flag, std::string& first, std::string& last) const {
  if (const auto* calendar = GetWidget<CKvxMonthCalendar>(id)) {
    std::tie(first, last) = calendar->GetCurShowRange(flag);
  }
}

// --- Picture, up-down stream, picture button ---

bool CKVXContainer::PictureEx_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPicture), "");
}
bool CKVXContainer::PictureEx_Load(int id, const std::string& path) {
  return Set<CKvxPicture>(*this, id, [&](CKvxPicture& p) { return p.Load(path); });
}
void CKVXContainer::PictureEx_GetReqSize(int id, int& cx, int& cy) const {
  if (const CKvxPicture* picture = GetWidget<CKvxPicture>(id)) {
    const SIZE size = picture->GetReqSize();
    cx = size.cx;
    cy = size.cy;
  }
}
bool CKVXContainer::PictureEx_SetBkColor(int id, COLORREF color) {
  return Set<CKvxPicture>(*this, id, [&](CKvxPicture& p) { p.SetBkColor(color); });
}
bool CKVXContainer::PictureEx_UnLoad(int id) {
  return Set<CKvxPicture>(*this, id, [](CKvxPicture& p) { p.UnLoad(); });
}
bool CKVXContainer::UpDownStream_AddWnd(int x, int y, int cx, int cy, int& id) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kUpDownStream), "");
}
void CKVXContainer::UpDownStream_GetReqSize(int id, int& cx, int& cy) const {
  if (const CKvxUpDownStream* stream = GetWidget<CKvxUpDownStream>(id)) {
    const SIZE size = stream->GetReqSize();
    cx = size.cx;
    cy = size.cy;
  }
}
bool CKVXContainer::UpDownStream_SetStreamItemNum(int id, int up, int down) {
  return Set<CKvxUpDownStream>(*this, id, [&](CKvxUpDownStream& s) { return s.SetStreamItemNum(up, down); });
}
bool CKVXContainer::UpDownStream_SetCurSelItem(int id, const std::string& text) {
  return Set<CKvxUpDownStream>(*this, id, [&](CKvxUpDownStream& s) { s.SetCurSelItem(text); });
}
bool CKVXContainer::UpDownStream_AddUpStreamItem(int id, const std::string& text, COLORREF color) {
  return Set<CKvxUpDownStream>(*this, id, [&](CKvxUpDownStream& s) { s.AddUpStreamItem(text, color); });
}
bool CKVXContainer::UpDownStream_AddDownStreamItem(int id, const std::string& text, COLORREF color) {
  return Set<CKvxUpDownStream>(*this, id, [&](CKvxUpDownStream& s) { s.AddDownStreamItem(text, color); });
}
bool CKVXContainer::UpDownStream_RemoveAllItemInfo(int id) {
  return Set<CKvxUpDownStream>(*this, id, [](CKvxUpDownStream& s) { s.RemoveAllItemInfo(); });
}
bool CKVXContainer::UpDownStream_Redraw(int id, bool redraw) {
  return Set<CKvxUpDownStream>(*this, id, [&](CKvxUpDownStream& s) { s.SetRedraw(redraw); });
}
bool CKVXContainer::PictureBtn_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& image_path) {
  return AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPictureButton), image_path);
}
bool CKVXContainer::PictureBtn_SetStyle(int id, int style) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) { b.SetStyle(style); });
}
bool CKVXContainer::PictureBtn_IsTransparent(int id, bool transparent) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) { b.SetTransparent(transparent); });
}
bool CKVXContainer::PictureBtn_SetBkColor(int id, COLORREF normal, COLORREF hot) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) { b.SetColors(normal, hot); });
}
bool CKVXContainer::PictureBtn_SetTextColor(int id, COLORREF normal, COLORREF hot) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) { b.SetTextColors(normal, hot); });
}
bool CKVXContainer::PictureBtn_SetUnderline(int id, bool underline) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) { b.SetUnderline(underline); });
}
bool CKVXContainer::PictureBtn_SetBoldFont(int id, bool bold) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) { b.SetBoldFont(bold); });
}
bool CKVXContainer::PictureBtn_SetToolTip(int id, const std::string& tip, int delay, int width) {
  return Set<CKvxPictureButton>(*this, id, [&](CKvxPictureButton& b) {
    if (delay < 0 || width < 0) return false;
    b.SetToolTip(tip, delay, width);
    return true;
  });
}

// --- Combo tree, list tree ---

bool CKVXContainer::ComboTree_AddWnd(int x, int y, int cx, int cy, int& id, bool check_boxes) {
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kComboTree), "")) return false;
  GetWidget<CKvxComboTree>(id)->SetCheckBoxes(check_boxes);
  return true;
}
bool CKVXContainer::ComboTree_AddString(int id, const std::string& path) {
  return Set<CKvxComboTree>(*this, id, [&](CKvxComboTree& t) { return t.AddString(path); });
}
std::string CKVXContainer::ComboTree_GetCurrentTreePath(int id) const {
  return Ask<CKvxComboTree>(*this, id, std::string(), [](const CKvxComboTree& t) { return t.GetCurrentTreePath(); });
}
void CKVXContainer::ComboTree_ResetContent(int id) {
  Set<CKvxComboTree>(*this, id, [](CKvxComboTree& t) { t.ResetContent(); });
}
bool CKVXContainer::ComboTree_SelectString(int id, const std::string& path) {
  return Set<CKvxComboTree>(*this, id, [&](CKvxComboTree& t) { return t.SelectString(path); });
}
bool CKVXContainer::ComboTree_DeleteString(int id, const std::string& path) {
  return Set<CKvxComboTree>(*this, id, [&](CKvxComboTree& t) { return t.DeleteString(path); });
}
bool CKVXContainer::ComboTree_SetCheck(int id, const std::string& path, bool checked) {
  return Set<CKvxComboTree>(*this, id, [&](CKvxComboTree& t) { return t.SetCheck(path, checked); });
}
int CKVXContainer::ComboTree_IsItemChecked(int id, const std::string& path) const {
  return Ask<CKvxComboTree>(*this, id, -1, [&](const CKvxComboTree& t) { return t.IsItemChecked(path); });
}
void CKVXContainer::ComboTree_DroppedSize(int id, int cx, int cy) {
  if (cx < 0 || cy < 0) return;
  Set<CKvxComboTree>(*this, id, [&](CKvxComboTree& t) { t.SetDroppedSize(cx, cy); });
}
void CKVXContainer::ListTree_SetBkColor(int id, COLORREF bk, COLORREF selected, COLORREF hover) {
  if (TListTree* tree = GetListTree(id)) tree->SetBkColors(bk, selected, hover);
}
void CKVXContainer::ListTree_SetClrAttr(int id, COLORREF text, COLORREF selected, COLORREF root, COLORREF line) {
  if (TListTree* tree = GetListTree(id)) tree->SetClrAttr(text, selected, root, line);
}
int CKVXContainer::ListTree_NewRootItem(int id, const std::string& text, int data) {
  TListTree* tree = GetListTree(id);
  return tree != nullptr ? static_cast<int>(tree->NewRootItem(text, data)) : 0;
}
int CKVXContainer::ListTree_AddItem(int id, const std::string& text, int parent, int data) {
  TListTree* tree = GetListTree(id);
  return tree != nullptr && parent > 0 ? static_cast<int>(tree->AddItem(text, static_cast<HTREEITEM>(parent), data))
                                       : 0;
}
void CKVXContainer::ListTree_ChangeItemName(int id, int item, const std::string& text) {
  if (TListTree* tree = GetListTree(id)) tree->ChangeItemName(static_cast<HTREEITEM>(item), text);
}
void CKVXContainer::ListTree_SetSelectItem(int id, int item) {
  if (TListTree* tree = GetListTree(id)) tree->SetSelectItem(static_cast<HTREEITEM>(item));
}
int CKVXContainer::ListTree_GetSelectItem(int id) const {
  const TListTree* tree = GetListTree(id);
  return tree != nullptr ? static_cast<int>(tree->GetSelectItem()) : 0;
}
void CKVXContainer::ListTree_DeleteItem(int id, int item) {
  if (TListTree* tree = GetListTree(id); tree != nullptr && item > 0) tree->DeleteItem(static_cast<HTREEITEM>(item));
}
void CKVXContainer::ListTree_SetbOpenItem(int id, int item, bool open) {
  if (TListTree* tree = GetListTree(id)) tree->SetOpenItem(static_cast<HTREEITEM>(item), open);
}

// --- Trade quote, plug-in ---

bool CKVXContainer::Trade_Quote_AddWnd(int x, int y, int cx, int cy, int& id, int levels) {
  id = 0;
  if (levels < 1 || levels > 10) return false;
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kTradeQuote), "")) return false;
  GetWidget<CKvxTradeQuote>(id)->SetLevelCount(levels);
  return true;
}
void CKVXContainer::Trade_Quote_GetReqSize(int id, int& cx, int& cy) const {
  if (const CKvxTradeQuote* quote = GetWidget<CKvxTradeQuote>(id)) {
    const SIZE size = quote->GetReqSize();
    cx = size.cx;
    cy = size.cy;
  }
}
bool CKVXContainer::AddPluginWnd(int x, int y, int cx, int cy, int& id, int plugin_id, int option) {
  if (!AddWnd(x, y, cx, cy, id, KindNumber(WidgetKind::kPlugin), "")) return false;
  GetWidget<CKvxPluginWnd>(id)->SetPlugin(plugin_id, option);
  return true;
}
bool CKVXContainer::Plugin_SetAttrribute(int id, const std::string& name, const std::string& value) {
  return Set<CKvxPluginWnd>(*this, id, [&](CKvxPluginWnd& p) { return p.SetAttribute(name, value); });
}
std::string CKVXContainer::Plugin_GetAttrribute(int id, const std::string& name) const {
  return Ask<CKvxPluginWnd>(*this, id, std::string(), [&](const CKvxPluginWnd& p) { return p.GetAttribute(name); });
}

// --- Events and the page ---

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

namespace {

const char* CursorCss(int id) {
  switch (id) {
    case 32513:
      return "text";
    case 32514:
      return "wait";
    case 32515:
      return "crosshair";
    case 32644:
      return "ew-resize";
    case 32645:
      return "ns-resize";
    case 32649:
      return "pointer";
    default:
      return "default";
  }
}

}  // namespace

void CKVXContainer::RenderHtml(orbe::HtmlWriter& out) const {
  KvxWidget::RenderHtml(out);
  RECT client;
  GetClientRect(&client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  // What the container keeps for a reader of the page: its scroll position
  // and range, its cursor and its tab order.
  std::string tabs;
  for (const int id : tab_order_) tabs += (tabs.empty() ? "" : ",") + std::to_string(id);
  out.Raw(orbe::Format("<div class=\"cstate\" data-scroll=\"%d,%d\" data-range=\"%d,%d\" data-cursor=\"%d\"",
                       static_cast<int>(scroll_.x), static_cast<int>(scroll_.y),
                       static_cast<int>(scroll_range_.cx), static_cast<int>(scroll_range_.cy), cursor_resource_));
  out.Raw(" data-tabs=\"").Raw(tabs).Raw("\" style=\"position:absolute;inset:0;cursor:");
  out.Raw(CursorCss(cursor_resource_)).Raw("\"></div>");
  drawing_.RenderHtml(out, width, height);
  if (scroll_range_.cy > height && height > 0) {
    // The container's own scroll bar: the thumb's place and share of the content.
    const double share = static_cast<double>(height) / static_cast<double>(scroll_range_.cy);
    out.Raw(orbe::Format("<div class=\"cscroll\" style=\"position:absolute;right:0;top:%dpx;width:6px;"
                         "height:%dpx;background:#a0a0a0\"></div>",
                         static_cast<int>(scroll_.y * share), static_cast<int>(height * share)));
  }
  menu_.RenderHtml(out);
}
