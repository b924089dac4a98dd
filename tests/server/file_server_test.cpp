// The file server's pieces: path confinement, the per-connection request
// handling (upload checks), and the socket side's framing limits.
#include "file_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "file_server_paths.h"
#include "file_server_session.h"
#include "orbe/platform/crypto.h"
#include "protocol/file_frames.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "server/server_fixture.h"

namespace {

using orbe::server::FileServerSession;
using orbe::server::PathUse;
using orbe::server::ResolveInRoot;

struct Answer {
  std::vector<std::string> bodies;
  std::int32_t status = 0;
};

// Runs one request body through a session and collects its reply.
Answer Ask(FileServerSession& session, const std::string& body) {
  const auto frame_bytes = orbe::wire::EncodeFileFrame(9, body);
  EXPECT_TRUE(frame_bytes.has_value());
  orbe::wire::RequestFrame frame;
  std::size_t used = 0;
  EXPECT_EQ(orbe::wire::DecodeRequestFrame(*frame_bytes, &frame, &used), orbe::wire::SplitResult::kFrame);
  std::string out;
  EXPECT_TRUE(session.Handle(frame, [&](std::string_view bytes) {
    out += bytes;
    return true;
  }));
  orbe::wire::ReplySplitter splitter;
  splitter.Append(out.data(), out.size());
  Answer answer;
  orbe::wire::ReplyPacket packet;
  while (splitter.Next(&packet) == orbe::wire::SplitResult::kFrame) {
    if (packet.header.kind == orbe::wire::kPacketEnd)
      answer.status = packet.header.status;
    else
      answer.bodies.emplace_back(packet.payload);
  }
  return answer;
}

std::uint8_t StatusOf(const Answer& answer) {
  return answer.bodies.empty() || answer.bodies[0].empty() ? 255
                                                           : static_cast<std::uint8_t>(answer.bodies[0][0]);
}

class FileServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = orbe::testing::TestDirectory("filesrv");
    root_ = dir_ + "/root";
    std::filesystem::create_directories(root_ + "/sub");
    std::ofstream(root_ + "/sub/a.txt") << "a";
    std::ofstream(dir_ + "/outside.txt") << "o";
    std::filesystem::create_symlink(dir_ + "/outside.txt", root_ + "/link.txt");
    std::filesystem::create_directory_symlink(dir_, root_ + "/up");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string dir_;
  std::string root_;
};

TEST_F(FileServerTest, PathsStayInsideTheRoot) {
  EXPECT_EQ(ResolveInRoot(root_, "sub/a.txt", PathUse::kRead), root_ + "/sub/a.txt");
  EXPECT_EQ(ResolveInRoot(root_, "sub\\a.txt", PathUse::kRead), root_ + "/sub/a.txt");
  EXPECT_EQ(ResolveInRoot(root_, "sub", PathUse::kAny), root_ + "/sub");
  EXPECT_EQ(ResolveInRoot(root_, "sub", PathUse::kRead), std::nullopt);  // a folder is no file
  for (const char* bad : {"", "/etc/passwd", "\\x", "C:\\x", "..", "../outside.txt", "sub/../../outside.txt",
                          "sub//a.txt", "./sub/a.txt", "sub/", "link.txt", "up/outside.txt"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ResolveInRoot(root_, bad, PathUse::kRead), std::nullopt);
    EXPECT_EQ(ResolveInRoot(root_, bad, PathUse::kWrite), std::nullopt);
  }
  EXPECT_EQ(ResolveInRoot(root_, std::string_view("a\0b", 3), PathUse::kWrite), std::nullopt);
  // Writing makes the missing folders on the way, never through a link.
  EXPECT_EQ(ResolveInRoot(root_, "new/deep/f.bin", PathUse::kWrite), root_ + "/new/deep/f.bin");
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/new/deep"));
  EXPECT_EQ(ResolveInRoot(root_, "up/made/f.bin", PathUse::kWrite), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/made"));
}

TEST_F(FileServerTest, UploadsAreCheckedBeforeTheyReplaceAnything) {
  FileServerSession session(root_, 100000);
  const std::string data(9000, 'x');
  // A digest that does not match the chunks: refused, and no file is left.
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadStart("u.bin", std::string(32, 'A'), 9000))), 0);
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadChunk(1, 8192, data.substr(0, 8192)))), 0);
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadChunk(2, 808, data.substr(8192)))), 1);
  EXPECT_EQ(orbe::testing::CountEntries(root_), 3u);  // sub, link.txt, up: nothing new

  const std::string digest = orbe::Md5Hex(data);
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadStart("u.bin", digest, 9000))), 0);
  // Out of order, or a chunk without a start: packet errors.
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadChunk(2, 808, data.substr(8192)))), 1);
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadChunk(1, 8192, data.substr(0, 8192)))), 1);

  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadStart("u.bin", digest, 9000))), 0);
  EXPECT_EQ(
      StatusOf(Ask(session, orbe::wire::EncodeUploadChunk(1, 8192, orbe::Compress(data.substr(0, 8192))))),
      0);
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadChunk(2, 808, data.substr(8192)))), 0);
  std::ifstream in(root_ + "/u.bin", std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == data);
  // The same file again exists already; a file above the limit does not fit.
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadStart("u.bin", digest, 9000))), 6);
  EXPECT_EQ(StatusOf(Ask(session, orbe::wire::EncodeUploadStart("big.bin", digest, 100001))), 3);
  // A chunk count that does not fit the length is a packet error.
  std::string bad = orbe::wire::EncodeUploadStart("c.bin", digest, 9000);
  bad[300] = 5;
  EXPECT_EQ(StatusOf(Ask(session, bad)), 1);
  // Short bodies and unknown codes.
  EXPECT_EQ(StatusOf(Ask(session, std::string("\xc4\x09", 2))), 1);
  EXPECT_EQ(Ask(session, std::string("\x10\x27", 2)).status, orbe::wire::kStatusUnknownCode);
}

