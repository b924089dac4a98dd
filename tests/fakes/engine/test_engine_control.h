// The control block of the test engine: tests script the hosts and read what
// the module asked of the engine. The engine is loaded by the module as
// libFinDataComm.so; a test reaches this block through the extra entry point
// TestEngineControlBlock of the same library.
#ifndef ORBE_TESTS_COMPONENTS_ENGINE_TEST_ENGINE_CONTROL_H_
#define ORBE_TESTS_COMPONENTS_ENGINE_TEST_ENGINE_CONTROL_H_

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "protocol/cw_data_engin.h"

// How a host answers the host-load request. Hosts not listed never connect.
struct TestHostScript {
  std::string address;
  bool connects = true;
  bool replies = true;
  std::uint32_t load = 0;
  std::uint32_t capacity = 0;
  int reply_delay_ms = 0;
  // The reply is held back until this many well-formed host-load queries
  // have reached the engine, so a test can order "every host asked" before
  // "this host answered" without relying on thread timing.
  int reply_after_queries = 0;
};

struct TestEngineControl {
  std::mutex mutex;  // guards every member below

  // Scripted by tests.
  std::vector<TestHostScript> hosts;
  int connect_state = kCwStateConnected;  // of the shared engine's sessions
  int host_index = 0;                     // ditto, slot 9

  // The shared engine.
  bool instance_alive = false;
  int instances_made = 0;
  int instances_deleted = 0;
  int shutdowns = 0;
  std::string config_file;
  std::vector<int> options;
  int configured_sessions = 0;
  int alt_configured_sessions = 0;
  std::vector<CWHOSTINFO> host_sessions;
  int alt_host_sessions = 0;
  int quits = 0;
  int queue_resets = 0;
  int second_queue_resets = 0;

  // Private engines (the host test).
  int private_alive = 0;
  int private_made = 0;
  int private_time_out = 0;
  std::vector<CWHOSTINFO> tested_hosts;
  int started_sessions = 0;
  int stops = 0;
  int good_queries = 0;
  int bad_queries = 0;

  // Free entry points.
  int global_proxy_calls = 0;
  std::optional<CWPROXYINFO> global_proxy;
  int push_notify_calls = 0;
  IClientNotify* push_notify = nullptr;

  void Reset() {
    std::lock_guard<std::mutex> hold(mutex);
    hosts.clear();
    connect_state = kCwStateConnected;
    host_index = 0;
    instances_made = instances_deleted = shutdowns = 0;
    config_file.clear();
    options.clear();
    configured_sessions = alt_configured_sessions = alt_host_sessions = 0;
    host_sessions.clear();
    quits = queue_resets = second_queue_resets = 0;
    private_made = private_time_out = started_sessions = stops = good_queries = bad_queries = 0;
    tested_hosts.clear();
    global_proxy_calls = push_notify_calls = 0;
    global_proxy.reset();
    push_notify = nullptr;
  }
};

extern "C" {
using TestEngineControlBlockProc = TestEngineControl* (*)();
}

#endif  // ORBE_TESTS_COMPONENTS_ENGINE_TEST_ENGINE_CONTROL_H_
