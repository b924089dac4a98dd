// The concurrent server side by side in one run:
//  - BM_EightClientsVersusOne: requests per second of eight clients, each
//    with one request in flight, over those of one client on the same server
//    (counter throughput_ratio, goal >= 1.6 on two cores);
//  - BM_SelectPostgresVersusSqlite: the 4 000-row SELECT through a server
//    over PostgreSQL and through one over SQLite, the same sample market in
//    both, alternately (counter ratio = PostgreSQL time / SQLite time, goal <= 2).
// The PostgreSQL cluster is the tests' own (tests/support/pg_cluster.h).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "data_server.h"
#include "loopback_client.h"
#include "orbe/platform/text.h"
#include "pg_connection.h"
#include "protocol/frame_splitter.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "protocol/sql_records.h"
#include "protocol/statements.h"
#include "sample/sample_market.h"
#include "server_log.h"
#include "support/pg_cluster.h"
#include "unique_fd.h"

namespace {

using orbe::server::UniqueFd;
using Clock = std::chrono::steady_clock;

// The smallest sample market with more than 4 000 securities.
constexpr double kScale = 0.6;
constexpr std::size_t kRows = 4000;
constexpr int kClients = 8;

// One request, its reply read to the end packet; the data packets it had.
std::size_t RoundTrip(int fd, const std::string& frame) {
  if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size())) return 0;
  orbe::wire::ReplySplitter splitter;
  orbe::wire::ReplyPacket packet;
  std::size_t packets = 0;
  char buffer[1 << 16];
  for (;;) {
    const orbe::wire::SplitResult result = splitter.Next(&packet);
    if (result == orbe::wire::SplitResult::kBad) return 0;
    if (result == orbe::wire::SplitResult::kFrame) {
      if (packet.header.kind == orbe::wire::kPacketEnd) {
        return packet.header.status == orbe::wire::kStatusComplete ? packets : 0;
      }
      if (orbe::wire::PacketBody(packet)) ++packets;
      continue;
    }
    const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
    if (got <= 0) return 0;
    splitter.Append(buffer, static_cast<std::size_t>(got));
  }
}

// A server of this process on its own thread.
class ServedStore {
 public:
  ServedStore(const orbe::server::StorageLocation& location, const std::string& files, std::string* error) {
    orbe::server::ServerConfig config;
    config.storage = location;
    config.file_root = files;
    config.port = 0;
    server_ = orbe::server::DataServer::Create(config, error);
    if (server_) loop_ = std::thread([this] { server_->Run(stop_.Get()); });
  }
  ~ServedStore() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof(one));
    if (loop_.joinable()) loop_.join();
  }
  bool Ok() const { return server_ != nullptr; }
  std::uint16_t Port() const { return server_->Port(); }

 private:
  std::unique_ptr<orbe::server::DataServer> server_;
  UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
  std::thread loop_;
};

// SELECT PAGE 1 PAGEFRAME 4000 T001 ... T010 FROM 100000001.
std::string SelectFrame() {
  cw_command_req record{};
  record.table = 100000001;
  record.page = 1;
  record.page_size = kRows;
  for (std::uint8_t field = 1; field <= 10; ++field) record.fields[field - 1] = field;
  record.field_count = 10;
  return orbe::wire::EncodeRequestFrame(1, orbe::wire::EncodeSelectBody(record, {}));
}

// A screening's query-language request: the change over a month for a chunk of codes.
std::string BrowseFrame(int month) {
  const std::string change = "\xc7\xf8\xbc\xe4\xd5\xc7\xb5\xf8\xb7\xf9";
  std::string codes;
  for (int i = 0; i < 200; ++i) codes += (i ? "," : "") + std::to_string(600000 + i);
  const std::string range = orbe::Format("2026%02d01|2026%02d28", month, month);
  return orbe::wire::EncodeRequestFrame(
      1, orbe::wire::EncodeCallBody(orbe::wire::kCodeCall, "KVX_DataBrowse", change + "|" + range + "||" + codes));
}

class Bench {
 public:
  static Bench& Get() {
    static Bench bench;
    return bench;
  }
  ~Bench() {
    sqlite_.reset();
    postgres_.reset();
    cluster_.reset();
    std::filesystem::remove_all(dir_);
  }
  const std::string& Error() const { return error_; }
  ServedStore& Sqlite() { return *sqlite_; }
  ServedStore& Postgres() { return *postgres_; }

