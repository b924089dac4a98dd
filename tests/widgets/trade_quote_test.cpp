#include "orbe/widgets/trade_quote.h"

#include <gtest/gtest.h>

#include <cmath>

#include "orbe/widgets/html_writer.h"

namespace {

TEST(TradeQuote, KeepsLevelsAndColoursPricesAgainstThePreviousClose) {
  CKvxTradeQuote quote;
  EXPECT_EQ(quote.GetLevelCount(), 5);
  EXPECT_FALSE(quote.SetLevelCount(0));
  EXPECT_TRUE(quote.SetLevel(true, 1, 10.02, 300));
  EXPECT_TRUE(quote.SetLevel(false, 1, 9.98, 500));
  EXPECT_FALSE(quote.SetLevel(false, 6, 9.9, 1));
  EXPECT_FALSE(quote.SetLevel(false, 2, NAN, 1));
  EXPECT_FALSE(quote.SetLevel(false, 2, 9.9, -1));
  EXPECT_EQ(quote.GetLevel(true, 1).volume, 300);
  ASSERT_TRUE(quote.SetLastPrice(10.00, 10.00));
  quote.SetSecurity("600000", "\xc6\xd6\xb7\xa2");
  orbe::HtmlWriter out;
  quote.RenderHtml(out);
  const std::string html = out.str();
  EXPECT_NE(html.find("<td class=\"p\" style=\"color:#ff0000\">10.02</td>"), std::string::npos)
      << "above: red";
  EXPECT_NE(html.find("<td class=\"p\" style=\"color:#008000\">9.98</td>"), std::string::npos)
      << "below: green";
  EXPECT_LT(html.find("ask5"), html.find("ask1")) << "asks from the highest level down";
  EXPECT_LT(html.find("ask1"), html.find("bid1"));
  EXPECT_EQ(quote.GetReqSize().cy, 12 * 18);
  quote.ClearLevels();
  EXPECT_EQ(quote.GetLevel(true, 1).price, 0);
}

}  // namespace
