// Number steps of a value axis, shared by the chart and the bar chart.
#ifndef ORBE_SRC_WIDGETS_AXIS_STEPS_H_
#define ORBE_SRC_WIDGETS_AXIS_STEPS_H_

#include <string>

namespace orbe {

// A step near span / 5 of 1, 2 or 5 times a power of ten; 1 for an empty or
// unusable span.
double NiceAxisStep(double span);

// The value with as many decimals as the step needs (2.5 shows one, 0.25
// two, at most 10); no "-0".
std::string AxisNumberText(double value, double step);

}  // namespace orbe

#endif  // ORBE_SRC_WIDGETS_AXIS_STEPS_H_
