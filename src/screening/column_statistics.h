// The statistics of one result column over the checked rows: the eleven
// statistics of the options panel, as the texts the statistics grid shows.
#ifndef ORBE_SRC_SCREENING_COLUMN_STATISTICS_H_
#define ORBE_SRC_SCREENING_COLUMN_STATISTICS_H_

#include <optional>
#include <string>
#include <vector>

#include "orbe/platform/types.h"
#include "orbe/screening/statistics.h"

namespace orbe {

// The data type a result column's header carries: numbers of these types are
// counted; any other type makes the column text.
enum StatColumnType : int { kStatText = 0, kStatDouble = 1, kStatInt32 = 2, kStatInt64 = 3 };

// The header type of an indicator's DATA_TYPE.
int StatColumnTypeOf(int datatype);
// A cell's text read by a column type; nullopt for an empty text.
std::optional<double> ParseStatValue(const std::string& text, int type);

struct StatColumn {
  int type = kStatText;
  std::vector<std::string> texts;  // one per result row
  std::vector<bool> checked;       // the row's check box exists and is set
};

// Weights by result row; absent without a weight column. `total` sums the
// weights of the checked rows.
struct StatWeights {
  std::vector<double> values;
  double total = 0;
};

// The texts of the enabled statistics, in the order given.
std::vector<std::string> ComputeStatistics(const StatColumn& column, const std::vector<Statistic>& enabled,
                                           const std::optional<StatWeights>& weights);

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_COLUMN_STATISTICS_H_
