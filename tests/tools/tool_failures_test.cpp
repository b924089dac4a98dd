// The tools' failures, one table: each case is a command line, the exit status
// it must end with, a phrase its message must hold, the files it must not
// leave, and how long it may take. Among them the data server killed while a
// whole-market screening runs, a refused port, and the bad inputs people give.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "dataservice/transfer_server.h"
#include "orbe/platform/text.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// What the case does to the data server while the command runs.
enum class Server {
  kShared,           // the test's server, left running
  kKilledMidScreen,  // a server of its own, SIGKILLed once the screening has started
};

struct FailureCase {
  const char* name;
  std::string command;  // a shell command line; {conn} {work} {bin} {ini} {code} are filled in
  int status;           // -1: stopped by a signal
  const char* phrase;
  std::vector<std::string> absent = {};  // under {work}
  double most_seconds = 0;          // 0: no bound; for a killed server, counted from the kill
  Server server = Server::kShared;
  const char* stop_when = nullptr;  // SIGTERM the command once this file (under {work}) exists
};

struct Outcome {
  int status = -2;
  std::string out;
  double seconds = 0;           // from the start, or from the kill
  bool finished_early = false;  // a killed-server case whose screening ended before the kill
};

std::string Fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [key, value] : values) {
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
      text.replace(at, key.size(), value);
    }
  }
  return text;
}

class ToolFailuresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = orbe_test::ScratchFolder("tool_failures");
    // The default home of a command line without --home (never the user's).
    ::setenv("ORBE_HOME", (work_ + "home").c_str(), 1);
    ASSERT_TRUE(server_.Start(work_));
  }
  void TearDown() override {
    server_.Stop(SIGTERM);
    fs::remove_all(work_);
  }

  std::string Connection(const orbe_test::TransferServer& server) const {
    return "--server 127.0.0.1:" + std::to_string(server.DataPort()) + " --files 127.0.0.1:" +
           std::to_string(server.FilePort()) + " --market " + server.Database() + " --home " + work_ + "home";
  }

  // Runs the command with stdout and stderr in one pipe, read as it comes.
  Outcome Run(const std::string& command, const FailureCase& c, orbe_test::TransferServer* victim) const {
    int out[2];
    if (::pipe(out) != 0) return {};
    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::dup2(out[1], STDERR_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    Outcome outcome;
    std::optional<Clock::time_point> killed;
    bool stopped = false;
    const Clock::time_point limit = start + std::chrono::seconds(60);
    for (;;) {
      pollfd wait{out[0], POLLIN, 0};
      if (::poll(&wait, 1, 20) == 1) {
        char chunk[4096];
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n <= 0) break;
        outcome.out.append(chunk, static_cast<std::size_t>(n));
      }
      if (victim != nullptr && !killed && outcome.out.find("screening starts") != std::string::npos) {
        // Held first, so the screening's requests are on the wire when it dies.
        ::kill(victim->Pid(), SIGSTOP);
        ::usleep(300 * 1000);
        victim->Stop(SIGKILL);
        killed = Clock::now();
      }
      if (c.stop_when != nullptr && !stopped && fs::exists(work_ + c.stop_when)) {
        ::kill(child, SIGTERM);
        stopped = true;
      }
      if (Clock::now() > limit) ::kill(child, SIGKILL);
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.seconds = std::chrono::duration<double>(Clock::now() - killed.value_or(start)).count();
    outcome.finished_early = victim != nullptr && outcome.out.find("\xE9\x80\x89\xE4\xB8\xAD") != std::string::npos;
    return outcome;
  }

  std::string work_;
  orbe_test::TransferServer server_;
};