TEST_F(FileServerTest, TheSocketSideServesAndDropsOversizedFrames) {
  orbe::server::FileServerConfig config;
  config.root = root_;
  std::string error;
  const auto server = orbe::server::FileServer::Start(config, &error);
  ASSERT_NE(server, nullptr) << error;
  const int fd = orbe::testing::ConnectLoopback(server->Port());
  ASSERT_GE(fd, 0);
  const orbe::testing::Reply alive = orbe::testing::RoundTrip(fd, orbe::wire::EncodeKeepAliveRequest(3));
  EXPECT_EQ(alive.status, 100);
  const auto download = orbe::wire::EncodeDownloadStart("sub/a.txt", std::string(32, '0'));
  const orbe::testing::Reply reply = orbe::testing::RoundTrip(fd, *orbe::wire::EncodeFileFrame(4, *download));
  EXPECT_EQ(reply.status, 100);
  ASSERT_EQ(reply.bodies.size(), 2u);  // the start, then one data packet
  EXPECT_EQ(reply.bodies[0].size(), sizeof(orbe::wire::DownloadStatusReply));
  EXPECT_EQ(orbe::Uncompress(std::string_view(reply.bodies[1]).substr(8), 100), "a");
  const auto announced = [](const std::string& start) {
    return orbe::wire::LoadBody<orbe::wire::DownloadStatusReply>(start)->chunk_count;
  };
  EXPECT_EQ(announced(reply.bodies[0]), 1u);
  // The client's copy is the server's file: no data packet, and none announced.
  const auto same = orbe::wire::EncodeDownloadStart("sub/a.txt", orbe::FileMd5Hex(root_ + "/sub/a.txt"));
  const orbe::testing::Reply unchanged = orbe::testing::RoundTrip(fd, *orbe::wire::EncodeFileFrame(5, *same));
  EXPECT_EQ(unchanged.status, 100);
  ASSERT_EQ(unchanged.bodies.size(), 1u);
  EXPECT_EQ(announced(unchanged.bodies[0]), 0u);
  // A header announcing more than 65 535 bytes is a framing error: the
  // connection closes at the header, before any of the body is sent.
  const std::string big = orbe::wire::EncodeRequest(6, 2501, std::string(70000, 'x'));
  orbe::testing::SendAll(fd, std::string_view(big).substr(0, orbe::wire::kRequestHeaderSize));
  EXPECT_TRUE(orbe::testing::WaitClosed(fd, 5000));
  ::close(fd);
}

// Read-only: uploads and deletes hear 106 and change nothing, downloads go
// on; a client outside the allow list hears 106 and is let go.
TEST_F(FileServerTest, AccessPolicyRefusesWritesAndOutsiders) {
  struct Case {
    bool writable;
    std::vector<orbe::server::Network> allowed;
    std::int32_t upload_status;  // end status of an upload start
    std::int32_t download_status;
    bool closed;  // the server lets the client go
  };
  const Case cases[] = {
      {false, {orbe::server::kLoopbackNetwork}, orbe::wire::kStatusRefused, orbe::wire::kStatusComplete, false},
      {true, {{0x7F000002u, 0xFFFFFFFFu}}, orbe::wire::kStatusRefused, 0, true},
      {true, {orbe::server::kLoopbackNetwork}, orbe::wire::kStatusComplete, orbe::wire::kStatusComplete, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.writable ? (c.closed ? "outsider" : "writable") : "read-only");
    orbe::server::FileServerConfig config;
    config.root = root_;
    config.access.writable = c.writable;
    config.access.allowed = c.allowed;
    std::string error;
    const auto server = orbe::server::FileServer::Start(config, &error);
    ASSERT_NE(server, nullptr) << error;
    const int fd = orbe::testing::ConnectLoopback(server->Port());
    const std::size_t entries = orbe::testing::CountEntries(root_);
    const std::string upload = orbe::wire::EncodeUploadStart("new.bin", orbe::Md5Hex("n"), 1);
    const orbe::testing::Reply started = orbe::testing::RoundTrip(fd, *orbe::wire::EncodeFileFrame(1, upload));
    EXPECT_EQ(started.status, c.upload_status);
    if (c.upload_status == orbe::wire::kStatusRefused) {
      EXPECT_TRUE(started.bodies.empty());
    }
    if (!c.writable) {
      const auto remove = orbe::wire::EncodeDeleteFile("sub/a.txt");
      EXPECT_EQ(orbe::testing::RoundTrip(fd, *orbe::wire::EncodeFileFrame(2, *remove)).status,
                orbe::wire::kStatusRefused);
    }
    if (c.closed) {
      EXPECT_TRUE(orbe::testing::WaitClosed(fd, 5000));
    } else {
      const auto download = orbe::wire::EncodeDownloadStart("sub/a.txt", std::string(32, '0'));
      EXPECT_EQ(orbe::testing::RoundTrip(fd, *orbe::wire::EncodeFileFrame(3, *download)).status, c.download_status);
    }
    if (c.upload_status == orbe::wire::kStatusRefused) {
      EXPECT_EQ(orbe::testing::CountEntries(root_), entries);
    }
    EXPECT_TRUE(std::filesystem::exists(root_ + "/sub/a.txt"));
    ::close(fd);
  }
}

}  // namespace
