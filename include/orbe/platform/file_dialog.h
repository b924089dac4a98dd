// File and folder dialogs. Headless, a dialog is a call of a replaceable
// handler: tests and the terminal answer it, a GUI shows a real dialog.
#ifndef ORBE_PLATFORM_FILE_DIALOG_H_
#define ORBE_PLATFORM_FILE_DIALOG_H_

#include <functional>
#include <string>

namespace orbe {

enum class FileDialogKind { kOpenFile, kSaveFile, kBrowseFolder };

// Texts are GBK. filter is in the "label|pattern|label|pattern||" form of
// the platform's file dialogs; empty for a folder dialog.
struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kOpenFile;
  std::string filter;
  std::string default_extension;  // without the dot
  std::string initial_name;
  std::string title;
};

// Returns the chosen path, or "" when the user cancelled.
using FileDialogHandler = std::function<std::string(const FileDialogRequest& request)>;

// Replaces the handler for the whole process and returns the previous one. An
// empty function restores the default, which has no user to ask and cancels.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

// Shows the dialog through the current handler.
std::string ShowFileDialog(const FileDialogRequest& request);

}  // namespace orbe

#endif  // ORBE_PLATFORM_FILE_DIALOG_H_
