#include "orbe/script/script_dialogs.h"

#include <mutex>
#include <utility>

#include "orbe/platform/message_box.h"

namespace orbe {
namespace {

std::string DefaultHandler(const ScriptDialogRequest& request) {
  if (request.kind == ScriptDialogKind::kText) MessageBoxA(nullptr, request.text.c_str(), request.title.c_str(), MB_OK);
  return std::string();
}

std::mutex& HandlerMutex() {
  static std::mutex mutex;
  return mutex;
}

ScriptDialogHandler& Handler() {
  static ScriptDialogHandler handler = DefaultHandler;
  return handler;
}

}  // namespace

ScriptDialogHandler SetScriptDialogHandler(ScriptDialogHandler handler) {
  const std::lock_guard<std::mutex> hold(HandlerMutex());
  ScriptDialogHandler previous = std::move(Handler());
  Handler() = handler ? std::move(handler) : ScriptDialogHandler(DefaultHandler);
  return previous;
}

std::string ShowScriptDialog(const ScriptDialogRequest& request) {
  ScriptDialogHandler handler;
  {
    const std::lock_guard<std::mutex> hold(HandlerMutex());
    handler = Handler();
  }
  // Outside the lock: a handler may run its own modal loop.
  return handler(request);
}

}  // namespace orbe
