// A small quote panel of the trading side: the security, its last price and
// the bid and ask levels (price and volume).
#ifndef ORBE_WIDGETS_TRADE_QUOTE_H_
#define ORBE_WIDGETS_TRADE_QUOTE_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

struct QuoteLevel {
  double price = 0;     // 0: no order at this level
  long long volume = 0;
};

class CKvxTradeQuote : public orbe::EventWidget {
 public:
  CKvxTradeQuote() : EventWidget(orbe::WidgetKind::kTradeQuote) { SetLevelCount(5); }

  // 1..10 levels per side (refused otherwise); changing it clears the levels.
  bool SetLevelCount(int count);
  int GetLevelCount() const { return static_cast<int>(bids_.size()); }
  void SetSecurity(const std::string& code, const std::string& name);
  const std::string& GetCode() const { return code_; }
  const std::string& GetName() const { return name_; }
  // Prices must be finite and >= 0, volumes >= 0; level from 1 (the best).
  bool SetLevel(bool ask, int level, double price, long long volume);
  QuoteLevel GetLevel(bool ask, int level) const;
  bool SetLastPrice(double price, double previous_close);
  double GetLastPrice() const { return last_; }
  double GetPreviousClose() const { return previous_close_; }
  void ClearLevels();
  void SetDecimals(int decimals);
  int GetDecimals() const { return decimals_; }
  SIZE GetReqSize() const;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::string code_;
  std::string name_;
  std::vector<QuoteLevel> bids_;
  std::vector<QuoteLevel> asks_;
  double last_ = 0;
  double previous_close_ = 0;
  int decimals_ = 2;
};

#endif  // ORBE_WIDGETS_TRADE_QUOTE_H_
