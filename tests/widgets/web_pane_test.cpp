#include "orbe/widgets/web_pane.h"

#include <gtest/gtest.h>

#include "orbe/widgets/html_writer.h"

namespace {

TEST(WebPane, KeepsTheAddressAndLinksOnlySafeSchemes) {
  CWebBrowser2 web;
  EXPECT_FALSE(web.Navigate(""));
  const std::string gbk_url = "http://host/f10?name=\xd6\xd0&a=1";
  ASSERT_TRUE(web.Navigate(gbk_url));
  EXPECT_EQ(web.GetLocationURL(), gbk_url);  // unchanged bytes
  web.Navigate("file:///tmp/a.html");
  EXPECT_EQ(web.GetHistory().size(), 2u);
  web.SetSilent(true);
  EXPECT_TRUE(web.GetSilent());

  orbe::HtmlWriter link;
  web.RenderHtml(link);
  EXPECT_NE(link.str().find("<a href=\"file:///tmp/a.html\">"), std::string::npos);

  web.Navigate("JavaScript:alert(\"x\")");
  EXPECT_FALSE(CWebBrowser2::IsLinkable(web.GetLocationURL()));
  EXPECT_TRUE(CWebBrowser2::IsLinkable("HTTPS://a"));
  orbe::HtmlWriter text;
  web.RenderHtml(text);
  EXPECT_EQ(text.str().find("href"), std::string::npos);
  EXPECT_NE(text.str().find("alert(&quot;x&quot;)"), std::string::npos);
}

}  // namespace
