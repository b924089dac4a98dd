// Events of the script container's controls. Each is named as the script
// function that handles it ("OnComboSelChanged", ...) and carries that
// function's arguments in order, so the container passes every kind of
// control event on through one path.
#ifndef ORBE_WIDGETS_WIDGET_EVENT_H_
#define ORBE_WIDGETS_WIDGET_EVENT_H_

#include <string>
#include <variant>
#include <vector>

#include "orbe/widgets/widget.h"

namespace orbe {

using EventArg = std::variant<int, std::string>;

struct WidgetEvent {
  std::string name;            // the handler's name, ASCII
  int id = 0;                  // the control id (a menu item id for menu picks)
  std::vector<EventArg> args;  // after the id; texts are GBK

  // The argument as the script receives it: ints as "%d", texts unchanged.
  std::string ArgText(std::size_t index) const;
  int ArgInt(std::size_t index) const;
};

class IWidgetEventSink {
 public:
  virtual ~IWidgetEventSink() = default;
  virtual void DeliverEvent(const WidgetEvent& event) = 0;
};

// A widget whose user actions raise WidgetEvents to one sink (the container
// sets itself when it adopts the widget).
class EventWidget : public KvxWidget {
 public:
  explicit EventWidget(WidgetKind kind) : KvxWidget(kind) {}

  void SetEventSink(IWidgetEventSink* sink) { sink_ = sink; }
  IWidgetEventSink* GetEventSink() const { return sink_; }
 protected:
  void Raise(const char* name, std::vector<EventArg> args = {}) const;

 private:
  IWidgetEventSink* sink_ = nullptr;
};

}  // namespace orbe

#endif  // ORBE_WIDGETS_WIDGET_EVENT_H_
