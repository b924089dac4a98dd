// CPyContainerWnd: creation, options, loading a script, calling its
// functions, reporting their errors, and the window's messages.
#include "script/python_api.h"

#include "script/py_container_wnd.h"

#include <string_view>

#include "orbe/env.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/script/container_events.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_object.h"
#include "orbe/widgets/grid_ctrl.h"
#include "script/dlg_pop_container.h"
#include "script/f10_registry.h"
#include "script/py_ptr.h"
#include "script/running_script.h"
#include "script/script_text.h"

using namespace orbe;

namespace {

constexpr char kErrorCaption[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2";  // "错误信息"
constexpr char kEntryOfDialogs[] = "InitContainer";

// The window's own message: delete it now that nothing of it runs.
UINT DestroyWhenIdleMessage() {
  static const UINT message = RegisterWindowMessageA("PYCONTAINER_DESTROY_WHEN_IDLE");
  return message;
}

struct ScriptFile {
  std::string directory;  // "" when the path has no directory part
  std::string module;     // "" when the file name has neither ending
};

// The path at its last separator; the module name is the file name without
// its ending: the last 3 characters when ".py" is anywhere in it, else the
// last 4 when ".kvx" is.
ScriptFile SplitScriptPath(const std::string& path) {
  ScriptFile file;
  const std::size_t separator = path.find_last_of("/\\");
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  if (separator != std::string::npos) file.directory = path.substr(0, separator);
  if (name.find(".py") != std::string::npos) {
    file.module = name.substr(0, name.size() - 3);
  } else if (name.find(".kvx") != std::string::npos) {
    file.module = name.substr(0, name.size() - 4);
  }
  return file;
}

// A script named by another script without a folder lies beside it.
std::string BesideScript(const std::string& current, const std::string& other) {
  if (other.empty() || other.find_first_of("/\\") != std::string::npos) return other;
  const std::size_t separator = current.find_last_of("/\\");
  return separator == std::string::npos ? other : current.substr(0, separator + 1) + other;
}

// ".kvx" files are Python source with the module's own ending: the folders
// on sys.path find them beside ".py" files (which come first).
void LetImportFindKvxFiles() {
  const ScriptLock lock;
  if (!lock.running()) return;
  PyRun_SimpleString(
      "import sys, importlib.machinery as _m\n"
      "if not getattr(sys, '_orbe_kvx_suffix', False):\n"
      "    _loaders = [(_m.ExtensionFileLoader, _m.EXTENSION_SUFFIXES),\n"
      "                (_m.SourceFileLoader, _m.SOURCE_SUFFIXES + ['.kvx']),\n"
      "                (_m.SourcelessFileLoader, _m.BYTECODE_SUFFIXES)]\n"
      "    sys.path_hooks.insert(0, _m.FileFinder.path_hook(*_loaders))\n"
      "    sys.path_importer_cache.clear()\n"
      "    sys._orbe_kvx_suffix = True\n"
      "    del _loaders\n"
      "del _m\n");
  PyErr_Clear();
}

// Imports the module; reloads it when it had been imported before, so an
// edited file takes effect (a first import has just run the file).
ScriptRef ImportAndReload(const std::string& name, std::string& error) {
  const ScriptLock lock;
  if (!lock.running()) return ScriptRef();
  const RunningScriptScope running;  // a module's top level may loop too
  ForgetScriptFolderCaches();
  const PyPtr text(NewScriptText(name));
  const PyPtr before(text ? PyImport_GetModule(text.get()) : nullptr);
  PyErr_Clear();
  ScriptRef module = ImportScriptModule(name, error);
  if (module && before) module = ReloadScriptModule(module, error);
  return module;
}

std::string Number(long long value) { return Format("%lld", value); }

}  // namespace

CPyContainerWnd::CPyContainerWnd(int type) : CKVXContainer(type) {}

CPyContainerWnd::~CPyContainerWnd() {
  // The derived handlers (OnDestroy) must still run: destroy here.
  DestroyWindow();
  UnsubscribeAll();
}

int CPyContainerWnd::OnCreate() {
  if (CKVXContainer::OnCreate() != 0) return -1;
  MakeSessionHandles();
  const std::string private_path = GetPrivPath();
  if (!private_path.empty()) AddPyScriptPath(private_path);
  RegisterContainerListener(this);
  return 0;
}

void CPyContainerWnd::OnDestroy() {
  UnsubscribeAll();
  UnRegisterTimer();
  container_dlg_.reset();
  wait_dlg_.reset();
  module_.reset();
  CKVXContainer::OnDestroy();
}

void CPyContainerWnd::PostNcDestroy() { orbe::ForgetExportedContainer(this); }

void CPyContainerWnd::OnSize(UINT /*type*/, int width, int height) {
  if (module_) CallScript("OnSize", {Number(width), Number(height)});
}

void CPyContainerWnd::MoveF10Wnd(int left, int top, int right, int bottom, int /*reserved*/) {
  MoveWindow(RECT{left, top, right, bottom}, TRUE);
  Invalidate();
  UpdateWindow();
}

void CPyContainerWnd::SetOption(int option, int value) {
  switch (option) {
    case kF10OptionDebug:
      SetDebugModeFlag(value != 0);
      break;
    case kF10OptionQuietEvents:
      quiet_events_ = value != 0;
      break;
    case kF10OptionKeepRequests:
    case kF10OptionKeepRequests2:
      // A load never resets the sessions' reply queues, which other windows
      // share: there is nothing for these flags to keep (docs/script.md).
      break;
    default:
      break;
  }
}

bool CPyContainerWnd::LoadScript(const std::string& path, const std::string& argument, const std::string& entry) {
  // 1-3: replies of the old script are dropped when they come; a clean start.
  PrepareForLoad();
  CPyContainerWnd::HideWaitDlg();
  CPyContainerWnd::HideContainerDlg();
  GetMenu().Init("", 0);
  GetMenu().Dismiss();
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  // 4: where the module lies and what it is called.
  const ScriptFile file = SplitScriptPath(path);
  if (!file.directory.empty() && file.directory != ".") AddPyScriptPath(file.directory);
  if (file.module.empty()) return false;
  // 5: the old script goes.
  UnloadScript();
  // 6: its widgets go (destroyed once no event of theirs runs any more).
  RecycleWndPool(false);
  SetFocus();
  // 7: the new module, afresh.
  LetImportFindKvxFiles();
  std::string error;
  orbe::ScriptRef module = ImportAndReload(file.module, error);
  if (!module) {
    ReportError(error);
    return false;
  }
  module_ = std::move(module);
  script_path_ = path;
  // 8: the entry function.
  if (!entry.empty()) CallScript(entry, {argument});
  Invalidate();
  return true;
}

void CPyContainerWnd::UnloadScript() {
  if (module_ && UnInitContainerEnabled()) CallScript("UnInitContainer", {});
  module_.reset();
  ClearUnInitContainer();
}

bool CPyContainerWnd::CallPyFunction(const std::string& name, const std::vector<std::string>& args) {
  return CallScript(name, args);
}

bool CPyContainerWnd::CallScript(const std::string& name, const std::vector<std::string>& args) {
  if (!module_) return false;
  // A fixed-name event the script does not handle, with quiet events on.
  if (quiet_events_ && name != kEntryOfDialogs && FindContainerEvent(name) != nullptr &&
      !HasScriptFunction(module_, name)) {
    return false;
  }
  // The call may load another script into this window: CallContainerFunction
  // keeps its own reference to the module it calls.
  std::string error;
  ++call_depth_;
  const bool ok = CallContainerFunction(module_, name, *this, args, error);
  --call_depth_;
  if (!ok) ReportError(error);
  return ok;
}

void CPyContainerWnd::ReportError(const std::string& text) {
  last_error_ = text;
  if (DebugMode()) MessageBoxA(GetSafeHwnd(), text.c_str(), kErrorCaption, MB_OK);
}

void CPyContainerWnd::DestroyWhenIdle() {
  if (call_depth_ == 0 && !IsDeliveringEvent()) {
    DestroyWindow();
    return;
  }
  // Gone from the user's view now; deleted when the running code returned.
  ShowWindow(SW_HIDE);
  if (!delete_when_idle_) delete_when_idle_ = PostMessage(DestroyWhenIdleMessage()) != FALSE;
}

LRESULT CPyContainerWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == DestroyWhenIdleMessage()) {
    delete_when_idle_ = false;
    DestroyWhenIdle();
    return 0;
  }
  if (HandleScriptMessage(message, wparam, lparam)) return 0;
  if (message == WM_NOTIFY && lparam != 0) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
    if (header.code == GVN_BEGINLABELEDIT) {
      const auto& cell = reinterpret_cast<const NM_GRIDVIEW&>(header);
      const CGridCtrl* grid = GetGrid(static_cast<int>(header.idFrom));
      edit_before_ = grid != nullptr ? grid->GetItemText(cell.iRow, cell.iColumn) : std::string();
    }
  }
  return CKVXContainer::WindowProc(message, wparam, lparam);
}

