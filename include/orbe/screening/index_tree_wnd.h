// The indicator tree window: a tab header over three trees (the catalogue's
// indicators, the system schemes, the user's schemes) and a search box that
// finds an indicator by the pinyin initials of its name. Choosing an
// indicator adds a condition row; choosing a scheme loads it.
#ifndef ORBE_SCREENING_INDEX_TREE_WND_H_
#define ORBE_SCREENING_INDEX_TREE_WND_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/window.h"
#include "orbe/widgets/html_tree.h"

class CColorEdit;
class CIndexConditionWnd;
class CKvxComboBox;
class CSwitchEx;

namespace orbe {
class CommandEvents;
class InitialsIndex;
}  // namespace orbe

class CIndexTreeWnd : public CWnd {
 public:
  static constexpr const char* kSearchPrompt = "请输入指标拼音简称";
  static constexpr std::size_t kMaxMatches = 20;
  enum TreeKind : int { kIndicators = 0, kSystemSchemes = 1, kUserSchemes = 2 };

  static CIndexTreeWnd* CreatIndexTreeWnd(IIndexMgr* mgr, CIndexConditionWnd* conditions, CWnd* parent,
                                          const RECT& rect, DWORD style, UINT id);
  static void DeleteIndexTreeWnd(CIndexTreeWnd* wnd);

  // Neither the stores nor the condition window are owned; a store may be null.
  CIndexTreeWnd(IIndexMgr* mgr, IndexSchemeMgr* system, IndexSchemeMgr* user, CIndexConditionWnd* conditions);
  ~CIndexTreeWnd() override;

  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  void RebuildZBTree();
  void RebuildKVXTree();
  void RebuildZDYTree();
  // Deletes the selected user scheme after asking.
  void DeleZDYScheme();

  // What the window shows, for hosts and tests that act on it as a user.
  CSwitchEx* GetTabs() const { return tabs_.get(); }
  CXHtmlTree* GetTree(TreeKind kind) const;
  TreeKind GetShownTree() const { return shown_; }
  CColorEdit* GetSearchEdit() const { return search_.get(); }
  CKvxComboBox* GetSearchMatches() const { return matches_.get(); }
  // The indicator tree's item of an indicator name; 0 when none.
  HTREEITEM FindIndicatorItem(const std::string& name) const;
  // The system and user stores' trees hold this root text.
  std::string SystemRootText() const;
  // The indicator whose description was asked for last.
  IndexBase* GetDescribedIndex() const { return described_; }

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void InitZBTree();
  void InitSchemeTree(CXHtmlTree& tree, const IndexSchemeMgr* store, const std::string& root);
  HTREEITEM PathNode(const std::string& path, std::map<std::string, HTREEITEM>& nodes);
  void ShowTree(TreeKind kind);
  void OnTabChanged(int label);
  void OnTreeDoubleClick(TreeKind kind);
  void OnTreeRightClick(TreeKind kind);
  void OnSearchChanged();
  void OnMatchChosen();
  void ResetSearch();
  void ShowDescription(IndexBase* index);

  IIndexMgr* mgr_;
  IndexSchemeMgr* system_;
  IndexSchemeMgr* user_;
  CIndexConditionWnd* conditions_;
  TreeKind shown_ = kIndicators;
  std::vector<TreeKind> tab_trees_;  // the tree of each tab label
  std::map<std::string, HTREEITEM> indicator_items_;
  IndexBase* described_ = nullptr;
  std::unique_ptr<orbe::InitialsIndex> search_index_;
  std::unique_ptr<orbe::CommandEvents> events_;
  std::unique_ptr<CSwitchEx> tabs_;
  std::unique_ptr<CXHtmlTree> trees_[3];
  std::unique_ptr<CColorEdit> search_;
  std::unique_ptr<CKvxComboBox> matches_;
};

#endif  // ORBE_SCREENING_INDEX_TREE_WND_H_
