// The library's controls report a user's action as a widget event; a window
// of the screening screen wants the WM_COMMAND a dialog control sends its
// parent. This sink turns one into the other for the controls a window owns.
#ifndef ORBE_SRC_SCREENING_CONTROL_COMMANDS_H_
#define ORBE_SRC_SCREENING_CONTROL_COMMANDS_H_

#include <memory>
#include <string>

#include "orbe/platform/window.h"
#include "orbe/widgets/widget_event.h"

class CGridCtrl;

namespace orbe {

// Notification codes in the high word of WM_COMMAND's wParam.
inline constexpr WORD kButtonClicked = 0;   // a button, or a radio or check box that a click changed
inline constexpr WORD kListSelChanged = 1;  // a drop-down list's selection, by a user's pick

class CommandEvents : public IWidgetEventSink {
 public:
  explicit CommandEvents(CWnd& owner) : owner_(owner) {}
  // Sends WM_COMMAND (id, code) to the owner; a radio that was unchecked by
  // another's click sends nothing.
  void DeliverEvent(const WidgetEvent& event) override;

 private:
  CWnd& owner_;
};

// The look the screening grids share: white, fixed cells 0xF7F5F5, grid
// lines 0xE7E7E7, whole rows selected.
void ApplyScreeningGridLook(CGridCtrl& grid);

// Creates a control as a visible child with its events going to `events`.
template <typename Control>
Control* AddControl(CWnd& parent, std::unique_ptr<Control>& slot, IWidgetEventSink& events, UINT id, const RECT& rect,
                    const std::string& text = "") {
  slot = std::make_unique<Control>();
  slot->SetEventSink(&events);
  slot->SetWindowText(text);
  slot->Create(&parent, rect, id, WS_CHILD | WS_VISIBLE);
  return slot.get();
}

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_CONTROL_COMMANDS_H_
