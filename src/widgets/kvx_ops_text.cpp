// The container's operations on edits, titles, tab switches and web panes.
#include <algorithm>

#include "kvx_ops.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/title_bar.h"
#include "orbe/widgets/web_pane.h"

using orbe::WidgetKind;
using orbe::widgets::Ask;
using orbe::widgets::FontOf;
using orbe::widgets::Set;

// --- Edit ---

void CKVXContainer::Edit_GetReqSize(int id, int& cx, int& cy) const {
  if (const CColorEdit* edit = GetWidget<CColorEdit>(id)) {
    const SIZE size = edit->GetReqSize();
    cx = size.cx;
    cy = size.cy;
  }
}
bool CKVXContainer::Edit_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kEdit), text);
}
bool CKVXContainer::Edit_EnableMessageNotify(int id, bool change, bool enter) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    // Typed changes reach the container as EN_CHANGE and "RICHEDIT_EN_CHANGE",
    // Enter as "RICHEDIT_VK_RETURN"; each only when asked for.
    e.EnableMessageNotify(this, change || enter);
    e.Notify().change = change;
    e.Notify().enter = enter;
  });
}
bool CKVXContainer::Edit_EnableFocusMessageNotify(int id, bool set_focus, bool kill_focus) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    e.EnableFocusMessageNotify(this, set_focus || kill_focus);
    e.Notify().set_focus = set_focus;
    e.Notify().kill_focus = kill_focus;
  });
}
bool CKVXContainer::Edit_ShowBorder(int id, bool show) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.ShowBorder(show); });
}
bool CKVXContainer::Edit_SetAutoWrap(int id, bool wrap) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.SetAutoWrap(wrap); });
}
bool CKVXContainer::Edit_ShowClientEdge(int id, bool show) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.ShowClientEdge(show); });
}
bool CKVXContainer::Edit_SetSingleLine(int id, bool single) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.SetSingleLine(single); });
}
bool CKVXContainer::Edit_SetLimitText(int id, int limit) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    if (limit < 0) return false;
    e.SetLimitText(static_cast<std::size_t>(limit));
    return true;
  });
}
std::string CKVXContainer::Edit_GetWindowText(int id) const {
  return Ask<CColorEdit>(*this, id, std::string(), [](const CColorEdit& e) { return e.GetText(); });
}
bool CKVXContainer::Edit_ShowToolbar(int id, bool show) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.ShowToolbar(show); });
}
bool CKVXContainer::Edit_ShowRuler(int id, bool show) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.ShowRuler(show); });
}
bool CKVXContainer::Edit_SetReadOnly(int id, bool read_only) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.SetReadOnly(read_only); });
}
bool CKVXContainer::Edit_SetDigitalOnly(int id, bool digits_only) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.SetDigitalOnly(digits_only); });
}
bool CKVXContainer::Edit_EnableWindow(int id, bool enable) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.EnableWindow(enable ? TRUE : FALSE); });
}
bool CKVXContainer::Edit_DoExtraAttribute(int id, int attribute, int value1, int value2) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    CColorEdit::Paragraph& p = e.GetParagraph();
    switch (attribute) {
      case 0:
        if (value1 < 0 || value1 > 2) return false;
        p.align = value1;
        return true;
      case 1:
        if (value1 < 0 || value2 < 0) return false;
        p.left_margin = value1;
        p.right_margin = value2;
        return true;
      case 2:
        p.indent = value1;
        return true;
      default:
        return false;
    }
  });
}
bool CKVXContainer::Edit_AddText(int id, const std::string& text, COLORREF color, int size, const std::string& face,
                                 int weight, bool italic, bool underline) {
  return Set<CColorEdit>(*this, id,
                         [&](CColorEdit& e) { e.AddText(text, color, FontOf(size, face, weight, italic, underline)); });
}
bool CKVXContainer::Edit_AddLink(int id, const std::string& text, const std::string& link, COLORREF color, int size,
                                 const std::string& face, int weight, bool italic, bool underline) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    if (link.empty()) return false;
    e.AddLink(text, link, color, FontOf(size, face, weight, italic, underline));
    return true;
  });
}
bool CKVXContainer::Edit_SetWindowText(int id, const std::string& text, COLORREF color, int size,
                                       const std::string& face) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    e.SetText(text, color, FontOf(size, face));
    e.SetScrollTextPos(e.GetScrollTextPos());
  });
}
bool CKVXContainer::Edit_ClearText(int id) {
  return Set<CColorEdit>(*this, id, [](CColorEdit& e) {
    e.ClearText();
    e.SetScrollTextPos(0);
  });
}
bool CKVXContainer::Edit_SetLineSpacing(int id, int spacing) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    if (spacing < 50 || spacing > 400) return false;
    e.GetParagraph().line_spacing = spacing;
    return true;
  });
}
bool CKVXContainer::Edit_SetBkColor(int id, COLORREF color) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) { e.SetBkColor(color); });
}
bool CKVXContainer::Edit_SetVScrollToTextPos(int id, int pos) {
  return Set<CColorEdit>(*this, id, [&](CColorEdit& e) {
    if (pos < 0) return false;
    e.SetScrollTextPos(pos);
    return true;
  });
}

