// Replies queued for a client leave whole and in order, however the socket
// takes them, and a closed peer is reported.
#include "output_queue.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace orbe::server {
namespace {

std::string Piece(std::size_t size, char first) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(first + i % 23);
  return bytes;
}

TEST(OutputQueueTest, BytesLeaveInOrderThroughAFullSocket) {
  struct Case {
    const char* name;
    std::vector<std::size_t> sizes;
  };
  const Case cases[] = {
      {"one small reply", {30}},
      {"more replies than one write takes", std::vector<std::size_t>(200, 17)},
      {"replies larger than the socket holds", {3u << 20, 5, 1u << 20}},
      {"an empty reply among others", {10, 0, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends), 0);
    OutputQueue queue;
    std::string expected;
    for (std::size_t i = 0; i < c.sizes.size(); ++i) {
      expected += Piece(c.sizes[i], static_cast<char>('a' + i % 20));
      queue.Append(Piece(c.sizes[i], static_cast<char>('a' + i % 20)));
    }
    EXPECT_EQ(queue.Pending(), expected.size());
    std::string received;
    std::vector<char> buffer(1 << 16);
    while (queue.Pending() != 0 || received.size() < expected.size()) {
      const std::size_t before = queue.Pending();
      ASSERT_TRUE(queue.SendTo(ends[0]));
      const ssize_t got = ::recv(ends[1], buffer.data(), buffer.size(), 0);
      if (got > 0) received.append(buffer.data(), static_cast<std::size_t>(got));
      ASSERT_TRUE(got > 0 || queue.Pending() < before) << "neither side moved";
    }
    EXPECT_EQ(received, expected);
    ::close(ends[1]);
    queue.Append("late");
    EXPECT_FALSE(queue.SendTo(ends[0])) << "a closed peer is a broken connection";
    ::close(ends[0]);
  }
}

}  // namespace
}  // namespace orbe::server
