// The script functions a container window calls by fixed names, with the
// letters of their arguments after the script object: n an int written with
// "%d", t a text handed over unchanged, c a character written with "%c".
// Request and file callbacks are named by the script and not listed here.
#ifndef ORBE_SCRIPT_CONTAINER_EVENTS_H_
#define ORBE_SCRIPT_CONTAINER_EVENTS_H_

#include <string_view>

namespace orbe {

struct ContainerEvent {
  std::string_view name;
  std::string_view letters;
};

inline constexpr ContainerEvent kContainerEvents[] = {
    {"InitContainer", "t"},             // the entry the dialogs name (the host names its own)
    {"UnInitContainer", ""},            // unloading a script, when the script enabled it
    {"OnSize", "nn"},                   // width, height
    {"OnKeyDown", "nnn"},               // virtual key, repeat count, key flags (when enabled)
    {"OnTimer", ""},                    // the container timer
    {"OnSwitchChanged", "nn"},          // switch id, new label
    {"OnGridSelChanged", "nnn"},        // grid id, row, column
    {"OnGridLButClick", "nnn"},
    {"OnGridCheckCellClicked", "nnn"},
    {"OnGridLButDblClick", "nnn"},
    {"OnGridComboCellSelChange", "nnnt"},  // grid id, row, column, the entry picked
    {"OnGridCellEndEdit", "ntnnt"},        // grid id, new text, row, column, text before
    {"OnPieSelChanged", "nnt"},            // pie id, element, label
    {"OnComboSelChanged", "nnt"},          // combo id, entry, text
    {"OnComboFocus", "nn"},                // combo id, 1 gained / 0 lost
    {"OnCheckComboItemCheck", "nntn"},     // id, entry, text, 1/0
    {"OnRadioCheckedChanged", "nn"},       // id, 1/0
    {"OnCheckBoxCheckedChanged", "nn"},
    {"OnSpinPosChanged", "nn"},            // id, value
    {"OnPagingIndexChanged", "nn"},        // id, page
    {"OnXPagingIndexChanged", "nn"},
    {"OnButtonClicked", "n"},
    {"OnRichEditEnterKeyDown", "n"},
    {"OnRichEditSetfocus", "n"},
    {"OnRichEditKillfocus", "n"},
    {"OnPictureBtnClick", "n"},
    {"OnWebNewWindow2Explorer", "n"},
    {"OnMenuItemClicked", "n"},               // the menu item's id
    {"OnDateTimeChanged", "ntt"},             // id, "YYYY-MM-DD", "HH:MM:SS"
    {"OnRichEditTextChanged", "nt"},          // id, the edit's text
    {"OnMonthCalSelChanged", "nt"},           // id, "YYYY-MM-DD"
    {"OnUpDownStreamSelChanged", "nt"},       // id, the item's text
    {"OnWebNavigate", "nt"},                  // id, address
    {"OnComboTreeDblClk", "nt"},              // id, path
    {"OnChartMouseEventSeries", "nnnnnn"},    // chart id, series, point, 0 click / 1 double, x, y
    {"OnChartKeyEventPlotArea", "nnc"},       // chart id, key code, the key as a character
    {"OnPluginMessage", "ntt"},               // plug-in window id, name, value
    {"OnWebWindowClosing", "nn"},             // id, 1 a child window of the page / 0 the pane's own
    {"OnContainerRButtonUp", "nnn"},          // container id, x, y
    {"OnSubscribeMessage", "ntt"},            // message id, the two texts
    {"OnTPPushMessage", "n"},                 // message length
    {"OnUDMReplyProcess", "nn"},              // transfer id, progress or status
    {"OnTPOriginal", "n"},                    // status
    {"OnListTreeButtonDbl", "nnt"},           // tree id, item, text
    {"OnListTreeButtonClk", "nnt"},
    {"OnComboTreeCheck", "ntn"},              // id, path, 1/0
};

// The row of a fixed-name function; null for any other name.
constexpr const ContainerEvent* FindContainerEvent(std::string_view name) {
  for (const ContainerEvent& event : kContainerEvents) {
    if (event.name == name) return &event;
  }
  return nullptr;
}

}  // namespace orbe

#endif  // ORBE_SCRIPT_CONTAINER_EVENTS_H_
