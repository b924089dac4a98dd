// File fetches, file transfers through the transfer manager, and the
// pass-through exports, as IContainerFun offers them to scripts.
#include "orbe/script/container_fun.h"

#include "dataservice/tp_original_handle.h"
#include "orbe/dataservice/pass_through.h"
#include "dataservice/updown_file_mgr.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "script/container_data.h"

using namespace orbe;

int IContainerFun::FetchFile(const std::string& callback, const std::string& name) {
  ContainerData& d = *data_;
  OrbeClientSession* session = Session();
  if (session == nullptr || name.empty()) return 0;
  const int which = UsesMainSession() ? 0 : 1;
  FileFetch& fetch = d.files[which];
  if (!fetch.handle || fetch.session != session) {
    fetch.directory = session->GetCacheDirectory();
    const HWND window = ContainerWindow();
    fetch.handle.reset(which == 0
                           ? CreateFetchFileHandle(window, kContainerFileMessage, fetch.directory.c_str())
                           : CreateFetchFileHandle_Sub(window, kContainerFileMessage, fetch.directory.c_str()));
    fetch.session = session;
  }
  if (!fetch.handle || !fetch.handle->FetchFile(name.c_str(), "")) return 0;
  d.file_callback = callback;
  d.file_name = name;
  d.file_session = which;
  return 1;
}

void IContainerFun::UDM_SetUpLoadPath(const std::string& directory) {
  UpdownFileMgr::Instance().SetUploadDirectory(directory);
}

int IContainerFun::UDM_UploadFile(const std::string& local_path) {
  return UpdownFileMgr::Instance().Upload(ContainerWindow(), kContainerTransferMessage, local_path);
}

void IContainerFun::UDM_SetDownLoadPath(const std::string& directory) {
  UpdownFileMgr::Instance().SetDownloadDirectory(directory);
}

int IContainerFun::UDM_DownloadFile(const std::string& local_path) {
  // The mirror of an upload: the file of that name in the download directory
  // comes to the given local path.
  if (FileNamePart(local_path).empty()) return -1;
  return UpdownFileMgr::Instance().Download(ContainerWindow(), kContainerTransferMessage, FileNamePart(local_path),
                                            local_path);
}

int IContainerFun::UDM_DeleteFile(const std::string& remote_path) {
  return UpdownFileMgr::Instance().Delete(ContainerWindow(), kContainerTransferMessage, remote_path);
}

void IContainerFun::UDM_CancelSession(int id) { UpdownFileMgr::Instance().Cancel(id); }

std::string IContainerFun::UDM_GetErrorInfo(int id) { return UpdownFileMgr::Instance().StatusText(id); }

int IContainerFun::SendTPOriginalRequest(const std::string&, const std::string&) { return ::SendTPOriginalRequest(); }

std::string IContainerFun::GetTPOriginalResult() { return ::GetTPOriginalResult(); }
