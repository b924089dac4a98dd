// The sample financial-summary report end to end: CreateIniReportWnd to the
// complete page (each cell's statement through the engine, the server and the
// reply cache, the cells built one after another) next to the same expanded
// statements run directly on the server's SQLite file, in one run. Counters:
// over_direct = first build / direct statements (goal <= 2) and
// cached_over_first = a second build served from the reply cache / the first
// (goal <= 0.3). The window's thread's processor time and the whole
// process's (server and engine threads included) are counted per build.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "end_to_end_bench.h"
#include "host/host_session.h"
#include "host/report_driver.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/ini_report_wnd.h"

namespace {

namespace fs = std::filesystem;

constexpr double kScale = 0.1;
constexpr char kSecurity[] = "600000";

std::string SummaryIni() { return std::string(ORBE_SOURCE_DIR) + "/data/reports/financial_summary.ini"; }

// The market, the server on its own thread and the module's session.
class Fixture : public orbe_bench::ServedMarket {
 public:
  Fixture() : ServedMarket("orbe_report_bench", kScale) {}
};

// The report's statements as the window sends them, in SQLite's words: the
// table number becomes its table, the rest is already SQL.
std::vector<std::string> DirectStatements(const std::string& company) {
  std::vector<std::string> statements;
  ScrollWndCfg* cfg = CIniReportUtil::GetScrollWndCfgFromINI(SummaryIni().c_str());
  for (std::size_t i = 0; i < cfg->display_order.size(); ++i) {
    const CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(cfg, static_cast<int>(i));
    if (cell->sql_statement[0] == '\0') continue;
    std::string sql = CIniReportUtil::ReplaceTimeInSql(
        CIniReportUtil::GenerateSql(cell->sql_statement, "", kSecurity), CIniReportUtil::GetReportTermList()[1]);
    sql = std::regex_replace(sql, std::regex("FROM (\\d+)"), "FROM t$1");
    sql = std::regex_replace(sql, std::regex("''"), "'" + company + "'");
    statements.push_back(sql);
  }
  CIniReportUtil::DestroyScrollWndCfg(cfg);
  return statements;
}

// Every value of every row, as a reader of the rows would.
std::size_t RunDirect(sqlite3* db, const std::vector<std::string>& statements) {
  std::size_t values = 0;
  for (const std::string& sql : statements) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int col = 0; col < sqlite3_column_count(statement); ++col) {
        if (sqlite3_column_type(statement, col) != SQLITE_NULL) ++values;
        benchmark::DoNotOptimize(sqlite3_column_text(statement, col));
      }
    }
    sqlite3_finalize(statement);
  }
  return values;
}

struct ReportWindowCloser {
  void operator()(IIniReportWnd* window) const { DestroyIniReportWnd(window); }
};

void BM_ReportPageVersusDirectSqlite(benchmark::State& state) {
  Fixture& fixture = orbe_bench::TheFixture<Fixture>();
  if (!fixture.Error().empty()) {
    state.SkipWithError(fixture.Error().c_str());
    return;
  }
  sqlite3* db = nullptr;
  sqlite3_open_v2(fixture.Database().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::string company;
  {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT T002 FROM t100000001 WHERE T003 = ?", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, kSecurity, -1, SQLITE_STATIC);
    if (sqlite3_step(statement) == SQLITE_ROW) company = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
  }
  const std::vector<std::string> statements = DirectStatements(company);
  CWnd host;
  host.Create(nullptr, RECT{0, 0, 1000, 900}, 0, WS_VISIBLE);
  orbe_bench::EndToEndSeconds seconds;
  orbe_bench::CpuSpent first_cpu;
  orbe_bench::CpuSpent cached_cpu;
  std::vector<double> written;
  std::size_t values = 0;
  bool ok = !company.empty();
  for (auto _ : state) {
    state.PauseTiming();
    ok = fixture.Restart() && ok;
    state.ResumeTiming();
    std::unique_ptr<IIniReportWnd, ReportWindowCloser> window;
    std::unique_ptr<orbe::ReportDriver> driver;
    seconds.first.push_back(orbe_bench::SecondsOf(
        [&] {
          window.reset(CreateIniReportWnd(SummaryIni(), kSecurity, &host));
          if (!window) return false;
          window->MoveWnd(RECT{0, 0, 1000, 900});
          driver = std::make_unique<orbe::ReportDriver>(*CWnd::FromHandle(host.GetChildren().back()));
          return driver->WaitForPage() && !driver->ConfigurationFailed();
        },
        &ok, &first_cpu));
    seconds.cached.push_back(orbe_bench::SecondsOf(
        [&] {
          window->SetSecuCode(kSecurity, true);
          return driver->WaitForPage();
        },
        &ok, &cached_cpu));
    seconds.direct.push_back(orbe_bench::SecondsOf(
        [&] {
          values = RunDirect(db, statements);
          return values > 0;
        },
        &ok));
    // The first build's replies, queued for the cache file, written here
    // rather than at the next restart, so that what the write-behind costs
    // is seen beside what it spares the builds.
    written.push_back(orbe_bench::SecondsOf(
        [&] {
          fixture.WriteCache();
          return true;
        },
        &ok));
  }
  sqlite3_close(db);
  if (!ok) state.SkipWithError(("a report build failed " + fixture.Error()).c_str());
  orbe_bench::SetEndToEndCounters(state, seconds);
  state.counters["values"] = static_cast<double>(values);
  state.counters["cache_write_ms"] = orbe_bench::Median(written) * 1000;
  const double per_build_ms = 1000 / static_cast<double>(state.iterations());
  state.counters["first_window_cpu_ms"] = first_cpu.thread * per_build_ms;
  state.counters["cached_window_cpu_ms"] = cached_cpu.thread * per_build_ms;
  state.counters["first_process_cpu_ms"] = first_cpu.process * per_build_ms;
  state.counters["cached_process_cpu_ms"] = cached_cpu.process * per_build_ms;
  // Engine and server threads by their names; the window's is the bench's own.
  for (const auto& [step, cpu] : {std::pair{"first", &first_cpu}, std::pair{"cached", &cached_cpu}}) {
    for (const char* name : {"orbe-engine", "ds-network", "ds-worker"}) {
      const auto spent = cpu->by_thread_name.find(name);
      const double seconds = spent != cpu->by_thread_name.end() ? spent->second : 0;
      state.counters[std::string(step) + "_" + name + "_cpu_ms"] = seconds * per_build_ms;
    }
  }
}
BENCHMARK(BM_ReportPageVersusDirectSqlite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

}  // namespace

int main(int argc, char** argv) { return orbe_bench::RunBenchmarksThenRelease<Fixture>(argc, argv); }