TEST_F(ToolFailuresTest, EachFailureIsToldWithItsStatusAndLeavesNothing) {
  const std::string ini = std::string(ORBE_SOURCE_DIR) + "/data/reports/financial_summary.ini";
  std::ofstream(work_ + "empty.ini").close();
  constexpr char kBinary[] = "[MAIN]\0\x01\xFF\xFE garbage";
  std::ofstream(work_ + "binary.ini", std::ios::binary) << std::string(kBinary, sizeof kBinary - 1);
  std::ofstream(work_ + "utf8.ini") << "[MAIN]\nTITLE=\xE8\xB4\xA2\xE5\x8A\xA1\n";
  std::ofstream(work_ + "random.db", std::ios::binary) << std::string(4096, '\x5A');
  fs::create_directories(work_ + "folder.csv");
  std::ofstream(work_ + "kept.db") << "kept";
  const std::string longArgument(90000, 'x');
  // A report one of whose tables the service does not have.
  {
    std::ifstream in(ini, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t table = text.find("FROM 100000011");
    ASSERT_NE(table, std::string::npos);
    text.replace(table, 14, "FROM 199999999");
    std::ofstream(work_ + "lacking.ini", std::ios::binary) << text;
  }
  // A script page asking for a table the service does not have.
  std::ofstream(work_ + "lacking.py") << "def InitContainer(o, code):\n"
                                         "    o.FetchData('got', 'SELECT T001 FROM 199999999', 0, '')\n"
                                         "def got(o, handle, status):\n"
                                         "    o.Grid_AddWnd(0, 0, 100, 100, '')\n";
  // Bytes that look like nothing: dictionary files and a schema text of them.
  std::mt19937 noise(26);
  const auto bytes = [&noise](std::size_t count) {
    std::string text(count, '\0');
    for (char& c : text) c = static_cast<char>(noise());
    return text;
  };
  fs::create_directories(work_ + "noise");
  std::ofstream(work_ + "noise/tableinfo.idx", std::ios::binary) << bytes(5000);
  std::ofstream(work_ + "noise/fieldinfo.idx", std::ios::binary) << bytes(5000);
  std::ofstream(work_ + "noise.txt", std::ios::binary) << bytes(300);

  const FailureCase cases[] = {
      {"server killed mid-screening", "{bin}/orbe-terminal screen {killconn} --scheme 3 --csv {work}killed.csv", 1,
       "the screening did not finish", {"killed.csv"}, 10, Server::kKilledMidScreen},
      {"refused port", "{bin}/orbe-terminal screen --server 127.0.0.1:1 --home {work}home --scheme 1 --csv {work}refused.csv",
       1, "cannot be reached", {"refused.csv"}, 5},
      {"csv into a missing folder", "{bin}/orbe-terminal screen {conn} --scheme 1 --csv {work}none/x.csv", 2,
       "does not exist", {"none"}, 5},
      {"csv that is a folder", "{bin}/orbe-terminal screen {conn} --scheme 1 --csv {work}folder.csv", 2,
       "a folder, not a file", {}, 5},
      {"missing market", "{bin}/orbe-terminal screen {conn} --market {work}none.db --scheme 1", 1,
       "--market {work}none.db: no such file", {"none.db"}},
      {"market of random bytes", "{bin}/orbe-terminal screen {conn} --market {work}random.db --scheme 1", 1,
       "--market {work}random.db: not a market database", {}},
      {"unknown board named with the nearest", "{bin}/orbe-terminal screen {conn} --board 上证B --scheme 1", 2,
       "unknown board '上证B'; did you mean 上证Ａ股"},
      {"unknown scheme", "{bin}/orbe-terminal screen {conn} --scheme 没有这个方案", 2, "unknown scheme"},
      {"report INI that is a folder", "{bin}/orbe-terminal report-config {work}", 2, "is a folder"},
      {"empty report INI", "{bin}/orbe-terminal report-config {work}empty.ini", 2, "is empty"},
      {"binary report INI", "{bin}/orbe-terminal report-config {work}binary.ini", 2, "binary data"},
      {"UTF-8 report INI", "{bin}/orbe-terminal report-config {work}utf8.ini", 2, "is UTF-8"},
      {"unknown security", "{bin}/orbe-terminal report-config {ini} 999999 {conn}", 1, "unknown security '999999'"},
      {"unreadable term", "{bin}/orbe-terminal report-config {ini} {code} 'no term' {conn}", 1,
       "cannot read the term 'no term'"},
      {"report to a missing folder", "{bin}/orbe-terminal report --ini {ini} --code {code} --html {work}none/r.html {conn}",
       2, "--html", {"none"}},
      {"report with a cell the service cannot answer",
       "{bin}/orbe-terminal report --ini {work}lacking.ini --code {code} --html {work}lacking.html {conn}", 1,
       "the report is incomplete", {"lacking.html"}},
      {"script page with a request the service cannot answer",
       "{bin}/orbe-terminal script --file {work}lacking.py --html {work}lacking-page.html {conn}", 1,
       "the page is incomplete", {"lacking-page.html"}},
      {"unknown option named", "{bin}/orbe-terminal lookup --bogus code 600000", 2, "--bogus"},
      {"long argument shortened", "{bin}/orbe-terminal screen --" + longArgument, 2, "(90002 bytes)"},
      {"binary argument escaped", "{bin}/orbe-terminal screen \"$(printf '%b' '--\\001\\377')\"", 2, "'--\\x01\\xFF'"},
      {"empty home", "{bin}/orbe-terminal screen --home '' --scheme 1", 2, "--home needs a value"},
      {"make-sample over a file", "{bin}/orbe-dataserver --make-sample {work}kept.db --scale 0.002", 1,
       "give --force"},
      {"make-sample stopped", "{bin}/orbe-dataserver --make-sample {work}stopped.db --scale 0.5", -1, "",
       {"stopped.db", "stopped.db.building"}, 0, Server::kShared, "stopped.db.building"},
      {"server config that is a folder", "{bin}/orbe-dataserver --db {work}kept.db --config {work}", 2, "not a file"},
      {"dictionary files of noise", "{bin}/orbe-dicttool dump {work}noise", 1, "does not hold dictionary files"},
      {"schema text of noise", "{bin}/orbe-dicttool build {work}noise.txt {work}built", 1, "noise.txt: 'line 1:"},
      {"dicttool option unknown", "{bin}/orbe-dicttool dump --bogus {work}noise", 2, "unknown option '--bogus'"},
      {"server option unknown", "{bin}/orbe-dataserver --db={work}kept.db --bogus", 2, "unknown option '--bogus'"},
      {"server scale out of range", "{bin}/orbe-dataserver --make-sample {work}big.db --scale=1000", 2,
       "at most 100", {"big.db"}},
  };
  const std::string code = "600000";
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<orbe_test::TransferServer> own;
    Outcome outcome;
    // A screening that beat the kill proves nothing: it is run again.
    for (int attempt = 0; attempt < 3; ++attempt) {
      orbe_test::TransferServer* victim = nullptr;
      if (c.server == Server::kKilledMidScreen) {
        own.emplace();
        ASSERT_TRUE(own->Start(work_));
        victim = &*own;
      }
      const std::vector<std::pair<std::string, std::string>> values = {
          {"{killconn}", own ? Connection(*own) : ""}, {"{conn}", Connection(server_)},
          {"{bin}", ORBE_TEST_BIN_DIR},                {"{ini}", ini},
          {"{code}", code},                            {"{work}", work_}};
      outcome = Run(orbe::GbkToUtf8(Fill(c.command, values)), c, victim);
      own.reset();
      if (!outcome.finished_early) break;
      fs::remove(work_ + "killed.csv");
    }
    ASSERT_FALSE(outcome.finished_early) << "the screening ended before the server was killed";
    EXPECT_EQ(outcome.status, c.status) << outcome.out.substr(0, 2000);
    const std::string phrase = orbe::GbkToUtf8(Fill(c.phrase, {{"{work}", work_}}));
    EXPECT_NE(outcome.out.find(phrase), std::string::npos) << "wanted: " << phrase << "\n" << outcome.out.substr(0, 2000);
    EXPECT_LT(outcome.out.size(), 4000u) << "a message echoes its input whole";
    for (const std::string& file : c.absent) EXPECT_FALSE(fs::exists(work_ + file)) << file;
    if (c.most_seconds > 0) {
      EXPECT_LT(outcome.seconds, c.most_seconds);
    }
  }
  EXPECT_EQ(std::ifstream(work_ + "kept.db").rdbuf()->sgetc(), 'k') << "--make-sample replaced a file";
}

