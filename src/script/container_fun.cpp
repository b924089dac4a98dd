// IContainerFun's life, its window messages, its handles and the ids that
// scripts see for them, subscriptions and pushed messages.
#include "orbe/script/container_fun.h"

#include <climits>
#include <mutex>

#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/env.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/freeze_store.h"
#include "script/container_data.h"

namespace orbe {
namespace {

// Fetched files larger than this are neither inflated nor delivered.
constexpr std::size_t kMaxFetchedFileBytes = 4194304;
constexpr WPARAM kReplyComplete = 100;

// The containers by the small ids that GetPtrAsLong gives out.
class ContainerIds {
 public:
  int Add(IContainerFun* container) {
    const std::lock_guard<std::mutex> hold(mutex_);
    do {
      next_ = next_ == INT_MAX ? 1 : next_ + 1;
    } while (containers_.count(next_) != 0);
    containers_[next_] = container;
    return next_;
  }
  void Remove(int id) {
    const std::lock_guard<std::mutex> hold(mutex_);
    containers_.erase(id);
  }

 private:
  std::mutex mutex_;
  std::map<int, IContainerFun*> containers_;
  int next_ = 0;
};

ContainerIds& Ids() {
  static ContainerIds ids;
  return ids;
}

std::string Number(long long value) { return Format("%lld", value); }

}  // namespace

// --- ContainerData ---

int ContainerData::NewHandleId() {
  do {
    next_id = next_id >= INT_MAX ? 1 : next_id + 1;
  } while (requests.count(next_id) != 0 || next_id == sync[0].id || next_id == sync[1].id);
  return next_id;
}

IFetchData* ContainerData::HandleOf(int id) {
  if (id <= 0) return nullptr;
  if (id == last_id) return last_handle;
  IFetchData* handle = nullptr;
  for (SyncHandle& sync_handle : sync) {
    if (sync_handle.id == id) handle = sync_handle.handle.get();
  }
  if (handle == nullptr) {
    const auto found = requests.find(id);
    if (found == requests.end()) return nullptr;
    handle = found->second.handle.get();
  }
  last_id = id;
  last_handle = handle;
  return handle;
}

IFetchData* ContainerData::SyncHandleOfSession(int* id) {
  SyncHandle& handle = sync[owner.UsesMainSession() ? 0 : 1];
  OrbeClientSession* const session = owner.Session();
  if (session == nullptr) return nullptr;
  // Made for the session the container works on now; a handle must not
  // outlive its session, so one made for an earlier session is replaced.
  // Its next request replaces the reply whose field may be cached.
  if (field_cache.handle == handle.handle.get()) field_cache = FieldCache{};
  if (last_id == handle.id) last_id = 0;
  if (!handle.handle || handle.session != session) {
    const HWND window = owner.ContainerWindow();
    handle.handle.reset(owner.UsesMainSession() ? CreateFetchDataHandle(window, kContainerReplyMessage)
                                                : CreateFetchDataHandle_Sub(window, kContainerReplyMessage));
    handle.session = session;
    if (handle.id == 0) handle.id = NewHandleId();
  }
  if (id != nullptr) *id = handle.id;
  return handle.handle.get();
}

IFetchData* ContainerData::NewRequest(const std::string& callback, int* id) {
  if (owner.Session() == nullptr) return nullptr;
  const HWND window = owner.ContainerWindow();
  FetchDataPtr handle(owner.UsesMainSession() ? CreateFetchDataHandle(window, kContainerReplyMessage)
                                              : CreateFetchDataHandle_Sub(window, kContainerReplyMessage));
  if (!handle) return nullptr;
  const int new_id = NewHandleId();
  IFetchData* const raw = handle.get();
  PendingRequest& request = requests[new_id];
  request.handle = std::move(handle);
  request.callback = callback;
  request_ids[raw] = new_id;
  if (id != nullptr) *id = new_id;
  return raw;
}

const tagMemFieldInfo* ContainerData::FieldOf(IFetchData* handle, const std::string& name) {
  if (handle == nullptr) return nullptr;
  if (field_cache.handle == handle && field_cache.name == name) return &field_cache.field;
  tagMemFieldInfo field{};
  if (!handle->GetFieldInfo(name.c_str(), &field)) return nullptr;
  field_cache = FieldCache{handle, name, field};
  return &field_cache.field;
}

void ContainerData::DropRequest(int id) {
  const auto found = requests.find(id);
  if (found == requests.end()) return;
  if (field_cache.handle == found->second.handle.get()) field_cache = FieldCache{};
  if (last_id == id) last_id = 0;
  request_ids.erase(found->second.handle.get());
  requests.erase(found);
}

void ContainerData::RetireRequest(int id) {
  const auto found = requests.find(id);
  if (found == requests.end()) return;
  found->second.cancelled = true;
  found->second.retired = true;
  ++failed_replies;
  const HWND window = owner.ContainerWindow();
  if (window == nullptr || !PostMessage(window, kContainerRetireMessage, static_cast<WPARAM>(id), 0)) DropRequest(id);
}

void ContainerData::ForgetBoundObject(_object* object) {
  std::erase(bound_objects, object);
}

}  // namespace orbe

