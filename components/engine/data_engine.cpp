#include "data_engine.h"

#include <poll.h>
#include <pthread.h>

#include <algorithm>

#include "engine_globals.h"
#include "engine_log.h"

namespace orbe::engine {
namespace {

// The loop looks at its timers at least this often, so a deadline set by
// another thread while it sleeps is late by at most this much.
constexpr Clock::duration kLongestSleep = std::chrono::milliseconds(250);

int MillisecondsUntil(Clock::time_point when, Clock::time_point now) {
  if (when <= now) return 0;
  const auto wait = std::min<Clock::duration>(when - now, kLongestSleep);
  // Rounded up: waking a little early would only spin.
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

}  // namespace

DataEngine::~DataEngine() { Shutdown(); }

bool DataEngine::SetConfigFile(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  Lock lock(core_.mutex);
  configuration_file_ = path;
  if (!time_out_set_) core_.time_out = std::chrono::seconds(ReadTimeOutSeconds(configuration_file_));
  return true;
}

void DataEngine::SetTimeOut(int seconds) {
  if (seconds <= 0) return;
  Lock lock(core_.mutex);
  time_out_set_ = true;
  core_.time_out = std::chrono::seconds(seconds);
}

void DataEngine::SetOption(int option) {
  // Kept for the record: the options of the original engine choose nothing
  // that this one has.
  Lock lock(core_.mutex);
  option_ = option;
}

void DataEngine::StartSessions(int /*count*/) {
  {
    Lock lock(core_.mutex);
    started_ = true;
  }
  EnsureRunning();
}

void DataEngine::Stop() {
  Lock lock(core_.mutex);
  core_.stopped = true;
  core_.wake.Raise();
  core_.changed.notify_all();
  if (core_.OnIoThread()) return;  // the loop ends when this callback returns
  if (core_.loop_running) {
    core_.changed.wait(lock, [this] { return !core_.loop_running; });
  } else {
    for (const auto& session : sessions_) session->CloseSilently();
  }
}

void DataEngine::Shutdown() {
  if (core_.OnIoThread()) {
    LogLine("shutdown from an engine callback is not possible; only stopped");
    Stop();
    return;
  }
  Stop();
  io_thread_.Join();
}

ICwRequestSession* DataEngine::CreateRequestSession(CWHOSTINFO* host, IReplyHandle* connect) {
  if (host == nullptr) return nullptr;
  return AddSession(SessionKind::kPipelined, HostOf(host), connect);
}

ICwRequestSession* DataEngine::CreateConfiguredRequestSession(IReplyHandle* connect) {
  return AddSession(SessionKind::kPipelined, ConfiguredHosts(), connect);
}

ICwRequestSession* DataEngine::CreateAltRequestSession(CWHOSTINFO* host, IReplyHandle* connect) {
  if (host == nullptr) return nullptr;
  return AddSession(SessionKind::kOneAtATime, HostOf(host), connect);
}

ICwRequestSession* DataEngine::CreateAltConfiguredRequestSession(IReplyHandle* connect) {
  return AddSession(SessionKind::kOneAtATime, ConfiguredHosts(), connect);
}

ICwRequest* DataEngine::CreateRequest() {
  std::unique_ptr<EngineRequest> request = TakeSpareRequest();
  ICwRequest* face = request.get();
  Lock lock(core_.mutex);
  requests_.emplace(face, std::move(request));
  return face;
}

void DataEngine::ReleaseRequest(ICwRequest* request) {
  // Sent requests were copied, so releasing one in flight is safe.
  Lock lock(core_.mutex);
  const auto found = requests_.find(request);
  if (found == requests_.end()) return;
  KeepSpareRequest(std::move(found->second));
  requests_.erase(found);
}

HostList DataEngine::HostOf(const CWHOSTINFO* host) const {
  HostList list;
  list.hosts.push_back(HostFromRecord(*host));
  return list;
}

HostList DataEngine::ConfiguredHosts() {
  std::string file;
  {
    Lock lock(core_.mutex);
    file = configuration_file_;
  }
  HostList list = ReadConfiguredHosts(file);
  ApplyGlobalProxy(list, GlobalProxyRecord());
  return list;
}

ICwRequestSession* DataEngine::AddSession(SessionKind kind, HostList hosts, IReplyHandle* connect) {
  RequestSession* session = nullptr;
  bool start = false;
  {
    Lock lock(core_.mutex);
    if (core_.stopped.load()) return nullptr;
    sessions_.push_back(
        std::make_unique<RequestSession>(core_, kind, std::move(hosts), connect, [this] { EnsureRunning(); }));
    session = sessions_.back().get();
    start = mode_ == StartMode::kOnFirstSession || started_;
  }
  // A running loop takes the new session into its next poll.
  core_.wake.Raise();
  if (start) EnsureRunning();
  return session;
}

void DataEngine::EnsureRunning() {
  Lock lock(core_.mutex);
  if (core_.loop_running || core_.stopped.load() || io_thread_.Running()) return;
  started_ = true;
  core_.loop_running = true;
  io_thread_.Start([this] { Run(); });
}

void DataEngine::Run() {
  // Named so that per-thread tools (top -H, perf) tell the engine apart.
  pthread_setname_np(pthread_self(), "orbe-engine");
  core_.io_thread = std::this_thread::get_id();
  Lock lock(core_.mutex);
  while (!core_.stopped.load()) {
    const Clock::time_point now = Clock::now();
    // By index: a callback may add a session while the lock is released.
    for (std::size_t i = 0; i < sessions_.size() && !core_.stopped.load(); ++i) sessions_[i]->Tick(lock, now);
    if (core_.stopped.load()) break;
    // Sessions the module quit are gone for it: their memory goes too, so a
    // host making a session per transfer does not grow with every transfer.
    std::erase_if(sessions_, [](const std::unique_ptr<RequestSession>& session) { return session->Released(); });
    PollOnce(lock, now);
  }
  for (const auto& session : sessions_) session->CloseSilently();
  core_.loop_running = false;
  core_.changed.notify_all();
}

int DataEngine::PollOnce(Lock& lock, Clock::time_point now) {
  std::vector<pollfd> fds{{core_.wake.fd(), POLLIN, 0}};
  std::vector<RequestSession*> owners{nullptr};
  Clock::time_point wake_at = now + kLongestSleep;
  for (const auto& session : sessions_) {
    wake_at = std::min(wake_at, session->NextWake());
    const int fd = session->PollFd();
    if (fd < 0) continue;
    fds.push_back({fd, session->PollEvents(), 0});
    owners.push_back(session.get());
  }
  lock.unlock();
  const int ready = poll(fds.data(), fds.size(), MillisecondsUntil(wake_at, now));
  lock.lock();
  if (ready <= 0) return ready;
  if (fds[0].revents != 0) core_.wake.Drain();
  const Clock::time_point after = Clock::now();
  for (std::size_t i = 1; i < fds.size() && !core_.stopped.load(); ++i) {
    if (fds[i].revents != 0) owners[i]->OnEvents(lock, fds[i].fd, fds[i].revents, after);
  }
  return ready;
}

}  // namespace orbe::engine
