// Quarterly statements: year-to-date income and cash flow, balance sheets at
// the period end, and the indicators derived from them, so that every ratio
// in table 100000013 can be recomputed from the three statements.
#include <algorithm>
#include <cmath>
#include <map>

#include "sample/sample_calendar.h"
#include "sample/sample_generators.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

// A company's fixed habits: cost structure and balance sheet shape.
struct Profile {
  double gross_margin;
  double selling;
  double admin;
  double research;
  double finance;
  double tax_rate;
  double minority;
  double asset_turnover;
  double liability_ratio;
  double cash_ratio;
};

struct Period {
  int date;  // yyyymmdd quarter end
  int quarter;
};

struct Income {
  double revenue, cost, selling, admin, research, finance, operating, total, tax, net, parent;
};

struct Balance {
  double cash, receivable, inventory, current_assets, fixed_assets, assets, short_loans, current_liabilities,
      liabilities, capital, parent_equity, equity;
};

struct Flows {
  double operating_inflow, operating, investing, financing;
};

constexpr double kSeasonWeights[] = {0.23, 0.24, 0.25, 0.28};

Profile MakeProfile(Random& random, const Stock& stock) {
  const bool bank_like = IsFinancial(stock.leaf);
  Profile p{};
  p.gross_margin = std::clamp(GrossMarginOf(stock.leaf) + random.Normal(0, 0.06), 0.03, 0.92);
  p.selling = random.Uniform(0.02, 0.12);
  p.admin = random.Uniform(0.03, 0.09);
  p.research = bank_like ? 0.0 : random.Uniform(0.0, 0.08);
  p.finance = random.Uniform(-0.01, 0.03);
  p.tax_rate = random.Uniform(0.12, 0.25);
  p.minority = random.Chance(0.6) ? random.Uniform(0.0, 0.12) : 0.0;
  p.asset_turnover = bank_like ? random.Uniform(0.03, 0.06) : random.Uniform(0.3, 1.5);
  p.liability_ratio = bank_like ? random.Uniform(0.88, 0.93) : random.Uniform(0.15, 0.75);
  p.cash_ratio = random.Uniform(0.05, 0.25);
  return p;
}

// Income of one year-to-date period; costs vary around the company's habits.
Income MakeIncome(Random& random, const Profile& p, double annual_revenue, double season_share) {
  Income in{};
  in.revenue = Round2(annual_revenue * season_share);
  const double margin = std::clamp(p.gross_margin + random.Normal(0, 0.02), 0.01, 0.95);
  in.cost = Round2(in.revenue * (1.0 - margin));
  in.selling = Round2(in.revenue * p.selling * random.Uniform(0.9, 1.1));
  in.admin = Round2(in.revenue * p.admin * random.Uniform(0.9, 1.1));
  in.research = Round2(in.revenue * p.research * random.Uniform(0.9, 1.1));
  in.finance = Round2(in.revenue * p.finance * random.Uniform(0.8, 1.2));
  const double other = in.revenue * random.Normal(0.01, 0.015);
  in.operating = Round2(in.revenue - in.cost - in.selling - in.admin - in.research - in.finance + other);
  in.total = Round2(in.operating + in.revenue * random.Normal(0.002, 0.003));
  in.tax = in.total > 0 ? Round2(in.total * p.tax_rate) : 0.0;
  in.net = Round2(in.total - in.tax);
  in.parent = Round2(in.net * (1.0 - p.minority));
  return in;
}

Balance MakeBalance(Random& random, const Profile& p, const Stock& stock, double annual_revenue,
                    const Income& in) {
  Balance b{};
  b.assets = Round2(annual_revenue / p.asset_turnover * random.Uniform(0.97, 1.03));
  b.liabilities = Round2(b.assets * std::clamp(p.liability_ratio + random.Normal(0, 0.01), 0.05, 0.97));
  b.equity = Round2(b.assets - b.liabilities);
  b.parent_equity = Round2(b.equity * (1.0 - p.minority * 0.8));
  b.cash = Round2(b.assets * p.cash_ratio * random.Uniform(0.8, 1.2));
  const bool bank_like = IsFinancial(stock.leaf);
  b.receivable = bank_like ? 0.0 : Round2(annual_revenue * random.Uniform(0.08, 0.3));
  b.inventory =
      bank_like
          ? 0.0
          : Round2(annual_revenue * (in.revenue > 0 ? in.cost / in.revenue : 0.7) * random.Uniform(0.1, 0.4));
  b.current_assets = Round2(
      std::min(b.assets * 0.95, b.cash + b.receivable + b.inventory + b.assets * random.Uniform(0.03, 0.12)));
  b.fixed_assets = Round2((b.assets - b.current_assets) * random.Uniform(0.3, 0.8));
  b.current_liabilities = Round2(b.liabilities * random.Uniform(0.5, 0.9));
  b.short_loans = Round2(b.current_liabilities * random.Uniform(0.05, 0.35));
  b.capital = static_cast<double>(stock.total_shares);
  return b;
}

Flows MakeFlows(Random& random, const Income& in, const Balance& b, int quarter) {
  Flows f{};
  f.operating_inflow = Round2(in.revenue * random.Uniform(1.0, 1.15));
  f.operating = Round2(in.net * random.Uniform(0.4, 1.6));
  f.investing = Round2(-b.assets * random.Uniform(0.01, 0.06) * quarter / 4.0);
  f.financing = Round2(b.assets * random.Normal(0, 0.015) * quarter / 4.0);
  return f;
}

