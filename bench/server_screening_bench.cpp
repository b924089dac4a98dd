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
// BM_ScreeningPerSecurity runs the first screening over sample markets at
// scales 0.25, 0.5 and 1 and reports the time per security, which should not
// grow with the market.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "end_to_end_bench.h"
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

namespace {

namespace fs = std::filesystem;

// The full market: about 4000 companies, ten code chunks per statement.
constexpr double kScale = 1.0;
constexpr DWORD kTimeoutMs = 600000;

struct CatalogueCloser {
  void operator()(IIndexMgr* mgr) const { DeleteIndexMgrInstance(mgr); }
};

// The market, the server on its own thread, the host's market and the catalogue, made once.
class Fixture : public orbe_bench::ServedMarket {
 public:
  explicit Fixture(double scale = kScale, const std::string& name = "orbe_screening_bench")
      : ServedMarket(name, scale) {
    setenv("PYTHONDONTWRITEBYTECODE", "1", 0);
    if (!Serving()) return;
    market_ = orbe::HostMarket::Open(Database(), Home(), &error_);
    if (!market_) return;
    fs::copy(fs::path(ORBE_SOURCE_DIR) / "data" / "indicators", Folder() + "indicators", fs::copy_options::recursive);
    const std::string dir = Folder() + "indicators/";
    mgr_.reset(CreateIndexMgrInstance());
    if (mgr_->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini") != 1) {
      error_ = "the sample catalogue does not load";
      return;
    }
    companies_ = orbe_test::AllCompanies(Database());
  }
  ~Fixture() override {
    mgr_.reset();
    StopSession();
    market_.reset();
  }
  const std::vector<std::string>& Companies() const { return companies_; }
  IIndexMgr* Catalogue() const { return mgr_.get(); }
  // A new session over an empty reply cache, so the next screening asks the server.
  bool Restart() { return ServedMarket::Restart(market_.get()); }

 private:
  std::vector<std::string> companies_;
  std::unique_ptr<orbe::HostMarket> market_;
  std::unique_ptr<IIndexMgr, CatalogueCloser> mgr_;
};

void BM_ScreeningVersusDirectSqlite(benchmark::State& state) {
  Fixture& fixture = orbe_bench::TheFixture<Fixture>();
  if (fixture.Catalogue() == nullptr || !fixture.Error().empty()) {
    state.SkipWithError(fixture.Error().c_str());
    return;
  }
  const IndexScheme scheme = orbe_test::ScreeningScheme();
  const std::string codes = orbe_test::JoinCodes(fixture.Companies());
  orbe_bench::EndToEndSeconds seconds;
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
    seconds.first.push_back(orbe_bench::SecondsOf(screen, &ok));
    seconds.cached.push_back(orbe_bench::SecondsOf(screen, &ok));
    seconds.direct.push_back(orbe_bench::SecondsOf(
        [&] {
          const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(fixture.Database(), fixture.Companies());
          // The module's table and the direct one must be the same for the ratio to mean anything.
          return ref.row_order.size() == rows && ref.selected.size() == selected;
        },
        &ok));
  }
  if (!ok) state.SkipWithError(("a screening failed or differs from the direct table " + fixture.Error()).c_str());
  orbe_bench::SetEndToEndCounters(state, seconds);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["selected"] = static_cast<double>(selected);
}

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
  Fixture& fixture = orbe_bench::TheFixture<Fixture>();
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
    window_seconds += orbe_bench::SecondsOf([&] { return window.Screen(&window_rows); }, &ok);
    state.PauseTiming();
    ok = fixture.Restart() && ok;
    // The same companies the window's boards give.
    const std::string codes = orbe::BoardCompanyCodes({"上证Ａ股", "深证Ａ股"});
    state.ResumeTiming();
    runner_seconds += orbe_bench::SecondsOf(
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

// The first screening (an empty reply cache) of every listed company, per
// company, on a market of its own scale.
void BM_ScreeningPerSecurity(benchmark::State& state) {
  const int percent = static_cast<int>(state.range(0));
  const auto fixture = std::make_unique<Fixture>(percent / 100.0, "orbe_screening_scale_" + std::to_string(percent));
  if (fixture->Catalogue() == nullptr || !fixture->Error().empty()) {
    state.SkipWithError(fixture->Error().c_str());
    return;
  }
  const IndexScheme scheme = orbe_test::ScreeningScheme();
  const std::string codes = orbe_test::JoinCodes(fixture->Companies());
  double seconds = 0;
  bool ok = true;
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ok = fixture->Restart() && ok;
    state.ResumeTiming();
    seconds += orbe_bench::SecondsOf(
        [&] {
          const orbe::ScreeningResult result = orbe::RunScreening(fixture->Catalogue(), scheme, codes, nullptr, kTimeoutMs);
          rows = static_cast<std::size_t>(result.total);
          // Every company gets its row: a screening that answered less was not the work measured.
          return result.ok && rows == fixture->Companies().size();
        },
        &ok);
  }
  if (!ok) state.SkipWithError(("a screening failed " + fixture->Error()).c_str());
  const double runs = static_cast<double>(state.iterations());
  const double securities = static_cast<double>(fixture->Companies().size());
  state.counters["securities"] = securities;
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["ms"] = seconds / runs * 1000;
  state.counters["us_per_security"] = seconds / runs / securities * 1e6;
}
// The markets of their own scale run first: the module has one data
// environment, and the shared fixture's holds it from its first use on.
BENCHMARK(BM_ScreeningPerSecurity)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ScreeningVersusDirectSqlite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ScreeningWindowVersusHeadlessRunner)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return orbe_bench::RunBenchmarksThenRelease<Fixture>(argc, argv); }
