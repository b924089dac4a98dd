// Windows, messages and timers, shaped as the module expects of Win32 and its
// framework. Headless: a window is a real object with state (rectangle, text,
// visibility, children, timers) but draws no pixels.
//
// Threads: a window belongs to the thread that created it. Its messages are
// dispatched only on that thread, while the thread pumps (orbe::RunUntilIdle,
// orbe::PumpUntil, a modal loop). PostMessage and SendMessage work from any
// thread; everything else is called on the owner thread.
#ifndef ORBE_PLATFORM_WINDOW_H_
#define ORBE_PLATFORM_WINDOW_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "orbe/platform/types.h"

using UINT_PTR = std::uintptr_t;

#ifndef INFINITE
#define INFINITE 0xFFFFFFFF
#endif

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;

// Virtual keys of WM_KEYDOWN and WM_KEYUP (VK_SHIFT and VK_CONTROL are in sync.h).
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_DECIMAL = 0x6E;

// wParam of mouse messages: the buttons held.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;

// GetSystemMetrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// wParam of WM_SIZE.
constexpr WPARAM SIZE_RESTORED = 0;

constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// A message as the loop takes it from the queue, before it is dispatched.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

namespace orbe {
struct WindowAccess;
}

// A window, as the framework's window class: derive and override WindowProc
// or the On... handlers. Destroying the object destroys its window; a derived
// class that handles WM_DESTROY calls DestroyWindow() in its own destructor,
// because the base destructor no longer reaches the derived handlers.
class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Creates the window on the calling thread, as a child of parent (may be
  // null), then sends WM_CREATE and WM_SIZE. FALSE when this object already
  // has a window, the parent has none or belongs to another thread, or
  // OnCreate/WM_CREATE returned -1 (the window is then destroyed again).
  BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style = 0);
  // As the framework's Create: a window of a registered class (see
  // orbe/platform/window_class.h) with a caption. FALSE for a class name
  // that is not registered; a null class name makes a plain window.
  BOOL Create(LPCSTR class_name, LPCSTR window_name, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL CreateEx(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);
  // Destroys the children, sends WM_DESTROY, drops the handle with its timers
  // and pending messages, then calls PostNcDestroy (which may delete this).
  // FALSE when there is no window or the caller is not the owner thread.
  virtual BOOL DestroyWindow();

  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object behind a live handle; null for a destroyed or unknown one.
  static CWnd* FromHandle(HWND hwnd);
  CWnd* GetParent() const;
  int GetDlgCtrlID() const { return static_cast<int>(id_); }
  CWnd* GetDlgItem(int id) const;
  std::vector<HWND> GetChildren() const { return children_; }
  DWORD GetStyle() const { return style_; }
  DWORD GetExStyle() const { return ex_style_; }
  void ModifyExStyle(DWORD remove, DWORD add) { ex_style_ = (ex_style_ & ~remove) | add; }
  // The registered class the window was made with; "" for a plain window.
  const CString& GetClassName() const { return class_name_; }
  // A top-level window's owner (a dialog's parent window); null otherwise.
  CWnd* GetOwner() const;
  void SetOwner(CWnd* owner);

  // Position in the parent's client coordinates; sends WM_SIZE.
  void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void GetClientRect(RECT* rect) const;
  // In screen coordinates: offset by every ancestor's position.
  void GetWindowRect(RECT* rect) const;
  // Moves a top-level window to the middle of its owner, or of the desktop.
  void CenterWindow(CWnd* alternate_owner = nullptr);

  // Returns whether the window was visible before.
  BOOL ShowWindow(int command);
  // Visible only when this window and all its ancestors are shown.
  BOOL IsWindowVisible() const;
  // Returns whether the window was disabled before; sends WM_ENABLE on change.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  void SetWindowText(const CString& text) { text_ = text; }
  void GetWindowText(CString& text) const { text = text_; }

  BOOL PostMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  LRESULT SendMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  // The timer procedure is not supported: pass nullptr, get WM_TIMER.
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse_ms, void* timer_proc);
  BOOL KillTimer(UINT_PTR id);

  // Pumps this thread's messages until EndModalLoop, the window's
  // destruction (returns -1) or PostQuitMessage (returns -1, the quit stays
  // posted for the outer loops).
  virtual int RunModalLoop(DWORD flags = 0);
  // Ends the innermost running modal loop of this window; no effect otherwise.
  virtual void EndModalLoop(int result);
  BOOL ContinueModal() const;

  // Focus is per thread. Sends WM_KILLFOCUS to the old and WM_SETFOCUS to the
  // new window; returns the window that had the focus.
  CWnd* SetFocus();
  static CWnd* GetFocus();

  // Marks the whole client area for repainting; UpdateWindow sends WM_PAINT
  // when it is marked. GetUpdateRect tells whether it is.
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow();
  BOOL GetUpdateRect(RECT* rect, BOOL erase = FALSE) const;

  // Called by every loop for a posted message or a timer tick of this
  // window or of one of its descendants, before dispatch: first on the
  // target window, then on each ancestor in turn. TRUE consumes the message
  // (it is not dispatched). Sent messages do not pass here.
  virtual BOOL PreTranslateMessage(MSG* /*msg*/) { return FALSE; }

  HWND m_hWnd = nullptr;

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void PostNcDestroy() {}

  // Handlers that the default WindowProc dispatches to.
  virtual int OnCreate() { return 0; }
  virtual void OnDestroy() {}
  virtual void OnSize(UINT /*type*/, int /*width*/, int /*height*/) {}
  virtual void OnTimer(UINT_PTR /*id*/) {}
  virtual void OnPaint() {}
  virtual void OnSetFocus(CWnd* /*old_focus*/) {}
  virtual void OnKillFocus(CWnd* /*new_focus*/) {}
  // The default destroys the window, as the platform does.
  virtual void OnClose() { DestroyWindow(); }

 private:
  friend struct orbe::WindowAccess;
  struct ModalFrame;

  void ForgetWindow();
  void EndAllModalLoops();

  HWND parent_ = nullptr;
  HWND owner_ = nullptr;
  std::vector<HWND> children_;
  RECT rect_;
  DWORD style_ = 0;
  DWORD ex_style_ = 0;
  CString class_name_;
  UINT id_ = 0;
  CString text_;
  bool invalid_ = false;
  bool destroying_ = false;
  ModalFrame* modal_frame_ = nullptr;
};

