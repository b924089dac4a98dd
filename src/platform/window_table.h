// The process-wide table of window handles. A handle is a token made of a
// slot number and the slot's generation: a slot is reused only after every
// other free slot, and then with a new generation, so a stale handle is
// found missing instead of reaching another window.
#ifndef ORBE_PLATFORM_WINDOW_TABLE_H_
#define ORBE_PLATFORM_WINDOW_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "orbe/platform/window.h"

namespace orbe {

class MessageQueue;

struct WindowRecord {
  CWnd* window = nullptr;
  std::shared_ptr<MessageQueue> queue;  // of the owner thread
};

class WindowTable {
 public:
  static WindowTable& Instance();

  HWND Add(CWnd* window, std::shared_ptr<MessageQueue> queue);
  // False when the handle is not (or no longer) in the table.
  bool Remove(HWND hwnd);
  std::optional<WindowRecord> Find(HWND hwnd) const;
  std::size_t Size() const;

 private:
  struct Slot {
    std::uint32_t generation = 1;
    bool used = false;
    WindowRecord record;
  };

  static HWND MakeHandle(std::uint32_t index, std::uint32_t generation);
  // The index of the slot a handle names, if it is live; the caller holds the lock.
  std::optional<std::uint32_t> LiveIndexLocked(HWND hwnd) const;

  mutable std::mutex mutex_;
  std::vector<Slot> slots_;
  std::deque<std::uint32_t> free_;
  std::size_t live_ = 0;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_WINDOW_TABLE_H_
