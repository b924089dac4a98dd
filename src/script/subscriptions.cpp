#include "orbe/script/subscriptions.h"

#include <algorithm>

PyConMessageMgr& PyConMessageMgr::Instance() {
  static PyConMessageMgr manager;
  return manager;
}

int PyConMessageMgr::Subscribe(int id, ISubscribeMessageCallBack* receiver) {
  if (receiver == nullptr) return 1;
  const std::lock_guard<std::mutex> hold(mutex_);
  subscribers_[id].insert(receiver);
  return 1;
}

int PyConMessageMgr::Unsubscribe(int id, ISubscribeMessageCallBack* receiver) {
  const std::lock_guard<std::mutex> hold(mutex_);
  const auto found = subscribers_.find(id);
  if (found != subscribers_.end()) {
    found->second.erase(receiver);
    if (found->second.empty()) subscribers_.erase(found);
  }
  return 1;
}

void PyConMessageMgr::UnsubscribeAll(ISubscribeMessageCallBack* receiver) {
  const std::lock_guard<std::mutex> hold(mutex_);
  for (auto it = subscribers_.begin(); it != subscribers_.end();) {
    it->second.erase(receiver);
    it = it->second.empty() ? subscribers_.erase(it) : std::next(it);
  }
}

bool PyConMessageMgr::IsSubscribed(int id, const ISubscribeMessageCallBack* receiver) const {
  const std::lock_guard<std::mutex> hold(mutex_);
  const auto found = subscribers_.find(id);
  return found != subscribers_.end() &&
         found->second.count(const_cast<ISubscribeMessageCallBack*>(receiver)) != 0;
}

int PyConMessageMgr::Send(int id, const std::string& first, const std::string& second) {
  if (id >= kFirstReservedId) return 0;
  std::vector<ISubscribeMessageCallBack*> receivers;
  {
    const std::lock_guard<std::mutex> hold(mutex_);
    const auto found = subscribers_.find(id);
    if (found == subscribers_.end()) return 0;
    receivers.assign(found->second.begin(), found->second.end());
  }
  int delivered = 0;
  for (ISubscribeMessageCallBack* receiver : receivers) {
    // A receiver's script may unsubscribe or destroy another receiver.
    if (!IsSubscribed(id, receiver)) continue;
    receiver->OnSubscribeMessage(id, first, second);
    delivered = 1;
  }
  return delivered;
}

void PyConMessageMgr::OnPushMessage(const unsigned char* data, std::uint32_t length) {
  if (data == nullptr || length == 0) return;
  // Queuing only: held so that no receiver goes while it is being handed bytes.
  const std::lock_guard<std::mutex> hold(mutex_);
  const auto found = subscribers_.find(kPushMessageId);
  if (found == subscribers_.end()) return;
  for (ISubscribeMessageCallBack* receiver : found->second) receiver->OnPushedMessage(data, length);
}
