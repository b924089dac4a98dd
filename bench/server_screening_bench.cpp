// A whole-market screening end to end (FetchData to the completion message:
// statements through the engine, the server and the reply cache, TQL calls,
// quote records from the host, Python user indicators, conditions and the
// expression) next to the same table computed by direct SQLite queries of the
// server's file (tests/indicators/screening_reference.h), in one run. Counters:
// over_direct = first screening / direct computation (goal <= 3) and
// cached_over_first = a second screening served from the reply cache / the
// first (goal <= 0.3). BM_ScreeningWindowVersusHeadlessRunner runs the same
// scheme through the screening window (the run command to the filled grid and
// summary line, boards 上证Ａ股 and 深证Ａ股) beside the headless runner over the
// same companies, each on an empty reply cache: window_over_runner (goal <= 1.2).
#include <benchmark/benchmark.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "data_server.h"
#include "host/host_market.h"
#include "host/host_session.h"
#include "indicators/screening_reference.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/screening/headless_screening.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/multi_index_wnd.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/switch_ex.h"
#include "sample/sample_market.h"
#include "server_log.h"
#include "unique_fd.h"

namespace {

namespace fs = std::filesystem;

// The full market: about 4000 companies, ten code chunks per statement.
constexpr double kScale = 1.0;
constexpr DWORD kTimeoutMs = 600000;

struct CatalogueCloser {
  void operator()(IIndexMgr* mgr) const { DeleteIndexMgrInstance(mgr); }
};

// The market, the server on its own thread, the host's market and the catalogue, made once.
class Fixture {
 public:
  static Fixture& Get() {
    if (!Instance()) Instance().reset(new Fixture());
    return *Instance();
  }
  // Torn down before main returns: the module's own globals are gone by the
  // time static destructors would run.
  static void Release() { Instance().reset(); }
  ~Fixture() {
    mgr_.reset();
    session_.reset();
    market_.reset();
    if (loop_.joinable()) {
      const std::uint64_t one = 1;
      if (::write(stop_.Get(), &one, sizeof one) < 0) std::perror("stop");
      loop_.join();
    }
    fs::remove_all(folder_);
  }
  const std::string& Error() const { return error_; }
  const std::string& Database() const { return db_; }
  const std::vector<std::string>& Companies() const { return companies_; }
  IIndexMgr* Catalogue() const { return mgr_.get(); }
  const std::string& Home() const { return home_; }

  // A new session over an empty reply cache, so the next screening asks the server.
  bool Restart() {
    session_.reset();
    fs::remove_all(home_ + "cache");
    orbe::HostSessionOptions options;
    options.data_service = {"127.0.0.1", server_->Port()};
    options.private_folder = home_;
    session_ = orbe::HostSession::Start(options, market_.get(), &error_);
    return session_ != nullptr;
  }

 private:
  Fixture() {
    orbe::server::SetLogLevel(orbe::server::LogLevel::kOff);
    setenv("PYTHONDONTWRITEBYTECODE", "1", 0);
    folder_ = (fs::temp_directory_path() / ("orbe_screening_bench_" + std::to_string(::getpid()))).string() + "/";
    home_ = folder_ + "home/";
    fs::create_directories(home_);
    db_ = folder_ + "market.db";
    if (!orbe::sample::MakeSampleMarket(db_, kScale, &error_)) return;
    orbe::server::ServerConfig config;
    config.db_path = db_;
    config.port = 0;
    server_ = orbe::server::DataServer::Create(config, &error_);
    if (!server_) return;
    loop_ = std::thread([this] { server_->Run(stop_.Get()); });
    market_ = orbe::HostMarket::Open(db_, home_, &error_);
    if (!market_) return;
    fs::copy(fs::path(ORBE_SOURCE_DIR) / "data" / "indicators", folder_ + "indicators", fs::copy_options::recursive);
    const std::string dir = folder_ + "indicators/";
    mgr_.reset(CreateIndexMgrInstance());
    if (mgr_->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini") != 1) {
      error_ = "the sample catalogue does not load";
      return;
    }
    companies_ = orbe_test::AllCompanies(db_);
  }
  static std::unique_ptr<Fixture>& Instance() {
    static std::unique_ptr<Fixture> instance;
    return instance;
  }

