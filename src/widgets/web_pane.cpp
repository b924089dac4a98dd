#include "orbe/widgets/web_pane.h"

#include "orbe/platform/shell.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

bool CWebBrowser2::Navigate(const std::string& url) {
  if (url.empty()) return false;
  url_ = url;
  history_.push_back(url);
  return true;
}

bool CWebBrowser2::FollowLink(const std::string& url) {
  if (!IsWindowEnabled() || !Navigate(url)) return false;
  Raise("OnWebNavigate", {url});
  return true;
}

bool CWebBrowser2::OpenNewWindow(const std::string& url) {
  if (!IsWindowEnabled() || url.empty()) return false;
  Raise("OnWebNewWindow2Explorer");
  if (pop_inside_) {
    Navigate(url);
  } else {
    ShellExecuteA(GetSafeHwnd(), "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  return true;
}

bool CWebBrowser2::ClosePage(bool child_window) {
  if (!IsWindowEnabled()) return false;
  Raise("OnWebWindowClosing", {child_window ? 1 : 0});
  return true;
}

bool CWebBrowser2::IsLinkable(const std::string& url) {
  const std::string lower = orbe::AsciiLower(url.substr(0, 8));
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("file://", 0) == 0;
}

void CWebBrowser2::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"web\" style=\"height:100%;border:1px solid #a0a0a0;padding:4px\">");
  if (IsLinkable(url_)) {
    out.Raw("<a href=\"").Text(url_).Raw("\">").Text(url_).Raw("</a>");
  } else {
    out.Text(url_);
  }
  out.Raw("</div>");
}
