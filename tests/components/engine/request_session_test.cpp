// The engine against a real data server: connection, host load, time stamps,
// dictionary fetch, pipelining and the waiting send, for both session kinds.
#include <memory>

#include "components/engine/engine_fixture.h"
#include "orbe/platform/crypto.h"
#include "protocol/byte_order.h"
#include "protocol/replies.h"

namespace orbe_test {
namespace {

using orbe::testing::kStockStamp;
using orbe::testing::kStockTable;

enum class Kind { kStandard, kAlternative };

class ConnectHandle : public RecordingHandle {};

class RequestSessionTest : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    ASSERT_NE(library_.create, nullptr);
    ASSERT_NE(server_.port(), 0) << server_.folder();
    CWHOSTINFO host = LoopbackHost(server_.port());
    session_ = GetParam() == Kind::kStandard ? engine_->CreateRequestSession(&host, &connect_)
                                             : engine_->CreateAltRequestSession(&host, &connect_);
    ASSERT_NE(session_, nullptr);
    engine_->StartSessions(1);
    ASSERT_TRUE(connect_.WaitStatuses());
  }

  EngineLibrary library_;
  TestServer server_{"session", {"--capacity", "1234"}};
  PrivateEngine engine_{library_};
  ConnectHandle connect_;
  ICwRequestSession* session_ = nullptr;
};

TEST_P(RequestSessionTest, ConnectsAndReportsStateTwo) {
  EXPECT_EQ(connect_.Statuses(), std::vector<int>{kCwStateConnected});
  EXPECT_EQ(session_->GetConnectState(), kCwStateConnected);
  EXPECT_EQ(session_->GetHostIndex(), 0);
}

TEST_P(RequestSessionTest, HostLoadDeliversOnePacketThenComplete) {
  RecordingHandle handle;
  RequestHolder request(engine_.engine, HostLoadFrame());
  ASSERT_TRUE(session_->Send(&handle, request.get()));
  ASSERT_TRUE(handle.WaitStatuses());
  EXPECT_EQ(handle.Statuses(), std::vector<int>{kCwStatusComplete});
  const std::vector<std::string> bodies = handle.Bodies();
  ASSERT_EQ(bodies.size(), 1u);
  const auto load = orbe::wire::DecodeHostLoadBody(bodies[0]);
  ASSERT_TRUE(load.has_value());
  EXPECT_GE(load->load, 1u);  // this connection at least
  EXPECT_EQ(load->capacity, 1234u);
  EXPECT_EQ(handle.Totals(), std::vector<std::uint32_t>{8 + orbe::wire::kReplyHeaderSize});
  EXPECT_EQ(handle.Progress(), std::vector<int>{100});
}

TEST_P(RequestSessionTest, TimeStampsOfKnownAndUnknownTables) {
  RecordingHandle known;
  RecordingHandle unknown;
  RequestHolder known_request(engine_.engine, TimeStampFrame(kStockTable));
  RequestHolder unknown_request(engine_.engine, TimeStampFrame(4242));
  ASSERT_TRUE(session_->Send(&known, known_request.get()));
  ASSERT_TRUE(session_->Send(&unknown, unknown_request.get()));
  ASSERT_TRUE(known.WaitStatuses());
  ASSERT_TRUE(unknown.WaitStatuses());

  ASSERT_EQ(known.Bodies().size(), 1u);
  const auto stamp = orbe::wire::DecodeTimeStampBody(known.Bodies()[0]);
  ASSERT_TRUE(stamp.has_value());
  EXPECT_EQ(+stamp->status, +orbe::wire::kTableKnown);
  EXPECT_EQ(stamp->stamp, kStockStamp);

  ASSERT_EQ(unknown.Bodies().size(), 1u);
  const auto none = orbe::wire::DecodeTimeStampBody(unknown.Bodies()[0]);
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(+none->status, +orbe::wire::kTableUnknown);
  EXPECT_EQ(none->stamp, -1);
  EXPECT_EQ(known.Statuses(), std::vector<int>{kCwStatusComplete});
}

