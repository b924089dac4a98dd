// What the end-to-end benchmarks share: the sample market served by
// orbe-dataserver on its own thread in the benchmark's process, wall (and
// window-thread CPU) timing of one step, and the counters that compare the
// module's first and cached runs with the same work done directly on SQLite.
#ifndef ORBE_BENCH_END_TO_END_BENCH_H_
#define ORBE_BENCH_END_TO_END_BENCH_H_

#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data_server.h"
#include "dataservice/reply_cache_lock.h"
#include "host/host_session.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/platform/window.h"
#include "sample/sample_market.h"
#include "server_log.h"
#include "unique_fd.h"

namespace orbe_bench {

// Makes the market at `db` and serves it until destroyed; error() tells what failed.
class InProcessDataServer {
 public:
  InProcessDataServer(const std::string& db, double scale) {
    orbe::server::SetLogLevel(orbe::server::LogLevel::kOff);
    if (!orbe::sample::MakeSampleMarket(db, scale, &error_)) return;
    orbe::server::ServerConfig config;
    config.storage.sqlite_path = db;
    config.port = 0;
    server_ = orbe::server::DataServer::Create(config, &error_);
    if (server_)
      loop_ = std::thread([this] {
        pthread_setname_np(pthread_self(), "ds-network");
        server_->Run(stop_.Get());
      });
  }
  ~InProcessDataServer() {
    if (!loop_.joinable()) return;
    const std::uint64_t one = 1;
    if (::write(stop_.Get(), &one, sizeof one) < 0) std::perror("stop");
    loop_.join();
  }
  InProcessDataServer(const InProcessDataServer&) = delete;
  InProcessDataServer& operator=(const InProcessDataServer&) = delete;

  bool ok() const { return server_ != nullptr; }
  int Port() const { return server_ != nullptr ? server_->Port() : 0; }
  const std::string& error() const { return error_; }

 private:
  std::string error_;
  std::unique_ptr<orbe::server::DataServer> server_;
  orbe::server::UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
  std::thread loop_;
};

// A scratch folder holding the sample market, the server over it and the
// module's session, torn down in the reverse order. Benchmarks derive their
// fixture from it.
class ServedMarket {
 public:
  ServedMarket(const std::string& name, double scale)
      : folder_((std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))).string() + "/"),
        home_(folder_ + "home/"),
        db_(folder_ + "market.db") {
    std::filesystem::create_directories(home_);
    server_ = std::make_unique<InProcessDataServer>(db_, scale);
    error_ = server_->error();
  }
  virtual ~ServedMarket() {
    StopSession();
    server_.reset();
    std::filesystem::remove_all(folder_);
  }
  ServedMarket(const ServedMarket&) = delete;
  ServedMarket& operator=(const ServedMarket&) = delete;

  const std::string& Error() const { return error_; }
  const std::string& Database() const { return db_; }
  const std::string& Folder() const { return folder_; }
  const std::string& Home() const { return home_; }
  bool Serving() const { return server_->ok(); }

  // A new session over an empty reply cache, so the next run asks the server;
  // `market` answers the host callbacks (may be null).
  bool Restart(orbe::HostMarket* market = nullptr) {
    StopSession();
    std::filesystem::remove_all(home_ + "cache");
    orbe::HostSessionOptions options;
    options.data_service = {"127.0.0.1", server_->Port()};
    options.private_folder = home_;
    session_ = orbe::HostSession::Start(options, market, &error_);
    // The start's own completions (the reference tables' replies) are
    // delivered here, not inside the first timed build, and so are their
    // writes to the reply cache file: each reply is posted under the cache
    // lock and queued before the lock is let go, so once every post is
    // delivered, taking the lock waits for the last store to be queued.
    orbe::RunUntilIdle();
    { const std::lock_guard<std::mutex> queued(orbe::ReplyCacheLock()); }
    WriteCache();
    return session_ != nullptr;
  }
  void StopSession() { session_.reset(); }
  // Writes the session's queued replies to the reply cache file now instead
  // of when the stores pause.
  void WriteCache() {
    OrbeClientSession* const session = session_ != nullptr ? session_->Session() : nullptr;
    if (session != nullptr && session->GetCwcache() != nullptr) session->GetCwcache()->SaveState();
  }

 protected:
  std::string error_;

 private:
  const std::string folder_;
  const std::string home_;
  const std::string db_;
  std::unique_ptr<InProcessDataServer> server_;
  std::unique_ptr<orbe::HostSession> session_;
};

