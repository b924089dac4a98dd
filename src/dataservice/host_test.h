// The host test: before the main session connects, every configured data host
// is asked for its load on a private engine, and the least loaded host that
// answered is written back as PrimaryCWHost for the engine to try first.
#ifndef ORBE_DATASERVICE_HOST_TEST_H_
#define ORBE_DATASERVICE_HOST_TEST_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataservice/host_choice.h"
#include "protocol/component_entry_points.h"
#include "orbe/platform/sync.h"

namespace orbe {

// The test's clock; tests replace it to count polls without waiting.
struct HostTestClock {
  std::function<std::uint64_t()> now_ms;
  std::function<void(DWORD)> sleep_ms;
};
HostTestClock SystemHostTestClock();

struct PrivateEngineEntryPoints {
  CreateCwDataEnginProc create = nullptr;
  DeleteCwDataEnginProc destroy = nullptr;
};

}  // namespace orbe

class CHostTest;

// Sends the host-load request and collects its two reply words.
class CHostTestHandle : public IReplyHandle {
 public:
  CHostTestHandle(ICwDataEngin* engine, ICwRequestSession* session, CHostTest* owner, std::size_t entry);
  ~CHostTestHandle() override;
  CHostTestHandle(const CHostTestHandle&) = delete;
  CHostTestHandle& operator=(const CHostTestHandle&) = delete;

  void SendQuery();
  // Gives the request object back to the engine; before the engine goes.
  void ReleaseRequest();
  void OnReply(ICwReply* reply) override;
  void OnStatus(int code) override;

 private:
  ICwRequestSession* session_;
  CHostTest* owner_;
  std::size_t entry_;
  EngineRequestPtr request_;
  std::uint32_t load_ = 0;
  std::uint32_t capacity_ = 0;
};

// Hears the connection state; once connected, the host is asked for its load.
class CConectHandle : public IReplyHandle {
 public:
  void SetTestHandle(CHostTestHandle* handle) { test_handle_ = handle; }
  void OnReply(ICwReply* /*reply*/) override {}
  void OnStatus(int code) override;

 private:
  CHostTestHandle* test_handle_ = nullptr;
};

class CHostTest {
 public:
  enum State { kIdle = 0, kTesting = 1, kDecided = 2, kDone = 3 };

  CHostTest(const std::string& configuration_file, orbe::PrivateEngineEntryPoints engine_entry_points,
            orbe::HostTestClock clock = orbe::SystemHostTestClock());
  // Waits for the test thread, releases the private engine, then writes the
  // chosen host as PrimaryCWHost (nothing when no host qualified).
  ~CHostTest();
  CHostTest(const CHostTest&) = delete;
  CHostTest& operator=(const CHostTest&) = delete;

  // Connects to every configured host and starts the thread that ends the
  // test after `wait_seconds`. A global proxy with an address replaces each
  // host's own.
  void Start(int wait_seconds, const std::optional<CWPROXYINFO>& global_proxy);

  // A host's answer, from the engine's threads.
  void Report(std::size_t entry, std::uint32_t load, std::uint32_t capacity);

  int GetState();
  bool HasEngine() const { return engine_ != nullptr; }
  std::size_t EntryCount() const { return entries_.size(); }
  // The choice that destruction will write; -1 for none.
  int ChosenHost();

 private:
  struct Entry {
    std::unique_ptr<CConectHandle> connect;
    std::unique_ptr<CHostTestHandle> test;
    ICwRequestSession* session = nullptr;
    CWHOSTINFO host;
    orbe::HostReply reply;
  };

  void AddHost(int number, const std::optional<CWPROXYINFO>& global_proxy);
  void Poll(int wait_seconds);
  void Finish();
  void ReleaseEngine();

  std::string configuration_file_;
  orbe::PrivateEngineEntryPoints entry_points_;
  orbe::HostTestClock clock_;
  orbe::PrivateEnginePtr engine_;
  orbe::CriticalSection lock_;
  bool finished_ = false;
  State state_ = kIdle;
  std::uint64_t start_ms_ = 0;
  std::vector<Entry> entries_;
  orbe::WorkerThread thread_;
};

#endif  // ORBE_DATASERVICE_HOST_TEST_H_
