#include "reports/report_wnd_click_action.h"

#include "orbe/reports/report_terms.h"

namespace orbe {

ClickAction ClickActionOf(int data_format) {
  switch (data_format) {
    case kClickMailTo: return ClickAction::kMailTo;
    case kClickOpenLink: return ClickAction::kOpenLink;
    case kClickNothing: return ClickAction::kNothing;
    case kClickNotifyHost: return ClickAction::kNotifyHost;
    default: return ClickAction::kPopup;
  }
}

}  // namespace orbe