// The program's one fixture, made on first use. Release it before main
// returns: the module's own globals are gone by the time static destructors
// would run.
template <typename Fixture>
std::unique_ptr<Fixture>& ProgramFixture() {
  static std::unique_ptr<Fixture> instance;
  return instance;
}
template <typename Fixture>
Fixture& TheFixture() {
  auto& fixture = ProgramFixture<Fixture>();
  if (!fixture) fixture = std::make_unique<Fixture>();
  return *fixture;
}

// A benchmark program's main: runs the benchmarks, then releases the fixture.
template <typename Fixture>
int RunBenchmarksThenRelease(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ProgramFixture<Fixture>().reset();
  return 0;
}

inline double CpuSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Processor seconds of every thread of the process by name (threads of one
// name summed), from the scheduler's own figures.
inline std::map<std::string, double> CpuSecondsByThreadName() {
  std::map<std::string, double> by_name;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
    std::ifstream comm(task.path() / "comm");
    std::ifstream schedstat(task.path() / "schedstat");
    std::string name;
    double on_cpu_ns = 0;
    if (std::getline(comm, name) && schedstat >> on_cpu_ns) by_name[name] += on_cpu_ns / 1e9;
  }
  return by_name;
}

// Processor seconds a timed step spent: on the calling thread, in the whole
// process (the server's and the engine's threads too), and by thread name.
// On a machine of few processors the second bounds the wall time from below.
struct CpuSpent {
  double thread = 0;
  double process = 0;
  std::map<std::string, double> by_thread_name;
};

// Wall seconds of run(); *ok stays true only while every run succeeds;
// *cpu (when given) gains the processor seconds spent. The threads' figures
// are read outside the timed span.
inline double SecondsOf(const std::function<bool()>& run, bool* ok, CpuSpent* cpu = nullptr) {
  const std::map<std::string, double> names_start =
      cpu != nullptr ? CpuSecondsByThreadName() : std::map<std::string, double>{};
  const double thread_start = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
  const double process_start = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  const auto start = std::chrono::steady_clock::now();
  *ok = run() && *ok;
  const auto end = std::chrono::steady_clock::now();
  if (cpu != nullptr) {
    cpu->thread += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread_start;
    cpu->process += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process_start;
    for (const auto& [name, seconds] : CpuSecondsByThreadName()) {
      const auto before = names_start.find(name);
      cpu->by_thread_name[name] += seconds - (before != names_start.end() ? before->second : 0);
    }
  }
  return std::chrono::duration<double>(end - start).count();
}

// One sample per iteration of the first run, the run served from the reply
// cache, and the direct computation.
struct EndToEndSeconds {
  std::vector<double> first;
  std::vector<double> cached;
  std::vector<double> direct;
};

// The middle sample: on a shared machine a run now and then loses the
// processor for a millisecond, which would swamp a mean of sub-millisecond
// runs.
inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
  std::nth_element(samples.begin(), middle, samples.end());
  return *middle;
}

// first_ms, cached_ms, direct_ms: the medians of the iterations;
// over_direct = first / direct; cached_over_first = cached / first.
inline void SetEndToEndCounters(benchmark::State& state, const EndToEndSeconds& seconds) {
  const double first = Median(seconds.first);
  const double cached = Median(seconds.cached);
  const double direct = Median(seconds.direct);
  state.counters["first_ms"] = first * 1000;
  state.counters["cached_ms"] = cached * 1000;
  state.counters["direct_ms"] = direct * 1000;
  state.counters["over_direct"] = direct > 0 ? first / direct : 0;
  state.counters["cached_over_first"] = first > 0 ? cached / first : 0;
}

}  // namespace orbe_bench

#endif  // ORBE_BENCH_END_TO_END_BENCH_H_
