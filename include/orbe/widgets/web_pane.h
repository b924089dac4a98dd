// A web pane. It keeps the address it was sent to, byte for byte, and shows it
// as a link: a snapshot page must not load anything by itself.
#ifndef ORBE_WIDGETS_WEB_PANE_H_
#define ORBE_WIDGETS_WEB_PANE_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

class CWebBrowser2 : public orbe::KvxWidget {
 public:
  CWebBrowser2() : KvxWidget(orbe::WidgetKind::kWeb) {}

  // Empty addresses are refused. The history keeps every address navigated to.
  bool Navigate(const std::string& url);
  const std::string& GetLocationURL() const { return url_; }
  const std::vector<std::string>& GetHistory() const { return history_; }
  void SetSilent(bool silent) { silent_ = silent; }
  bool GetSilent() const { return silent_; }
  // Pop-up windows opened by a page stay inside the pane.
  void EnablePopNoIEWindow(bool enable) { pop_inside_ = enable; }
  bool IsPopNoIEWindow() const { return pop_inside_; }

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
