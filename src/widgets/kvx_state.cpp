#include <atomic>

#include "orbe/widgets/kvx_functions.h"

namespace {

std::atomic<int> g_scroll_bar_type{0};
// How many starts are not yet matched by a stop.
std::atomic<int> g_graphics_users{0};

}  // namespace

int KVXGetScrollBarType() { return g_scroll_bar_type.load(); }

void KVXSetScrollBarType(int type) { g_scroll_bar_type.store(type); }

BOOL InitGDIPlus() {
  g_graphics_users.fetch_add(1);
  return TRUE;
}

void UninitGDIPlus() {
  // An unmatched stop must not leave the count below zero, or the next start
  // would not bring the state up.
  int users = g_graphics_users.load();
  while (users > 0 && !g_graphics_users.compare_exchange_weak(users, users - 1)) {
  }
}

bool IsGraphicsReady() { return g_graphics_users.load() > 0; }