  std::string folder_;
  std::string home_;
  std::string db_;
  std::string error_;
  std::vector<std::string> companies_;
  std::unique_ptr<orbe::server::DataServer> server_;
  orbe::server::UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
  std::thread loop_;
  std::unique_ptr<orbe::HostMarket> market_;
  std::unique_ptr<orbe::HostSession> session_;
  std::unique_ptr<IIndexMgr, CatalogueCloser> mgr_;
};

double SecondsOf(const std::function<bool()>& run, bool* ok) {
  const auto start = std::chrono::steady_clock::now();
  *ok = run() && *ok;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ScreeningVersusDirectSqlite(benchmark::State& state) {
  Fixture& fixture = Fixture::Get();
  if (fixture.Catalogue() == nullptr || !fixture.Error().empty()) {
    state.SkipWithError(fixture.Error().c_str());
    return;
  }
  const IndexScheme scheme = orbe_test::ScreeningScheme();
  const std::string codes = orbe_test::JoinCodes(fixture.Companies());
  double first_seconds = 0;
  double cached_seconds = 0;
  double direct_seconds = 0;
  std::size_t rows = 0;
  std::size_t selected = 0;
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    ok = fixture.Restart() && ok;
    state.ResumeTiming();
    auto screen = [&] {
      const orbe::ScreeningResult result = orbe::RunScreening(fixture.Catalogue(), scheme, codes, nullptr, kTimeoutMs);
      rows = static_cast<std::size_t>(result.total);
      selected = result.rows.size();
      return result.ok;
    };
    first_seconds += SecondsOf(screen, &ok);
    cached_seconds += SecondsOf(screen, &ok);
    direct_seconds += SecondsOf(
        [&] {
          const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(fixture.Database(), fixture.Companies());
          // The module's table and the direct one must be the same for the ratio to mean anything.
          return ref.row_order.size() == rows && ref.selected.size() == selected;
        },
        &ok);
  }
  if (!ok) state.SkipWithError(("a screening failed or differs from the direct table " + fixture.Error()).c_str());
  const double runs = static_cast<double>(state.iterations());
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["selected"] = static_cast<double>(selected);
  state.counters["first_ms"] = first_seconds / runs * 1000;
  state.counters["cached_ms"] = cached_seconds / runs * 1000;
  state.counters["direct_ms"] = direct_seconds / runs * 1000;
  state.counters["over_direct"] = direct_seconds > 0 ? first_seconds / direct_seconds : 0;
  state.counters["cached_over_first"] = first_seconds > 0 ? cached_seconds / first_seconds : 0;
}
BENCHMARK(BM_ScreeningVersusDirectSqlite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The screening window over the user store holding the scheme, its scheme opened.
class WindowRun {
 public:
  WindowRun(IIndexMgr* mgr, const std::string& store) {
    host_.Create(nullptr, RECT{0, 0, 1600, 1000}, 1, WS_VISIBLE);
    wnd_ = dynamic_cast<CMultiIndexWnd*>(
        Creat3X1TWnd(mgr, nullptr, store.c_str(), true, false, &host_, RECT{0, 0, 1600, 1000}, WS_VISIBLE, 9));
    if (wnd_ == nullptr) return;
    CIndexTreeWnd& trees = *wnd_->GetTreeWnd();
    trees.GetTabs()->ClickLabel(trees.GetTabs()->GetTabNum() - 1);
    CXHtmlTree& tree = *trees.GetTree(CIndexTreeWnd::kUserSchemes);
    tree.DoubleClickItem(tree.GetChildItem(tree.GetRootItem()));
  }
  ~WindowRun() {
    if (wnd_ != nullptr) Delete3X1TWnd(wnd_);
  }
  // The run command, then pumping until the grid and the summary are filled.
  bool Screen(std::size_t* rows) {
    if (wnd_ == nullptr || !wnd_->GetConditionWnd()->GetButton(orbe::kCmdRunScreening)->Click()) return false;
    orbe::RunUntilIdle();
    if (!wnd_->IsFetching() || !orbe::PumpUntil([this] { return !wnd_->IsFetching(); }, kTimeoutMs)) return false;
    *rows = static_cast<std::size_t>(wnd_->GetDisplayWnd()->GetGrid()->GetRowCount() - 1);
    return !wnd_->GetDisplayWnd()->GetSummaryText().empty();
  }

 private:
  CWnd host_;
  CMultiIndexWnd* wnd_ = nullptr;
};

void BM_ScreeningWindowVersusHeadlessRunner(benchmark::State& state) {
  Fixture& fixture = Fixture::Get();
  if (fixture.Catalogue() == nullptr || !fixture.Error().empty()) {
    state.SkipWithError(fixture.Error().c_str());
    return;
  }
  const IndexScheme scheme = orbe_test::ScreeningScheme();
  IndexSchemeMgr store;
  const std::string path = fixture.Home() + "bench_schemes.ini";
  store.LoadSchemes(path);
  store.SetSchemes({scheme});
  bool ok = store.SaveSchemes();
  double window_seconds = 0;
  double runner_seconds = 0;
  std::size_t window_rows = 0;
  std::size_t runner_rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ok = fixture.Restart() && ok;
    WindowRun window(fixture.Catalogue(), path);
    state.ResumeTiming();
    window_seconds += SecondsOf([&] { return window.Screen(&window_rows); }, &ok);
    state.PauseTiming();
    ok = fixture.Restart() && ok;
    // The same companies the window's boards give.
    const std::string codes = orbe::BoardCompanyCodes({"上证Ａ股", "深证Ａ股"});
    state.ResumeTiming();
    runner_seconds += SecondsOf(
        [&] {
          const orbe::ScreeningResult result = orbe::RunScreening(fixture.Catalogue(), scheme, codes, nullptr, kTimeoutMs);
          runner_rows = result.rows.size();
          return result.ok;
        },
        &ok);
  }
  if (!ok || window_rows != runner_rows) state.SkipWithError("a screening failed or the window and the runner differ");
  const double runs = static_cast<double>(state.iterations());
  state.counters["rows"] = static_cast<double>(window_rows);
  state.counters["window_ms"] = window_seconds / runs * 1000;
  state.counters["runner_ms"] = runner_seconds / runs * 1000;
  state.counters["window_over_runner"] = runner_seconds > 0 ? window_seconds / runner_seconds : 0;
}
BENCHMARK(BM_ScreeningWindowVersusHeadlessRunner)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Fixture::Release();
  return 0;
}
