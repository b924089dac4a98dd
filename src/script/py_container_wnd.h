// CPyContainerWnd: a widget container whose whole content and behaviour come
// from a script. It owns the container-side state of the script object
// (IContainerFun), turns every widget event, timer tick, resize, reply and
// subscribed message into a call of a script function with a fixed name
// (orbe/script/container_events.h), and is what a host holds as IF10Fun.
#ifndef ORBE_SCRIPT_PY_CONTAINER_WND_H_
#define ORBE_SCRIPT_PY_CONTAINER_WND_H_

#include <memory>
#include <string>
#include <vector>

#include "orbe/script/container_fun.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/script_ref.h"
#include "orbe/script/subscriptions.h"
#include "orbe/widgets/kvx_container.h"

namespace orbe {
class CDlgPopContainer;
class CScriptWaitDlg;
}  // namespace orbe

class CPyContainerWnd : public CKVXContainer,
                        public IF10Fun,
                        public IContainerFun,
                        public CContainerListener,
                        public ISubscribeMessageCallBack {
 public:
  explicit CPyContainerWnd(int type = 0);
  ~CPyContainerWnd() override;

  // --- IF10Fun ---
  void MoveF10Wnd(int left, int top, int right, int bottom, int reserved) override;
  void SetOption(int option, int value) override;
  bool LoadScript(const std::string& path, const std::string& argument, const std::string& entry) override;
  bool QueryModified() override { return false; }
  bool CallPyFunction(const std::string& name, const std::vector<std::string>& args) override;
  void SetMessageNotify(IF10MessageNotify* target) override { SetMessageTarget(target); }
  bool IsScriptLoaded() const override { return static_cast<bool>(module_); }
  int GetMapCount() const override { return static_cast<int>(PendingRequestCount()); }
  CWnd* GetF10Wnd() override { return this; }

  // --- IContainerFun ---
  HWND ContainerWindow() const override { return GetSafeHwnd(); }
  CKVXContainer* ContainerWidgets() override { return this; }
  bool CallScript(const std::string& name, const std::vector<std::string>& args) override;
  void PopModalDlg(const std::string& title, int width, int height, const std::string& script,
                   const std::string& argument) override;
  void ShowWaitDlg(int x, int y) override;
  void HideWaitDlg() override;
  void ContainerDlgRunScript(const std::string& title, const std::string& script,
                             const std::string& argument) override;
  void ShowContainerDlg(int x, int y, int width, int height) override;
  void HideContainerDlg() override;
  void GlobalDlgRunScript(const std::string& title, const std::string& script, const std::string& argument) override;
  void ShowGlobalDlg(int x, int y, int width, int height) override;
  void HideGlobalDlg() override;
  void RunOtherScript(const std::string& script, const std::string& argument) override;

  // --- Widget events (CKVXContainer's callbacks and CContainerListener's) ---
  void CellEndEdit(int id, int row, int col, const std::string& text) override;
  void ComboCellSelChange(int id, int row, int col, int index) override;
  void CheckCellClicked(int id, int row, int col, bool checked) override;
  void SelectChangedNotify(int id, int row, int col) override;
  void LButtonDblClkNotify(int id, int row, int col) override;
  void LButtonClkNotify(int id, int row, int col) override;
  void OnMouseEventSeries(int id, int series, int point, ChartMouseEvent event) override;
  void OnKeyEventPlotArea(int id, UINT key) override;
  void PluginMessage(IPluginWnd* plugin, const std::string& name, const std::string& value) override;
  void OnWidgetEvent(const orbe::WidgetEvent& event) override;

  // --- ISubscribeMessageCallBack ---
  void OnSubscribeMessage(int id, const std::string& first, const std::string& second) override;
  void OnPushedMessage(const unsigned char* data, std::uint32_t length) override;

  const std::string& ScriptPath() const { return script_path_; }
  // The text of the last script error (kept whether or not it was shown).
  const std::string& LastScriptError() const { return last_error_; }
  // Script calls running now (a script that reaches its window's host).
  int ScriptCallDepth() const { return call_depth_; }
  // Destroys and deletes the window once no script call or widget event of
  // it is running; at once when none is.
  void DestroyWhenIdle();
  // The window's own pop-up and wait dialog (null until a script opens them).
  orbe::CDlgPopContainer* ContainerDialog() const { return container_dlg_.get(); }
  orbe::CScriptWaitDlg* WaitDialog() const { return wait_dlg_.get(); }

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void PostNcDestroy() override;

 private:
  void ReportError(const std::string& text);
  // The script's call for a widget event, by the event table's name.
  void RaiseEvent(const char* name, const std::vector<std::string>& args);
  void UnloadScript();

  orbe::ScriptRef module_;
  std::string script_path_;
  std::string last_error_;
  bool quiet_events_ = false;
  int call_depth_ = 0;
  bool delete_when_idle_ = false;
  // The text of the cell being edited, kept from its begin-edit notification.
  std::string edit_before_;
  std::unique_ptr<orbe::CDlgPopContainer> container_dlg_;
  std::unique_ptr<orbe::CScriptWaitDlg> wait_dlg_;
};

#endif  // ORBE_SCRIPT_PY_CONTAINER_WND_H_
