// What a click on a list value does, by the column's data format.
#ifndef ORBE_REPORTS_REPORT_WND_CLICK_ACTION_H_
#define ORBE_REPORTS_REPORT_WND_CLICK_ACTION_H_

namespace orbe {

enum class ClickAction { kPopup, kMailTo, kOpenLink, kNothing, kNotifyHost };

// Formats 21 to 24 are actions; every other format opens the column's pop-up
// cell when it has one.
ClickAction ClickActionOf(int data_format);

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_WND_CLICK_ACTION_H_
