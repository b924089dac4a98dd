// What the window class needs of the class registry: a window of a class
// holds the class, so that it cannot be unregistered under the window.
#ifndef ORBE_PLATFORM_WINDOW_CLASS_REGISTRY_H_
#define ORBE_PLATFORM_WINDOW_CLASS_REGISTRY_H_

#include <string>

namespace orbe {

// The registered spelling of a class name, counted as used by one more
// window; "" when no class of that name is registered.
std::string RetainWindowClass(const std::string& name);
void ReleaseWindowClass(const std::string& name);

}  // namespace orbe

#endif  // ORBE_PLATFORM_WINDOW_CLASS_REGISTRY_H_
