// A container listener that records control events as "Name id arg arg ...",
// and a container to put the controls in.
#ifndef ORBE_TESTS_WIDGETS_EVENT_LOG_H_
#define ORBE_TESTS_WIDGETS_EVENT_LOG_H_

#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "orbe/widgets/kvx_container.h"

struct EventLog : CContainerListener {
  std::vector<std::string> events;
  void OnWidgetEvent(const orbe::WidgetEvent& event) override {
    std::string line = event.name + " " + std::to_string(event.id);
    for (std::size_t i = 0; i < event.args.size(); ++i) line += " " + event.ArgText(i);
    events.push_back(line);
  }
  void PluginMessage(IPluginWnd*, const std::string& name, const std::string& value) override {
    events.push_back("plugin " + name + "=" + value);
  }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
};

// A container window with a recording listener.
struct TestContainer {
  CWnd host;
  CKVXContainer container{1};
  EventLog log;
  TestContainer() {
    host.Create(nullptr, RECT{0, 0, 800, 600}, 1, WS_VISIBLE);
    container.Create(&host, RECT{0, 0, 800, 600}, WS_CHILD | WS_VISIBLE, 100);
    container.RegisterContainerListener(&log);
  }
  // Adds a widget of the kind and gives it by class.
  template <typename T>
  T& Add(orbe::WidgetKind kind, const std::string& text = "", int* id_out = nullptr) {
    int id = 0;
    container.AddWnd(0, 0, 100, 20, id, static_cast<int>(kind), text);
    if (id_out != nullptr) *id_out = id;
    return *container.GetWidget<T>(id);
  }
};

#endif  // ORBE_TESTS_WIDGETS_EVENT_LOG_H_
