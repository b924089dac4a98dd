// Message boxes. Headless, a box is a call of a replaceable handler: tests
// capture the boxes, the terminal prints them, a GUI shows them.
#ifndef ORBE_PLATFORM_MESSAGE_BOX_H_
#define ORBE_PLATFORM_MESSAGE_BOX_H_

#include <functional>
#include <string>

#include "orbe/platform/types.h"

// Buttons (type & MB_TYPEMASK).
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_CANCELTRYCONTINUE = 0x6;
constexpr UINT MB_TYPEMASK = 0xF;
// Icons.
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONMASK = 0xF0;
// Default button: the first unless one of these picks another.
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFBUTTON4 = 0x300;
constexpr UINT MB_DEFMASK = 0xF00;
// Modality and placement: accepted and passed on to the handler.
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;

// Results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// A null caption becomes "Error" and a null text an empty one, as on the
// platform. The box is shown even when hwnd is no longer a window.
int MessageBoxA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type);
// Captioned with the module's application name, orbe::kAfxMessageBoxCaption.
int AfxMessageBox(const CString& text, UINT type = MB_OK);

namespace orbe {

inline constexpr const char* kAfxMessageBoxCaption = "orbe";

// Text and caption are GBK bytes. Returns the button "pressed".
using MessageBoxHandler =
    std::function<int(HWND hwnd, const std::string& text, const std::string& caption, UINT type)>;

// Replaces the handler for the whole process and returns the previous one. An
// empty function restores the default: "[caption] text" in UTF-8 on stderr,
// answered with the type's default button.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The button a box of this type answers with when nobody presses one.
int DefaultMessageBoxButton(UINT type);

}  // namespace orbe

#endif  // ORBE_PLATFORM_MESSAGE_BOX_H_
