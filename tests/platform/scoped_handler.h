// Installs a handler that plays the user for one test and puts the previous
// one back, for every handler of the platform layer.
#ifndef ORBE_TESTS_PLATFORM_SCOPED_HANDLER_H_
#define ORBE_TESTS_PLATFORM_SCOPED_HANDLER_H_

#include <utility>

namespace orbe::testing {

template <typename Handler, Handler (*Set)(Handler)>
class ScopedHandler {
 public:
  explicit ScopedHandler(Handler handler) : previous_(Set(std::move(handler))) {}
  ~ScopedHandler() { Set(previous_); }
  ScopedHandler(const ScopedHandler&) = delete;
  ScopedHandler& operator=(const ScopedHandler&) = delete;

 private:
  Handler previous_;
};

}  // namespace orbe::testing

#endif  // ORBE_TESTS_PLATFORM_SCOPED_HANDLER_H_
