// The two shapes of a container operation on one widget: a setter that
// reports whether the widget exists (and the change was taken), and a getter
// that answers a fallback for a widget that does not exist.
#ifndef ORBE_SRC_WIDGETS_KVX_OPS_H_
#define ORBE_SRC_WIDGETS_KVX_OPS_H_

#include <type_traits>

#include "orbe/widgets/kvx_container.h"

namespace orbe::widgets {

// fn(widget) returns void (the change is always taken) or bool.
template <typename T, typename Fn>
bool Set(const CKVXContainer& container, int id, Fn fn) {
  T* widget = container.GetWidget<T>(id);
  if (widget == nullptr) return false;
  if constexpr (std::is_void_v<decltype(fn(*widget))>) {
    fn(*widget);
    return true;
  } else {
    return static_cast<bool>(fn(*widget));
  }
}

template <typename T, typename R, typename Fn>
R Ask(const CKVXContainer& container, int id, R fallback, Fn fn) {
  const T* widget = container.GetWidget<T>(id);
  return widget != nullptr ? static_cast<R>(fn(*widget)) : fallback;
}

inline orbe::FontSpec FontOf(int size, const std::string& face, int weight = 400, bool italic = false,
                             bool underline = false) {
  orbe::FontSpec font;
  font.face = face;
  font.size = size;
  font.weight = weight > 0 ? weight : 400;
  font.italic = italic;
  font.underline = underline;
  return font;
}

}  // namespace orbe::widgets

#endif  // ORBE_SRC_WIDGETS_KVX_OPS_H_