 private:
  Bench() {
    orbe::server::SetLogLevel(orbe::server::LogLevel::kOff);
    dir_ = (std::filesystem::temp_directory_path() / ("orbe_scaleout_bench_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(dir_);
    const std::string db = dir_ + "/market.db";
    if (!orbe::sample::MakeSampleMarket(db, kScale, &error_)) return;
    sqlite_ = std::make_unique<ServedStore>(orbe::server::StorageLocation{db, ""}, dir_ + "/files", &error_);
    if (!sqlite_->Ok()) return;
    cluster_ = std::make_unique<orbe_test::PgCluster>();
    if (!cluster_->Ready()) {
      error_ = cluster_->Problem();
      return;
    }
    std::string ignored;
    auto admin = orbe::server::PgConnection::Open(cluster_->Uri("postgres"), &error_);
    if (!admin || !admin->Run("CREATE DATABASE market")) return;
    admin.reset();
    if (!orbe::sample::MakeSampleMarketInPostgres(cluster_->Uri("market"), kScale, &error_)) return;
    postgres_ = std::make_unique<ServedStore>(orbe::server::StorageLocation{"", cluster_->Uri("market")},
                                              dir_ + "/pg_files", &error_);
  }

  std::string dir_;
  std::string error_;
  std::unique_ptr<ServedStore> sqlite_;
  std::unique_ptr<orbe_test::PgCluster> cluster_;
  std::unique_ptr<ServedStore> postgres_;
};

bool Ready(benchmark::State& state) {
  if (Bench::Get().Error().empty()) return true;
  state.SkipWithError(Bench::Get().Error().c_str());
  return false;
}

// CPU of the whole process (clients and server alike).
double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU of the calling thread.
double ThreadCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// What one run kept busy and spent, for the counters.
struct RunCost {
  double cores = 0;                  // process CPU time / wall time
  double server_ms_per_request = 0;  // process CPU less the clients' own, per request
};

// Requests answered per second by `clients` connections, each sending the
// next request when the last one's reply is in, `rounds` requests each.
// `cost` receives the processors the run kept busy (on a shared machine the
// ratio can only reach what the others leave) and the server's own CPU.
double Throughput(std::uint16_t port, int clients, int rounds, bool* ok, RunCost* cost) {
  std::vector<UniqueFd> sockets;
  for (int i = 0; i < clients; ++i) sockets.push_back(orbe_bench::ConnectLoopback(port));
  std::atomic<bool> all_ok{true};
  std::vector<double> client_cpu(static_cast<std::size_t>(clients), 0.0);
  const auto start = Clock::now();
  const double cpu_start = ProcessCpuSeconds();
  std::vector<std::thread> threads;
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back([&, fd = sockets[i].Get(), i] {
      const double own_start = ThreadCpuSeconds();
      for (int r = 0; r < rounds; ++r) {
        if (RoundTrip(fd, BrowseFrame(1 + (i + r) % 11)) == 0) all_ok = false;
      }
      client_cpu[static_cast<std::size_t>(i)] = ThreadCpuSeconds() - own_start;
    });
  }
  for (std::thread& thread : threads) thread.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = ProcessCpuSeconds() - cpu_start;
  double clients_cpu = 0;
  for (const double spent : client_cpu) clients_cpu += spent;
  cost->cores += cpu / seconds;
  cost->server_ms_per_request += (cpu - clients_cpu) * 1e3 / (clients * rounds);
  *ok = *ok && all_ok;
  return clients * rounds / seconds;
}

void BM_EightClientsVersusOne(benchmark::State& state) {
  if (!Ready(state)) return;
  const std::uint16_t port = Bench::Get().Sqlite().Port();
  constexpr int kRounds = 40;
  double one = 0;
  double eight = 0;
  RunCost one_cost;
  RunCost eight_cost;
  bool ok = true;
  for (auto _ : state) {
    one += Throughput(port, 1, kRounds, &ok, &one_cost);
    eight += Throughput(port, kClients, kRounds / kClients * 2, &ok, &eight_cost);
  }
  if (!ok) state.SkipWithError("a request failed");
  const double runs = static_cast<double>(state.iterations());
  state.counters["one_client_per_s"] = one / runs;
  state.counters["eight_clients_per_s"] = eight / runs;
  state.counters["throughput_ratio"] = eight / one;
  state.counters["one_client_cores"] = one_cost.cores / runs;
  state.counters["eight_clients_cores"] = eight_cost.cores / runs;
  // The server's CPU per request alone: how much a request costs more when
  // two run at once on two cores.
  state.counters["one_client_server_ms"] = one_cost.server_ms_per_request / runs;
  state.counters["eight_clients_server_ms"] = eight_cost.server_ms_per_request / runs;
}
BENCHMARK(BM_EightClientsVersusOne)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_SelectPostgresVersusSqlite(benchmark::State& state) {
  if (!Ready(state)) return;
  const std::string frame = SelectFrame();
  const UniqueFd sqlite = orbe_bench::ConnectLoopback(Bench::Get().Sqlite().Port());
  const UniqueFd postgres = orbe_bench::ConnectLoopback(Bench::Get().Postgres().Port());
  Clock::duration sqlite_time{};
  Clock::duration postgres_time{};
  bool ok = true;
  for (auto _ : state) {
    const auto start = Clock::now();
    ok = RoundTrip(sqlite.Get(), frame) == kRows && ok;
    const auto middle = Clock::now();
    ok = RoundTrip(postgres.Get(), frame) == kRows && ok;
    postgres_time += Clock::now() - middle;
    sqlite_time += middle - start;
  }
  if (!ok) state.SkipWithError("wrong record count");
  const double runs = static_cast<double>(state.iterations());
  state.counters["sqlite_ms"] = std::chrono::duration<double, std::milli>(sqlite_time).count() / runs;
  state.counters["postgres_ms"] = std::chrono::duration<double, std::milli>(postgres_time).count() / runs;
  state.counters["ratio"] = std::chrono::duration<double>(postgres_time) / std::chrono::duration<double>(sqlite_time);
}
BENCHMARK(BM_SelectPostgresVersusSqlite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
