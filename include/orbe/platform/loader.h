// Loading of sibling components by the names the module knows them by:
// "FinDataComm.dll" means libFinDataComm.so in the module's own folder.
#ifndef ORBE_PLATFORM_LOADER_H_
#define ORBE_PLATFORM_LOADER_H_

#include <string>
#include <string_view>

#include "orbe/platform/types.h"

// The file name a component has on this system: "Name.dll" -> "libName.so";
// a name that already ends in ".so" is kept.
std::string ComponentFileName(std::string_view name);

// The folder (with a trailing '/') of the shared object that holds `address`,
// found with dladdr; empty when unknown.
std::string ModuleFolderOf(const void* address);

// The folder where components live: $ORBE_COMPONENT_DIR when set, else the
// folder of the platform library itself (the module's own folder).
std::string ComponentFolder();

// Loads a component by its original name from ComponentFolder(); an absolute
// or relative path containing a separator is loaded as given (after the name
// mapping). Returns null when missing; nothing is reported.
HMODULE LoadLibraryA(LPCSTR name);
BOOL FreeLibrary(HMODULE module);
// The address of an exported entry point, or null.
void* GetProcAddress(HMODULE module, LPCSTR name);
// The last loader error text, for diagnostics only.
std::string LastLoaderError();

// Typed entry-point lookup: GetProcAddressAs<int (*)(int)>(m, "f").
template <typename Fn>
Fn GetProcAddressAs(HMODULE module, LPCSTR name) {
  return reinterpret_cast<Fn>(GetProcAddress(module, name));
}

#endif  // ORBE_PLATFORM_LOADER_H_
