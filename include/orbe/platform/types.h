// Win32/MFC-shaped basic types. The module's exported signatures read as on
// the platform it was designed for, so hosts and components share these names.
#ifndef ORBE_PLATFORM_TYPES_H_
#define ORBE_PLATFORM_TYPES_H_

#include <cstdint>
#include <string>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using LPCSTR = const char*;
using LPSTR = char*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A window handle is an opaque token from the window table, never a pointer
// that is dereferenced: a stale handle is looked up and found missing.
struct HWND__;
using HWND = HWND__*;

// A loaded library.
struct HINSTANCE__;
using HMODULE = HINSTANCE__*;

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};
static_assert(sizeof(RECT) == 16);

struct POINT {
  LONG x = 0;
  LONG y = 0;
};
static_assert(sizeof(POINT) == 8);

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

// MFC's string class is a byte string holding GBK text here.
using CString = std::string;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }

#ifndef MAX_PATH
#define MAX_PATH 260
#endif

#endif  // ORBE_PLATFORM_TYPES_H_
