// The window classes of the screening windows: registered once per process,
// left alone when already registered.
#ifndef ORBE_SRC_SCREENING_WINDOW_CLASSES_H_
#define ORBE_SRC_SCREENING_WINDOW_CLASSES_H_

#include "orbe/platform/types.h"

namespace orbe {

inline constexpr const char* kConditionWindowClass = "INDEX_CONDITION_WND";
inline constexpr const char* kTreeWindowClass = "INDEX_TREE_WND";
inline constexpr const char* kScreeningWindowClass = "MULTI_INDEX_WND";
inline constexpr const char* kStatisticsWindowClass = "CStatCalculateWnd";

// Class style 11 (redraw on both sizes, double clicks), the arrow cursor and
// the white stock brush, or a solid brush of `background`.
bool RegisterWindowClassOnce(const char* name);
bool RegisterWindowClassOnce(const char* name, COLORREF background);

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_WINDOW_CLASSES_H_
