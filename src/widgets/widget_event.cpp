#include "orbe/widgets/widget_event.h"

namespace orbe {

std::string WidgetEvent::ArgText(std::size_t index) const {
  if (index >= args.size()) return "";
  if (const int* value = std::get_if<int>(&args[index])) return std::to_string(*value);
  return std::get<std::string>(args[index]);
}

int WidgetEvent::ArgInt(std::size_t index) const {
  if (index >= args.size()) return 0;
  const int* value = std::get_if<int>(&args[index]);
  return value != nullptr ? *value : 0;
}

void EventWidget::Raise(const char* name, std::vector<EventArg> args) const {
  if (sink_ != nullptr) sink_->DeliverEvent(WidgetEvent{name, GetDlgCtrlID(), std::move(args)});
}

}  // namespace orbe
