// The script container window as a host sees it: the IF10Fun interface and
// the exports that create, destroy and pop it up. A container's whole content
// and behaviour come from a script: the host names the script and its entry
// function, and from then on every widget event, timer tick, resize, data
// reply and pushed message calls a function of that script.
#ifndef ORBE_SCRIPT_F10_FUN_H_
#define ORBE_SCRIPT_F10_FUN_H_

#include <string>
#include <vector>

#include "orbe/platform/types.h"
#include "orbe/script/container_fun.h"

class CWnd;
struct _object;

// Options of IF10Fun::SetOption.
inline constexpr int kF10OptionKeepRequests = 1;   // a load leaves the sessions' reply queues alone
inline constexpr int kF10OptionQuietEvents = 2;    // an event whose function the script lacks is no error
inline constexpr int kF10OptionKeepRequests2 = 3;  // as 1 (a second owner's flag)
inline constexpr int kF10OptionDebug = 1001;       // script errors shown in message boxes

class IF10Fun {
 public:
  virtual ~IF10Fun() = default;

  // Moves the window to the rectangle (parent client coordinates) and
  // redraws it; `reserved` is accepted and not used.
  virtual void MoveF10Wnd(int left, int top, int right, int bottom, int reserved) = 0;
  // kF10Option...; a value is on when non-zero. Other options are ignored.
  virtual void SetOption(int option, int value) = 0;
  // Loads the script file (".py" or ".kvx") and calls `entry` with the
  // argument as its one text; an empty `entry` calls nothing. False when
  // the file name has neither ending or the module cannot be imported.
  virtual bool LoadScript(const std::string& path, const std::string& argument, const std::string& entry) = 0;
  // Kept for hosts that ask; always false.
  virtual bool QueryModified() = 0;
  // Calls a function of the loaded script with (script object, texts...).
  virtual bool CallPyFunction(const std::string& name, const std::vector<std::string>& args) = 0;
  // Receives what the script sends with SendMessage and answers GetMessage.
  virtual void SetMessageNotify(IF10MessageNotify* target) = 0;
  virtual bool IsScriptLoaded() const = 0;
  // Requests in flight (the container's request map).
  virtual int GetMapCount() const = 0;
  virtual CWnd* GetF10Wnd() = 0;
};

#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
extern "C" {

// Makes a container window as a child of `parent` with an empty rectangle
// (the host moves it with MoveF10Wnd). `type` is the container's kind tag,
// `id` its control id, `style` added to WS_CHILD | WS_VISIBLE. Null when the
// window could not be made.
IF10Fun* CreateF10Wnd(CWnd* parent, int type, UINT id, DWORD style);
// Destroys and deletes a window made by CreateF10Wnd; any other pointer is
// ignored. Called from inside one of the window's own events, the window is
// hidden at once and deleted when that event has returned.
void DestroyF10Wnd(IF10Fun* window);
// Runs a modal pop-up with the script (entry "InitContainer") and returns
// the int its script set with "KVXCONTAINER_DLG_RETURN_INT" (0 when none).
// `width` and `height` size the pop-up's client area (0: 600 x 400).
int PopF10WndAsModalDlg(const std::string& title, int width, int height, const std::string& script,
                        const std::string& argument);
// The container of a script object that is still inside its call; null for
// an object a script kept, or one of another type.
IF10Fun* GetF10FunFromObject(_object* object);
// The module-wide pop-up (made on first use, top-most, owned by the
// desktop): loads the script with "InitContainer"; an empty path loads
// nothing. The title becomes the caption when it is not empty.
void GlobalDlgRunScript(const std::string& title, const std::string& script, const std::string& argument);
// Negative x or y: the pop-up keeps its place, takes the width and height
// when either is non-negative, and is centred on the screen when x is -1;
// otherwise it moves to (x, y, x + width, y + height). Then it is shown.
void ShowGlobalDlg(int x, int y, int width, int height);
void HideGlobalDlg();
// How many of the window's asynchronous requests ended without their
// complete reply (a failure status, or a send the engine refused) since the
// window was made; 0 for any other pointer. A host tells an incomplete page
// from a complete one by it.
int GetF10FailedRequests(IF10Fun* window);

}  // extern "C"
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

namespace orbe {

// The module-wide pop-up's window (null before the first GlobalDlgRunScript)
// and its container, for hosts that render or drive it.
CWnd* GlobalDlgWindow();
IF10Fun* GlobalDlgContainer();
// Destroys the module-wide pop-up (UnInitDataEngin does).
void DestroyGlobalDlg();

}  // namespace orbe

#endif  // ORBE_SCRIPT_F10_FUN_H_
