// Messages between script containers: a script subscribes its window to an
// int message id and any window can send to every subscriber of that id.
// The same manager receives the data engine's pushed messages and hands them
// to the windows subscribed to kPushMessageId.
#ifndef ORBE_SCRIPT_SUBSCRIPTIONS_H_
#define ORBE_SCRIPT_SUBSCRIPTIONS_H_

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "orbe/dataservice/cw_data_engin.h"

class ISubscribeMessageCallBack {
 public:
  virtual ~ISubscribeMessageCallBack() = default;
  // On the sender's thread, inside its SendSubscribeMessage.
  virtual void OnSubscribeMessage(int id, const std::string& first, const std::string& second) = 0;
  // On an engine thread: a pushed message for a window subscribed to
  // kPushMessageId. It must only queue the bytes.
  virtual void OnPushedMessage(const unsigned char* /*data*/, std::uint32_t /*length*/) {}
};

class PyConMessageMgr final : public IClientNotify {
 public:
  // Ids from here on are the module's own and cannot be sent by scripts.
  static constexpr int kFirstReservedId = 2000000000;
  static constexpr int kPushMessageId = 2000000001;

  static PyConMessageMgr& Instance();

  // Both answer 1.
  int Subscribe(int id, ISubscribeMessageCallBack* receiver);
  int Unsubscribe(int id, ISubscribeMessageCallBack* receiver);
  // Every subscription of the receiver; after it returns no engine thread is
  // still inside the receiver.
  void UnsubscribeAll(ISubscribeMessageCallBack* receiver);
  bool IsSubscribed(int id, const ISubscribeMessageCallBack* receiver) const;
  // 0 for reserved ids; otherwise calls every receiver subscribed to the id
  // (the sender too, when it is one), each only while it is still subscribed,
  // and answers 1 when at least one was called. No lock is held during a call.
  int Send(int id, const std::string& first, const std::string& second);

  // IClientNotify, on the engine's threads.
  void OnPushMessage(const unsigned char* data, std::uint32_t length) override;

 private:
  PyConMessageMgr() = default;

  mutable std::mutex mutex_;
  std::map<int, std::set<ISubscribeMessageCallBack*>> subscribers_;
};

#endif  // ORBE_SCRIPT_SUBSCRIPTIONS_H_