// --- Title ---

bool CKVXContainer::Title_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kTitle), text);
}
void CKVXContainer::Title_IsAppendNavigate(int id, bool append, int order) {
  if (Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) { t.SetAppendNavigate(append, order < 0 ? -1 : order); })) {
    RefreshNavigate();
  }
}
bool CKVXContainer::Title_HideGoBack(int id, bool hide) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) { t.HideGoBack(hide); });
}
bool CKVXContainer::Title_SetBkColor(int id, COLORREF color) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) { t.SetBkColor(color); });
}
bool CKVXContainer::Title_SetTextColor(int id, COLORREF color, COLORREF hot) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) {
    t.SetTextColor(color);
    t.SetHotTextColor(hot);
  });
}
bool CKVXContainer::Title_SetTipText(int id, const std::string& tip) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) { t.SetTipText(tip); });
}
bool CKVXContainer::Title_SetGoBackColor(int id, COLORREF color, COLORREF hot) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) { t.SetGoBackColors(color, hot); });
}
bool CKVXContainer::Title_SetFont(int id, int size, const std::string& face, int weight) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) { t.SetFont(FontOf(size, face, weight)); });
}
bool CKVXContainer::Title_SetGradient(int id, COLORREF from, COLORREF to, int type) {
  return Set<CKvxTitle>(*this, id, [&](CKvxTitle& t) {
    if (type < 0 || type > 1) return false;
    t.SetGradient(from, to, type);
    return true;
  });
}

// --- Switch ---

bool CKVXContainer::Switch_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kSwitch), text);
}
bool CKVXContainer::Switch_SetStyle(int id, int style) {
  return Set<CSwitchEx>(*this, id, [&](CSwitchEx& s) {
    if (style != CSwitchEx::kHorizontal && style != CSwitchEx::kVertical) return false;
    s.SetStyle(style);
    return true;
  });
}
bool CKVXContainer::Switch_SetFontColorSchema(int id, int size, int weight, COLORREF text, COLORREF bk,
                                              COLORREF current_text, COLORREF current_bk, COLORREF hover_text,
                                              COLORREF hover_bk, COLORREF border, COLORREF background,
                                              const std::string& face) {
  return Set<CSwitchEx>(*this, id, [&](CSwitchEx& s) {
    s.SetFontColorSchema(
        {size, weight, text, bk, current_text, current_bk, hover_text, hover_bk, border, background, face});
  });
}
bool CKVXContainer::Switch_SetSpecialTextColor(int id, int index, COLORREF color) {
  return Set<CSwitchEx>(*this, id, [&](CSwitchEx& s) { return s.SetSpecialTextColor(index, color); });
}
int CKVXContainer::Switch_InsertLabel(int id, int index, const std::string& text, const std::string& tip) {
  CSwitchEx* tabs = GetWidget<CSwitchEx>(id);
  return tabs != nullptr ? tabs->InsertSwitchLabel(index, text, tip) : -1;
}
bool CKVXContainer::Switch_ModifyLabel(int id, int index, const std::string& text, const std::string& tip) {
  return Set<CSwitchEx>(*this, id, [&](CSwitchEx& s) { return s.ModifySwitchLabel(index, text, tip); });
}
bool CKVXContainer::Switch_EnableMsg(int id, bool enable) {
  return Set<CSwitchEx>(*this, id, [&](CSwitchEx& s) { s.EnableMsg(enable); });
}
bool CKVXContainer::Switch_ClearAllLabel(int id) {
  return Set<CSwitchEx>(*this, id, [](CSwitchEx& s) { s.ClearAllLabel(); });
}
int CKVXContainer::Switch_GetTabNum(int id) const {
  return Ask<CSwitchEx>(*this, id, 0, [](const CSwitchEx& s) { return s.GetTabNum(); });
}
bool CKVXContainer::Switch_SetCurLabel(int id, int index) {
  return Set<CSwitchEx>(*this, id, [&](CSwitchEx& s) { return s.SetCurLabel(index); });
}
int CKVXContainer::Switch_GetCurLabel(int id) const {
  return Ask<CSwitchEx>(*this, id, -1, [](const CSwitchEx& s) { return s.GetCurLabel(); });
}

// --- Web ---

bool CKVXContainer::Web_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kWeb), text);
}
bool CKVXContainer::Web_Navigate(int id, const std::string& url) {
  return Set<CWebBrowser2>(*this, id, [&](CWebBrowser2& w) { return w.Navigate(url); });
}
bool CKVXContainer::Web_EnablePopNoIEWindow(int id, bool enable) {
  return Set<CWebBrowser2>(*this, id, [&](CWebBrowser2& w) { w.EnablePopNoIEWindow(enable); });
}
bool CKVXContainer::Web_GetSilent(int id) const {
  return Ask<CWebBrowser2>(*this, id, false, [](const CWebBrowser2& w) { return w.GetSilent(); });
}
bool CKVXContainer::Web_SetSilent(int id, bool silent) {
  return Set<CWebBrowser2>(*this, id, [&](CWebBrowser2& w) { w.SetSilent(silent); });
}
