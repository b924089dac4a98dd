// Window classes, brushes and cursors. A class is registered once per process
// by name (without case, as the platform compares class names) and keeps its
// style, cursor and background, which renderers and the mouse input read.
// The module's windows are CWnd objects: their messages go to the object's
// WindowProc whatever procedure the class names, as the framework routes
// every window it makes through its own procedure.
#ifndef ORBE_PLATFORM_WINDOW_CLASS_H_
#define ORBE_PLATFORM_WINDOW_CLASS_H_

#include <cstdint>

#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

using HINSTANCE = HMODULE;
using ATOM = WORD;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
struct HICON__;
using HICON = HICON__*;
using HGDIOBJ = void*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_GLOBALCLASS = 0x4000;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;

// System colours; a class background may be (HBRUSH)(COLOR_x + 1).
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_HIGHLIGHT = 13;

struct WNDCLASSA {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  LPCSTR lpszMenuName = nullptr;
  LPCSTR lpszClassName = nullptr;
};

// The cursor ids of LoadCursorA(nullptr, id).
inline const LPCSTR IDC_ARROW = reinterpret_cast<LPCSTR>(std::uintptr_t{32512});
inline const LPCSTR IDC_IBEAM = reinterpret_cast<LPCSTR>(std::uintptr_t{32513});
inline const LPCSTR IDC_WAIT = reinterpret_cast<LPCSTR>(std::uintptr_t{32514});
inline const LPCSTR IDC_CROSS = reinterpret_cast<LPCSTR>(std::uintptr_t{32515});
inline const LPCSTR IDC_SIZEWE = reinterpret_cast<LPCSTR>(std::uintptr_t{32644});
inline const LPCSTR IDC_SIZENS = reinterpret_cast<LPCSTR>(std::uintptr_t{32645});
inline const LPCSTR IDC_HAND = reinterpret_cast<LPCSTR>(std::uintptr_t{32649});

// Registers a class; its name and menu name are copied. 0 when the class is
// already registered (the first registration stays), when the name is null
// or empty, or the structure is null.
ATOM RegisterClassA(const WNDCLASSA* window_class);
// TRUE and the registration (its name pointing into the registry, valid
// until the class is unregistered) when the class exists. The instance is
// not compared: classes are process-wide.
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR class_name, WNDCLASSA* window_class);
// Fails while a window of the class exists, as on the platform.
BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance);
// The framework's helper: TRUE when the class is registered afterwards,
// whether by this call or before.
BOOL AfxRegisterClass(WNDCLASSA* window_class);
HINSTANCE AfxGetInstanceHandle();
// Copies the class name of a window, cut to fit; the length copied, 0 for a
// window without a class or a bad handle.
int GetClassNameA(HWND hwnd, LPSTR buffer, int size);

HGDIOBJ GetStockObject(int object);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH GetSysColorBrush(int index);
COLORREF GetSysColor(int index);
// Frees a brush made by CreateSolidBrush; stock and system brushes stay.
BOOL DeleteObject(HGDIOBJ object);
// A standard cursor by id (instance null); null for an unknown id.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR id);
HCURSOR SetCursor(HCURSOR cursor);

// The system procedure, returning 0 for everything: what classes name as
// "the default window procedure".
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

namespace orbe {

// The colour a brush paints: false for the null brush and for a handle that
// is not a live brush.
bool BrushColor(HBRUSH brush, COLORREF* color);
// The class style and background of a window's class: false for a plain
// window or a bad handle. A class without background (or with the null
// brush) reports has_background false.
struct WindowClassLook {
  UINT style = 0;
  bool has_background = false;
  COLORREF background = 0;
  std::uintptr_t cursor_id = 0;  // the IDC_ number, 0 for none
};
bool GetWindowClassLook(HWND hwnd, WindowClassLook* look);
// The cursor set last with SetCursor, as its IDC_ number (0: none).
std::uintptr_t CurrentCursorId();

}  // namespace orbe

#endif  // ORBE_PLATFORM_WINDOW_CLASS_H_
