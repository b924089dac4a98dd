#include "orbe/platform/message_box.h"

#include <array>
#include <cstdio>
#include <utility>

#include "orbe/platform/text.h"
#include "platform/no_destructor.h"
#include "platform/replaceable_handler.h"

namespace orbe {
namespace {

// The buttons of each box type, left to right; MB_DEFBUTTONn picks one.
struct ButtonRow {
  std::array<int, 3> buttons;
  std::size_t count;
};
constexpr std::array<ButtonRow, 7> kButtonRows = {{
    {{IDOK, 0, 0}, 1},                         // MB_OK
    {{IDOK, IDCANCEL, 0}, 2},                  // MB_OKCANCEL
    {{IDABORT, IDRETRY, IDIGNORE}, 3},         // MB_ABORTRETRYIGNORE
    {{IDYES, IDNO, IDCANCEL}, 3},              // MB_YESNOCANCEL
    {{IDYES, IDNO, 0}, 2},                     // MB_YESNO
    {{IDRETRY, IDCANCEL, 0}, 2},               // MB_RETRYCANCEL
    {{IDCANCEL, IDTRYAGAIN, IDCONTINUE}, 3},   // MB_CANCELTRYCONTINUE
}};

int PrintToStderr(HWND /*hwnd*/, const std::string& text, const std::string& caption, UINT type) {
  const std::string line = "[" + GbkToUtf8(caption) + "] " + GbkToUtf8(text) + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  return DefaultMessageBoxButton(type);
}

ReplaceableHandler<MessageBoxHandler>& Slot() {
  static NoDestructor<ReplaceableHandler<MessageBoxHandler>> slot(PrintToStderr);
  return *slot.get();
}

}  // namespace

int DefaultMessageBoxButton(UINT type) {
  const UINT row = type & MB_TYPEMASK;
  if (row >= kButtonRows.size()) return IDOK;
  const ButtonRow& buttons = kButtonRows[row];
  const std::size_t chosen = (type & MB_DEFMASK) >> 8;
  return buttons.buttons[chosen < buttons.count ? chosen : 0];
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) { return Slot().Set(std::move(handler)); }

}  // namespace orbe

int MessageBoxA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type) {
  // Called outside the lock: a handler may show boxes or swap handlers itself.
  const orbe::MessageBoxHandler handler = orbe::Slot().Get();
  return handler(hwnd, text != nullptr ? text : "", caption != nullptr ? caption : "Error", type);
}

int AfxMessageBox(const CString& text, UINT type) {
  return MessageBoxA(nullptr, text.c_str(), orbe::kAfxMessageBoxCaption, type);
}
