// What a grid tells its parent: WM_NOTIFY messages with the grid-view record,
// and the same events as calls on a registered listener.
#ifndef ORBE_WIDGETS_GRID_NOTIFY_H_
#define ORBE_WIDGETS_GRID_NOTIFY_H_

#include <string>

#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

constexpr UINT WM_NOTIFY = 0x004E;

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

struct NM_GRIDVIEW {
  NMHDR hdr;
  int iRow;
  int iColumn;
};

// Notification codes, as the list-view codes they mirror.
constexpr UINT NM_CLICK = static_cast<UINT>(-2);
constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
constexpr UINT NM_RCLICK = static_cast<UINT>(-5);
constexpr UINT GVN_SELCHANGED = static_cast<UINT>(-101);
constexpr UINT GVN_BEGINLABELEDIT = static_cast<UINT>(-105);
constexpr UINT GVN_ENDLABELEDIT = static_cast<UINT>(-106);
constexpr UINT GVN_COLUMNCLICK = static_cast<UINT>(-108);
// The library's own codes for cell kinds the list view does not have.
constexpr UINT GVN_CHECKCLICKED = static_cast<UINT>(-180);
constexpr UINT GVN_COMBOSELCHANGE = static_cast<UINT>(-181);
constexpr UINT GVN_COLUMNRESIZED = static_cast<UINT>(-182);

class CGridCtrl;

// Grid events for an owner that is not the parent window (the report window,
// the script container). Every call comes after the grid changed its state.
class IGridNotifyMsg {
 public:
  virtual ~IGridNotifyMsg() = default;
  virtual void OnGridClick(CGridCtrl& /*grid*/, int /*row*/, int /*col*/) {}
  virtual void OnGridDblClick(CGridCtrl& /*grid*/, int /*row*/, int /*col*/) {}
  virtual void OnGridSelChanged(CGridCtrl& /*grid*/, int /*row*/, int /*col*/) {}
  virtual void OnGridEndEdit(CGridCtrl& /*grid*/, int /*row*/, int /*col*/, const std::string& /*text*/) {}
  virtual void OnGridCheckClicked(CGridCtrl& /*grid*/, int /*row*/, int /*col*/, bool /*checked*/) {}
  virtual void OnGridComboSelChange(CGridCtrl& /*grid*/, int /*row*/, int /*col*/, int /*index*/) {}
  virtual void OnGridColumnResized(CGridCtrl& /*grid*/, int /*col*/, int /*width*/) {}
};

#endif  // ORBE_WIDGETS_GRID_NOTIFY_H_
