// Storage for a process-wide object that is never destroyed, so that code
// running during static destruction (global windows, late threads) still
// finds it alive.
#ifndef ORBE_PLATFORM_NO_DESTRUCTOR_H_
#define ORBE_PLATFORM_NO_DESTRUCTOR_H_

#include <new>
#include <utility>

namespace orbe {

template <typename T>
class NoDestructor {
 public:
  template <typename... Args>
  explicit NoDestructor(Args&&... args) {
    new (storage_) T(std::forward<Args>(args)...);
  }
  NoDestructor(const NoDestructor&) = delete;
  NoDestructor& operator=(const NoDestructor&) = delete;

  T* get() { return std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_NO_DESTRUCTOR_H_
