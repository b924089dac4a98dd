// The generators of the sample market, each filling its own tables, and what
// they share: the A-share list (companies, statements, quotes, boards and
// convertible bonds all hang off it) and the sizing rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sample/sample_industries.h"
#include "sample/sample_random.h"
#include "sample/sample_store.h"

namespace orbe::sample {

inline constexpr std::uint64_t kSeed = 0x6F72626553414D50ull;

struct GeneratorContext {
  SampleStore& store;
  double scale;  // (0, 1]
  Random Stream(const char* name) const { return Random::Stream(kSeed, name); }
};

// An A-share and its company.
struct Stock {
  std::string inner_code;
  std::string company_code;
  std::string code;
  std::string abbreviation;
  std::string head;  // the two characters bonds and boards reuse
  std::string initials;
  std::string full_name;
  std::size_t province = 0;  // index into Provinces()
  const char* market = "";
  const char* board = "";
  IndustryLeaf leaf;
  int listing_date = 0;
  std::int64_t total_shares = 0;
  double float_ratio = 1.0;
  double revenue_per_share = 1.0;  // first-year revenue, yuan per share
  double first_price = 10.0;       // price at the start of the quote window (or the issue price)
  bool special_treatment = false;  // ST: 5% price limit
};

// Listed funds share the quote-less side of the security master; the
// concept board of ETFs lists them.
struct Fund {
  std::string inner_code;
  std::string code;
  std::string abbreviation;
  bool listed = false;
};

// max(minimum, full * scale rounded), the size of one population at a scale.
int ScaledCount(int full, double scale, int minimum);
double Round2(double value);
double Round4(double value);
std::int64_t DateTime(int yyyymmdd, int hhmmss);

std::vector<Stock> GenerateStocks(const GeneratorContext& context);
void GenerateFinancials(const GeneratorContext& context, const std::vector<Stock>& stocks);
void GenerateQuotes(const GeneratorContext& context, const std::vector<Stock>& stocks);
void GenerateCalendar(const GeneratorContext& context);
std::vector<Fund> GenerateFunds(const GeneratorContext& context);
void GenerateConcepts(const GeneratorContext& context, const std::vector<Stock>& stocks,
                      const std::vector<Fund>& funds);
void GenerateBonds(const GeneratorContext& context, const std::vector<Stock>& stocks);
void GenerateFutures(const GeneratorContext& context);
void GenerateHkStocks(const GeneratorContext& context);

// The market's common daily return on each trading day of the quote window,
// which stocks and equity funds follow with their own beta.
std::vector<double> MarketReturns(const GeneratorContext& context, const std::vector<int>& days);

}  // namespace orbe::sample
