// Fetching one file from the data service (request 2009) into a local
// folder: the dictionary refresh uses it, and so may windows and scripts.
#ifndef ORBE_DATASERVICE_FETCH_FILE_H_
#define ORBE_DATASERVICE_FETCH_FILE_H_

#include "orbe/platform/types.h"

// Each reply packet posts (window, message, progress, 0); the end posts
// (window, message, status, 1), status 100 when the file is in place (or was
// already current). A file is fetched only when its MD5 differs from `digest`.
class IFetchFile {
 public:
  virtual ~IFetchFile() = default;  // 0
  // Local path = directory + name. An empty digest is taken from the local
  // file. FALSE when nothing was sent (no session, a path of 256 characters
  // or more, a name the request cannot hold).
  virtual BOOL FetchFile(const char* name, const char* digest) = 0;  // 1
};

extern "C" {
IFetchFile* CreateFetchFileHandle(HWND notifyWindow, UINT notifyMessage, const char* localDirectory);
IFetchFile* CreateFetchFileHandle_Sub(HWND notifyWindow, UINT notifyMessage, const char* localDirectory);
void DeleteFetchFileHandle(IFetchFile* handle);
}  // extern "C"

#endif  // ORBE_DATASERVICE_FETCH_FILE_H_
