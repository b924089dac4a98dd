#include "screening/window_classes.h"

#include "orbe/platform/window_class.h"

namespace orbe {

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
static_assert(kClassStyle == 11);

bool Register(const char* name, HBRUSH background) {
  WNDCLASSA existing;
  if (GetClassInfoA(AfxGetInstanceHandle(), name, &existing)) return true;
  WNDCLASSA wc;
  wc.style = kClassStyle;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return AfxRegisterClass(&wc) != FALSE;
}

}  // namespace

bool RegisterWindowClassOnce(const char* name) {
  return Register(name, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

bool RegisterWindowClassOnce(const char* name, COLORREF background) {
  WNDCLASSA existing;
  if (GetClassInfoA(AfxGetInstanceHandle(), name, &existing)) return true;
  return Register(name, CreateSolidBrush(background));
}

}  // namespace orbe
