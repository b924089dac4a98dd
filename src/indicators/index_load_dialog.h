// The modal dialog that loads the catalogue on a worker thread and shows
// its progress; ProcessLoadIndex runs it.
#ifndef ORBE_INDICATORS_INDEX_LOAD_DIALOG_H_
#define ORBE_INDICATORS_INDEX_LOAD_DIALOG_H_

#include <atomic>
#include <string>

#include "orbe/indicators/index_mgr.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/window.h"

namespace orbe {

// A text progress bar: a position 0..100 and its text.
class TextProgressBar {
 public:
  void SetPos(int pos);
  int pos() const { return pos_; }
  std::string text() const;

 private:
  int pos_ = 0;
};

class CDlgProcessLoadIndex final : public CWnd, public INotifyIndexMgr {
 public:
  CDlgProcessLoadIndex(IIndexMgr& mgr, std::string hq_file, std::string sys_file, std::string usr_file);
  ~CDlgProcessLoadIndex() override;

  // Shows the dialog until the load ends; the load's result.
  int DoModal();
  const TextProgressBar& bar() const { return bar_; }

  void ReloadedIndexNotify() override {}
  // On the worker thread: the overall position goes to the dialog's thread.
  void LoadProcessNotify(float stageEnd, float percent) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  IIndexMgr& mgr_;
  INotifyIndexMgr* previous_notify_ = nullptr;
  const std::string hq_file_;
  const std::string sys_file_;
  const std::string usr_file_;
  TextProgressBar bar_;
  // Where the stage under way began and ends, overall; worker thread only.
  float stage_begin_ = 0;
  float stage_end_ = 0;
  std::atomic<int> result_{0};
  WorkerThread worker_;
};

}  // namespace orbe

#endif  // ORBE_INDICATORS_INDEX_LOAD_DIALOG_H_