int AnnouncementDate(Random& random, const Period& period) {
  const int year = period.date / 10000;
  int first = 0;
  int days = 0;
  switch (period.quarter) {
    case 1:
      first = year * 10000 + 410;
      days = 20;
      break;
    case 2:
      first = year * 10000 + 810;
      days = 21;
      break;
    case 3:
      first = year * 10000 + 1015;
      days = 16;
      break;
    default:
      first = (year + 1) * 10000 + 315;
      days = 46;
      break;
  }
  return std::min(AddDays(first, static_cast<int>(random.Between(0, days))), kAsOfDate);
}

// Growth over the same period a year before, in percent; NULL without one.
void AppendGrowth(Row& row, double current, const std::map<int, double>& history, int previous_date) {
  const auto found = history.find(previous_date);
  if (found == history.end() || found->second == 0) {
    row.emplace_back();
  } else {
    row.emplace_back(Round2((current - found->second) / std::fabs(found->second) * 100.0));
  }
}

double Ratio(double part, double whole) {
  return whole == 0 ? 0.0 : Round4(part / whole * 100.0);
}

class StatementWriter {
 public:
  StatementWriter(const GeneratorContext& context, const Stock& stock) : context_(context), stock_(stock) {}

  void Write(const Period& period, int announced, const Income& in, const Balance& b, const Flows& f) {
    const std::int64_t updated = DateTime(announced, 200000);
    const double shares = static_cast<double>(stock_.total_shares);
    const double eps = Round4(in.parent / shares);
    Row balance =
        Head(period, announced,
             {b.cash, b.receivable, b.inventory, b.current_assets, b.fixed_assets, b.assets, b.short_loans,
              b.current_liabilities, b.liabilities, b.capital, b.parent_equity, b.equity});
    balance.emplace_back(updated);
    context_.store.Table(kBalanceSheetTable).Write(balance);
    Row income = Head(period, announced,
                      {in.revenue, in.cost, in.selling, in.admin, in.research, in.finance, in.operating,
                       in.total, in.tax, in.net, in.parent, eps, Round4(eps * 0.99)});
    income.emplace_back(updated);
    context_.store.Table(kIncomeStatementTable).Write(income);
    Row flows = Head(period, announced,
                     {f.operating_inflow, f.operating, f.investing, f.financing,
                      Round2(f.operating + f.investing + f.financing), b.cash});
    flows.emplace_back(updated);
    context_.store.Table(kCashFlowTable).Write(flows);
    Row indicators = Head(
        period, announced,
        {eps, Round4(b.parent_equity / shares), Round4(f.operating / shares),
         Ratio(in.parent, b.parent_equity), Ratio(in.net, b.assets), Ratio(in.revenue - in.cost, in.revenue),
         Ratio(in.net, in.revenue), Ratio(b.liabilities, b.assets)});
    const int previous = period.date - 10000;
    AppendGrowth(indicators, in.revenue, revenue_history_, previous);
    AppendGrowth(indicators, in.parent, profit_history_, previous);
    indicators.emplace_back(Round4(b.current_assets / b.current_liabilities));
    indicators.emplace_back(stock_.total_shares);
    indicators.emplace_back(updated);
    context_.store.Table(kFinancialIndicatorTable).Write(indicators);
    revenue_history_[period.date] = in.revenue;
    profit_history_[period.date] = in.parent;
  }

 private:
  Row Head(const Period& period, int announced, std::initializer_list<double> values) const {
    Row row = {stock_.inner_code, stock_.company_code, stock_.code, std::int64_t{announced},
               std::int64_t{period.date}};
    for (const double value : values) row.emplace_back(value);
    return row;
  }

  const GeneratorContext& context_;
  const Stock& stock_;
  std::map<int, double> revenue_history_;
  std::map<int, double> profit_history_;
};

void GenerateCompany(const GeneratorContext& context, Random& random, const Stock& stock) {
  const Profile profile = MakeProfile(random, stock);
  // Statements start three years before listing (the prospectus), or with the sample's first period.
  const int first = std::max(kFirstReportDate, (stock.listing_date / 10000 - 3) * 10000 + 1231);
  double annual_revenue = static_cast<double>(stock.total_shares) * stock.revenue_per_share;
  double season[4] = {};
  int year = 0;
  StatementWriter writer(context, stock);
  for (const int date : QuarterEnds(first, kLastReportDate)) {
    const Period period{date, date / 100 % 100 / 3};
    if (date / 10000 != year) {
      if (year != 0) annual_revenue *= 1.0 + std::clamp(random.Normal(0.09, 0.12), -0.5, 0.9);
      year = date / 10000;
      double cumulative = 0;
      for (int q = 0; q < 4; ++q) season[q] = (cumulative += kSeasonWeights[q] * random.Uniform(0.9, 1.1));
      for (double& share : season) share /= cumulative;
    }
    const Income income = MakeIncome(random, profile, annual_revenue, season[period.quarter - 1]);
    const Balance balance = MakeBalance(random, profile, stock, annual_revenue, income);
    writer.Write(period, AnnouncementDate(random, period), income, balance,
                 MakeFlows(random, income, balance, period.quarter));
  }
}

}  // namespace

void GenerateFinancials(const GeneratorContext& context, const std::vector<Stock>& stocks) {
  Random random = context.Stream("financials");
  for (const Stock& stock : stocks) {
    if (!context.store.status().ok()) return;
    GenerateCompany(context, random, stock);
  }
}

}  // namespace orbe::sample
