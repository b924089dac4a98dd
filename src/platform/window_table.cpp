#include "platform/window_table.h"

#include <utility>

#include "platform/message_queue.h"
#include "platform/no_destructor.h"

namespace orbe {
namespace {

static_assert(sizeof(HWND) == 8, "a handle packs a 32-bit slot and a 32-bit generation");

constexpr int kGenerationShift = 32;
constexpr std::uint64_t kSlotMask = 0xFFFFFFFFu;

}  // namespace

WindowTable& WindowTable::Instance() {
  // Never destroyed: windows held by globals are destroyed after main.
  static NoDestructor<WindowTable> table;
  return *table.get();
}

HWND WindowTable::MakeHandle(std::uint32_t index, std::uint32_t generation) {
  // Slot numbers start at 1 so that no handle is null.
  const std::uint64_t token = (static_cast<std::uint64_t>(generation) << kGenerationShift) | (index + 1ull);
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(token));
}

std::optional<std::uint32_t> WindowTable::LiveIndexLocked(HWND hwnd) const {
  const auto token = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd));
  const std::uint64_t number = token & kSlotMask;
  if (number == 0 || number > slots_.size()) return std::nullopt;
  const Slot& slot = slots_[number - 1];
  if (!slot.used || slot.generation != static_cast<std::uint32_t>(token >> kGenerationShift)) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(number - 1);
}

HWND WindowTable::Add(CWnd* window, std::shared_ptr<MessageQueue> queue) {
  const std::lock_guard lock(mutex_);
  std::uint32_t index;
  if (!free_.empty()) {
    index = free_.front();
    free_.pop_front();
  } else {
    index = static_cast<std::uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  Slot& slot = slots_[index];
  slot.used = true;
  slot.record = WindowRecord{window, std::move(queue)};
  ++live_;
  return MakeHandle(index, slot.generation);
}

bool WindowTable::Remove(HWND hwnd) {
  std::shared_ptr<MessageQueue> released;  // dropped outside the lock
  const std::lock_guard lock(mutex_);
  const auto index = LiveIndexLocked(hwnd);
  if (!index) return false;
  Slot& slot = slots_[*index];
  released = std::move(slot.record.queue);
  slot.record = WindowRecord{};
  slot.used = false;
  // Generation 0 is skipped so a wrapped counter still differs from fresh slots.
  if (++slot.generation == 0) slot.generation = 1;
  free_.push_back(*index);
  --live_;
  return true;
}

std::optional<WindowRecord> WindowTable::Find(HWND hwnd) const {
  const std::lock_guard lock(mutex_);
  const auto index = LiveIndexLocked(hwnd);
  if (!index) return std::nullopt;
  return slots_[*index].record;
}

std::size_t WindowTable::Size() const {
  const std::lock_guard lock(mutex_);
  return live_;
}

}  // namespace orbe
