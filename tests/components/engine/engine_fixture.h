// Shared by the engine tests: the engine loaded by name as the module loads
// it, a reply handle that records what the engine delivers, requests filled
// as the module fills them, and the real data server as a child process.
#ifndef ORBE_TESTS_ENGINE_ENGINE_FIXTURE_H_
#define ORBE_TESTS_ENGINE_ENGINE_FIXTURE_H_

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "protocol/component_entry_points.h"
#include "orbe/platform/loader.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "protocol/request_objects.h"
#include "protocol/requests.h"
#include "server/server_fixture.h"

namespace orbe_test {

// Only a bound on a hang; no test measures time.
inline constexpr auto kPatience = std::chrono::seconds(20);

struct EngineLibrary {
  EngineLibrary() {
    module = LoadLibraryA("FinDataComm.dll");
    get = GetProcAddressAs<GetCwDataEnginInstanceProc>(module, "GetCwDataEnginInstance");
    del = GetProcAddressAs<DelCwDataEnginInstanceProc>(module, "DelCwDataEnginInstance");
    create = GetProcAddressAs<CreateCwDataEnginProc>(module, "CreateCwDataEngin");
    destroy = GetProcAddressAs<DeleteCwDataEnginProc>(module, "DeleteCwDataEngin");
    set_global_proxy = GetProcAddressAs<SetGlobalProxyProc>(module, "SetGlobalProxy");
  }
  ~EngineLibrary() {
    if (module != nullptr) FreeLibrary(module);
  }
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  HMODULE module = nullptr;
  GetCwDataEnginInstanceProc get = nullptr;
  DelCwDataEnginInstanceProc del = nullptr;
  CreateCwDataEnginProc create = nullptr;
  DeleteCwDataEnginProc destroy = nullptr;
  SetGlobalProxyProc set_global_proxy = nullptr;
};

// A private engine, deleted with the fixture.
struct PrivateEngine {
  explicit PrivateEngine(const EngineLibrary& library) : library_(library), engine(library.create()) {}
  ~PrivateEngine() {
    if (engine != nullptr) library_.destroy(engine);
  }
  PrivateEngine(const PrivateEngine&) = delete;
  PrivateEngine& operator=(const PrivateEngine&) = delete;
  ICwDataEngin* operator->() const { return engine; }

  const EngineLibrary& library_;
  ICwDataEngin* engine;
};

// Records packets and statuses; waits for them with a bound.
class RecordingHandle : public IReplyHandle {
 public:
  void OnReply(ICwReply* reply) override {
    std::lock_guard<std::mutex> hold(mutex_);
    const auto* body = reinterpret_cast<const char*>(reply->GetBody());
    bodies_.emplace_back(body, reply->GetBodyLength());
    totals_.push_back(reply->GetTotalLength());
    progress_.push_back(reply->GetProgress());
  }
  void OnStatus(int code) override {
    std::lock_guard<std::mutex> hold(mutex_);
    statuses_.push_back(code);
    changed_.notify_all();
  }

  // True when `count` statuses arrived in time.
  bool WaitStatuses(std::size_t count = 1) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return statuses_.size() >= count; });
  }
  std::vector<std::string> Bodies() {
    std::lock_guard<std::mutex> hold(mutex_);
    return bodies_;
  }
  std::vector<int> Statuses() {
    std::lock_guard<std::mutex> hold(mutex_);
    return statuses_;
  }
  std::vector<std::uint32_t> Totals() {
    std::lock_guard<std::mutex> hold(mutex_);
    return totals_;
  }
  std::vector<int> Progress() {
    std::lock_guard<std::mutex> hold(mutex_);
    return progress_;
  }

 protected:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> bodies_;
  std::vector<std::uint32_t> totals_;
  std::vector<int> progress_;
  std::vector<int> statuses_;
};

// Fills a request object as the module does: the body of `frame`, a whole
// frame from the codec's encoders, and the header's length field.
inline void FillRequest(ICwRequest* request, const std::string& frame) {
  orbe::wire::FillRequest(*request, std::string_view(frame).substr(orbe::wire::kRequestHeaderSize));
}