using namespace orbe;

// --- IContainerFun life ---

IContainerFun::IContainerFun() : data_(std::make_unique<ContainerData>(*this)) {
  container_id_ = Ids().Add(this);
}

IContainerFun::~IContainerFun() {
  // The receiver is the derived window, gone by now: it unsubscribes in its
  // own destructor; this only forgets the pointer it subscribed with.
  if (data_->receiver != nullptr) PyConMessageMgr::Instance().UnsubscribeAll(data_->receiver);
  Ids().Remove(container_id_);
  container_id_ = 0;
  // Objects of calls still running (a script that destroys its own window)
  // lose their container instead of pointing at freed memory.
  for (_object* object : data_->bound_objects) ClearBoundScriptObject(object);
  data_->bound_objects.clear();
  if (data_->timer) KillTimer(data_->timer_window, kContainerTimerId);
  FreezeStore::Module().Flush();
}

void IContainerFun::PopModalDlg(const std::string&, int, int, const std::string&, const std::string&) {}
void IContainerFun::ShowWaitDlg(int, int) {}
void IContainerFun::HideWaitDlg() {}
void IContainerFun::ContainerDlgRunScript(const std::string&, const std::string&, const std::string&) {}
void IContainerFun::ShowContainerDlg(int, int, int, int) {}
void IContainerFun::HideContainerDlg() {}
void IContainerFun::GlobalDlgRunScript(const std::string&, const std::string&, const std::string&) {}
void IContainerFun::ShowGlobalDlg(int, int, int, int) {}
void IContainerFun::HideGlobalDlg() {}
void IContainerFun::RunOtherScript(const std::string&, const std::string&) {}

OrbeClientSession* IContainerFun::Session() const {
  return main_session_ ? GetGlobalMainOrbeClientSession() : GetGlobalSubOrbeClientSession();
}

bool IContainerFun::TimerRegistered() const { return data_->timer; }

std::size_t IContainerFun::PendingRequestCount() const { return data_->requests.size(); }

void IContainerFun::CancelRequests() {
  for (auto& entry : data_->requests) entry.second.cancelled = true;
}

void IContainerFun::PrepareForLoad() {
  CancelRequests();
  SelectMainSession();
  UnRegisterTimer();
  UnsubscribeAll();
}

void IContainerFun::UnsubscribeAll() {
  ISubscribeMessageCallBack* receiver = data_->receiver != nullptr ? data_->receiver
                                                                   : dynamic_cast<ISubscribeMessageCallBack*>(this);
  if (receiver != nullptr) PyConMessageMgr::Instance().UnsubscribeAll(receiver);
}

void IContainerFun::MakeSessionHandles() {
  ContainerData& d = *data_;
  const HWND window = ContainerWindow();
  OrbeClientSession* const sessions[2] = {GetGlobalMainOrbeClientSession(), GetGlobalSubOrbeClientSession()};
  for (int which = 0; which < 2; ++which) {
    OrbeClientSession* const session = sessions[which];
    if (session == nullptr || window == nullptr) continue;
    SyncHandle& sync = d.sync[which];
    if (!sync.handle || sync.session != session) {
      sync.handle.reset(which == 0 ? CreateFetchDataHandle(window, kContainerReplyMessage)
                                   : CreateFetchDataHandle_Sub(window, kContainerReplyMessage));
      sync.session = session;
      if (sync.id == 0) sync.id = d.NewHandleId();
    }
    FileFetch& fetch = d.files[which];
    if (!fetch.handle || fetch.session != session) {
      fetch.directory = session->GetCacheDirectory();
      fetch.handle.reset(which == 0
                             ? CreateFetchFileHandle(window, kContainerFileMessage, fetch.directory.c_str())
                             : CreateFetchFileHandle_Sub(window, kContainerFileMessage, fetch.directory.c_str()));
      fetch.session = session;
    }
  }
}

