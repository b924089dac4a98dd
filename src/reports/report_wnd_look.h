// The report window's fonts and the colours of its cell titles, in one place.
#ifndef ORBE_REPORTS_REPORT_WND_LOOK_H_
#define ORBE_REPORTS_REPORT_WND_LOOK_H_

#include "orbe/widgets/widget.h"

namespace orbe {

// "宋体" of height 15 and "Arial" of height 14 (pixels), both bold; the
// widgets take sizes in points.
inline const FontSpec kReportFont{"宋体", 11, 700};
inline const FontSpec kReportNumberFont{"Arial", 10, 700};

inline constexpr COLORREF kTitleColor = 0;                // black
inline constexpr COLORREF kWarningColor = 255;            // red
inline constexpr COLORREF kNoDataColor = 0xC0C0C0;        // grey
inline constexpr COLORREF kCrossSelectionColor = 52479;  // 0x00CCFF

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_WND_LOOK_H_
