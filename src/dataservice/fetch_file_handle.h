// The handle behind IFetchFile. The file arrives in a temporary file beside
// the target and replaces it only when the request completed, so a broken
// fetch never leaves a half dictionary file to be loaded.
#ifndef ORBE_DATASERVICE_FETCH_FILE_HANDLE_H_
#define ORBE_DATASERVICE_FETCH_FILE_HANDLE_H_

#include <cstdio>
#include <memory>
#include <string>

#include "protocol/cw_data_engin.h"
#include "orbe/dataservice/fetch_file.h"

class OrbeClientSession;

// Matches no file: sent when the local digest cannot be used.
inline constexpr const char* kUnmatchableDigest = "01234567890123450123456789012345";

class ReplyUpdateHandle final : public IReplyHandle, public IFetchFile {
 public:
  ReplyUpdateHandle(OrbeClientSession* session, HWND window, UINT message, std::string directory);
  ~ReplyUpdateHandle() override;

  BOOL FetchFile(const char* name, const char* digest) override;
  void OnReply(ICwReply* reply) override;
  void OnStatus(int code) override;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  void Post(WPARAM wparam, LPARAM lparam) const;
  void DropPartialFile();

  OrbeClientSession* const session_;
  const HWND window_;
  const UINT message_;
  const std::string directory_;
  std::string local_path_;
  std::string partial_path_;
  std::unique_ptr<std::FILE, FileCloser> output_;
  bool write_failed_ = false;
  EngineRequestPtr request_;
};

#endif  // ORBE_DATASERVICE_FETCH_FILE_HANDLE_H_
