// The pop-up container dialog (resource 12023): a dialog holding one script
// container that fills it, and the target of that container's messages, so
// the script closes, sizes and answers its dialog by message names. It runs
// modally (PopF10WndAsModalDlg, PopModalDlg) or stays as a modeless pop-up
// (the module-wide one of GlobalDlgRunScript, a window's own of
// ContainerDlgRunScript). The small wait dialog of ShowWaitDlg lives here too.
#ifndef ORBE_SCRIPT_DLG_POP_CONTAINER_H_
#define ORBE_SCRIPT_DLG_POP_CONTAINER_H_

#include <memory>
#include <string>

#include "orbe/platform/dialog.h"
#include "orbe/script/container_fun.h"
#include "orbe/script/script_ref.h"

class CPyContainerWnd;

namespace orbe {

inline constexpr UINT kPopContainerDialogId = 12023;
inline constexpr UINT kScriptWaitDialogId = 12024;

// The names a pop-up's script sends (SendMessage) and asks (GetMessage).
inline constexpr char kDlgClose[] = "KVXCONTAINER_DLG_CLOSE";
inline constexpr char kDlgReturnInt[] = "KVXCONTAINER_DLG_RETURN_INT";
inline constexpr char kDlgResize[] = "KVXCONTAINER_DLG_RESIZE";
inline constexpr char kDlgIsDefaultPassword[] = "IS_DEFAULT_PASSWORD";
// The object store name of the pop-up's result object.
inline constexpr char kDlgResult[] = "KVXCONTAINER_DLG_RESULT";
// The host's default password: IS_DEFAULT_PASSWORD answers "YES" for it.
inline constexpr char kDefaultPassword[] = "531531";

class CDlgPopContainer : public CDialog, public IF10MessageNotify {
 public:
  // `width` x `height` is the client area (the container's size).
  CDlgPopContainer(CWnd* owner, int width, int height);
  ~CDlgPopContainer() override;

  // Modal: the script loads with "InitContainer" when the dialog opens.
  void SetScript(const std::string& title, const std::string& script, const std::string& argument);
  // Modeless: the caption becomes the title when it is not empty, and the
  // script loads with "InitContainer" (an empty path loads nothing).
  void RunScript(const std::string& title, const std::string& script, const std::string& argument);
  // The placement of ShowGlobalDlg and ShowContainerDlg, then shown.
  void Place(int x, int y, int width, int height);

  CPyContainerWnd* Container() const { return container_.get(); }
  // What the script set with KVXCONTAINER_DLG_RETURN_INT (0 before).
  int ReturnValue() const { return return_value_; }
  // Picks the script's result object (saved as KVXCONTAINER_DLG_RESULT);
  // empty when the script saved none.
  ScriptRef TakeResultObject();
  // Where the dialog's icon comes from ("" when its setting is "None" or the
  // file is absent): "DllRes/logo.ico" under the configuration folder.
  const std::string& IconPath() const { return icon_path_; }
  // Messages the pop-up does not handle itself go to this target.
  void SetForwardTarget(IF10MessageNotify* target) { forward_ = target; }

  void OnContainerMessage(const std::string& first, const std::string& second, const std::string& name,
                          const std::string& value) override;
  std::string OnContainerQuery(const std::string& first, const std::string& second, const std::string& name,
                               const std::string& value) override;

 protected:
  BOOL OnInitDialog() override;
  RECT InitialRect() const override { return RECT{0, 0, width_, height_}; }
  void OnSize(UINT type, int width, int height) override;

 private:
  bool MakeContainer();
  void Close();

  std::unique_ptr<CPyContainerWnd> container_;
  int width_;
  int height_;
  std::string title_;
  std::string script_;
  std::string argument_;
  int return_value_ = 0;
  std::string icon_path_;
  IF10MessageNotify* forward_ = nullptr;
};

// The wait dialog: a small modeless box with a fixed text, shown at a point
// of the screen while a script works. It ends by itself (never blocks).
class CScriptWaitDlg : public CDialog {
 public:
  explicit CScriptWaitDlg(CWnd* owner);
  // Shows the box with its top-left corner at (x, y), screen coordinates.
  void ShowAt(int x, int y);
  void Hide();
  bool NeedsUser() const override { return false; }

 protected:
  BOOL OnInitDialog() override;
  RECT InitialRect() const override { return RECT{0, 0, 220, 60}; }
};

}  // namespace orbe

#endif  // ORBE_SCRIPT_DLG_POP_CONTAINER_H_
