// Calls of the script object's data methods that answer from memory, side by
// side with a plain Python method call on a Python object in the same run.
// The reply of a real SELECT (orbe-dataserver on a small sample market) is
// readable only inside its callback, so the measured loops run there; each
// benchmark iteration is one call into the script making 1000 method calls.
// The ratios of the medians of five repetitions are printed at the end; the
// goal is at most 2.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>

#include "dataservice/transfer_server.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/window.h"
#include "ratio_reporter.h"
#include "support/script_harness.h"

namespace {

constexpr int kCallsPerIteration = 1000;

constexpr char kScript[] = R"(
class Plain:
    def value(self, handle, record, field):
        return 0
plain = Plain()

def fetch(c):
    c.FetchData('got', 'SELECT T001,T009 FROM 100000002', 0, '')
def got(c, handle, status):
    pass
def record_as_int(c, handle):
    h = int(handle)
    for i in range(1000):
        c.GetSqlRecordAsInt(h, 0, 'T009')
def row_count(c, handle):
    h = int(handle)
    for i in range(1000):
        c.GetSqlRecordRowCount(h)
def plain_call(c, handle):
    h = int(handle)
    p = plain
    for i in range(1000):
        p.value(h, 0, 'T009')
)";

// The test container whose reply callback runs a benchmark's loop while the
// reply is still readable.
class BenchContainer : public orbe_test::HarnessContainer {
 public:
  std::function<void(const std::string& handle)> on_reply;
  bool CallScript(const std::string& name, const std::vector<std::string>& args) override {
    if (name == "got" && on_reply && !args.empty()) on_reply(args[0]);
    return HarnessContainer::CallScript(name, args);
  }
};

struct Fixture {
  std::string folder = orbe_test::ScratchFolder("script_bench");
  orbe_test::TransferServer server;
  bool ready = false;

  Fixture() {
    if (!server.Start(folder)) return;
    const std::string ini = folder + "comm.ini";
    orbe::WriteProfileString(ini, "CWSYS", "CWHostNum", "1");
    orbe::WriteProfileString(ini, "CWSYS", "CWHost01", "127.0.0.1");
    orbe::WriteProfileString(ini, "CWSYS", "CWPort01", std::to_string(server.DataPort()));
    SetPrivPath(folder);
    ready = InitDataEngin(folder + "cache/", ini, 0, nullptr) == 1;
  }
  ~Fixture() {
    UnInitDataEngin();
    server.Stop(SIGTERM);
    std::filesystem::remove_all(folder);
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

// Runs `function` once per iteration inside the callback of a fresh SELECT.
void InsideReply(benchmark::State& state, const char* function) {
  if (!Data().ready) {
    state.SkipWithError("no data server");
    return;
  }
  BenchContainer container;
  if (!container.Load(kScript)) {
    state.SkipWithError("script load failed");
    return;
  }
  bool ran = false;
  container.on_reply = [&](const std::string& handle) {
    for (auto _ : state) {
      if (!container.Call(function, {handle})) state.SkipWithError("script call failed");
    }
    ran = true;
  };
  container.Call("fetch");
  if (!orbe::PumpUntil([&] { return ran; }, 20000)) state.SkipWithError("no reply");
  state.SetItemsProcessed(state.iterations() * kCallsPerIteration);
}

void BM_GetSqlRecordAsInt(benchmark::State& state) { InsideReply(state, "record_as_int"); }
BENCHMARK(BM_GetSqlRecordAsInt)->Repetitions(5);

void BM_GetSqlRecordRowCount(benchmark::State& state) { InsideReply(state, "row_count"); }
BENCHMARK(BM_GetSqlRecordRowCount)->Repetitions(5);

void BM_PlainPythonMethod(benchmark::State& state) { InsideReply(state, "plain_call"); }
BENCHMARK(BM_PlainPythonMethod)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  orbe_bench::RatioReporter reporter("BM_PlainPythonMethod", "a plain Python method call", 2);
  return orbe_bench::RunWithRatios(argc, argv, reporter);
}
