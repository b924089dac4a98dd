#include "dataservice/updown_file_mgr.h"

#include <cstring>
#include <utility>

#include "dataservice/transfer_download.h"
#include "dataservice/transfer_simple.h"
#include "dataservice/transfer_upload.h"
#include "orbe/platform/file.h"
#include "orbe/platform/window.h"

namespace orbe {
namespace {

std::unique_ptr<UpdownFileMgr>& InstanceSlot() {
  static std::unique_ptr<UpdownFileMgr> instance;
  return instance;
}

CWHOSTINFO DefaultServer() {
  CWHOSTINFO host{};
  std::strcpy(host.host, "127.0.0.1");
  std::strcpy(host.port, "8367");
  return host;
}

// The file-name part of a local path: after the last separator of either kind.
std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

UpdownFileMgr& UpdownFileMgr::Instance() {
  std::unique_ptr<UpdownFileMgr>& slot = InstanceSlot();
  if (!slot) slot = std::make_unique<UpdownFileMgr>();
  return *slot;
}

void UpdownFileMgr::DeleteInstance() { InstanceSlot().reset(); }

UpdownFileMgr::~UpdownFileMgr() {
  for (const auto& context : transfers_) Quit(*context);
}

void UpdownFileMgr::SetServers(std::vector<CWHOSTINFO> servers, int primary) {
  if (servers.empty()) servers.push_back(DefaultServer());
  servers_ = std::move(servers);
  server_index_ = primary;
}

ICwDataEngin* UpdownFileMgr::Engine() const {
  if (engine_for_test_ != nullptr) return engine_for_test_;
  return engine_source_ != nullptr ? engine_source_() : nullptr;
}

template <typename Handle, typename... Args>
int UpdownFileMgr::Start(HWND window, UINT message, Args&&... args) {
  ICwDataEngin* engine = Engine();
  if (engine == nullptr || servers_.empty()) return -1;
  int index = server_index_.load();
  if (index < 0 || index >= static_cast<int>(servers_.size())) server_index_ = index = 0;
  auto context = std::make_unique<TransferContext>();
  context->id = next_id_++;
  context->request = MakeEngineRequest(engine);
  context->server_index = &server_index_;
  context->handle = std::make_unique<Handle>(window, message, *context, std::forward<Args>(args)...);
  bool started = false;
  {
    // Held until the start is sent, so that the connect callback waits for the session.
    std::lock_guard<std::mutex> hold(context->mutex);
    CWHOSTINFO host = servers_[static_cast<std::size_t>(index)];
    context->session = engine->CreateRequestSession(&host, context->handle.get());
    context->status_text = kTextCreated;
    started = context->request != nullptr && context->session != nullptr && context->handle->SendStart();
    if (!started) context->handle->Abandon();
  }
  // The transfer may have ended already (a fast reply); only a failed start counts here.
  if (!started) {
    Quit(*context);
    return -1;
  }
  const int id = context->id;
  transfers_.push_back(std::move(context));
  return id;
}

int UpdownFileMgr::Upload(HWND window, UINT message, const std::string& local_path) {
  const std::optional<FileIdentity> identity = IdentifyFile(local_path);
  const std::uint64_t length = identity ? identity->size : 0;
  if (length == 0 || length >= max_file_bytes_) {
    if (window != nullptr) PostMessage(window, message, static_cast<WPARAM>(-1), kTransferSizeRefused);
    return -1;
  }
  return Start<UploadRpy>(window, message, std::string(local_path),
                          upload_directory_ + FileNamePart(local_path), length);
}

int UpdownFileMgr::Download(HWND window, UINT message, const std::string& remote_path,
                            const std::string& local_path) {
  return Start<DownloadRpy>(window, message, download_directory_ + remote_path, std::string(local_path));
}

int UpdownFileMgr::Delete(HWND window, UINT message, const std::string& remote_path) {
  return Start<DeleteRpy>(window, message, std::string(remote_path));
}

int UpdownFileMgr::ReloadPath(HWND window, UINT message, const std::string& tag, std::uint8_t option,
                              const std::string& remote_path) {
  return Start<ReloadPathRpy>(window, message, std::string(tag), option, std::string(remote_path));
}

bool UpdownFileMgr::Cancel(int id) {
  for (auto it = transfers_.begin(); it != transfers_.end(); ++it) {
    if ((*it)->id != id) continue;
    Quit(**it);
    transfers_.erase(it);
    return true;
  }
  return false;
}

std::string UpdownFileMgr::StatusText(int id) {
  for (const auto& context : transfers_) {
    if (context->id != id) continue;
    std::lock_guard<std::mutex> hold(context->mutex);
    return context->status_text;
  }
  return "";
}

// Quit outside the context's lock: the engine ends the session's requests
// through the handle before it returns, and the handle takes that lock.
void UpdownFileMgr::Quit(TransferContext& context) {
  ICwRequestSession* session = nullptr;
  {
    std::lock_guard<std::mutex> hold(context.mutex);
    if (context.handle) context.handle->Abandon();
    session = std::exchange(context.session, nullptr);
  }
  if (session == nullptr) return;
  session->SetReplyHandle(nullptr);
  session->Quit();
}

}  // namespace orbe
