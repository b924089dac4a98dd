// The process-wide registry of window classes.
#include "orbe/platform/window_class.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "orbe/platform/text.h"
#include "platform/no_destructor.h"
#include "platform/window_class_registry.h"

namespace orbe {
namespace {

struct ClassRecord {
  WNDCLASSA registration;  // names point into the strings below
  std::string name;
  std::string menu_name;
  bool menu_is_id = false;
  int windows = 0;
};

// Class names compare without ASCII case; the key is the upper-cased name.
class ClassRegistry {
 public:
  static ClassRegistry& Instance() {
    static NoDestructor<ClassRegistry> registry;
    return *registry.get();
  }

  ATOM Register(const WNDCLASSA& window_class) {
    const std::string name = window_class.lpszClassName;
    const std::lock_guard lock(mutex_);
    auto [at, inserted] = classes_.try_emplace(AsciiUpper(name));
    if (!inserted) return 0;
    ClassRecord& record = at->second;
    record.registration = window_class;
    record.name = name;
    // A menu name may be a resource number rather than a text.
    const auto menu = reinterpret_cast<std::uintptr_t>(window_class.lpszMenuName);
    record.menu_is_id = menu != 0 && menu < 0x10000;
    if (menu != 0 && !record.menu_is_id) record.menu_name = window_class.lpszMenuName;
    record.registration.lpszClassName = record.name.c_str();
    if (!record.menu_is_id) {
      record.registration.lpszMenuName = menu != 0 ? record.menu_name.c_str() : nullptr;
    }
    return next_atom_ < 0xFFFF ? next_atom_++ : 0xFFFF;
  }

  bool Find(const std::string& name, WNDCLASSA* out) const {
    const std::lock_guard lock(mutex_);
    const auto at = classes_.find(AsciiUpper(name));
    if (at == classes_.end()) return false;
    if (out != nullptr) *out = at->second.registration;
    return true;
  }

  bool Unregister(const std::string& name) {
    const std::lock_guard lock(mutex_);
    const auto at = classes_.find(AsciiUpper(name));
    if (at == classes_.end() || at->second.windows > 0) return false;
    classes_.erase(at);
    return true;
  }

  std::string Retain(const std::string& name) {
    const std::lock_guard lock(mutex_);
    const auto at = classes_.find(AsciiUpper(name));
    if (at == classes_.end()) return std::string();
    ++at->second.windows;
    return at->second.name;
  }

  void Release(const std::string& name) {
    const std::lock_guard lock(mutex_);
    const auto at = classes_.find(AsciiUpper(name));
    if (at != classes_.end()) at->second.windows = std::max(at->second.windows - 1, 0);
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::string, ClassRecord> classes_;
  // Class atoms lie in the range the platform gives them.
  ATOM next_atom_ = 0xC000;
};

}  // namespace

std::string RetainWindowClass(const std::string& name) { return ClassRegistry::Instance().Retain(name); }

void ReleaseWindowClass(const std::string& name) { ClassRegistry::Instance().Release(name); }

bool GetWindowClassLook(HWND hwnd, WindowClassLook* look) {
  const CWnd* window = CWnd::FromHandle(hwnd);
  WNDCLASSA registration;
  if (window == nullptr || window->GetClassName().empty() ||
      !ClassRegistry::Instance().Find(window->GetClassName(), &registration)) {
    return false;
  }
  if (look != nullptr) {
    *look = WindowClassLook{};
    look->style = registration.style;
    look->has_background = BrushColor(registration.hbrBackground, &look->background);
    look->cursor_id = reinterpret_cast<std::uintptr_t>(registration.hCursor);
  }
  return true;
}

}  // namespace orbe

ATOM RegisterClassA(const WNDCLASSA* window_class) {
  if (window_class == nullptr || window_class->lpszClassName == nullptr ||
      window_class->lpszClassName[0] == '\0') {
    return 0;
  }
  return orbe::ClassRegistry::Instance().Register(*window_class);
}

BOOL GetClassInfoA(HINSTANCE /*instance*/, LPCSTR class_name, WNDCLASSA* window_class) {
  if (class_name == nullptr) return FALSE;
  return orbe::ClassRegistry::Instance().Find(class_name, window_class) ? TRUE : FALSE;
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE /*instance*/) {
  if (class_name == nullptr) return FALSE;
  return orbe::ClassRegistry::Instance().Unregister(class_name) ? TRUE : FALSE;
}

BOOL AfxRegisterClass(WNDCLASSA* window_class) {
  if (window_class == nullptr || window_class->lpszClassName == nullptr) return FALSE;
  if (GetClassInfoA(window_class->hInstance, window_class->lpszClassName, nullptr)) return TRUE;
  return RegisterClassA(window_class) != 0 ? TRUE : FALSE;
}

HINSTANCE AfxGetInstanceHandle() {
  // One token for the module: classes are process-wide here.
  static char module_token;
  return reinterpret_cast<HINSTANCE>(&module_token);
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  const CWnd* window = CWnd::FromHandle(hwnd);
  if (window == nullptr || buffer == nullptr || size <= 0 || window->GetClassName().empty()) return 0;
  return static_cast<int>(orbe::CopyBounded(buffer, static_cast<std::size_t>(size), window->GetClassName()));
}

LRESULT DefWindowProcA(HWND /*hwnd*/, UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) { return 0; }
