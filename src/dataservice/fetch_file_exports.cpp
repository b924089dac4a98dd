#include <memory>

#include "dataservice/fetch_file_handle.h"
#include "orbe/dataservice/fetch_file.h"
#include "orbe/env.h"

namespace {

IFetchFile* MakeHandle(OrbeClientSession* session, HWND window, UINT message, const char* directory) {
  // Ownership passes to the caller, who returns it through DeleteFetchFileHandle.
  return std::make_unique<ReplyUpdateHandle>(session, window, message, directory != nullptr ? directory : "")
      .release();
}

}  // namespace

extern "C" {

IFetchFile* CreateFetchFileHandle(HWND notifyWindow, UINT notifyMessage, const char* localDirectory) {
  return MakeHandle(GetGlobalMainOrbeClientSession(), notifyWindow, notifyMessage, localDirectory);
}

IFetchFile* CreateFetchFileHandle_Sub(HWND notifyWindow, UINT notifyMessage, const char* localDirectory) {
  return MakeHandle(GetGlobalSubOrbeClientSession(), notifyWindow, notifyMessage, localDirectory);
}

// A handle with a request in flight goes when that request has ended.
void DeleteFetchFileHandle(IFetchFile* handle) {
  if (auto* ours = dynamic_cast<ReplyUpdateHandle*>(handle)) {
    ours->Release();
    return;
  }
  std::unique_ptr<IFetchFile> owned(handle);
}

}  // extern "C"
