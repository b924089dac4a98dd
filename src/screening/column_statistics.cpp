#include "screening/column_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "orbe/indicators/index_base.h"
#include "orbe/platform/text.h"

namespace orbe {

namespace {

constexpr const char* kNoValue = "--";

struct Gathered {
  int count = 0;  // non-empty checked cells, numeric or not
  bool numeric = true;
  std::vector<double> values;
  double sum = 0;
  double maximum = 0;
  double minimum = 0;
  double weighted = 0;
};

// A dash after the first character is a date or a range, not a number; the
// invalid-value mark "--" is no value at all.
bool IsTextValue(const std::string& text) { return text.find('-', 1) != std::string::npos; }

Gathered Gather(const StatColumn& column, const std::optional<StatWeights>& weights) {
  Gathered g;
  const bool typed = column.type == kStatDouble || column.type == kStatInt32 || column.type == kStatInt64;
  for (std::size_t row = 0; row < column.texts.size(); ++row) {
    const std::string& text = column.texts[row];
    if (row >= column.checked.size() || !column.checked[row] || text.empty() || text == kNoValue) continue;
    ++g.count;
    if (IsTextValue(text) || !typed) {
      g.numeric = false;
      continue;
    }
    const double value = ParseStatValue(text, column.type).value_or(0);
    g.sum += value;
    if (g.values.empty()) {
      g.maximum = g.minimum = value;
    } else {
      g.maximum = std::max(g.maximum, value);
      g.minimum = std::min(g.minimum, value);
    }
    g.values.push_back(value);
    if (weights && row < weights->values.size() && weights->total != 0) {
      g.weighted += value * weights->values[row] / weights->total;
    }
  }
  return g;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t k = values.size();
  return k % 2 == 1 ? values[k / 2] : (values[k / 2 - 1] + values[k / 2]) / 2;
}

std::string Number(double value) { return Format("%.2f", value); }

std::string Text(Statistic statistic, const Gathered& g, const std::optional<StatWeights>& weights) {
  if (statistic == Statistic::kCount) return Format("%d", g.count);
  if (!g.numeric || g.values.empty()) return kNoValue;
  const auto k = static_cast<double>(g.values.size());
  const double mean = g.sum / k;
  double squares = 0;
  for (const double v : g.values) squares += (v - mean) * (v - mean);
  // One value spreads by nothing, in the sample statistics too.
  const bool single = g.values.size() == 1;
  switch (statistic) {
    case Statistic::kSum:
      return Number(g.sum);
    case Statistic::kMean:
      return Number(mean);
    case Statistic::kMedian:
      return Number(Median(g.values));
    case Statistic::kMaximum:
      return Number(g.maximum);
    case Statistic::kMinimum:
      return Number(g.minimum);
    case Statistic::kSampleStdDev:
      return Number(single ? 0 : std::sqrt(squares / (k - 1)));
    case Statistic::kPopulationStdDev:
      return Number(std::sqrt(squares / k));
    case Statistic::kSampleVariance:
      return Number(single ? 0 : squares / (k - 1));
    case Statistic::kPopulationVariance:
      return Number(squares / k);
    case Statistic::kWeightedMean:
      // Without a weight column, or when the checked rows weigh nothing, there is no weighted mean.
      return weights && weights->total != 0 ? Number(g.weighted) : kNoValue;
    case Statistic::kCount:
      break;
  }
  return kNoValue;
}

}  // namespace

int StatColumnTypeOf(int datatype) {
  switch (datatype) {
    case DATA_TYPE_DOUBLE:
      return kStatDouble;
    case DATA_TYPE_INT:
    case DATA_TYPE_INT2:
      return kStatInt32;
    case DATA_TYPE_INT64:
      return kStatInt64;
    default:
      return kStatText;
  }
}

std::optional<double> ParseStatValue(const std::string& text, int type) {
  if (text.empty()) return std::nullopt;
  if (type == kStatInt32) return static_cast<double>(std::atoi(text.c_str()));
  if (type == kStatInt64) return static_cast<double>(std::atoll(text.c_str()));
  return std::atof(text.c_str());
}

std::vector<std::string> ComputeStatistics(const StatColumn& column, const std::vector<Statistic>& enabled,
                                           const std::optional<StatWeights>& weights) {
  const Gathered gathered = Gather(column, weights);
  std::vector<std::string> texts;
  texts.reserve(enabled.size());
  for (const Statistic statistic : enabled) texts.push_back(Text(statistic, gathered, weights));
  return texts;
}

}  // namespace orbe
