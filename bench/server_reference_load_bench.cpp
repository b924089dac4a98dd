// The main-table loader against the real server and the real reply cache:
// every page from the server (its stamps just changed) next to every page
// from the cache (stamps unchanged), in one run. The figure to watch is the
// counter cache_over_server (goal <= 0.25). Then the lookups that read the
// loaded tables, on the full sample market.
#include <benchmark/benchmark.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "data_server.h"
#include "dataservice/reply_sql_handle.h"
#include "dictionary/reference_loader_dialogs.h"
#include "env/module_state.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "sample/sample_market.h"
#include "server_log.h"
#include "unique_fd.h"

namespace {

constexpr double kScale = 1.0;

// A server on the full sample market and one connected session, made once.
class Fixture {
 public:
  static Fixture& Get() {
    static Fixture fixture;
    return fixture;
  }
  OrbeClientSession* Session() { return session_.get(); }
  const std::string& Error() const { return error_; }

 private:
  Fixture() {
    orbe::server::SetLogLevel(orbe::server::LogLevel::kOff);
    folder_ = (std::filesystem::temp_directory_path() / ("orbe_refload_bench_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(folder_ + "/cache");
    orbe::server::ServerConfig config;
    config.storage.sqlite_path = folder_ + "/market.db";
    config.port = 0;
    if (!orbe::sample::MakeSampleMarket(config.storage.sqlite_path, kScale, &error_)) return;
    server_ = orbe::server::DataServer::Create(config, &error_);
    if (!server_) return;
    loop_ = std::thread([this] { server_->Run(stop_.Get()); });
    ICwDataEngin* engine = orbe::Siblings().Engine().GetCwDataEnginInstance != nullptr
                               ? orbe::Siblings().Engine().GetCwDataEnginInstance()
                               : nullptr;
    if (engine == nullptr) {
      error_ = "no data engine component";
      return;
    }
    session_ = std::make_unique<OrbeClientSession>(engine, folder_ + "/cache/", "");
    CWHOSTINFO host{};
    orbe::CopyToField(host.host, "127.0.0.1");
    orbe::CopyToField(host.port, std::to_string(server_->Port()));
    session_->CreateSession(host, false, false);
    ICwRequestSession* requests = session_->GetSession();
    if (requests == nullptr ||
        !orbe::PumpUntil([requests] { return requests->GetConnectState() == kCwStateConnected; }, 10000)) {
      error_ = "the session did not connect";
    }
  }
  ~Fixture() {
    session_.reset();
    if (loop_.joinable()) {
      const std::uint64_t one = 1;
      if (::write(stop_.Get(), &one, sizeof one) < 0) std::perror("stop");
      loop_.join();
    }
    std::filesystem::remove_all(folder_);
  }

  std::string folder_;
  std::string error_;
  std::unique_ptr<orbe::server::DataServer> server_;
  orbe::server::UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
  std::thread loop_;
  std::unique_ptr<OrbeClientSession> session_;
};

double SecondsOf(const std::function<bool()>& run, bool* ok) {
  const auto start = std::chrono::steady_clock::now();
  *ok = run() && *ok;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_MainTableServerVersusCache(benchmark::State& state) {
  Fixture& fixture = Fixture::Get();
  if (fixture.Session() == nullptr || !fixture.Error().empty()) {
    state.SkipWithError(fixture.Error().c_str());
    return;
  }
  OrbeClientSession* session = fixture.Session();
  double server_seconds = 0;
  double cache_seconds = 0;
  bool ok = true;
  for (auto _ : state) {
    {
      // New stamps: every page comes from the server and is saved again.
      ReplySqlHandle reload(session, nullptr, 0);
      ok = reload.SynReloadTQL("sys_get_main_table_v2") && ok;
    }
    server_seconds += SecondsOf([session] { return orbe::LoadMainTables(session, nullptr); }, &ok);
    cache_seconds += SecondsOf([session] { return orbe::LoadMainTables(session, nullptr); }, &ok);
  }
  if (!ok) state.SkipWithError("a load failed");
  const double runs = static_cast<double>(state.iterations());
  state.counters["rows"] = static_cast<double>(session->References().SecuMain().size() +
                                               session->References().ListedCmp().size());
  state.counters["server_ms"] = server_seconds / runs * 1000;
  state.counters["cache_ms"] = cache_seconds / runs * 1000;
  state.counters["cache_over_server"] = server_seconds > 0 ? cache_seconds / server_seconds : 0;
}
BENCHMARK(BM_MainTableServerVersusCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

bool EnsureLoaded(benchmark::State& state) {
  Fixture& fixture = Fixture::Get();
  if (fixture.Session() == nullptr || !fixture.Error().empty()) {
    state.SkipWithError(fixture.Error().c_str());
    return false;
  }
  if (fixture.Session()->References().SecuMain().empty() && !orbe::LoadMainTables(fixture.Session(), nullptr)) {
    state.SkipWithError("the main tables did not load");
    return false;
  }
  return true;
}

void BM_GetSecuAbbrByCode(benchmark::State& state) {
  if (!EnsureLoaded(state)) return;
  OrbeClientSession* session = Fixture::Get().Session();
  std::vector<std::string> codes;
  for (const tagSECUMAIN& row : session->References().SecuMain()) codes.push_back(orbe::FieldText(row.SecuCode));
  std::size_t next = 0;
  char out[64];
  for (auto _ : state) {
    CwFileUtil::GetSecuAbbrByCode(session, out, sizeof out, codes[next].c_str());
    benchmark::DoNotOptimize(out);
    next = next + 1 == codes.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetSecuAbbrByCode);

void BM_GetHyCmpCode(benchmark::State& state) {
  if (!EnsureLoaded(state)) return;
  OrbeClientSession* session = Fixture::Get().Session();
  std::vector<std::string> industries;
  for (const tagLISTEDCMP& row : session->References().ListedCmp()) {
    industries.push_back(orbe::FieldText(row.Industry974));
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CwFileUtil::GetHyCmpCode(session, 974, industries[next].c_str()));
    next = next + 1 == industries.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetHyCmpCode);

}  // namespace

BENCHMARK_MAIN();