BOOL CPyContainerWnd::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && KeyDownMessagesEnabled() && module_) {
    const auto flags = static_cast<DWORD>(msg->lParam);
    CallScript("OnKeyDown", {Number(static_cast<long long>(msg->wParam)), Number(flags & 0xFFFF),
                             Number((flags >> 16) & 0xFFFF)});
  }
  return CKVXContainer::PreTranslateMessage(msg);
}

// --- Subscriptions and pushes ---

void CPyContainerWnd::OnSubscribeMessage(int id, const std::string& first, const std::string& second) {
  CallScript("OnSubscribeMessage", {Number(id), first, second});
}

void CPyContainerWnd::OnPushedMessage(const unsigned char* data, std::uint32_t length) {
  QueuePushMessage(data, length);
}

// --- Dialogs and other scripts ---

void CPyContainerWnd::PopModalDlg(const std::string& title, int width, int height, const std::string& script,
                                  const std::string& argument) {
  CDlgPopContainer dialog(this, width, height);
  dialog.SetScript(title, BesideScript(script_path_, script), argument);
  dialog.SetForwardTarget(GetMessageTarget());
  dialog.DoModal();
  // The pop-up's result object becomes this script's to pick.
  orbe::ScriptRef result = dialog.TakeResultObject();
  if (!result) return;
  PickObject(kDlgResult);
  SaveObject(kDlgResult, result.get());
}

