// Brushes and cursors as tokens. A brush handle is a number: the system
// colour brushes (COLOR_x + 1, as classes name them), the stock brushes and
// the solid brushes made here, never reused; a stale or forged handle is
// found missing rather than read.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "orbe/platform/window_class.h"
#include "platform/no_destructor.h"

namespace orbe {
namespace {

constexpr std::uintptr_t kStockBrushBase = 0x1000;    // + WHITE_BRUSH ..
constexpr std::uintptr_t kSysColorBrushBase = 0x2000; // + COLOR_x
constexpr std::uintptr_t kFirstSolidBrush = 0x10000;

struct StockBrush {
  bool paints;
  COLORREF color;
};
constexpr std::array<StockBrush, 6> kStockBrushes = {{
    {true, RGB(255, 255, 255)},  // WHITE_BRUSH
    {true, RGB(192, 192, 192)},  // LTGRAY_BRUSH
    {true, RGB(128, 128, 128)},  // GRAY_BRUSH
    {true, RGB(64, 64, 64)},     // DKGRAY_BRUSH
    {true, RGB(0, 0, 0)},        // BLACK_BRUSH
    {false, 0},                  // NULL_BRUSH
}};

constexpr int kSystemColorCount = 31;

// The colours of the common system colour indices; the others are black.
COLORREF SystemColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_BTNFACE: return RGB(240, 240, 240);
    case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
    default: return RGB(0, 0, 0);
  }
}


class SolidBrushes {
 public:
  static SolidBrushes& Instance() {
    static NoDestructor<SolidBrushes> brushes;
    return *brushes.get();
  }
  std::uintptr_t Add(COLORREF color) {
    const std::lock_guard lock(mutex_);
    const std::uintptr_t id = next_++;
    colors_.emplace(id, color);
    return id;
  }
  bool Find(std::uintptr_t id, COLORREF* color) const {
    const std::lock_guard lock(mutex_);
    const auto at = colors_.find(id);
    if (at == colors_.end()) return false;
    *color = at->second;
    return true;
  }
  bool Remove(std::uintptr_t id) {
    const std::lock_guard lock(mutex_);
    return colors_.erase(id) > 0;
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::uintptr_t, COLORREF> colors_;
  std::uintptr_t next_ = kFirstSolidBrush;
};

std::uintptr_t Token(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

constexpr std::array<std::uintptr_t, 7> kCursorIds = {32512, 32513, 32514, 32515, 32644, 32645, 32649};

std::atomic<std::uintptr_t> current_cursor{0};

}  // namespace

bool BrushColor(HBRUSH brush, COLORREF* color) {
  const std::uintptr_t id = Token(brush);
  COLORREF found = 0;
  if (id >= 1 && id <= kSystemColorCount) {  // (HBRUSH)(COLOR_x + 1)
    found = SystemColor(static_cast<int>(id - 1));
  } else if (id >= kStockBrushBase && id < kStockBrushBase + kStockBrushes.size()) {
    const StockBrush& stock = kStockBrushes[id - kStockBrushBase];
    if (!stock.paints) return false;
    found = stock.color;
  } else if (id >= kSysColorBrushBase && id < kSysColorBrushBase + kSystemColorCount) {
    found = SystemColor(static_cast<int>(id - kSysColorBrushBase));
  } else if (id < kFirstSolidBrush || !SolidBrushes::Instance().Find(id, &found)) {
    return false;
  }
  if (color != nullptr) *color = found;
  return true;
}

std::uintptr_t CurrentCursorId() { return current_cursor.load(); }

}  // namespace orbe

HGDIOBJ GetStockObject(int object) {
  if (object < 0 || static_cast<std::size_t>(object) >= orbe::kStockBrushes.size()) return nullptr;
  return reinterpret_cast<HGDIOBJ>(orbe::kStockBrushBase + static_cast<std::uintptr_t>(object));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return reinterpret_cast<HBRUSH>(orbe::SolidBrushes::Instance().Add(color & 0x00FFFFFF));
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= orbe::kSystemColorCount) return nullptr;
  return reinterpret_cast<HBRUSH>(orbe::kSysColorBrushBase + static_cast<std::uintptr_t>(index));
}

COLORREF GetSysColor(int index) {
  return index >= 0 && index < orbe::kSystemColorCount ? orbe::SystemColor(index) : 0;
}

BOOL DeleteObject(HGDIOBJ object) {
  const std::uintptr_t id = orbe::Token(object);
  if (id >= orbe::kFirstSolidBrush) return orbe::SolidBrushes::Instance().Remove(id) ? TRUE : FALSE;
  // Stock and system objects are not freed, and deleting them succeeds.
  return id != 0 ? TRUE : FALSE;
}

HCURSOR LoadCursorA(HINSTANCE /*instance*/, LPCSTR id) {
  const std::uintptr_t number = orbe::Token(id);
  for (const std::uintptr_t known : orbe::kCursorIds) {
    if (known == number) return reinterpret_cast<HCURSOR>(number);
  }
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  return reinterpret_cast<HCURSOR>(orbe::current_cursor.exchange(orbe::Token(cursor)));
}
