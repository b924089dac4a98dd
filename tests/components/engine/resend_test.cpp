// A read whose host went away in the middle of its reply is sent to the next
// host; the packets the handle already heard are passed over there, and only
// a reply that begins with exactly those packets completes.
#include <sys/socket.h>

#include "components/engine/engine_fixture.h"
#include "protocol/replies.h"

namespace orbe_test {
namespace {

// Answers one request on one connection with the packets of `payloads`
// (the first `sent` of them, then closes; all of them and an end packet
// when `sent` is the count).
class ScriptedHost {
 public:
  ScriptedHost(std::vector<std::string> payloads, std::size_t sent)
      : payloads_(std::move(payloads)), sent_(sent), listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedHost() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }
  std::uint16_t port() const { return port_; }

 private:
  void Serve() {
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    char header[orbe::wire::kRequestHeaderSize];
    if (::recv(fd, header, sizeof header, MSG_WAITALL) == static_cast<ssize_t>(sizeof header)) {
      std::uint32_t id = 0;
      std::uint32_t total = 0;
      std::memcpy(&id, header, 4);
      std::memcpy(&total, header + 6, 4);
      std::string body(total - sizeof header, '\0');
      ::recv(fd, body.data(), body.size(), MSG_WAITALL);
      std::uint16_t code = 0;
      std::memcpy(&code, body.data(), 2);
      std::string out;
      for (std::size_t i = 0; i < sent_; ++i) {
        orbe::wire::AppendDataPacket(&out, {id, code}, static_cast<int>((i + 1) * 100 / payloads_.size()),
                                     payloads_[i]);
      }
      if (sent_ == payloads_.size()) orbe::wire::AppendEndPacket(&out, {id, code}, kCwStatusComplete);
      ::send(fd, out.data(), out.size(), MSG_NOSIGNAL);
      if (sent_ == payloads_.size()) {
        char rest[64];
        while (::recv(fd, rest, sizeof rest, 0) > 0) {
        }
      }
    }
    ::close(fd);
  }

  std::vector<std::string> payloads_;
  std::size_t sent_;
  int listener_;
  std::uint16_t port_ = 0;
  std::thread thread_;
};

TEST(ResendTest, ReplyBegunByALostHostCompletesOnlyWhenTheNextOneSendsTheSameBeginning) {
  const std::vector<std::string> reply = {"one", "two", "three", "four"};
  struct Case {
    const char* name;
    std::vector<std::string> second;  // what the next host answers
    std::vector<std::string> heard;   // what the handle ends up with
    int status;
  };
  const Case cases[] = {
      {"same reply", reply, reply, kCwStatusComplete},
      {"different beginning", {"one", "TWO", "three", "four"}, {"one", "two"}, -1},
      {"shorter reply", {"one"}, {"one", "two"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = orbe::testing::TestDirectory("resend");
    ScriptedHost lost(reply, 2);
    ScriptedHost next(c.second, c.second.size());
    EngineLibrary library;
    ICwDataEngin* engine = library.get();
    ASSERT_TRUE(engine->SetConfigFile(
        WriteHostList(folder, {std::to_string(lost.port()), std::to_string(next.port())}, 0, 5).c_str()));
    ICwRequestSession* session = engine->CreateConfiguredRequestSession(nullptr);
    {
      RecordingHandle handle;
      RequestHolder request(engine, TimeStampFrame(orbe::testing::kStockTable));
      ASSERT_TRUE(session->SendAndWait(&handle, request.get()));
      EXPECT_EQ(handle.Statuses(), std::vector<int>{c.status});
      EXPECT_EQ(handle.Bodies(), c.heard);
      EXPECT_EQ(session->GetHostIndex(), 1);
    }
    engine->Shutdown();
    library.del();
    std::filesystem::remove_all(folder);
  }
}

}  // namespace
}  // namespace orbe_test
