// Funds (classes 998, 004, 005): listed ETFs and LOFs and open-end funds,
// their managers, and daily net asset values over the quote window.
#include <algorithm>

#include "orbe/platform/text.h"
#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_generators.h"
#include "sample/sample_names.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

struct Word {
  const char* text;
  const char* initials;
};

// Where a fund's code comes from: listed funds by exchange family, open-end
// funds from the six-digit range shared with nothing on the exchanges' books.
struct CodeFamily {
  int next;
  int last;
  const char* market;
  bool listed;
};

enum Family { kShanghaiEtf, kShenzhenEtf, kShenzhenLof, kGoldEtf, kOpenEnd, kFamilyCount };

struct FundKind {
  const char* category;
  int full_count;
  std::vector<const char*> invest_types;
  std::vector<const char*> styles;
  Word suffix;
  double listed_share;  // of this kind, how many trade on an exchange
  double sigma;
  double beta;
  double fee;  // management fee, percent a year
};

// clang-format off
const FundKind kKinds[] = {
    {"998001", 120, {"004001", "004002"}, {"005001", "005002", "005004", "005005"}, {"股票", "GP"},
     0.1, 0.012, 0.9, 1.2},
    {"998002", 220, {"004003", "004005", "004006"}, {"005003", "005006", "005001"}, {"混合", "HH"},
     0.1, 0.009, 0.7, 1.2},
    {"998003", 150, {"004004"}, {"005007", "005008"}, {"债券", "ZQ"}, 0.0, 0.001, 0.02, 0.6},
    {"998004", 60, {"004004"}, {"005009"}, {"货币", "HB"}, 0.0, 0.0, 0.0, 0.25},
    {"998005", 150, {"004007"}, {"005003", "005006", "005002"}, {"指数", "ZS"}, 0.6, 0.013, 1.0, 0.5},
    {"998006", 40, {"004001"}, {"005001"}, {"QDII", "QDII"}, 0.0, 0.011, 0.3, 1.5},
    {"998007", 40, {"004006"}, {"005003"}, {"FOF", "FOF"}, 0.0, 0.005, 0.4, 0.8},
    {"998008", 20, {"004007"}, {"005003"}, {"黄金ETF", "HJETF"}, 1.0, 0.009, 0.0, 0.5},
};
// clang-format on

const Word kThemes[] = {
    {"成长", "CZ"},       {"价值", "JZ"},       {"优选", "YX"},       {"精选", "JX"},
    {"红利", "HL"},       {"稳健", "WJ"},       {"新兴产业", "XXCY"}, {"医疗健康", "YLJK"},
    {"消费升级", "XFSJ"}, {"科技创新", "KJCX"}, {"高端制造", "GDZZ"}, {"新能源", "XNY"},
    {"蓝筹", "LC"},       {"均衡", "JH"},       {"睿选", "RX"},       {"价值发现", "JZFX"},
    {"纯债", "CZ"},       {"短债", "DZ"},       {"安心", "AX"},       {"添利", "TL"},
};

const Word kIndexes[] = {
    {"沪深300", "HS300"}, {"中证500", "ZZ500"}, {"中证1000", "ZZ1000"}, {"创业板", "CYB"},
    {"科创50", "KC50"},   {"红利", "HL"},       {"医药", "YY"},         {"半导体", "BDT"},
    {"证券", "ZQ"},       {"银行", "YH"},       {"消费", "XF"},         {"光伏", "GF"},
};

struct Manager {
  ChineseName head;
  std::string company_code;
};

std::vector<Manager> MakeManagers(Random& random, int count) {
  NameRegistry names;
  std::vector<Manager> managers;
  while (static_cast<int>(managers.size()) < count) {
    const ChineseName head = RandomHead(random);
    if (!names.Claim(head.text)) continue;
    managers.push_back({head, Format("%d", 60000001 + static_cast<int>(managers.size()))});
  }
  return managers;
}

Family FamilyOf(Random& random, const FundKind& kind) {
  if (!random.Chance(kind.listed_share)) return kOpenEnd;
  if (std::string(kind.category) == "998008") return kGoldEtf;
  if (std::string(kind.category) == "998005") return random.Chance(0.5) ? kShanghaiEtf : kShenzhenEtf;
  return kShenzhenLof;
}

struct FundDraft {
  Fund fund;
  std::string full_name;
  std::string initials;
  std::string manager;
  std::string company_code;
  const char* market;
  int founded;
};

