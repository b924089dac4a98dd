#include "orbe/platform/file_dialog.h"

#include <mutex>
#include <utility>

#include "platform/no_destructor.h"

namespace orbe {
namespace {

std::string Cancel(const FileDialogRequest& /*request*/) { return std::string(); }

struct HandlerSlot {
  std::mutex mutex;
  FileDialogHandler handler = Cancel;
};

HandlerSlot& Slot() {
  static NoDestructor<HandlerSlot> slot;
  return *slot.get();
}

FileDialogHandler CurrentHandler() {
  HandlerSlot& slot = Slot();
  const std::lock_guard lock(slot.mutex);
  return slot.handler;
}

}  // namespace

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) {
  if (!handler) handler = Cancel;
  HandlerSlot& slot = Slot();
  const std::lock_guard lock(slot.mutex);
  return std::exchange(slot.handler, std::move(handler));
}

std::string ShowFileDialog(const FileDialogRequest& request) {
  // Called outside the lock: a handler may itself show dialogs or swap handlers.
  const FileDialogHandler handler = CurrentHandler();
  return handler(request);
}

}  // namespace orbe