void CPyContainerWnd::ShowWaitDlg(int x, int y) {
  if (!wait_dlg_) {
    wait_dlg_ = std::make_unique<CScriptWaitDlg>(this);
    if (!wait_dlg_->Create(kScriptWaitDialogId, this)) {
      wait_dlg_.reset();
      return;
    }
  }
  wait_dlg_->ShowAt(x, y);
}

void CPyContainerWnd::HideWaitDlg() {
  if (wait_dlg_) wait_dlg_->Hide();
}

void CPyContainerWnd::ContainerDlgRunScript(const std::string& title, const std::string& script,
                                            const std::string& argument) {
  if (!container_dlg_) {
    container_dlg_ = std::make_unique<CDlgPopContainer>(this, 0, 0);
    if (!container_dlg_->Create(kPopContainerDialogId, this)) {
      container_dlg_.reset();
      return;
    }
    container_dlg_->SetForwardTarget(GetMessageTarget());
  }
  container_dlg_->RunScript(title, BesideScript(script_path_, script), argument);
}

void CPyContainerWnd::ShowContainerDlg(int x, int y, int width, int height) {
  if (container_dlg_) container_dlg_->Place(x, y, width, height);
}

void CPyContainerWnd::HideContainerDlg() {
  if (container_dlg_) container_dlg_->ShowWindow(SW_HIDE);
}

void CPyContainerWnd::GlobalDlgRunScript(const std::string& title, const std::string& script,
                                         const std::string& argument) {
  ::GlobalDlgRunScript(title, BesideScript(script_path_, script), argument);
}

void CPyContainerWnd::ShowGlobalDlg(int x, int y, int width, int height) { ::ShowGlobalDlg(x, y, width, height); }

void CPyContainerWnd::HideGlobalDlg() { ::HideGlobalDlg(); }

void CPyContainerWnd::RunOtherScript(const std::string& script, const std::string& argument) {
  LoadScript(BesideScript(script_path_, script), argument, kEntryOfDialogs);
}
