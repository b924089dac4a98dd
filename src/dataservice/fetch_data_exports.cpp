#include <memory>

#include "dataservice/reply_sql_handle.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/env.h"

namespace {

IFetchData* MakeHandle(OrbeClientSession* session, HWND notifyWindow, UINT notifyMessage) {
  // Ownership passes to the caller, who returns it through DeleteFetchDataHandle.
  return std::make_unique<ReplySqlHandle>(session, notifyWindow, notifyMessage).release();
}

}  // namespace

extern "C" {

IFetchData* CreateFetchDataHandle(HWND notifyWindow, UINT notifyMessage) {
  return MakeHandle(GetGlobalMainOrbeClientSession(), notifyWindow, notifyMessage);
}

IFetchData* CreateFetchDataHandle_Sub(HWND notifyWindow, UINT notifyMessage) {
  return MakeHandle(GetGlobalSubOrbeClientSession(), notifyWindow, notifyMessage);
}

// A handle with a request in flight goes when that request has ended.
void DeleteFetchDataHandle(IFetchData* handle) {
  if (auto* ours = dynamic_cast<ReplySqlHandle*>(handle)) {
    ours->Release();
    return;
  }
  std::unique_ptr<IFetchData> owned(handle);
}

}  // extern "C"
