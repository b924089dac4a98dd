// The screening window: the top-level window of indicator screening that a
// host embeds with Creat3X1TWnd. It lays out the indicator tree, the board
// pane, the condition window and the result display in three splitters, and
// turns the commands its panes post into work: run a screening, save or
// delete a scheme, start a new one, export, save the result as a board,
// statistics. A host can also drive a screening itself (SingleListFetchData).
#ifndef ORBE_SCREENING_MULTI_INDEX_WND_H_
#define ORBE_SCREENING_MULTI_INDEX_WND_H_

#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/window.h"

class CBoardSelWnd;
class CDataDisplayWnd;
class CIndexConditionWnd;
class CIndexTreeWnd;
class CStaticSplitterWnd;

// The face the host holds. The slot order is part of the contract.
class IMultiIndexWnd {
 public:
  virtual ~IMultiIndexWnd() = default;
  virtual void ReSize(const RECT* rect, int repaint) = 0;
  // Catalogue files (quotes, system, user), then the system and user scheme files.
  virtual void ReloadIni(CString hqFile, CString sysFile, CString usrFile, CString sysSchemes, CString usrSchemes) = 0;
  // Boards and scheme from section "自动提取" of an INI file.
  virtual void SingleListFetchData(const CString& iniPath) = 0;
  // Checks these boards, loads user scheme `schemeIndex` and screens.
  virtual void SingleListFetchData(const std::vector<std::string>& checkItems, int schemeIndex) = 0;
  virtual std::vector<std::string> GetBoardSelWndCheckedKey() = 0;
  virtual void Notify(int code, const std::string& first, const std::string& second) = 0;
};

class CMultiIndexWnd : public CWnd, public IMultiIndexWnd, public INotifyIndexMgr {
 public:
  static constexpr const char* kSelectionFile = "UserSelFLInfo.ini";

  // Loads the scheme stores from the paths (null: no such store).
  CMultiIndexWnd(IIndexMgr* mgr, const char* sysSchemePath, const char* userSchemePath, bool showBoardPane,
                 bool resultOnly);
  ~CMultiIndexWnd() override;

  // IMultiIndexWnd
  void ReSize(const RECT* rect, int repaint) override;
  void ReloadIni(CString hqFile, CString sysFile, CString usrFile, CString sysSchemes, CString usrSchemes) override;
  void SingleListFetchData(const CString& iniPath) override;
  void SingleListFetchData(const std::vector<std::string>& checkItems, int schemeIndex) override;
  std::vector<std::string> GetBoardSelWndCheckedKey() override;
  void Notify(int code, const std::string& first, const std::string& second) override;
  // INotifyIndexMgr
  void ReloadedIndexNotify() override;
  void LoadProcessNotify(float stageEnd, float percent) override;

  bool IsFetching() const { return m_bFetching; }
  // The board-selection file, beside the user scheme file.
  const std::string& GetSelectionFile() const { return m_strSelFile; }
  // The board names that file holds ("上证Ａ股", "深证Ａ股" without one).
  static std::vector<std::string> ReadSelectionFile(const std::string& path);
  static std::string SelectionFileFor(const std::string& userSchemePath);

  CIndexTreeWnd* GetTreeWnd() const { return tree_.get(); }
  CBoardSelWnd* GetBoardPane() const { return boards_.get(); }
  CIndexConditionWnd* GetConditionWnd() const { return conditions_.get(); }
  CDataDisplayWnd* GetDisplayWnd() const { return display_.get(); }
  CStaticSplitterWnd* GetMainSplitter() const { return main_splitter_.get(); }
  CStaticSplitterWnd* GetLeftSplitter() const { return left_splitter_.get(); }
  CStaticSplitterWnd* GetRightSplitter() const { return right_splitter_.get(); }
  IndexSchemeMgr* GetSystemSchemes() const { return system_.get(); }
  IndexSchemeMgr* GetUserSchemes() const { return user_.get(); }

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  void OnSize(UINT type, int width, int height) override;
  void OnTimer(UINT_PTR id) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // While a screening runs, its progress is shown in the condition window.
  static constexpr UINT_PTR kProgressTimer = 1;
  static constexpr UINT kProgressMs = 100;

  void OnGetData();
  void OnSaveScheme();
  void OnExport();
  void OnDeleScheme();
  void OnNewScheme();
  void OnSaveBlock();
  void OnBtnStatCal();
  void OnAsynFinish();
  void WriteSelectionFile() const;

  // Declaration order is destruction order in reverse: the panes go before
  // the splitters that hold them.
  std::unique_ptr<CStaticSplitterWnd> left_splitter_;
  std::unique_ptr<CStaticSplitterWnd> right_splitter_;
  std::unique_ptr<CStaticSplitterWnd> main_splitter_;
  IIndexMgr* mgr_;
  std::unique_ptr<IndexSchemeMgr> system_;
  std::unique_ptr<IndexSchemeMgr> user_;
  std::unique_ptr<CIndexTreeWnd> tree_;
  std::unique_ptr<CBoardSelWnd> boards_;
  std::unique_ptr<CIndexConditionWnd> conditions_;
  std::unique_ptr<CDataDisplayWnd> display_;
  bool m_bShowBoardPane;
  bool m_bResultOnly;
  bool m_bFetching = false;
  std::string m_strSelFile;
  INotifyIndexMgr* previous_notify_ = nullptr;
};

#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
// Undecorated, as a host looks them up by name.
extern "C" {
// Creates the screening window as a child of parent; null when it could not
// be created.
IMultiIndexWnd* Creat3X1TWnd(IIndexMgr* mgr, const char* sysSchemePath, const char* userSchemePath, bool showBoardPane,
                             bool resultOnly, CWnd* parent, const RECT& rect, DWORD style, UINT id);
// Destroys a window that Creat3X1TWnd made; anything else is left alone.
void Delete3X1TWnd(IMultiIndexWnd* wnd);
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif  // ORBE_SCREENING_MULTI_INDEX_WND_H_