// The help of every command and the version answer with status 0; a hidden
// scheme row stays out of the table and the CSV; the error log goes to the home.
TEST_F(ToolFailuresTest, HelpVersionHiddenRowsAndTheErrorLog) {
  for (const char* command : {"version", "report-config", "report", "lookup", "screen", "topics", "script"}) {
    const std::string line = std::string(ORBE_TEST_BIN_DIR) + "/orbe-terminal " + command + " --help >/dev/null 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0) << command;
  }
  for (const char* tool : {"orbe-terminal", "orbe-dataserver", "orbe-dicttool"}) {
    const std::string line = std::string(ORBE_TEST_BIN_DIR) + "/" + tool + " --version >/dev/null 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0) << tool;
  }
  // "低市盈率" holds 市盈率(动) twice, the second hidden.
  fs::create_directories(work_ + "run");
  const std::string screen = "cd " + work_ + "run && " + ORBE_TEST_BIN_DIR + "/orbe-terminal screen " +
                             Connection(server_) + " --scheme 1 --csv " + work_ + "low.csv > " + work_ + "low.txt 2>&1";
  ASSERT_EQ(std::system(screen.c_str()), 0);
  const auto count = [](const std::string& path) {
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string title = orbe::GbkToUtf8("动态市盈率");
    int found = 0;
    for (std::size_t at = text.find(title); at != std::string::npos; at = text.find(title, at + 1)) ++found;
    return found;
  };
  EXPECT_EQ(count(work_ + "low.txt"), 1);
  EXPECT_EQ(count(work_ + "low.csv"), 1);
  EXPECT_TRUE(fs::is_empty(work_ + "run")) << "a file was written to the current folder";
  EXPECT_TRUE(fs::exists(work_ + "home/pyerr"));
}

}  // namespace