// --- Window messages ---

int IContainerFun::FailedReplies() const { return data_->failed_replies; }

bool IContainerFun::HandleScriptMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  ContainerData& d = *data_;
  switch (message) {
    case kContainerReplyMessage: {
      const auto found = d.request_ids.find(reinterpret_cast<const IFetchData*>(lparam));
      if (found == d.request_ids.end()) return true;  // a synchronous reply, or one already delivered
      const int id = found->second;
      const PendingRequest& request = d.requests.at(id);
      if (request.retired) return true;  // freed by its retire message
      if (!request.cancelled && wparam != kReplyComplete) ++d.failed_replies;
      if (!request.cancelled) {
        const std::string callback = request.callback;
        CallScript(callback, {Number(id), Number(static_cast<int>(wparam))});
      }
      // The reply can be read only inside its callback; then it goes.
      d.DropRequest(id);
      return true;
    }
    case kContainerRetireMessage: {
      const auto found = d.requests.find(static_cast<int>(wparam));
      if (found != d.requests.end() && found->second.retired) d.DropRequest(found->first);
      return true;
    }
    case kContainerFileMessage: {
      if (lparam != 1 || wparam != kReplyComplete || d.file_callback.empty()) return true;
      const std::string path = d.files[d.file_session].directory + d.file_name;
      std::optional<std::string> content = ReadWholeFile(path);
      if (!content || content->empty() || content->size() >= kMaxFetchedFileBytes) return true;
      if (std::optional<std::string> inflated = Uncompress(*content, kMaxFetchedFileBytes)) {
        if (!WriteFileAtomically(path, *inflated)) return true;
      }
      CallScript(d.file_callback, {path});
      return true;
    }
    case kContainerTransferMessage:
      CallScript("OnUDMReplyProcess", {Number(static_cast<int>(wparam)), Number(static_cast<int>(lparam))});
      return true;
    case kContainerPassThroughMessage:
      CallScript("OnTPOriginal", {Number(static_cast<int>(wparam))});
      return true;
    case kContainerPushMessage:
      for (;;) {
        std::string pushed;
        {
          const std::lock_guard<std::mutex> hold(d.push_mutex);
          if (d.push_queue.empty()) break;
          pushed = std::move(d.push_queue.front());
          d.push_queue.pop_front();
        }
        std::copy(pushed.begin(), pushed.end(), d.exchange.begin());
        d.push_position = 0;
        d.push_length = static_cast<std::uint32_t>(pushed.size());
        CallScript("OnTPPushMessage", {Number(d.push_length)});
      }
      return true;
    case WM_TIMER:
      if (wparam != kContainerTimerId || !d.timer) return false;
      CallScript("OnTimer", {});
      return true;
    default:
      return false;
  }
}

// --- Subscriptions and pushed messages ---

int IContainerFun::SubscribeMessage(int id) {
  if (data_->receiver == nullptr) data_->receiver = dynamic_cast<ISubscribeMessageCallBack*>(this);
  if (data_->receiver == nullptr) return 0;
  data_->push_window = ContainerWindow();
  return PyConMessageMgr::Instance().Subscribe(id, data_->receiver);
}

int IContainerFun::UnsubscribeMessage(int id) {
  if (data_->receiver == nullptr) data_->receiver = dynamic_cast<ISubscribeMessageCallBack*>(this);
  return data_->receiver != nullptr ? PyConMessageMgr::Instance().Unsubscribe(id, data_->receiver) : 0;
}

int IContainerFun::SendSubscribeMessage(int id, const std::string& first, const std::string& second) {
  return PyConMessageMgr::Instance().Send(id, first, second);
}

void IContainerFun::QueuePushMessage(const unsigned char* data, std::uint32_t length) {
  // A message the exchange buffer cannot hold would be read cut short.
  if (data == nullptr || length == 0 || length > kExchangeBufferSize) return;
  {
    const std::lock_guard<std::mutex> hold(data_->push_mutex);
    data_->push_queue.emplace_back(reinterpret_cast<const char*>(data), length);
  }
  PostMessage(data_->push_window.load(), kContainerPushMessage, 0, 0);
}
