#include <cmath>

#include "sample/sample_generators.h"

namespace orbe::sample {

int ScaledCount(int full, double scale, int minimum) {
  const int scaled = static_cast<int>(std::lround(full * scale));
  return scaled > minimum ? scaled : minimum;
}

double Round2(double value) {
  return std::round(value * 100.0) / 100.0;
}
double Round4(double value) {
  return std::round(value * 10000.0) / 10000.0;
}

std::int64_t DateTime(int yyyymmdd, int hhmmss) {
  return std::int64_t{yyyymmdd} * 1000000 + hhmmss;
}

std::vector<double> MarketReturns(const GeneratorContext& context, const std::vector<int>& days) {
  Random random = context.Stream("market");
  std::vector<double> returns;
  returns.reserve(days.size());
  for (std::size_t i = 0; i < days.size(); ++i) returns.push_back(random.Normal(0.0003, 0.011));
  return returns;
}

}  // namespace orbe::sample
