// The file transfer manager: uploads, downloads, deletes and path reloads on
// the file servers, each over a request session of its own. One instance per
// module, made on first use and deleted by UnInitDataEngin. Called on the
// window thread; the transfers' handles run on the engine's threads.
#ifndef ORBE_DATASERVICE_UPDOWN_FILE_MGR_H_
#define ORBE_DATASERVICE_UPDOWN_FILE_MGR_H_

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "dataservice/transfer_context.h"
#include "protocol/component_entry_points.h"
#include "protocol/cw_host_info.h"
#include "orbe/platform/types.h"

namespace orbe {

inline constexpr std::uint64_t kDefaultMaxTransferBytes = 10485760;
inline constexpr LPARAM kTransferSizeRefused = -12;

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
  // Ends the transfer without a further message; false for an unknown id.
  bool Cancel(int id);
  // The transfer's last status text (GBK); "" for an unknown id.
  std::string StatusText(int id);

  int ServerIndex() const { return server_index_.load(); }
  std::uint64_t MaxFileSize() const { return max_file_bytes_; }
  const std::vector<CWHOSTINFO>& Servers() const { return servers_; }

 private:
  template <typename Handle, typename... Args>
  int Start(HWND window, UINT message, Args&&... args);
  ICwDataEngin* Engine() const;
  static void Quit(TransferContext& context);

  std::vector<CWHOSTINFO> servers_;
  std::atomic<int> server_index_{0};
  std::uint64_t max_file_bytes_ = kDefaultMaxTransferBytes;
  std::string upload_directory_;
  std::string download_directory_;
  int next_id_ = 1;
  std::list<std::unique_ptr<TransferContext>> transfers_;
  GetCwDataEnginInstanceProc engine_source_ = nullptr;
  ICwDataEngin* engine_for_test_ = nullptr;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_UPDOWN_FILE_MGR_H_
