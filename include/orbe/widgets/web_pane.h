// A web pane. It keeps the address it was sent to, byte for byte, and shows it
// as a link: a snapshot page must not load anything by itself.
#ifndef ORBE_WIDGETS_WEB_PANE_H_
#define ORBE_WIDGETS_WEB_PANE_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

class CWebBrowser2 : public orbe::EventWidget {
 public:
  CWebBrowser2() : EventWidget(orbe::WidgetKind::kWeb) {}

  // Empty addresses are refused. The history keeps every address navigated to.
  bool Navigate(const std::string& url);
  const std::string& GetLocationURL() const { return url_; }
  const std::vector<std::string>& GetHistory() const { return history_; }
  void SetSilent(bool silent) { silent_ = silent; }
  bool GetSilent() const { return silent_; }
  // Pop-up windows opened by a page stay inside the pane.
  void EnablePopNoIEWindow(bool enable) { pop_inside_ = enable; }
  bool IsPopNoIEWindow() const { return pop_inside_; }

  // What the page does for its user. Following a link navigates there and
  // raises "OnWebNavigate" (address). A page that opens a new window raises
  // "OnWebNewWindow2Explorer"; the address then opens in the pane itself
  // when pop-ups stay inside, else with the desktop's browser (ShellExecuteA).
  // A page that closes its window raises "OnWebWindowClosing" (1 for a
  // child window of the page, 0 for the pane's own). Refused (false, nothing
  // raised) while disabled, and for an empty address.
  bool FollowLink(const std::string& url);
  bool OpenNewWindow(const std::string& url);
  bool ClosePage(bool child_window);

  // Only http, https and file addresses become links; anything else (a
  // script address, say) is shown as plain text.
  static bool IsLinkable(const std::string& url);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::string url_;
  std::vector<std::string> history_;
  bool silent_ = false;
  bool pop_inside_ = false;
};

#endif  // ORBE_WIDGETS_WEB_PANE_H_
