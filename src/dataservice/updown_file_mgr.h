// The file transfer manager: uploads, downloads, deletes and path reloads on
// the file servers, each over a request session of its own. One instance per
// module, made on first use and deleted by UnInitDataEngin. Called on the
// window thread; the transfers' handles run on the engine's threads.
//
// A transfer that ended has already given back its request object, its file
// and its session; the manager drops what is left of it at its next call and
// keeps the status texts of the last kKeptStatusTexts transfers.
#ifndef ORBE_DATASERVICE_UPDOWN_FILE_MGR_H_
#define ORBE_DATASERVICE_UPDOWN_FILE_MGR_H_

#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dataservice/transfer_context.h"
#include "orbe/platform/types.h"
#include "protocol/component_entry_points.h"
#include "protocol/cw_host_info.h"

namespace orbe {

inline constexpr std::uint64_t kDefaultMaxTransferBytes = 10485760;
inline constexpr LPARAM kTransferSizeRefused = -12;
inline constexpr std::size_t kKeptStatusTexts = 256;

class UpdownFileMgr {
 public:
  static UpdownFileMgr& Instance();
  // Quits every transfer and deletes the instance; the next Instance() makes a new one.
  static void DeleteInstance();

  UpdownFileMgr() = default;
  ~UpdownFileMgr();
  UpdownFileMgr(const UpdownFileMgr&) = delete;
  UpdownFileMgr& operator=(const UpdownFileMgr&) = delete;

  // An empty list becomes the loopback address, port 8367.
  void SetServers(std::vector<CWHOSTINFO> servers, int primary);
  void SetMaxFileSize(std::uint64_t bytes) { max_file_bytes_ = bytes; }
  // Where each start takes its engine: the engine component's shared
  // instance, as the module environment hands it in. Without one no transfer
  // starts.
  void SetEngineSource(GetCwDataEnginInstanceProc source) { engine_source_ = source; }
  // A fixed engine instead (tests).
  void SetEngineForTest(ICwDataEngin* engine) { engine_for_test_ = engine; }
  void SetUploadDirectory(const std::string& directory) { upload_directory_ = directory; }
  void SetDownloadDirectory(const std::string& directory) { download_directory_ = directory; }

  // Each start returns the new transfer id, or −1. Progress and the outcome
  // reach `window` as (message, id, value).
  int Upload(HWND window, UINT message, const std::string& local_path);
  // `remote_path` under the download directory on the server; written to `local_path`.
  int Download(HWND window, UINT message, const std::string& remote_path, const std::string& local_path);
  int Delete(HWND window, UINT message, const std::string& remote_path);
  int ReloadPath(HWND window, UINT message, const std::string& tag, std::uint8_t option,
                 const std::string& remote_path);
  // Ends a running transfer without a further message; false when no
  // transfer of that id runs.
  bool Cancel(int id);
  // The transfer's last status text (GBK); "" for an unknown id, or one older
  // than the last kKeptStatusTexts transfers.
  std::string StatusText(int id);
  // Transfers whose context is still held (running, or ended since the last call).
  std::size_t HeldTransfers() const { return transfers_.size(); }

  int ServerIndex() const { return server_index_.load(); }
  std::uint64_t MaxFileSize() const { return max_file_bytes_; }
  const std::vector<CWHOSTINFO>& Servers() const { return servers_; }

 private:
  template <typename Handle, typename... Args>
  int Start(HWND window, UINT message, Args&&... args);
  ICwDataEngin* Engine() const;
  // Ends the transfer; its session, when the handle has not quit it yet, is
  // quit here, which returns once it has closed.
  static void Quit(TransferContext& context);
  // Drops the contexts of ended transfers, keeping their status texts.
  void DropEnded();
  void KeepStatusText(int id, std::string text);

  std::vector<CWHOSTINFO> servers_;
  std::atomic<int> server_index_{0};
  std::uint64_t max_file_bytes_ = kDefaultMaxTransferBytes;
  std::string upload_directory_;
  std::string download_directory_;
  int next_id_ = 1;
  std::list<std::shared_ptr<TransferContext>> transfers_;
  std::map<int, std::string> ended_texts_;  // by id, the newest kKeptStatusTexts
  GetCwDataEnginInstanceProc engine_source_ = nullptr;
  ICwDataEngin* engine_for_test_ = nullptr;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_UPDOWN_FILE_MGR_H_
