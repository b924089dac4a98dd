// Two servers over one PostgreSQL database behind the host list. Eight
// clients send a screening's requests (query-language values of the whole
// market, reference pages, time stamps, whole-table SELECTs) and a ninth
// inserts numbered rows; the first server is SIGKILLed mid-load. Every
// client must finish on the second server with the answers of a run without
// the kill, and every row must be there once, or reported failed (then
// once at most), never twice.
#include <sys/wait.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>

#include "components/engine/engine_fixture.h"
#include "protocol/sql_records.h"
#include "protocol/statements.h"
#include "server/backend_fixture.h"

namespace orbe_test {
namespace {

using orbe::testing::Backend;
using orbe::testing::ServerProcess;
using orbe::testing::Shared;

constexpr int kClients = 8;

// Hears every request's end, so the test can wait for the load to be under way.
class LoadProgress {
 public:
  void Ended() {
    const std::lock_guard lock(mutex_);
    ++ended_;
    changed_.notify_all();
  }
  bool WaitFor(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return ended_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int ended_ = 0;
};

class CountingHandle : public RecordingHandle {
 public:
  explicit CountingHandle(LoadProgress* progress) : load_(progress) {}
  void OnStatus(int code) override {
    // Counted first: once recorded, the waiting owner may destroy the handle.
    if (load_ != nullptr) load_->Ended();
    RecordingHandle::OnStatus(code);
  }

 private:
  LoadProgress* load_;
};

std::string Call(const std::string& procedure, const std::string& parameters) {
  return orbe::wire::EncodeRequestFrame(0, orbe::wire::EncodeCallBody(orbe::wire::kCodeCall, procedure, parameters));
}

std::string WholeTable() {
  cw_command_req record{};
  record.table = 100000001;
  for (std::uint8_t field = 1; field <= 10; ++field) record.fields[field - 1] = field;
  record.field_count = 10;
  return orbe::wire::EncodeRequestFrame(0, orbe::wire::EncodeSelectBody(record, {}));
}

// What a screening over the whole market sends, in order.
std::vector<std::string> ScreeningRequests() {
  const std::string change = "\xc7\xf8\xbc\xe4\xd5\xc7\xb5\xf8\xb7\xf9";
  const std::string turnover = "\xc7\xf8\xbc\xe4\xbb\xbb\xca\xd6\xc2\xca";
  const std::string industry = "\xcb\xf9\xca\xf4\xd0\xd0\xd2\xb5";
  std::vector<std::string> requests = {TimeStampFrame(100000020), Call("sys_get_main_table_v2", "00"),
                                       Call("sys_get_main_table_v2", "10"), Call("KVX_DataBrowse", industry + "|40|")};
  for (const char* range : {"20250101|20250630", "20250701|20251231", "20260101|20261130"}) {
    requests.push_back(Call("KVX_DataBrowse", change + "|" + range + "||"));
    requests.push_back(WholeTable());
    requests.push_back(Call("KVX_DataBrowse", turnover + "|" + range + "||"));
  }
  return requests;
}

struct Answer {
  int status = 0;
  std::vector<std::string> bodies;
  bool operator==(const Answer&) const = default;
};

// Sends every request at once, as the module pipelines them, and collects the answers.
std::vector<Answer> RunAll(ICwDataEngin* engine, ICwRequestSession* session, const std::vector<std::string>& frames,
                        LoadProgress* progress) {
  std::vector<std::unique_ptr<CountingHandle>> handles;
  std::vector<std::unique_ptr<RequestHolder>> requests;
  for (const std::string& frame : frames) {
    handles.push_back(std::make_unique<CountingHandle>(progress));
    requests.push_back(std::make_unique<RequestHolder>(engine, frame));
    EXPECT_TRUE(session->Send(handles.back().get(), requests.back()->get()));
  }
  std::vector<Answer> answers;
  for (const auto& handle : handles) {
    EXPECT_TRUE(handle->WaitStatuses());
    const std::vector<int> statuses = handle->Statuses();
    answers.push_back({statuses.size() == 1 ? statuses[0] : 0, handle->Bodies()});
  }
  return answers;
}

std::string RowKey(int number) { return orbe::Format("W%06d", number); }

std::string Insert(int number) {
  cw_sqlinsert_req record{};
  record.table = 100000013;
  record.fields[0] = 1;  // the key, T001, 12 bytes
  record.field_count = 1;
  record.value_length = 12;
  std::string area(12, '\0');
  const std::string key = RowKey(number);
  std::memcpy(area.data(), key.data(), key.size());
  return orbe::wire::EncodeRequestFrame(0, orbe::wire::EncodeInsertBody(record, area));
}

TEST(ScaleoutFailoverTest, ClientsFinishOnTheOtherServerAndNoWriteIsAppliedTwice) {
  const std::string dir = orbe::testing::TestDirectory("failover");
  const orbe::server::StorageLocation store = Shared::Get().NewStore(Backend::kPostgres, dir);
  ASSERT_TRUE(store.IsPostgres());
  ServerProcess first;
  ServerProcess second;
  std::vector<std::string> ports;
  for (auto* server : {&first, &second}) {
    std::vector<std::string> arguments = Shared::StoreOptions(store);
    arguments.insert(arguments.end(), {"--port", "0", "--file-root", dir + "/files" + std::to_string(ports.size()),
                                       "--log-level", "off"});
    const std::uint16_t port = server->Start(arguments);
    ASSERT_NE(port, 0) << server->FirstLine();
    ports.push_back(std::to_string(port));
  }
  EngineLibrary library;
  ICwDataEngin* engine = library.get();
  ASSERT_TRUE(engine->SetConfigFile(WriteHostList(dir, ports, 0, 6).c_str()));
  const auto release = [&](void*) {
    engine->Shutdown();
    library.del();
  };
  const std::unique_ptr<void, decltype(release)> released(&library, release);

  // The answers without a kill, from the first server.
  const std::vector<std::string> frames = ScreeningRequests();
  ICwRequestSession* probe = engine->CreateConfiguredRequestSession(nullptr);
  const std::vector<Answer> expected = RunAll(engine, probe, frames, nullptr);
  for (const Answer& answer : expected) ASSERT_EQ(answer.status, kCwStatusComplete);
  EXPECT_EQ(probe->GetHostIndex(), 0);

  std::vector<ICwRequestSession*> sessions;
  for (int i = 0; i < kClients; ++i) sessions.push_back(engine->CreateConfiguredRequestSession(nullptr));
  ICwRequestSession* writer_session = engine->CreateConfiguredRequestSession(nullptr);

  // The writer inserts rows 1, 2, ... one at a time until told to stop.
  std::atomic<bool> stop_writing{false};
  std::atomic<int> written{0};
  std::vector<int> write_status;
  std::thread writer([&] {
    for (int number = 1; !stop_writing; ++number) {
      RecordingHandle handle;
      RequestHolder request(engine, Insert(number));
      if (!writer_session->SendAndWait(&handle, request.get())) break;
      const std::vector<std::string> bodies = handle.Bodies();
      const bool applied = handle.Statuses() == std::vector<int>{kCwStatusComplete} && bodies.size() == 1 &&
                           bodies[0].size() == 5 && bodies[0][0] == 0;
      write_status.push_back(applied ? 1 : handle.Statuses().empty() ? 0 : handle.Statuses()[0]);
      ++written;
    }
  });

  LoadProgress progress;
  std::vector<std::vector<Answer>> results(kClients);
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, i] { results[i] = RunAll(engine, sessions[i], frames, &progress); });
  }
  // Mid-load: a third of the requests have ended, the rest are on the wire.
  ASSERT_TRUE(progress.WaitFor(kClients * static_cast<int>(frames.size()) / 3));
  const int written_before_kill = written.load();
  ::kill(first.Pid(), SIGKILL);
  for (std::thread& client : clients) client.join();
  ASSERT_TRUE(Eventually([&] { return written.load() > written_before_kill + 20; }));
  stop_writing = true;
  writer.join();
  ::waitpid(first.Pid(), nullptr, 0);

