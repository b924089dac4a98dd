// An edit box with rich text: runs of text, each with its own colour and
// font, some of them links.
#ifndef ORBE_WIDGETS_COLOR_EDIT_H_
#define ORBE_WIDGETS_COLOR_EDIT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "orbe/widgets/kvx_messages.h"
#include "orbe/widgets/widget.h"

constexpr UINT EN_CHANGE = 0x0300;
constexpr UINT EN_SETFOCUS = 0x0100;

struct EditRun {
  std::string text;  // GBK
  COLORREF color = CLR_DEFAULT;
  orbe::FontSpec font;
  std::string link;  // not empty for a link
};

class CColorEdit : public orbe::KvxWidget {
 public:
  CColorEdit() : KvxWidget(orbe::WidgetKind::kEdit) {}

  void AddText(const std::string& text, COLORREF color = CLR_DEFAULT, const orbe::FontSpec& font = {});
  void AddLink(const std::string& text, const std::string& link, COLORREF color = CLR_DEFAULT,
               const orbe::FontSpec& font = {});
  // Replaces every run by one.
  void SetText(const std::string& text, COLORREF color = CLR_DEFAULT, const orbe::FontSpec& font = {});
  void ClearText() { runs_.clear(); }
  std::string GetText() const;
  const std::vector<EditRun>& GetRuns() const { return runs_; }

  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  bool IsReadOnly() const { return read_only_; }
  void SetDigitalOnly(bool digits) { digits_only_ = digits; }
  bool IsDigitalOnly() const { return digits_only_; }
  void SetSingleLine(bool single) { single_line_ = single; }
  bool IsSingleLine() const { return single_line_; }
  void SetAutoWrap(bool wrap) { auto_wrap_ = wrap; }
  bool IsAutoWrap() const { return auto_wrap_; }
  void ShowBorder(bool show) { border_ = show; }
  bool HasBorder() const { return border_; }
  // Bytes; 0 = no limit.
  void SetLimitText(std::size_t limit) { limit_ = limit; }
  std::size_t GetLimitText() const { return limit_; }
  // Every typed change: WM_COMMAND EN_CHANGE, as an edit control tells a
  // window, then the registered "RICHEDIT_EN_CHANGE"; Enter: the registered
  // "RICHEDIT_VK_RETURN" (wParam the control id, lParam the edit's handle,
  // orbe/widgets/kvx_messages.h). Off by default.
  void EnableMessageNotify(CWnd* target, bool enable);
  // "RICHEDIT_EN_SETFOCUS" and "RICHEDIT_EN_KILLFOCUS" to the target.
  void EnableFocusMessageNotify(CWnd* target, bool enable);
  // Which user actions the owner wants to hear of: text changes and the
  // return key, the focus coming and going.
  struct Notifications {
    bool change = false;
    bool enter = false;
    bool set_focus = false;
    bool kill_focus = false;
  };
  Notifications& Notify() { return notify_; }
  const Notifications& Notify() const { return notify_; }

  // The frame and bars around the text.
  void ShowClientEdge(bool show) { client_edge_ = show; }
  bool HasClientEdge() const { return client_edge_; }
  void ShowToolbar(bool show) { toolbar_ = show; }
  bool HasToolbar() const { return toolbar_; }
  void ShowRuler(bool show) { ruler_ = show; }
  bool HasRuler() const { return ruler_; }
  // Paragraph layout: alignment 0 left, 1 centre, 2 right; margins and the
  // first-line indent in pixels; line spacing in percent of a line (100 single).
  struct Paragraph {
    int align = 0;
    int left_margin = 0;
    int right_margin = 0;
    int indent = 0;
    int line_spacing = 100;
  };
  Paragraph& GetParagraph() { return paragraph_; }
  const Paragraph& GetParagraph() const { return paragraph_; }
  // The byte position shown at the top (clamped to the text).
  void SetScrollTextPos(int pos);
  int GetScrollTextPos() const { return scroll_pos_; }
  // The width and height the text needs: its longest line (7 px a byte) and
  // its lines at the line spacing, plus the frame.
  SIZE GetReqSize() const;

  // A user typing at the end. Refused (false, nothing changes) when read-only
  // or disabled, or when digits-only and the text has another character; a
  // single-line box drops line breaks; the limit cuts the text at a whole
  // character. EN_CHANGE and "RICHEDIT_EN_CHANGE" when something was added.
  bool TypeText(const std::string& text);
  // A user pressing Enter (also WM_KEYDOWN VK_RETURN while it has the focus):
  // a multi-line box that takes typing gets a line break; then
  // "RICHEDIT_VK_RETURN". Refused when disabled.
  bool PressEnter();
  BOOL PreTranslateMessage(MSG* msg) override;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  void OnSetFocus(CWnd* old_focus) override;
  void OnKillFocus(CWnd* new_focus) override;

 private:
  void Tell(orbe::KvxMessage message, HWND target) const;

  std::vector<EditRun> runs_;
  bool read_only_ = false;
  bool digits_only_ = false;
  bool single_line_ = false;
  bool auto_wrap_ = true;
  bool border_ = true;
  std::size_t limit_ = 0;
  HWND notify_target_ = nullptr;
  HWND focus_target_ = nullptr;
  Notifications notify_;
  bool client_edge_ = false;
  bool toolbar_ = false;
  bool ruler_ = false;
  Paragraph paragraph_;
  int scroll_pos_ = 0;
};

#endif  // ORBE_WIDGETS_COLOR_EDIT_H_
