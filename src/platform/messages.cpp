// Posting and sending messages, from any thread.
#include <memory>

#include "orbe/platform/window.h"
#include "platform/message_queue.h"
#include "platform/window_dispatch.h"
#include "platform/window_table.h"

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto record = orbe::WindowTable::Instance().Find(hwnd);
  if (!record) return FALSE;
  return record->queue->Post(orbe::WindowMessage{hwnd, message, wparam, lparam}) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  using orbe::MessageQueue;
  const auto record = orbe::WindowTable::Instance().Find(hwnd);
  if (!record) return 0;
  const std::shared_ptr<MessageQueue> current = MessageQueue::Current();
  if (record->queue == current) {
    return orbe::WindowAccess::CallWindowProc(*record->window, message, wparam, lparam);
  }
  const auto sent = std::make_shared<orbe::SentMessage>();
  sent->message = orbe::WindowMessage{hwnd, message, wparam, lparam};
  sent->reply_to = current;
  if (!record->queue->Send(sent)) return 0;
  // Answer what others send to this thread meanwhile, or two threads sending
  // to each other would wait for ever.
  while (!current->WaitForReplyOrSent(*sent)) {
    orbe::DispatchNext(*current, MessageQueue::Clock::now(), /*sent_only=*/true);
  }
  return sent->result;
}
