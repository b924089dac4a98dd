// What a connection still has to write to its client: whole replies, kept as
// they came, so that a reply queued behind a slow client is never copied
// into a growing buffer.
#ifndef ORBE_SERVER_OUTPUT_QUEUE_H_
#define ORBE_SERVER_OUTPUT_QUEUE_H_

#include <cstddef>
#include <deque>
#include <string>

namespace orbe::server {

class OutputQueue {
 public:
  void Append(std::string bytes);
  std::size_t Pending() const { return pending_; }
  // Writes what the socket takes without blocking; false when the
  // connection is broken.
  bool SendTo(int fd);

 private:
  std::deque<std::string> chunks_;
  std::size_t front_sent_ = 0;  // of chunks_.front()
  std::size_t pending_ = 0;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_OUTPUT_QUEUE_H_
