// The engine: owns its request sessions, its request objects and the one I/O
// thread that drives every session and delivers every callback.
#ifndef ORBE_COMPONENTS_ENGINE_DATA_ENGINE_H_
#define ORBE_COMPONENTS_ENGINE_DATA_ENGINE_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine_core.h"
#include "engine_request.h"
#include "protocol/cw_data_engin.h"
#include "orbe/platform/sync.h"
#include "request_session.h"

namespace orbe::engine {

enum class StartMode {
  kOnFirstSession,  // the shared engine: sessions connect as they are made
  kOnStartSessions  // a private engine: the caller makes its sessions, then starts them together
};

class DataEngine final : public ICwDataEngin {
 public:
  explicit DataEngine(StartMode mode) : mode_(mode) {}
  // Must not run on the engine's own thread (from a callback).
  ~DataEngine() override;
  DataEngine(const DataEngine&) = delete;
  DataEngine& operator=(const DataEngine&) = delete;

  bool SetConfigFile(const char* path) override;
  void SetTimeOut(int seconds) override;
  void SetOption(int option) override;
  void Shutdown() override;
  void StartSessions(int count) override;
  void Stop() override;
  ICwRequestSession* CreateRequestSession(CWHOSTINFO* host, IReplyHandle* connect) override;
  ICwRequestSession* CreateConfiguredRequestSession(IReplyHandle* connect) override;
  ICwRequestSession* CreateAltRequestSession(CWHOSTINFO* host, IReplyHandle* connect) override;
  ICwRequestSession* CreateAltConfiguredRequestSession(IReplyHandle* connect) override;
  ICwRequest* CreateRequest() override;
  void ReleaseRequest(ICwRequest* request) override;

 private:
  ICwRequestSession* AddSession(SessionKind kind, HostList hosts, IReplyHandle* connect);
  HostList HostOf(const CWHOSTINFO* host) const;
  HostList ConfiguredHosts();
  void EnsureRunning();
  void Run();
  int PollOnce(Lock& lock, Clock::time_point now);

  const StartMode mode_;
  EngineCore core_;
  // Guarded by core_.mutex.
  std::string configuration_file_;
  bool time_out_set_ = false;
  int option_ = 0;
  bool started_ = false;
  std::vector<std::unique_ptr<RequestSession>> sessions_;
  std::map<ICwRequest*, std::unique_ptr<EngineRequest>> requests_;
  // Last: joined before the sessions go.
  WorkerThread io_thread_;
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_DATA_ENGINE_H_
