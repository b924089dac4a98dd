// What the transfer manager and a transfer's handle share while the transfer
// runs: the request session, the request object, the status text. The handle
// runs on the engine's threads, the manager and the scripts on the window
// thread, so everything here is read and written under `mutex`.
//
// A transfer gives back what it holds the moment it ends: the request object,
// its open file and (quitting it) the request session. The context itself is
// small; it keeps itself alive (`self`) until the engine has ended every
// request it sent, so that the manager may let go of it at any time and the
// engine never calls a handle that is gone. The manager keeps only the status
// text after that.
#ifndef ORBE_DATASERVICE_TRANSFER_CONTEXT_H_
#define ORBE_DATASERVICE_TRANSFER_CONTEXT_H_

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "protocol/cw_data_engin.h"

namespace orbe {

class TransferRpy;

struct TransferContext {
  int id = 0;
  EngineRequestPtr request;                  // released when the transfer ends
  ICwRequestSession* session = nullptr;      // engine-owned; quit (and forgotten) when the transfer ends
  std::atomic<int>* server_index = nullptr;  // the manager's, shared by all transfers
  std::unique_ptr<TransferRpy> handle;

  std::mutex mutex;
  std::string status_text;
  // Requests the engine accepted and has not ended yet.
  int outstanding = 0;
  // Ended, and no request left that the engine could still end through the
  // handle.
  bool released = false;
  // Held from the start until released.
  std::shared_ptr<TransferContext> self;

  TransferContext() = default;
  TransferContext(const TransferContext&) = delete;
  TransferContext& operator=(const TransferContext&) = delete;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_CONTEXT_H_
