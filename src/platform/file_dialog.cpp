#include "orbe/platform/file_dialog.h"

#include <utility>

#include "platform/no_destructor.h"
#include "platform/replaceable_handler.h"

namespace orbe {
namespace {

std::string Cancel(const FileDialogRequest& /*request*/) { return std::string(); }

ReplaceableHandler<FileDialogHandler>& Slot() {
  static NoDestructor<ReplaceableHandler<FileDialogHandler>> slot(Cancel);
  return *slot.get();
}

}  // namespace

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) { return Slot().Set(std::move(handler)); }

std::string ShowFileDialog(const FileDialogRequest& request) {
  // Called outside the lock: a handler may itself show dialogs or swap handlers.
  const FileDialogHandler handler = Slot().Get();
  return handler(request);
}

}  // namespace orbe
