// Building a 2 000-row by 10-column grid from a script through the widget
// methods (Grid_AddWnd, the counts, one Grid_SetItemText per cell), side by
// side in the same run with the same grid built in C++ through the same
// CKVXContainer operations. The ratio of the medians of five repetitions is
// printed at the end; the goal is at most 3.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "orbe/platform/window.h"
#include "orbe/script/container_fun.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/script_env.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/kvx_container.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRows = 2000;
constexpr int kCols = 10;
constexpr int kDistinctRows = 50;

// The script builds the grid the way a page does; the texts are made once so
// that both sides set the same strings.
constexpr char kScript[] = R"(
HEAD = ['col%d' % col for col in range(10)]
CELLS = [['%d.%02d' % (row * 7 + col, col) for col in range(10)] for row in range(50)]

def Build(c, rows, cols):
    rows, cols = int(rows), int(cols)
    g = c.Grid_AddWnd(0, 0, 800, 600, '')
    c.Grid_SetRowCount(g, rows + 1)
    c.Grid_SetColumnCount(g, cols)
    c.Grid_SetFixedRowCount(g, 1)
    for col in range(cols):
        c.Grid_SetItemText(g, 0, col, HEAD[col])
    for row in range(1, rows + 1):
        texts = CELLS[row % 50]
        for col in range(cols):
            c.Grid_SetItemText(g, row, col, texts[col])
    c.SendMessage(str(g), '', 'BUILT', '')
)";

struct Cells {
  std::array<std::string, kCols> head;
  std::array<std::array<std::string, kCols>, kDistinctRows> rows;
  Cells() {
    for (int col = 0; col < kCols; ++col) head[col] = "col" + std::to_string(col);
    for (int row = 0; row < kDistinctRows; ++row) {
      for (int col = 0; col < kCols; ++col) {
        char text[32];
        std::snprintf(text, sizeof text, "%d.%02d", row * 7 + col, col);
        rows[row][col] = text;
      }
    }
  }
};

// The page tells the id of the grid it built; the bench removes it again.
class BuiltGrid : public IF10MessageNotify {
 public:
  int id = 0;
  void OnContainerMessage(const std::string& first, const std::string&, const std::string& name,
                          const std::string&) override {
    if (name == "BUILT") id = std::atoi(first.c_str());
  }
  std::string OnContainerQuery(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
    return "";
  }
};

struct Fixture {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("orbe_grid_bench_" + std::to_string(::getpid()));
  CWnd host;
  IF10Fun* window = nullptr;
  CKVXContainer* widgets = nullptr;
  BuiltGrid built;
  Cells cells;

  Fixture() {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "grid_page.py") << kScript;
    if (!host.Create(nullptr, RECT{0, 0, 800, 600}, 1, WS_VISIBLE)) return;
    window = CreateF10Wnd(&host, 0, 100, 0);
    if (window == nullptr || !window->LoadScript((folder / "grid_page.py").string(), "", "")) return;
    window->SetMessageNotify(&built);
    widgets = dynamic_cast<CKVXContainer*>(window->GetF10Wnd());
  }
  ~Fixture() {
    DestroyF10Wnd(window);
    orbe::RunUntilIdle();
    std::filesystem::remove_all(folder);
  }

  // The grid's last cell holds what both sides wrote there.
  bool Complete(int id) const {
    const CGridCtrl* grid = widgets->GetGrid(id);
    return grid != nullptr && grid->GetRowCount() == kRows + 1 && grid->GetColumnCount() == kCols &&
           grid->GetItemText(kRows, kCols - 1) == cells.rows[kRows % kDistinctRows][kCols - 1];
  }
  void Remove(int id) {
    widgets->DeleteWnd(id);
    orbe::RunUntilIdle();  // the retired grid is freed when the loop comes round
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ScriptBuildsGrid(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (fixture.widgets == nullptr) {
    state.SkipWithError("the container did not come up");
    return;
  }
  const std::vector<std::string> args{std::to_string(kRows), std::to_string(kCols)};
  for (auto _ : state) {
    fixture.built.id = 0;
    if (!fixture.window->CallPyFunction("Build", args) || !fixture.Complete(fixture.built.id)) {
      state.SkipWithError("the script did not build the grid");
      return;
    }
    state.PauseTiming();
    fixture.Remove(fixture.built.id);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

void BM_CppBuildsGrid(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (fixture.widgets == nullptr) {
    state.SkipWithError("the container did not come up");
    return;
  }
  CKVXContainer& c = *fixture.widgets;
  const Cells& cells = fixture.cells;
  for (auto _ : state) {
    int g = 0;
    c.Grid_AddWnd(0, 0, 800, 600, g, "");
    c.Grid_SetRowCount(g, kRows + 1);
    c.Grid_SetColumnCount(g, kCols);
    c.Grid_SetFixedRowCount(g, 1);
    for (int col = 0; col < kCols; ++col) c.Grid_SetItemText(g, 0, col, cells.head[col]);
    for (int row = 1; row <= kRows; ++row) {
      const auto& texts = cells.rows[row % kDistinctRows];
      for (int col = 0; col < kCols; ++col) c.Grid_SetItemText(g, row, col, texts[col]);
    }
    if (!fixture.Complete(g)) {
      state.SkipWithError("the grid was not built");
      return;
    }
    state.PauseTiming();
    fixture.Remove(g);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

BENCHMARK(BM_ScriptBuildsGrid)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CppBuildsGrid)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  orbe_bench::RatioReporter reporter("BM_CppBuildsGrid", "the same grid built in C++", 3);
  return orbe_bench::RunWithRatios(argc, argv, reporter);
}
