#include "output_queue.h"

#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace orbe::server {
namespace {

// Replies a write takes at once: a pipelined client's small answers go out
// in one system call.
constexpr std::size_t kChunksPerWrite = 64;

}  // namespace

void OutputQueue::Append(std::string bytes) {
  if (bytes.empty()) return;
  pending_ += bytes.size();
  chunks_.push_back(std::move(bytes));
}

bool OutputQueue::SendTo(int fd) {
  while (pending_ != 0) {
    std::array<iovec, kChunksPerWrite> pieces{};
    std::size_t count = 0;
    for (auto it = chunks_.begin(); it != chunks_.end() && count < pieces.size(); ++it, ++count) {
      const std::size_t skip = count == 0 ? front_sent_ : 0;
      pieces[count] = {it->data() + skip, it->size() - skip};
    }
    msghdr message{};
    message.msg_iov = pieces.data();
    message.msg_iovlen = count;
    const ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
    pending_ -= static_cast<std::size_t>(sent);
    for (std::size_t left = static_cast<std::size_t>(sent); left != 0;) {
      const std::size_t rest = chunks_.front().size() - front_sent_;
      const std::size_t taken = std::min(rest, left);
      left -= taken;
      front_sent_ += taken;
      if (front_sent_ == chunks_.front().size()) {
        chunks_.pop_front();
        front_sent_ = 0;
      }
    }
  }
  return true;
}

}  // namespace orbe::server
