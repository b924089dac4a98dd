// The exports of the script container window: windows for hosts, the modal
// pop-up, the module-wide pop-up, and the window behind a script object.
#include "orbe/script/f10_fun.h"

#include <map>
#include <memory>

#include "orbe/script/script_object.h"
#include "orbe/platform/window.h"
#include "platform/no_destructor.h"
#include "script/dlg_pop_container.h"
#include "script/f10_registry.h"
#include "script/py_container_wnd.h"

namespace orbe {
namespace {

// Windows live on the host's window thread; so do these tables.
using ExportedWindows = std::map<const CPyContainerWnd*, std::unique_ptr<CPyContainerWnd>>;
ExportedWindows& Exported() {
  static NoDestructor<ExportedWindows> windows;
  return *windows.get();
}

// The module-wide pop-up: made on first use, destroyed by UnInitDataEngin or
// when the module unloads (never by a static destructor, which may run after
// the window table is gone).
std::unique_ptr<CDlgPopContainer>& GlobalDialog() {
  static NoDestructor<std::unique_ptr<CDlgPopContainer>> dialog;
  return *dialog.get();
}

CDlgPopContainer* MakeGlobalDialog() {
  std::unique_ptr<CDlgPopContainer>& dialog = GlobalDialog();
  if (dialog && dialog->GetSafeHwnd() != nullptr) return dialog.get();
  dialog = std::make_unique<CDlgPopContainer>(nullptr, 0, 0);
  if (!dialog->Create(kPopContainerDialogId, nullptr)) {
    dialog.reset();
    return nullptr;
  }
  dialog->ModifyExStyle(0, WS_EX_TOPMOST);
  return dialog.get();
}

}  // namespace

CPyContainerWnd* KeepExportedContainer(std::unique_ptr<CPyContainerWnd> window) {
  CPyContainerWnd* const raw = window.get();
  Exported()[raw] = std::move(window);
  return raw;
}

bool IsExportedContainer(const CPyContainerWnd* window) { return Exported().count(window) != 0; }

void ForgetExportedContainer(CPyContainerWnd* window) {
  auto& windows = Exported();
  const auto found = windows.find(window);
  if (found == windows.end()) return;
  // Out of the table before it goes, so that its own destruction finds nothing.
  std::unique_ptr<CPyContainerWnd> owned = std::move(found->second);
  windows.erase(found);
}

CWnd* GlobalDlgWindow() { return GlobalDialog().get(); }

IF10Fun* GlobalDlgContainer() {
  const std::unique_ptr<CDlgPopContainer>& dialog = GlobalDialog();
  return dialog ? dialog->Container() : nullptr;
}

void DestroyGlobalDlg() { GlobalDialog().reset(); }

}  // namespace orbe

using namespace orbe;

IF10Fun* CreateF10Wnd(CWnd* parent, int type, UINT id, DWORD style) {
  auto window = std::make_unique<CPyContainerWnd>(type);
  if (!window->Create(parent, RECT{0, 0, 0, 0}, WS_CHILD | WS_VISIBLE | style, id)) return nullptr;
  return KeepExportedContainer(std::move(window));
}

void DestroyF10Wnd(IF10Fun* window) {
  auto* container = dynamic_cast<CPyContainerWnd*>(window);
  if (container == nullptr || !IsExportedContainer(container)) return;
  if (container->GetSafeHwnd() == nullptr) {
    ForgetExportedContainer(container);
    return;
  }
  // Its window's end (PostNcDestroy) deletes it, now or once its code returned.
  container->DestroyWhenIdle();
}

int GetF10FailedRequests(IF10Fun* window) {
  const auto* container = dynamic_cast<CPyContainerWnd*>(window);
  return container != nullptr && IsExportedContainer(container) ? container->FailedReplies() : 0;
}

int PopF10WndAsModalDlg(const std::string& title, int width, int height, const std::string& script,
                        const std::string& argument) {
  CDlgPopContainer dialog(nullptr, width, height);
  dialog.SetScript(title, script, argument);
  dialog.DoModal();
  return dialog.ReturnValue();
}

IF10Fun* GetF10FunFromObject(_object* object) {
  return dynamic_cast<CPyContainerWnd*>(ContainerOfScriptObject(object));
}

void GlobalDlgRunScript(const std::string& title, const std::string& script, const std::string& argument) {
  if (CDlgPopContainer* dialog = MakeGlobalDialog()) dialog->RunScript(title, script, argument);
}

void ShowGlobalDlg(int x, int y, int width, int height) {
  if (CDlgPopContainer* dialog = GlobalDialog().get()) dialog->Place(x, y, width, height);
}

void HideGlobalDlg() {
  if (CDlgPopContainer* dialog = GlobalDialog().get()) dialog->ShowWindow(SW_HIDE);
}
