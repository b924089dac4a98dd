// The dictionary update dialog: waits for the session to connect (1000 ms
// ticks, 30 at most), fetches the listed dictionary files whose MD5 differs
// from the local copy, and closes when every fetch has ended. It runs as a
// modal loop on a window of its own, so it needs no parent window and works
// headless; the calling thread's messages are pumped meanwhile.
#ifndef ORBE_SRC_DICTIONARY_DICTIONARY_REFRESH_DIALOG_H_
#define ORBE_SRC_DICTIONARY_DICTIONARY_REFRESH_DIALOG_H_

#include <memory>
#include <string>
#include <vector>

#include "dataservice/fetch_file_handle.h"
#include "dictionary/dictionary_refresh.h"
#include "orbe/platform/window.h"


namespace orbe {

inline constexpr UINT kRefreshTickMs = 1000;
inline constexpr int kRefreshMaxTicks = 30;
// Ticks without a packet after which fetches in flight are given up. The
// engine ends a silent request after its own time-out (6 s by default), so
// this only guards against a request that is never ended.
inline constexpr int kRefreshSilentTicks = 10;

class DictionaryRefreshDialog : public CWnd {
 public:
  // `directory` ends in a separator.
  DictionaryRefreshDialog(OrbeClientSession& session, std::string directory, int mode);
  ~DictionaryRefreshDialog() override;

  // Runs the dialog to its end. True when the session connected and every
  // fetch completed (with the file in place or already current).
  bool Run();
  // The progress text last shown (GBK).
  const std::string& ProgressText() const { return progress_text_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnTimer(UINT_PTR id) override;

 private:
  void StartFetches();
  void Close(bool complete);

  OrbeClientSession& session_;
  const std::string directory_;
  const int mode_;
  std::vector<FetchFilePtr> fetches_;  // fetches still in flight are abandoned with the dialog
  int ticks_ = 0;
  bool fetching_ = false;
  int pending_ = 0;
  bool all_complete_ = true;
  bool result_ = false;
  bool done_ = false;
  std::string progress_text_;
};

// The whole refresh of a session's dictionary files: the dialog, then the
// post-processing of what arrived. False when the session never connected or
// a fetch failed; the files already in place stay usable either way.
bool RefreshDictionaryFiles(OrbeClientSession& session, const std::string& directory, int mode);

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_DICTIONARY_REFRESH_DIALOG_H_
