// The small dialogs scripts open (DlgShowText, ShowspecialDlg). Headless, a
// dialog is a call of a replaceable handler, as the file dialogs are: tests
// and the terminal answer it, a GUI shows a real dialog.
#ifndef ORBE_SCRIPT_SCRIPT_DIALOGS_H_
#define ORBE_SCRIPT_SCRIPT_DIALOGS_H_

#include <functional>
#include <string>

namespace orbe {

enum class ScriptDialogKind {
  kText,     // shows a text in a window of the given size; no answer
  kSpecial,  // asks the user for a text; `special` is the script's own kind
};

// Texts are GBK.
struct ScriptDialogRequest {
  ScriptDialogKind kind = ScriptDialogKind::kText;
  int special = 0;
  std::string title;
  std::string text;
  int width = 0;
  int height = 0;
};

// Returns the text the user gave, or "" when the dialog was closed or cancelled.
using ScriptDialogHandler = std::function<std::string(const ScriptDialogRequest& request)>;

// Replaces the handler for the whole process and returns the previous one. An
// empty function restores the default: a text dialog goes to the message box
// (MessageBoxA, so the user still sees the text), a question is cancelled.
ScriptDialogHandler SetScriptDialogHandler(ScriptDialogHandler handler);
std::string ShowScriptDialog(const ScriptDialogRequest& request);

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_DIALOGS_H_
