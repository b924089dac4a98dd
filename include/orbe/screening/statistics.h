// The eleven statistics of the result's options panel: the check box that
// enables each and the label of its row, in output-row order.
#ifndef ORBE_SCREENING_STATISTICS_H_
#define ORBE_SCREENING_STATISTICS_H_

#include "orbe/platform/types.h"

namespace orbe {

enum class Statistic : int {
  kSum,
  kMean,
  kCount,
  kMedian,
  kMaximum,
  kMinimum,
  kSampleStdDev,
  kPopulationStdDev,
  kSampleVariance,
  kPopulationVariance,
  kWeightedMean,
};

// One check box of the options panel: its control, the statistic it enables
// and the label of the statistic's row. In output-row order.
struct StatisticSpec {
  UINT control;
  Statistic statistic;
  const char* label;
};
inline constexpr StatisticSpec kStatistics[] = {
    {4011, Statistic::kSum, "总和"},
    {4001, Statistic::kMean, "算术平均"},
    {4004, Statistic::kCount, "计数"},
    {4006, Statistic::kMedian, "中位数"},
    {4002, Statistic::kMaximum, "最大值"},
    {4003, Statistic::kMinimum, "最小值"},
    {4010, Statistic::kSampleStdDev, "样本标准差"},
    {4007, Statistic::kPopulationStdDev, "总体标准差"},
    {4009, Statistic::kSampleVariance, "样本方差"},
    {4008, Statistic::kPopulationVariance, "总体方差"},
    {4005, Statistic::kWeightedMean, "加权平均"},
};
inline constexpr int kStatisticCount = static_cast<int>(sizeof kStatistics / sizeof kStatistics[0]);

}  // namespace orbe

#endif  // ORBE_SCREENING_STATISTICS_H_
