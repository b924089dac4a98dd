// The handle behind IFetchFile. The file arrives in a temporary file beside
// the target and replaces it only when the request completed, so a broken
// fetch never leaves a half dictionary file to be loaded.
#ifndef ORBE_DATASERVICE_FETCH_FILE_HANDLE_H_
#define ORBE_DATASERVICE_FETCH_FILE_HANDLE_H_

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "protocol/cw_data_engin.h"
#include "orbe/dataservice/fetch_file.h"
#include "orbe/dataservice/orbe_client_session.h"

// Matches no file: sent when the local digest cannot be used.
inline constexpr const char* kUnmatchableDigest = "01234567890123450123456789012345";

class ReplyUpdateHandle final : public IReplyHandle, public IFetchFile {
 public:
  ReplyUpdateHandle(OrbeClientSession* session, HWND window, UINT message, std::string directory);
  // Waits for a fetch in flight to end, however long: the engine still holds
  // this handle, and it ends every request it accepted.
  ~ReplyUpdateHandle() override;
  // Deletes the handle now, or abandons the fetch in flight and deletes the
  // handle when it ends: nothing is installed or posted (DeleteFetchFileHandle).
  void Release();

  // One fetch at a time: another one while a fetch runs is refused.
  BOOL FetchFile(const char* name, const char* digest) override;
  void OnReply(ICwReply* reply) override;
  void OnStatus(int code) override;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  void Post(WPARAM wparam, LPARAM lparam) const;
  // Closes the partial file; installs it when `install`, else removes it.
  bool FinishFile(bool install);
  void DropPartialFile();

  const OrbeSessionLinkPtr link_;
  const HWND window_;
  const UINT message_;
  const std::string directory_;
  std::string local_path_;
  std::string partial_path_;
  std::unique_ptr<std::FILE, FileCloser> output_;
  bool write_failed_ = false;
  EngineRequestPtr request_;
  std::mutex flight_mutex_;
  std::condition_variable flight_ended_;
  bool in_flight_ = false;
  bool released_ = false;  // Release came with the fetch in flight
};

// Owns a handle and releases it: a fetch in flight is abandoned, not waited for.
struct ReleaseFetchFile {
  void operator()(ReplyUpdateHandle* handle) const { handle->Release(); }
};
using FetchFilePtr = std::unique_ptr<ReplyUpdateHandle, ReleaseFetchFile>;
inline FetchFilePtr MakeFetchFile(OrbeClientSession* session, HWND window, UINT message, std::string directory) {
  return FetchFilePtr(new ReplyUpdateHandle(session, window, message, std::move(directory)));
}

#endif  // ORBE_DATASERVICE_FETCH_FILE_HANDLE_H_
