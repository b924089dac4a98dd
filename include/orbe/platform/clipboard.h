// The clipboard: an in-process store behind the platform's names. One
// thread at a time has it open; what was put on it stays until the next
// EmptyClipboard. Text is CF_TEXT, GBK bytes ending in a NUL. There is no
// desktop clipboard to share with other programs; the browser front end
// carries the text to the user's own clipboard.
#ifndef ORBE_PLATFORM_CLIPBOARD_H_
#define ORBE_PLATFORM_CLIPBOARD_H_

#include <cstddef>
#include <string>

#include "orbe/platform/types.h"

using HANDLE = void*;
using HGLOBAL = HANDLE;
using SIZE_T = std::size_t;

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_UNICODETEXT = 13;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Global memory blocks, as the clipboard takes them. Handles are checked:
// a freed or forged handle gives null / FALSE, never a crash.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
void* GlobalLock(HGLOBAL memory);
// FALSE once the block is unlocked as often as it was locked.
BOOL GlobalUnlock(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);
// Null on success, the handle when it is not a block this process may free
// (for example one handed to the clipboard).
HGLOBAL GlobalFree(HGLOBAL memory);

// FALSE while another thread has the clipboard open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Drops every format; the clipboard must be open on this thread.
BOOL EmptyClipboard();
// The clipboard takes the block (do not free it) and returns it; null when
// the clipboard is not open on this thread or the block is not live.
HANDLE SetClipboardData(UINT format, HANDLE memory);
// The clipboard's block of that format (owned by the clipboard, valid until
// it is emptied); null when not open on this thread or the format is absent.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

namespace orbe {

// The whole round in one call, for hosts and the front end: false only while
// another thread holds the clipboard open.
bool SetClipboardText(const std::string& gbk_text);
// The CF_TEXT content up to its first NUL; "" when there is none.
std::string GetClipboardText();

}  // namespace orbe

#endif  // ORBE_PLATFORM_CLIPBOARD_H_
