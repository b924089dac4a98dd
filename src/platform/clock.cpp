#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "orbe/platform/sync.h"

std::uint64_t GetTickCount64() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

namespace {

std::array<std::atomic<bool>, 256>& KeysDown() {
  static std::array<std::atomic<bool>, 256> keys{};
  return keys;
}

short StateOf(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= 256) return 0;
  return KeysDown()[static_cast<size_t>(virtual_key)].load() ? static_cast<short>(0x8000) : 0;
}

}  // namespace

short GetKeyState(int virtual_key) { return StateOf(virtual_key); }
short GetAsyncKeyState(int virtual_key) { return StateOf(virtual_key); }

void SetKeyDown(int virtual_key, bool down) {
  if (virtual_key < 0 || virtual_key >= 256) return;
  KeysDown()[static_cast<size_t>(virtual_key)].store(down);
}