// A request object of `engine`, released with the holder.
class RequestHolder {
 public:
  RequestHolder(ICwDataEngin* engine, const std::string& frame) : engine_(engine), request_(engine->CreateRequest()) {
    FillRequest(request_, frame);
  }
  ~RequestHolder() { engine_->ReleaseRequest(request_); }
  RequestHolder(const RequestHolder&) = delete;
  RequestHolder& operator=(const RequestHolder&) = delete;
  ICwRequest* get() const { return request_; }

 private:
  ICwDataEngin* engine_;
  ICwRequest* request_;
};

inline std::string HostLoadFrame() { return orbe::wire::EncodeHostLoadRequest(0); }
inline std::string TimeStampFrame(std::int32_t table) {
  return orbe::wire::EncodeTableRequest(0, orbe::wire::kCodeTableTimeStamp, table);
}

inline CWHOSTINFO LoopbackHost(std::uint16_t port) {
  CWHOSTINFO host;
  std::memset(&host, 0, sizeof host);
  orbe::CopyToField(host.host, "127.0.0.1");
  orbe::CopyToField(host.port, std::to_string(port));
  return host;
}

// A server over the small test database in its own folder.
class TestServer {
 public:
  explicit TestServer(const std::string& name, const std::vector<std::string>& extra = {}) {
    folder_ = orbe::testing::TestDirectory("eng_" + name);
    const std::string db = folder_ + "/market.db";
    orbe::testing::MakeTestDatabase(db);
    std::vector<std::string> arguments{"--db", db, "--port", "0", "--log-level", "off"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    port_ = process_.Start(arguments);
  }
  ~TestServer() {
    // A paused server would never act on SIGTERM.
    if (running()) ::kill(process_.Pid(), SIGCONT);
    if (running()) process_.Stop();
    std::filesystem::remove_all(folder_);
  }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  std::uint16_t port() const { return port_; }
  bool running() const { return process_.Pid() > 0; }
  const std::string& folder() const { return folder_; }
  void Terminate() { process_.Stop(); }
  void Pause() { ::kill(process_.Pid(), SIGSTOP); }
  void Resume() { ::kill(process_.Pid(), SIGCONT); }
  // Killed without a chance to answer; reaped.
  void Kill() {
    ::kill(process_.Pid(), SIGKILL);
    process_.Stop();
  }

 private:
  std::string folder_;
  orbe::testing::ServerProcess process_;
  std::uint16_t port_ = 0;
};

// A configuration file with a CWSYS host list.
inline std::string WriteHostList(const std::string& folder, const std::vector<std::string>& ports, int primary,
                                 int time_out_seconds) {
  const std::string file = folder + "/comm.ini";
  orbe::WriteProfileString(file, "CWSYS", "CWHostNum", std::to_string(ports.size()));
  for (std::size_t i = 0; i < ports.size(); ++i) {
    orbe::WriteProfileString(file, "CWSYS", orbe::Format("CWHost%02zu", i + 1), "127.0.0.1");
    orbe::WriteProfileString(file, "CWSYS", orbe::Format("CWPort%02zu", i + 1), ports[i]);
  }
  orbe::WriteProfileString(file, "CWSYS", "PrimaryCWHost", std::to_string(primary));
  orbe::WriteProfileString(file, "CWSYS", "TimeOut", std::to_string(time_out_seconds));
  return file;
}

// A port on which nothing listens: bound, never listened on, held.
class DeadPort {
 public:
  DeadPort() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~DeadPort() { ::close(fd_); }
  DeadPort(const DeadPort&) = delete;
  DeadPort& operator=(const DeadPort&) = delete;
  std::uint16_t port() const { return port_; }

 private:
  int fd_;
  std::uint16_t port_ = 0;
};

// Polls a condition with a bound, for states the engine reaches on its own.
template <typename Condition>
bool Eventually(Condition condition) {
  const auto until = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_ENGINE_ENGINE_FIXTURE_H_
