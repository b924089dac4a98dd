#include "orbe/widgets/trade_quote.h"

#include <algorithm>
#include <cmath>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

namespace {
constexpr int kRowHeight = 18;
constexpr int kPanelWidth = 180;
constexpr COLORREF kUp = 0x0000FF;
constexpr COLORREF kDown = 0x008000;
}  // namespace

bool CKvxTradeQuote::SetLevelCount(int count) {
  if (count < 1 || count > 10) return false;
  bids_.assign(static_cast<std::size_t>(count), QuoteLevel{});
  asks_.assign(static_cast<std::size_t>(count), QuoteLevel{});
  return true;
}

void CKvxTradeQuote::SetSecurity(const std::string& code, const std::string& name) {
  code_ = code;
  name_ = name;
}

bool CKvxTradeQuote::SetLevel(bool ask, int level, double price, long long volume) {
  if (level < 1 || level > GetLevelCount() || !std::isfinite(price) || price < 0 || volume < 0) return false;
  (ask ? asks_ : bids_)[static_cast<std::size_t>(level - 1)] = QuoteLevel{price, volume};
  return true;
}

QuoteLevel CKvxTradeQuote::GetLevel(bool ask, int level) const {
  if (level < 1 || level > GetLevelCount()) return {};
  return (ask ? asks_ : bids_)[static_cast<std::size_t>(level - 1)];
}

bool CKvxTradeQuote::SetLastPrice(double price, double previous_close) {
  if (!std::isfinite(price) || !std::isfinite(previous_close) || price < 0 || previous_close < 0)
    return false;
  last_ = price;
  previous_close_ = previous_close;
  return true;
}

void CKvxTradeQuote::ClearLevels() { SetLevelCount(GetLevelCount()); }

void CKvxTradeQuote::SetDecimals(int decimals) { decimals_ = std::clamp(decimals, 0, 6); }

SIZE CKvxTradeQuote::GetReqSize() const { return SIZE{kPanelWidth, (2 * GetLevelCount() + 2) * kRowHeight}; }

void CKvxTradeQuote::RenderHtml(orbe::HtmlWriter& out) const {
  const auto price_cell = [&](double price) {
    if (price <= 0) return out.Raw("<td>--</td>"), void();
    const COLORREF color = price > previous_close_ ? kUp : price < previous_close_ ? kDown : CLR_DEFAULT;
    out.Raw("<td class=\"p\"");
    if (previous_close_ > 0 && color != CLR_DEFAULT)
      out.Raw(" style=\"color:").Raw(orbe::CssColor(color)).Raw("\"");
    out.Raw(">").Raw(orbe::Format("%.*f", decimals_, price)).Raw("</td>");
  };
  const auto row = [&](const char* side, int level, const QuoteLevel& q) {
    out.Raw("<tr class=\"").Raw(side).Raw("\"><td>").Raw(side).Raw(std::to_string(level)).Raw("</td>");
    price_cell(q.price);
    out.Raw("<td>").Raw(q.volume > 0 ? std::to_string(q.volume) : "--").Raw("</td></tr>");
  };
  out.Raw("<table class=\"quote\"><tr><td colspan=\"2\">").Text(name_).Raw(" ").Text(code_).Raw("</td>");
  price_cell(last_);
  out.Raw("</tr>");
  for (int level = GetLevelCount(); level >= 1; --level) row("ask", level, GetLevel(true, level));
  for (int level = 1; level <= GetLevelCount(); ++level) row("bid", level, GetLevel(false, level));
  out.Raw("</table>");
}