BOOL IsWindow(HWND hwnd);
// Safe from any thread; the message is queued for the window's thread. FALSE
// for a null, destroyed or unknown window, or one whose thread has ended.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// On the window's thread a direct call. From another thread the message is
// queued for the owner and the caller blocks, still answering messages sent to
// it, until the owner has processed it while pumping. 0 for a destroyed or
// unknown window, or one whose thread has ended.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// Returns the timer id (1 for id 0), or 0 for a bad window or a timer proc.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse_ms, void* timer_proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
BOOL DestroyWindow(HWND hwnd);
// Same name (without case) -> same id, from 0xC000 upward; 0 for an empty
// name or when the range is used up.
UINT RegisterWindowMessageA(LPCSTR name);
// Asks this thread's loops to stop: PumpUntil and modal loops return.
void PostQuitMessage(int exit_code);
// The desktop's size (SM_CXSCREEN, SM_CYSCREEN); 0 for other metrics.
int GetSystemMetrics(int index);

namespace orbe {

// Dispatches everything due on the calling thread now: sent and posted
// messages (including those posted by the handlers) and due timers, each
// timer at most once. Returns how many messages reached a window.
std::size_t RunUntilIdle();
// Pumps until condition() holds (true) or timeout_ms passed or a quit was
// posted (false). Sleeps between events; a condition changed by another
// thread without a message is noticed within 10 ms.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout_ms);
void PumpFor(DWORD ms);

// The exit code of PostQuitMessage on this thread, if one is posted.
bool QuitPosted(int* exit_code = nullptr);
void ClearQuit();

// The desktop a headless host pretends to have; 1920 x 1080 until set.
void SetDesktopSize(int width, int height);

// What a user does with keyboard and mouse, posted to the window's queue in
// the order the platform posts it, so that PreTranslateMessage sees it.
// Called on the window's thread; FALSE for a window that is gone.
// A key: WM_KEYDOWN then WM_KEYUP (to the focus window when hwnd is null).
BOOL PressKey(HWND hwnd, UINT virtual_key);
enum class MouseButton { kLeft, kRight };
// A click at (x, y) in client coordinates: button down, button up; a right
// click then WM_CONTEXTMENU (screen coordinates). A double click sends the
// second press as WM_xBUTTONDBLCLK only when the window's class has
// CS_DBLCLKS, as the platform does; otherwise it is a second plain press.
BOOL ClickMouse(HWND hwnd, int x, int y, MouseButton button = MouseButton::kLeft, bool double_click = false);

}  // namespace orbe

#endif  // ORBE_PLATFORM_WINDOW_H_
