#include "dictionary/dictionary_refresh_dialog.h"

#include "dataservice/fetch_file_handle.h"
#include "orbe/dataservice/orbe_client_session.h"

namespace orbe {
namespace {

constexpr UINT kFetchMessage = WM_USER + 0x501;
constexpr UINT_PTR kTickTimer = 1;
constexpr LPARAM kFetchEnded = 1;

}  // namespace

DictionaryRefreshDialog::DictionaryRefreshDialog(OrbeClientSession& session, std::string directory, int mode)
    : session_(session), directory_(std::move(directory)), mode_(mode) {}

DictionaryRefreshDialog::~DictionaryRefreshDialog() { DestroyWindow(); }

bool DictionaryRefreshDialog::Run() {
  if (session_.GetSession() == nullptr || !Create(nullptr, RECT{0, 0, 0, 0}, 0)) return false;
  SetTimer(kTickTimer, kRefreshTickMs, nullptr);
  // A session that is already up does not wait for the first tick.
  OnTimer(kTickTimer);
  if (!done_) RunModalLoop();
  KillTimer(kTickTimer);
  return result_;
}

void DictionaryRefreshDialog::OnTimer(UINT_PTR id) {
  if (id != kTickTimer || done_) return;
  ++ticks_;
  if (fetching_) {
    if (ticks_ > kRefreshSilentTicks) Close(false);
    return;
  }
  if (session_.GetSession()->GetConnectState() == kCwStateConnected) {
    ticks_ = 0;
    StartFetches();
  } else if (ticks_ >= kRefreshMaxTicks) {
    Close(false);
  }
}

void DictionaryRefreshDialog::StartFetches() {
  fetching_ = true;
  for (const DictionaryDownload& download : PlanDictionaryDownloads(directory_, mode_)) {
    progress_text_ = download.progress_text;
    SetWindowText(progress_text_);
    FetchFilePtr handle = MakeFetchFile(&session_, GetSafeHwnd(), kFetchMessage, directory_);
    const char* digest = download.local_digest.empty() ? nullptr : download.local_digest.c_str();
    // An empty digest makes the handle take it again; the placeholder asks for the whole file.
    if (handle->FetchFile(download.listed_name.c_str(), digest != nullptr ? digest : kUnmatchableDigest)) {
      ++pending_;
      fetches_.push_back(std::move(handle));
    } else {
      all_complete_ = false;
    }
  }
  if (pending_ == 0) Close(all_complete_);
}

LRESULT DictionaryRefreshDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kFetchMessage) return CWnd::WindowProc(message, wparam, lparam);
  ticks_ = 0;  // the service is answering
  if (lparam == kFetchEnded && pending_ > 0) {
    if (static_cast<int>(wparam) != kCwStatusComplete) all_complete_ = false;
    if (--pending_ == 0) Close(all_complete_);
  }
  return 0;
}

void DictionaryRefreshDialog::Close(bool complete) {
  result_ = complete;
  done_ = true;
  fetching_ = true;  // no further ticks start anything
  EndModalLoop(complete ? 1 : 0);
}

bool RefreshDictionaryFiles(OrbeClientSession& session, const std::string& directory, int mode) {
  const std::string folder = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  bool fetched = false;
  {
    DictionaryRefreshDialog dialog(session, folder, mode);
    fetched = dialog.Run();
  }
  PostProcessDownloadedFiles(folder);
  return fetched;
}

}  // namespace orbe
