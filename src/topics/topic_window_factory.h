// The static Create.../Delete... pairs of the topic windows: the window is
// made and destroyed inside the module, and deleting checks its class.
#ifndef ORBE_SRC_TOPICS_TOPIC_WINDOW_FACTORY_H_
#define ORBE_SRC_TOPICS_TOPIC_WINDOW_FACTORY_H_

#include <memory>
#include <utility>

#include "orbe/platform/window.h"

namespace orbe {

template <typename Window, typename... Extra>
Window* CreateTopicWindow(CWnd* parent, const RECT& rect, DWORD style, UINT id, Extra&&... extra) {
  auto window = std::make_unique<Window>();
  if (!window->Create(parent, rect, style, id, std::forward<Extra>(extra)...)) return nullptr;
  return window.release();
}

// A window of another class (or null) is left alone.
template <typename Window>
void DeleteTopicWindow(CWnd* window) {
  std::unique_ptr<Window> owned(dynamic_cast<Window*>(window));
  if (owned) owned->DestroyWindow();
}

}  // namespace orbe

#endif  // ORBE_SRC_TOPICS_TOPIC_WINDOW_FACTORY_H_
