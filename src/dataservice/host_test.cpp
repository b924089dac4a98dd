#include "dataservice/host_test.h"

#include <algorithm>
#include <cstring>

#include "dataservice/host_records.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "protocol/replies.h"
#include "protocol/request_objects.h"
#include "protocol/requests.h"

namespace orbe {
namespace {

constexpr DWORD kPollMs = 100;
// Host keys are numbered "%02d"; a larger count is a typo, not a farm.
constexpr int kMaxHosts = 99;

}  // namespace

HostTestClock SystemHostTestClock() {
  return HostTestClock{[] { return static_cast<std::uint64_t>(GetTickCount64()); },
                       [](DWORD ms) { Sleep(ms); }};
}

}  // namespace orbe

CHostTestHandle::CHostTestHandle(ICwDataEngin* engine, ICwRequestSession* session, CHostTest* owner,
                                 std::size_t entry)
    : session_(session), owner_(owner), entry_(entry), request_(MakeEngineRequest(engine)) {}

CHostTestHandle::~CHostTestHandle() = default;

void CHostTestHandle::ReleaseRequest() { request_.reset(); }

void CHostTestHandle::SendQuery() {
  if (request_ == nullptr || session_ == nullptr) return;
  if (!orbe::wire::FillRequest(*request_, orbe::wire::EncodeCodeBody(orbe::wire::kCodeHostLoad))) return;
  session_->Send(this, request_.get());
}

void CHostTestHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr) return;
  const auto load = orbe::wire::DecodeHostLoadBody(orbe::wire::PayloadBytes(*reply));
  if (!load) return;
  load_ = load->load;
  capacity_ = load->capacity;
}

void CHostTestHandle::OnStatus(int code) {
  // Nothing of this object is touched after the report: the test may end and
  // delete it as soon as the report has decided.
  if (code == kCwStatusComplete) owner_->Report(entry_, load_, capacity_);
}

void CConectHandle::OnStatus(int code) {
  if (code == kCwStateConnected && test_handle_ != nullptr) test_handle_->SendQuery();
}

CHostTest::CHostTest(const std::string& configuration_file, orbe::PrivateEngineEntryPoints entry_points,
                     orbe::HostTestClock clock)
    : configuration_file_(configuration_file), entry_points_(entry_points), clock_(std::move(clock)) {
  if (entry_points_.create != nullptr && entry_points_.destroy != nullptr) {
    engine_ = orbe::PrivateEnginePtr(entry_points_.create(), {entry_points_.destroy});
  }
}

CHostTest::~CHostTest() {
  // Joining is the wait for state 3; a test that never started has no thread
  // and is not waited for.
  thread_.Join();
  ReleaseEngine();
  const int chosen = ChosenHost();
  if (chosen >= 0) {
    orbe::WriteProfileString(configuration_file_, "CWSYS", "PrimaryCWHost", orbe::Format("%d", chosen));
  }
}

void CHostTest::ReleaseEngine() {
  if (engine_ == nullptr) return;
  // Requests go back to the engine that made them; the handles outlive the
  // engine so that no late callback reaches a deleted handle.
  for (Entry& entry : entries_) entry.test->ReleaseRequest();
  engine_.reset();
  for (Entry& entry : entries_) {
    entry.connect.reset();
    entry.test.reset();
  }
}

void CHostTest::Start(int wait_seconds, const std::optional<CWPROXYINFO>& global_proxy) {
  if (engine_ == nullptr) return;
  engine_->SetTimeOut(orbe::ProfileInt(configuration_file_, "CWSYS", "TimeOut", 6));
  const int count = std::min(orbe::ProfileInt(configuration_file_, "CWSYS", "CWHostNum", 1), orbe::kMaxHosts);
  for (int number = 1; number <= count; ++number) AddHost(number, global_proxy);
  if (entries_.empty()) return;
  {
    orbe::CriticalSectionLock hold(lock_);
    start_ms_ = clock_.now_ms();
    finished_ = false;
    state_ = kTesting;
  }
  thread_.Start([this, wait_seconds] { Poll(wait_seconds); });
  engine_->StartSessions(static_cast<int>(entries_.size()));
}

void CHostTest::AddHost(int number, const std::optional<CWPROXYINFO>& global_proxy) {
  Entry entry;
  entry.host = orbe::ReadHostRecord(configuration_file_, orbe::kDataHostKeys, number);
  if (global_proxy) orbe::ApplyGlobalProxy(entry.host, *global_proxy);
  entry.connect = std::make_unique<CConectHandle>();
  entry.session = engine_->CreateRequestSession(&entry.host, entry.connect.get());
  if (entry.session == nullptr) return;
  entry.test = std::make_unique<CHostTestHandle>(engine_.get(), entry.session, this, entries_.size());
  entry.connect->SetTestHandle(entry.test.get());
  // The host's own number, not the entry's position: a host that gave no
  // session must not shift the index written back.
  entry.reply.host_index = number - 1;
  entries_.push_back(std::move(entry));
}

void CHostTest::Report(std::size_t entry, std::uint32_t load, std::uint32_t capacity) {
  {
    orbe::CriticalSectionLock hold(lock_);
    if (finished_ || entry >= entries_.size()) return;
    orbe::HostReply& reply = entries_[entry].reply;
    reply.replied = true;
    reply.elapsed_ms = clock_.now_ms() - start_ms_;
    reply.load = load;
    reply.capacity = capacity;
    const bool all_replied = std::all_of(entries_.begin(), entries_.end(),
                                         [](const Entry& e) { return e.reply.replied; });
    if (!orbe::DecidesAtOnce(load, capacity, reply.elapsed_ms) && !all_replied) return;
    state_ = kDecided;
    finished_ = true;
  }
  engine_->Stop();
}

void CHostTest::Poll(int wait_seconds) {
  int polls_left = wait_seconds * 10 + 1;
  while (polls_left > 0 && GetState() == kTesting) {
    clock_.sleep_ms(orbe::kPollMs);
    --polls_left;
  }
  if (polls_left < 1) {
    // Stopped outside the lock: a reply being delivered may be waiting for it.
    engine_->Stop();
    orbe::CriticalSectionLock hold(lock_);
    finished_ = true;
  }
  orbe::CriticalSectionLock hold(lock_);
  state_ = kDone;
}

int CHostTest::GetState() {
  orbe::CriticalSectionLock hold(lock_);
  return state_;
}

int CHostTest::ChosenHost() {
  std::vector<orbe::HostReply> replies;
  {
    orbe::CriticalSectionLock hold(lock_);
    for (const Entry& entry : entries_) replies.push_back(entry.reply);
  }
  return orbe::ChooseHost(replies);
}
