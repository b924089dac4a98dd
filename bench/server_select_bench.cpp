// A SELECT of 10 fields for 4 000 securities through the wire codec, a TCP
// socket and the real server loop, next to the same query run in-process on
// the same SQLite file. BM_SelectServerVsDirect reports the ratio
// server/direct (goal <= 2) and the rows per second of each path.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sqlite3.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "data_server.h"
#include "loopback_client.h"
#include "dictionary/sql_parser.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "protocol/frame_splitter.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "sample/sample_market.h"
#include "server_log.h"
#include "statement_executor.h"
#include "unique_fd.h"

namespace {

using orbe::server::UniqueFd;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kRows = 4000;
// The smallest sample market with more than 4 000 securities.
constexpr double kScale = 0.6;
constexpr const char* kStatement =
    "SELECT PAGE 1 PAGEFRAME 4000 T001,T002,T003,T004,T005,T006,T007,T008,T009,T010 FROM 100000001";
constexpr const char* kDirectSql =
    "SELECT T001,T002,T003,T004,T005,T006,T007,T008,T009,T010 FROM t100000001 ORDER BY rowid LIMIT 4000";
constexpr int kIntegerColumn = 8;  // T009, the listing date

// One sample market, one server and one client for the whole program.
class Bench {
 public:
  static Bench& Get() {
    static Bench bench;
    return bench;
  }
  ~Bench() {
    client_.Reset();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof(one));
    if (loop_.joinable()) loop_.join();
    server_.reset();
    sqlite3_close(direct_);
    std::filesystem::remove_all(dir_);
  }
  const std::string& Error() const { return error_; }

  // Records received (every packet inflated as a client does).
  std::size_t FetchThroughServer() {
    auto* header = reinterpret_cast<unsigned char*>(frame_.data());
    if (!orbe::wire::StampRequestHeader(header, ++request_id_)) return 0;
    ::send(client_.Get(), frame_.data(), frame_.size(), MSG_NOSIGNAL);
    std::size_t records = 0;
    orbe::wire::ReplyPacket packet;
    char buffer[1 << 16];
    for (;;) {
      const orbe::wire::SplitResult result = splitter_.Next(&packet);
      if (result == orbe::wire::SplitResult::kBad) return 0;
      if (result == orbe::wire::SplitResult::kFrame) {
        if (packet.header.kind == orbe::wire::kPacketEnd) return records;
        if (orbe::wire::PacketBody(packet)) ++records;
        continue;
      }
      const ssize_t got = ::recv(client_.Get(), buffer, sizeof(buffer), 0);
      if (got <= 0) return 0;
      splitter_.Append(buffer, static_cast<std::size_t>(got));
    }
  }

  // Reply bytes of the SELECT run in-process, without the socket and the client.
  std::size_t ReplyInProcess() {
    std::string out;
    const std::string_view body(frame_.data() + orbe::wire::kRequestHeaderSize,
                                frame_.size() - orbe::wire::kRequestHeaderSize);
    orbe::server::RunSelect(*storage_, *reader_, body, {1, orbe::wire::kCodeSelect}, &out);
    return out.size();
  }