  for (int i = 0; i < kClients; ++i) {
    SCOPED_TRACE("client " + std::to_string(i));
    EXPECT_EQ(sessions[i]->GetHostIndex(), 1);
    ASSERT_EQ(results[i].size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) EXPECT_TRUE(results[i][r] == expected[r]) << "request " << r;
  }
  EXPECT_EQ(writer_session->GetHostIndex(), 1);

  // Each row once when its insert succeeded; at most once when it failed.
  std::string error;
  auto direct = orbe::server::ConnectTo(store, &error);
  ASSERT_TRUE(direct) << error;
  std::map<std::string, int> copies;
  ASSERT_TRUE(direct->Query("SELECT T001 FROM t100000013 WHERE T001 LIKE 'W%'", {},
                            [&](const orbe::server::SqlRow& row) {
                              ++copies[std::string(row.Text(0))];
                              return true;
                            }));
  int succeeded = 0;
  for (std::size_t i = 0; i < write_status.size(); ++i) {
    const int rows = copies.count(RowKey(static_cast<int>(i) + 1)) ? copies[RowKey(static_cast<int>(i) + 1)] : 0;
    if (write_status[i] == 1) {
      ++succeeded;
      EXPECT_EQ(rows, 1) << RowKey(static_cast<int>(i) + 1);
    } else {
      EXPECT_EQ(write_status[i], -1) << RowKey(static_cast<int>(i) + 1);
      EXPECT_LE(rows, 1) << RowKey(static_cast<int>(i) + 1);
    }
  }
  EXPECT_GT(succeeded, written_before_kill);
  EXPECT_LE(copies.size(), write_status.size());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orbe_test
