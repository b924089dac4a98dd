#include "orbe/platform/clipboard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/no_destructor.h"

namespace orbe {
namespace {

struct Block {
  std::vector<char> bytes;
  int locks = 0;
  bool owned_by_clipboard = false;
};

// Blocks and the clipboard share one lock: SetClipboardData moves a block
// from its writer to the clipboard.
struct ClipboardState {
  std::mutex mutex;
  std::map<HGLOBAL, std::unique_ptr<Block>> blocks;
  std::map<UINT, HGLOBAL> formats;
  std::optional<std::thread::id> opened_by;
  // Handles are numbers never given twice, so a freed handle stays dead.
  std::uintptr_t next_handle = 0x50000;
};

ClipboardState& State() {
  static NoDestructor<ClipboardState> state;
  return *state.get();
}

Block* FindLocked(ClipboardState& state, HGLOBAL memory) {
  const auto at = state.blocks.find(memory);
  return at != state.blocks.end() ? at->second.get() : nullptr;
}

bool OpenHereLocked(const ClipboardState& state) {
  return state.opened_by && *state.opened_by == std::this_thread::get_id();
}

void EmptyLocked(ClipboardState& state) {
  for (const auto& [format, memory] : state.formats) state.blocks.erase(memory);
  state.formats.clear();
}

HGLOBAL AllocLocked(ClipboardState& state, SIZE_T bytes) {
  auto block = std::make_unique<Block>();
  // Zeroed whatever the flags: a block handed on never shows stale memory.
  block->bytes.assign(bytes, '\0');
  const auto handle = reinterpret_cast<HGLOBAL>(state.next_handle++);
  state.blocks.emplace(handle, std::move(block));
  return handle;
}

}  // namespace

bool SetClipboardText(const std::string& gbk_text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, gbk_text.size() + 1);
  if (auto* data = static_cast<char*>(GlobalLock(memory))) {
    std::memcpy(data, gbk_text.data(), gbk_text.size());
    GlobalUnlock(memory);
  }
  const bool placed = SetClipboardData(CF_TEXT, memory) != nullptr;
  if (!placed) GlobalFree(memory);
  CloseClipboard();
  return placed;
}

std::string GetClipboardText() {
  ClipboardState& state = State();
  const std::lock_guard lock(state.mutex);
  const auto at = state.formats.find(CF_TEXT);
  if (at == state.formats.end()) return std::string();
  const Block* block = FindLocked(state, at->second);
  if (block == nullptr) return std::string();
  const auto end = std::find(block->bytes.begin(), block->bytes.end(), '\0');
  return std::string(block->bytes.begin(), end);
}

}  // namespace orbe

HGLOBAL GlobalAlloc(UINT /*flags*/, SIZE_T bytes) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  return orbe::AllocLocked(state, bytes);
}

void* GlobalLock(HGLOBAL memory) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  orbe::Block* block = orbe::FindLocked(state, memory);
  if (block == nullptr) return nullptr;
  ++block->locks;
  // An empty block still has an address to give.
  if (block->bytes.empty()) block->bytes.reserve(1);
  return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  orbe::Block* block = orbe::FindLocked(state, memory);
  if (block == nullptr || block->locks == 0) return FALSE;
  return --block->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  const orbe::Block* block = orbe::FindLocked(state, memory);
  return block != nullptr ? block->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  const orbe::Block* block = orbe::FindLocked(state, memory);
  if (block == nullptr || block->owned_by_clipboard) return memory;
  state.blocks.erase(memory);
  return nullptr;
}

BOOL OpenClipboard(HWND /*owner*/) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  if (state.opened_by && !orbe::OpenHereLocked(state)) return FALSE;
  state.opened_by = std::this_thread::get_id();
  return TRUE;
}

BOOL CloseClipboard() {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  if (!orbe::OpenHereLocked(state)) return FALSE;
  state.opened_by.reset();
  return TRUE;
}

BOOL EmptyClipboard() {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  if (!orbe::OpenHereLocked(state)) return FALSE;
  orbe::EmptyLocked(state);
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  orbe::Block* block = orbe::FindLocked(state, memory);
  if (!orbe::OpenHereLocked(state) || block == nullptr || format == 0) return nullptr;
  if (const auto old = state.formats.find(format); old != state.formats.end() && old->second != memory) {
    state.blocks.erase(old->second);
  }
  block->owned_by_clipboard = true;
  state.formats[format] = memory;
  return memory;
}

HANDLE GetClipboardData(UINT format) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  if (!orbe::OpenHereLocked(state)) return nullptr;
  const auto at = state.formats.find(format);
  return at != state.formats.end() ? at->second : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  orbe::ClipboardState& state = orbe::State();
  const std::lock_guard lock(state.mutex);
  return state.formats.count(format) > 0 ? TRUE : FALSE;
}
