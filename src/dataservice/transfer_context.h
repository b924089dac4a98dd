// What the transfer manager and a transfer's handle share: the request
// session, the request object and the last status text. The handle runs on
// the engine's threads, the manager and the scripts on the window thread, so
// everything here is read and written under `mutex`.
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
  EngineRequestPtr request;              // released with the context
  ICwRequestSession* session = nullptr;   // engine-owned; quit when the transfer ends
  std::atomic<int>* server_index = nullptr;  // the manager's, shared by all transfers
  std::unique_ptr<TransferRpy> handle;

  std::mutex mutex;
  std::string status_text;

  TransferContext() = default;
  TransferContext(const TransferContext&) = delete;
  TransferContext& operator=(const TransferContext&) = delete;
  ~TransferContext() = default;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_CONTEXT_H_
