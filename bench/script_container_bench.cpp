// The round trip of one widget event through a script container: a button is
// clicked by event injection, the container calls the script's
// "OnButtonClicked" with a fresh script object, and the script answers with
// a widget method (Button_SetWindowText) back into the container. Side by
// side in the same run: the same script function called with a plain Python
// object standing in for the script object, straight from C++ (the call and
// the method call alone). The ratio of the medians of five repetitions is
// printed at the end; the goal is at most 3.
#include <benchmark/benchmark.h>

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "orbe/platform/window.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_ref.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/kvx_container.h"
#include "ratio_reporter.h"

namespace {

constexpr char kScript[] = R"(
texts = []
def OnButtonClicked(c, id):
    c.Button_SetWindowText(int(id), 'clicked')

class Plain:
    def Button_SetWindowText(self, id, text):
        texts.append(text)
        texts.pop()
        return 1
plain = Plain()
)";

struct Fixture {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("orbe_container_bench_" + std::to_string(::getpid()));
  CWnd host;
  IF10Fun* window = nullptr;
  CKvxButton* button = nullptr;
  int button_id = 0;
  bool ready = false;

  Fixture() {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "bench_page.py") << kScript;
    if (!host.Create(nullptr, RECT{0, 0, 800, 600}, 1, WS_VISIBLE)) return;
    window = CreateF10Wnd(&host, 0, 100, 0);
    if (window == nullptr || !window->LoadScript((folder / "bench_page.py").string(), "", "")) return;
    auto* widgets = dynamic_cast<CKVXContainer*>(window->GetF10Wnd());
    if (widgets == nullptr || !widgets->Button_AddWnd(0, 0, 80, 24, button_id, "button")) return;
    button = widgets->GetWidget<CKvxButton>(button_id);
    ready = button != nullptr;
  }
  ~Fixture() {
    DestroyF10Wnd(window);
    orbe::RunUntilIdle();
    std::filesystem::remove_all(folder);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ClickToScriptToWidgetMethod(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!fixture.ready) {
    state.SkipWithError("the container did not come up");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(fixture.button->Click());
  CString text;
  fixture.button->GetWindowText(text);
  if (text != "clicked") state.SkipWithError("the script did not answer through the widget method");
  state.SetItemsProcessed(state.iterations());
}

void BM_PlainPythonFunctionCall(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!fixture.ready) {
    state.SkipWithError("the container did not come up");
    return;
  }
  const orbe::ScriptLock lock;
  PyObject* module = PyImport_AddModule("bench_page");  // borrowed: the loaded page
  PyObject* function = module != nullptr ? PyObject_GetAttrString(module, "OnButtonClicked") : nullptr;
  PyObject* plain = module != nullptr ? PyObject_GetAttrString(module, "plain") : nullptr;
  if (function == nullptr || plain == nullptr) {
    state.SkipWithError("no script function");
    Py_XDECREF(function);
    Py_XDECREF(plain);
    return;
  }
  const std::string id = std::to_string(fixture.button_id);
  for (auto _ : state) {
    // What the container does per event, without it: the handler's argument
    // tuple of an object and the id as text, the call, the result dropped.
    PyObject* args = PyTuple_New(2);
    PyTuple_SET_ITEM(args, 0, Py_NewRef(plain));
    PyTuple_SET_ITEM(args, 1, PyUnicode_FromStringAndSize(id.data(), static_cast<Py_ssize_t>(id.size())));
    PyObject* result = PyObject_CallObject(function, args);
    benchmark::DoNotOptimize(result);
    Py_XDECREF(result);
    Py_DECREF(args);
  }
  Py_DECREF(function);
  Py_DECREF(plain);
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ClickToScriptToWidgetMethod)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainPythonFunctionCall)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  orbe_bench::RatioReporter reporter("BM_PlainPythonFunctionCall", "a plain Python function call", 3);
  return orbe_bench::RunWithRatios(argc, argv, reporter);
}
