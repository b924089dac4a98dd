#include "orbe/platform/loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstdlib>
#include <mutex>

#include "orbe/platform/text.h"

namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         orbe::EqualsIgnoreAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

size_t LastSeparator(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash;
}

std::mutex& ErrorMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& LastError() {
  static std::string error;
  return error;
}

void RememberError() {
  const char* error = dlerror();
  std::lock_guard<std::mutex> lock(ErrorMutex());
  LastError() = error ? error : "";
}

}  // namespace

std::string ComponentFileName(std::string_view name) {
  std::string path(name);
  // Windows paths may use either separator; the file system here uses '/'.
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  const size_t slash = LastSeparator(path);
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (EndsWith(base, ".so")) return folder + base;
  if (EndsWith(base, ".dll")) base.resize(base.size() - 4);
  if (base.rfind("lib", 0) != 0) base = "lib" + base;
  return folder + base + ".so";
}

std::string ModuleFolderOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return std::string();
  // The loader reports the path it was given ("bin/../lib/..."); the
  // canonical form keeps folder comparisons and messages plain.
  char resolved[PATH_MAX];
  const std::string file(realpath(info.dli_fname, resolved) ? resolved : info.dli_fname);
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string ComponentFolder() {
  // ORBE_COMPONENT_DIR lets a host (or a test) supply its own components,
  // e.g. engines built for tests, without touching the installed ones.
  if (const char* override_dir = std::getenv("ORBE_COMPONENT_DIR"); override_dir && *override_dir) {
    std::string folder(override_dir);
    if (folder.back() != '/') folder += '/';
    return folder;
  }
  static const std::string folder = ModuleFolderOf(reinterpret_cast<const void*>(&ComponentFolder));
  return folder;
}

HMODULE LoadLibraryA(LPCSTR name) {
  if (name == nullptr || *name == '\0') return nullptr;
  const std::string file = ComponentFileName(name);
  const bool has_folder = file.find('/') != std::string::npos;
  const std::string path = has_folder ? file : ComponentFolder() + file;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) RememberError();
  return static_cast<HMODULE>(handle);
}

BOOL FreeLibrary(HMODULE module) {
  if (module == nullptr) return FALSE;
  if (dlclose(module) != 0) {
    RememberError();
    return FALSE;
  }
  return TRUE;
}

void* GetProcAddress(HMODULE module, LPCSTR name) {
  if (module == nullptr || name == nullptr) return nullptr;
  dlerror();
  void* entry = dlsym(module, name);
  if (entry == nullptr) RememberError();
  return entry;
}

std::string LastLoaderError() {
  std::lock_guard<std::mutex> lock(ErrorMutex());
  return LastError();
}
