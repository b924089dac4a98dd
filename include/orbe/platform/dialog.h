// Dialogs, as the framework's CDialog: a top-level window made from a
// resource number, owned by its parent window, with OK and Cancel. A
// derived class makes its controls in OnInitDialog (there are no resource
// files: the resource number names the dialog and sizes nothing).
//
// DoModal pumps a modal loop on the calling thread, the same queue and
// timers as every other loop, until EndDialog, and returns its result. Just
// before the loop starts, the dialog is handed to a replaceable handler that
// plays the user, as message boxes are: tests click and type through it, the
// terminal answers from its script, a GUI shows the dialog. The default
// handler cancels a dialog that needs a user (there is none) and leaves
// alone one that ends by itself.
#ifndef ORBE_PLATFORM_DIALOG_H_
#define ORBE_PLATFORM_DIALOG_H_

#include <cstdint>
#include <functional>

#include "orbe/platform/message_box.h"
#include "orbe/platform/window.h"

using INT_PTR = std::intptr_t;

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT template_id, CWnd* parent = nullptr)
      : template_id_(template_id), parent_window_(parent) {}
  ~CDialog() override;

  UINT GetTemplateId() const { return template_id_; }

  // Makes the window, calls OnInitDialog, shows it (unless OnInitDialog hid
  // it or ended the dialog), hands it to the dialog handler and pumps until
  // EndDialog. Returns EndDialog's result; -1 when the window could not be
  // made or was destroyed in the loop, or a quit was posted. The window is
  // destroyed before DoModal returns.
  virtual INT_PTR DoModal();
  // Modeless: makes the window and calls OnInitDialog; it lives until
  // DestroyWindow. Not given to the dialog handler.
  virtual BOOL Create(UINT template_id, CWnd* parent = nullptr);
  // Modal: ends the loop with `result`. Modeless: hides the dialog.
  void EndDialog(int result);
  bool IsModal() const { return modal_; }
  // The result EndDialog was given last (-1 before).
  int GetResult() const { return result_; }

  // Copies between the controls and the members: DoDataExchange(save).
  BOOL UpdateData(BOOL save_and_validate = TRUE);

  // Enter presses OK and Escape presses Cancel, as the platform's dialog
  // manager does for the keys the dialog's controls do not take.
  BOOL PreTranslateMessage(MSG* msg) override;

  // Whether the dialog waits for a user to end it. A dialog that ends itself
  // (a progress dialog) overrides this with false: the default handler then
  // lets it run.
  virtual bool NeedsUser() const { return true; }

 protected:
  // Return FALSE when the focus was set here (kept for the framework's sake).
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK();
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // save true: controls to members; false: members to controls. False
  // refuses the data (OnOK then keeps the dialog open).
  virtual bool DoDataExchange(bool /*save*/) { return true; }
  // The window's rectangle before OnInitDialog; the resource would give it.
  virtual RECT InitialRect() const { return RECT{0, 0, 400, 300}; }

  // WM_COMMAND IDOK / IDCANCEL go to OnOK / OnCancel; WM_CLOSE cancels.
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  BOOL CreateDialogWindow(CWnd* owner);

  UINT template_id_;
  CWnd* parent_window_;
  bool modal_ = false;
  bool ended_ = false;
  int result_ = -1;
};

namespace orbe {

// Plays the user of a modal dialog: called once on the dialog's thread,
// after OnInitDialog and just before the modal loop starts pumping. It may end the dialog at once,
// act on its controls (the injection functions of the widgets, PressKey,
// SendMessage of commands), or arrange to act later (timers, posted
// messages); the loop keeps running until the dialog ends.
using DialogHandler = std::function<void(CDialog& dialog)>;

// Replaces the handler for the whole process and returns the previous one.
// An empty function restores the default, which ends every dialog that
// NeedsUser() with IDCANCEL and writes "[dialog <id>] <caption>: cancelled"
// (UTF-8) to stderr.
DialogHandler SetDialogHandler(DialogHandler handler);

}  // namespace orbe

#endif  // ORBE_PLATFORM_DIALOG_H_
