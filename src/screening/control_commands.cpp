#include "screening/control_commands.h"

#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/grid_ctrl.h"

namespace orbe {

void CommandEvents::DeliverEvent(const WidgetEvent& event) {
  WORD code = 0;
  if (event.name == "OnButtonClicked" || event.name == "OnCheckBoxCheckedChanged" ||
      event.name == "OnPictureBtnClick") {
    code = kButtonClicked;
  } else if (event.name == "OnRadioCheckedChanged") {
    if (event.ArgInt(0) == 0) return;
    code = kButtonClicked;
  } else if (event.name == "OnComboSelChanged") {
    code = kListSelChanged;
  } else {
    return;
  }
  owner_.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(event.id), code), 0);
}

void ApplyScreeningGridLook(CGridCtrl& grid) {
  constexpr COLORREF kFixedBk = 0xF7F5F5;
  constexpr COLORREF kGridLines = 0xE7E7E7;
  grid.SetGridBkColor(RGB(255, 255, 255));
  grid.SetFixedBkColor(kFixedBk);
  grid.SetGridLineColor(kGridLines);
  grid.SetListMode(true);
}

}  // namespace orbe