  // Rows read, every column fetched as the reply carries it.
  std::size_t FetchDirectly() {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(direct_, kDirectSql, -1, &statement, nullptr) != SQLITE_OK) return 0;
    std::size_t rows = 0;
    std::int64_t sink = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int column = 0; column < 10; ++column) {
        if (column == kIntegerColumn) {
          sink += sqlite3_column_int64(statement, column);
        } else {
          sink += sqlite3_column_bytes(statement, column);
          benchmark::DoNotOptimize(sqlite3_column_text(statement, column));
        }
      }
      ++rows;
    }
    benchmark::DoNotOptimize(sink);
    sqlite3_finalize(statement);
    return rows;
  }

 private:
  Bench() {
    orbe::server::SetLogLevel(orbe::server::LogLevel::kOff);
    const std::string name = "orbe_select_bench_" + std::to_string(::getpid());
    dir_ = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::create_directories(dir_);
    const std::string db = dir_ + "/market.db";
    if (!orbe::sample::MakeSampleMarket(db, kScale, &error_)) return;
    orbe::server::ServerConfig config;
    config.storage.sqlite_path = db;
    config.port = 0;
    server_ = orbe::server::DataServer::Create(config, &error_);
    if (!server_) return;
    loop_ = std::thread([this] { server_->Run(stop_.Get()); });
    client_ = orbe_bench::ConnectLoopback(server_->Port());
    orbe::CwDictionary dictionary;
    cw_command_req request{};
    if (!orbe::LoadDictionaryFiles(dictionary, db + ".files/") ||
        !orbe::sql::ParseSelect(dictionary, kStatement, &request)) {
      error_ = "cannot parse the statement over the served dictionary";
      return;
    }
    request.request_code = orbe::wire::kCodeSelect;
    frame_ = orbe::wire::EncodeRequest(0, orbe::wire::kCodeSelect,
                                       std::string_view(reinterpret_cast<const char*>(&request) + 2,
                                                        sizeof(request) - 2));
    sqlite3_open_v2(db.c_str(), &direct_, SQLITE_OPEN_READONLY, nullptr);
    storage_ = orbe::server::Storage::Open({db, ""}, &error_);
    if (storage_) reader_ = storage_->Connect(&error_);
  }

  std::string dir_;
  std::string error_;
  std::unique_ptr<orbe::server::DataServer> server_;
  UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
  std::thread loop_;
  UniqueFd client_;
  orbe::wire::ReplySplitter splitter_;
  std::string frame_;
  std::uint32_t request_id_ = 0;
  sqlite3* direct_ = nullptr;
  std::unique_ptr<orbe::server::Storage> storage_;
  std::unique_ptr<orbe::server::SqlConnection> reader_;
};

// CPU of the whole process (client and server thread alike): unlike wall
// time, it does not count the time other programs hold the cores.
double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool Ready(benchmark::State& state) {
  if (!Bench::Get().Error().empty()) {
    state.SkipWithError(Bench::Get().Error().c_str());
    return false;
  }
  return true;
}

void BM_SelectThroughServer(benchmark::State& state) {
  if (!Ready(state)) return;
  for (auto _ : state) {
    if (Bench::Get().FetchThroughServer() != kRows) state.SkipWithError("wrong record count");
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
}
BENCHMARK(BM_SelectThroughServer)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_SelectDirectSqlite(benchmark::State& state) {
  if (!Ready(state)) return;
  for (auto _ : state) {
    if (Bench::Get().FetchDirectly() != kRows) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
}
BENCHMARK(BM_SelectDirectSqlite)->UseRealTime()->Unit(benchmark::kMillisecond);

// The server's share: decode, query, encode, without socket and client.
void BM_SelectReplyInProcess(benchmark::State& state) {
  if (!Ready(state)) return;
  for (auto _ : state) benchmark::DoNotOptimize(Bench::Get().ReplyInProcess());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
}
BENCHMARK(BM_SelectReplyInProcess)->UseRealTime()->Unit(benchmark::kMillisecond);

// Both paths alternately in one run, so that the machine's load weighs on
// both alike; the ratio is the figure to watch.
void BM_SelectServerVsDirect(benchmark::State& state) {
  if (!Ready(state)) return;
  Clock::duration server{};
  Clock::duration direct{};
  double server_cpu = 0;
  double direct_cpu = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu_start = ProcessCpuSeconds();
    const std::size_t records = Bench::Get().FetchThroughServer();
    const auto middle = Clock::now();
    const double cpu_middle = ProcessCpuSeconds();
    const std::size_t rows = Bench::Get().FetchDirectly();
    direct += Clock::now() - middle;
    direct_cpu += ProcessCpuSeconds() - cpu_middle;
    server += middle - start;
    server_cpu += cpu_middle - cpu_start;
    if (records != kRows || rows != kRows) state.SkipWithError("wrong count");
  }
  const double server_s = std::chrono::duration<double>(server).count();
  const double direct_s = std::chrono::duration<double>(direct).count();
  const double rows = static_cast<double>(state.iterations() * kRows);
  state.counters["ratio"] = server_s / direct_s;
  state.counters["cpu_ratio"] = server_cpu / direct_cpu;
  state.counters["server_rows_per_s"] = rows / server_s;
  state.counters["direct_rows_per_s"] = rows / direct_s;
}
BENCHMARK(BM_SelectServerVsDirect)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