FundDraft NameFund(Random& random, NameRegistry& names, const FundKind& kind, const Manager& manager,
                   Family family) {
  const bool etf = family == kShanghaiEtf || family == kShenzhenEtf;
  for (;;) {
    const Word& theme = etf ? random.Pick(kIndexes) : random.Pick(kThemes);
    const Word suffix = etf ? Word{"ETF", "ETF"} : kind.suffix;
    const char* share_class =
        family == kOpenEnd && random.Chance(0.3) ? (random.Chance(0.5) ? "A" : "C") : "";
    const std::string abbreviation = manager.head.text + theme.text + suffix.text + share_class;
    if (!names.Claim(abbreviation)) continue;
    FundDraft draft{};
    draft.fund.abbreviation = abbreviation;
    draft.initials = (manager.head.initials + theme.initials + suffix.initials + share_class).substr(0, 11);
    const char* form = etf                      ? "交易型开放式指数证券投资基金"
                       : family == kShenzhenLof ? "证券投资基金(LOF)"
                                                : "证券投资基金";
    draft.full_name = manager.head.text + theme.text + suffix.text + form;
    draft.manager = manager.head.text + "基金管理有限公司";
    draft.company_code = manager.company_code;
    return draft;
  }
}

void WriteNavs(const GeneratorContext& context, Random& random, const FundDraft& draft, const FundKind& kind,
               const std::vector<int>& days, const std::vector<double>& market) {
  const bool money = kind.sigma == 0.0;
  const bool new_fund = draft.founded >= days.front();
  double nav = money || new_fund ? 1.0 : Round4(random.Uniform(0.7, 2.8));
  const double paid_out = money || draft.founded > 20200101 ? 0.0 : Round4(random.Uniform(0.0, 0.9));
  TableWriter& navs = context.store.Table(kFundNavTable);
  for (std::size_t i = 0; i < days.size(); ++i) {
    if (days[i] < draft.founded) continue;
    const double previous = nav;
    if (!money) nav = std::max(0.1, Round4(nav * (1 + kind.beta * market[i] + random.Normal(0, kind.sigma))));
    navs.Write({draft.fund.inner_code, draft.fund.code, std::int64_t{days[i]}, nav, Round4(nav + paid_out),
                Round4((nav / previous - 1) * 100)});
  }
}

void WriteFund(const GeneratorContext& context, Random& random, const FundDraft& draft,
               const FundKind& kind) {
  const Fund& fund = draft.fund;
  const std::int64_t updated = DateTime(kAsOfDate, 180000);
  const std::int64_t listed_date = fund.listed ? NextTradingDay(AddDays(draft.founded, 30)) : draft.founded;
  context.store.Table(kSecuMainTable)
      .Write({fund.inner_code, draft.company_code, fund.code, fund.abbreviation,
              std::string(fund.listed ? kCategoryListedFund : kCategoryOpenFund), std::string(draft.market),
              std::string(), std::string(kStateListed), listed_date, draft.initials, updated});
  const bool restructured =
      (std::string(kind.category) == "998005" || std::string(kind.category) == "998001") &&
      random.Chance(0.05);
  const double size =
      std::string(kind.category) == "998004" ? random.Magnitude(1, 2) : random.Magnitude(0, 1);
  context.store.Table(kFundTable)
      .Write({fund.inner_code, fund.code, fund.abbreviation, draft.full_name, std::string(kind.category),
              std::string(random.Pick(kind.invest_types)), std::string(random.Pick(kind.styles)),
              std::string(restructured ? "1" : "0"), draft.manager, std::int64_t{draft.founded}, Round2(size),
              std::string(draft.market), kind.fee});
}

}  // namespace

std::vector<Fund> GenerateFunds(const GeneratorContext& context) {
  Random random = context.Stream("funds");
  CodeFamily families[kFamilyCount] = {{510001, 515999, kMarketShanghai, true},
                                       {159001, 159999, kMarketShenzhen, true},
                                       {160101, 169999, kMarketShenzhen, true},
                                       {518800, 518999, kMarketShanghai, true},
                                       {1, 19999, kMarketOffExchange, false}};
  const std::vector<Manager> managers = MakeManagers(random, ScaledCount(60, context.scale, 5));
  const std::vector<int> days = TradingDays(kFirstQuoteDate, kAsOfDate);
  const std::vector<double> market = MarketReturns(context, days);
  NameRegistry names;
  std::vector<Fund> funds;
  for (const FundKind& kind : kKinds) {
    const int count = ScaledCount(kind.full_count, context.scale, 2);
    for (int i = 0; i < count && context.store.status().ok(); ++i) {
      const Family family_index = FamilyOf(random, kind);
      CodeFamily& family = families[family_index];
      if (family.next > family.last) continue;
      FundDraft draft = NameFund(random, names, kind, random.Pick(managers), family_index);
      draft.fund.inner_code = Format("%d", 2000001 + static_cast<int>(funds.size()));
      draft.fund.code = Format("%06d", family.next);
      draft.fund.listed = family.listed;
      draft.market = family.market;
      draft.founded = NextTradingDay(
          DateFromDays(static_cast<int>(random.Between(DaysFromDate(20050104), DaysFromDate(20260601)))));
      family.next += static_cast<int>(random.Between(1, family.listed ? 5 : 20));
      WriteFund(context, random, draft, kind);
      WriteNavs(context, random, draft, kind, days, market);
      funds.push_back(draft.fund);
    }
  }
  return funds;
}

}  // namespace orbe::sample