TEST_P(RequestSessionTest, DictionaryFetchWholeThenUnchangedThenMissing) {
  RecordingHandle first;
  RequestHolder whole(engine_.engine, orbe::wire::EncodeFileFetchRequest(0, std::string(32, '0'), "fieldinfo.idx"));
  ASSERT_TRUE(session_->SendAndWait(&first, whole.get()));
  EXPECT_EQ(first.Statuses(), std::vector<int>{kCwStatusComplete});
  std::string content;
  for (const std::string& body : first.Bodies()) content += body;
  ASSERT_FALSE(content.empty());

  // The same file by its digest: answered as unchanged, without data.
  RecordingHandle second;
  RequestHolder same(engine_.engine, orbe::wire::EncodeFileFetchRequest(0, orbe::Md5Hex(content), "fieldinfo.idx"));
  ASSERT_TRUE(session_->SendAndWait(&second, same.get()));
  EXPECT_EQ(second.Statuses(), std::vector<int>{kCwStatusComplete});
  EXPECT_TRUE(second.Bodies().empty());

  RecordingHandle third;
  RequestHolder missing(engine_.engine, orbe::wire::EncodeFileFetchRequest(0, std::string(32, '0'), "nosuch.idx"));
  ASSERT_TRUE(session_->SendAndWait(&third, missing.get()));
  EXPECT_EQ(third.Statuses(), std::vector<int>{orbe::wire::kStatusNotFound});
}

TEST_P(RequestSessionTest, ManyRequestsInFlightEachReachTheirOwnHandle) {
  constexpr int kCount = 60;
  std::vector<std::unique_ptr<RecordingHandle>> handles;
  std::vector<std::unique_ptr<RequestHolder>> requests;
  for (int i = 0; i < kCount; ++i) {
    handles.push_back(std::make_unique<RecordingHandle>());
    // Alternate tables so that a mix-up shows in the bodies.
    requests.push_back(std::make_unique<RequestHolder>(engine_.engine, TimeStampFrame(i % 2 ? kStockTable : 7)));
    ASSERT_TRUE(session_->Send(handles.back().get(), requests.back()->get()));
  }
  for (int i = 0; i < kCount; ++i) {
    ASSERT_TRUE(handles[i]->WaitStatuses()) << i;
    ASSERT_EQ(handles[i]->Bodies().size(), 1u);
    const auto stamp = orbe::wire::DecodeTimeStampBody(handles[i]->Bodies()[0]);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->stamp, i % 2 ? kStockStamp : -1) << i;
    EXPECT_EQ(handles[i]->Statuses().size(), 1u) << i;
  }
}

TEST_P(RequestSessionTest, WaitingSendReturnsAfterDelivery) {
  RecordingHandle handle;
  RequestHolder request(engine_.engine, HostLoadFrame());
  ASSERT_TRUE(session_->SendAndWait(&handle, request.get()));
  // Already delivered when the call returns: no waiting here.
  EXPECT_EQ(handle.Statuses(), std::vector<int>{kCwStatusComplete});
  EXPECT_EQ(handle.Bodies().size(), 1u);
}

TEST_P(RequestSessionTest, MalformedRequestsAreRefusedOrAnswered) {
  RecordingHandle handle;
  RequestHolder request(engine_.engine, HostLoadFrame());
  // A length below a request code's worth, and one beyond the body: refused.
  const std::uint32_t too_short = 15;
  std::memcpy(request.get()->GetHeader() + offsetof(orbe::wire::RequestHeader, total_length), &too_short, 4);
  EXPECT_FALSE(session_->Send(&handle, request.get()));
  const std::uint32_t too_long = request.get()->GetCapacity() + orbe::wire::kRequestHeaderSize + 1;
  std::memcpy(request.get()->GetHeader() + offsetof(orbe::wire::RequestHeader, total_length), &too_long, 4);
  EXPECT_FALSE(session_->Send(&handle, request.get()));
  EXPECT_FALSE(session_->Send(nullptr, request.get()));
  EXPECT_TRUE(handle.Statuses().empty());

  // Well framed but too short for its code: the server's status, and the
  // connection stays usable.
  RecordingHandle short_body;
  RequestHolder stamp(engine_.engine, TimeStampFrame(kStockTable));
  const std::uint32_t code_only = 16;
  std::memcpy(stamp.get()->GetHeader() + offsetof(orbe::wire::RequestHeader, total_length), &code_only, 4);
  ASSERT_TRUE(session_->SendAndWait(&short_body, stamp.get()));
  EXPECT_EQ(short_body.Statuses(), std::vector<int>{orbe::wire::kStatusMalformed});
  RecordingHandle after;
  RequestHolder load(engine_.engine, HostLoadFrame());
  ASSERT_TRUE(session_->SendAndWait(&after, load.get()));
  EXPECT_EQ(after.Statuses(), std::vector<int>{kCwStatusComplete});
}

INSTANTIATE_TEST_SUITE_P(BothKinds, RequestSessionTest, ::testing::Values(Kind::kStandard, Kind::kAlternative),
                         [](const auto& info) { return info.param == Kind::kStandard ? "Standard" : "Alternative"; });

}  // namespace
}  // namespace orbe_test
