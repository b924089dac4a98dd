// The container windows the module made for hosts (CreateF10Wnd): the module
// owns them, so DestroyF10Wnd deletes only these and ignores other pointers.
#ifndef ORBE_SCRIPT_F10_REGISTRY_H_
#define ORBE_SCRIPT_F10_REGISTRY_H_

#include <memory>

class CPyContainerWnd;

namespace orbe {

// Takes ownership; the pointer stays valid until it is forgotten.
CPyContainerWnd* KeepExportedContainer(std::unique_ptr<CPyContainerWnd> window);
bool IsExportedContainer(const CPyContainerWnd* window);
// Deletes a kept window (its window handle goes first); nothing for others.
void ForgetExportedContainer(CPyContainerWnd* window);

}  // namespace orbe

#endif  // ORBE_SCRIPT_F10_REGISTRY_H_
