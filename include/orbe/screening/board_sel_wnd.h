// The board-selection pane of the screening window: a check-box tree of the
// boards a screening may cover (the host's quote, custom and concept boards,
// two industry classifications), and the company codes of the checked ones.
#ifndef ORBE_SCREENING_BOARD_SEL_WND_H_
#define ORBE_SCREENING_BOARD_SEL_WND_H_

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "orbe/platform/window.h"
#include "orbe/widgets/html_tree.h"

class CBoardSelWnd : public CWnd {
 public:
  // Item values: a root, or the entry of an industry (i >= 0) or of a quote
  // board (-2 - j).
  static constexpr LPARAM kRootValue = -1;
  static constexpr std::size_t kClassificationBytes = 13;
  static constexpr int kCaptionHeight = 20;

  CBoardSelWnd();
  ~CBoardSelWnd() override;

  // The argument order of the framework's window class (style before id).
  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  // The caption strip above the tree.
  void ShowHead(bool show, const std::string& caption);
  // The names checked at the next rebuild.
  void SetCheckItems(const std::vector<std::string>& names);
  // Deletes every item and builds the tree again from the host and the
  // constant file.
  void RebuildTree();
  // The values of the checked items, in tree order.
  std::vector<int> GetBoards() const;
  // The company codes of the boards: each once, in byte order, joined by ",".
  std::string GenSqlOption(const std::vector<int>& boards) const;
  // The non-empty texts of the checked items.
  std::vector<std::string> GetAllCheckNodeName() const;
  // Classification and code of each checked industry, joined.
  std::vector<std::string> GetAllCheckedKey() const;
  // A check-box click is sent on to this window as this message.
  void RegisterCheckBoxNotify(HWND target, UINT message);

  CXHtmlTree* GetTree() const { return tree_.get(); }
  const std::vector<std::vector<std::string>>& QuoteBoards() const { return quote_boards_; }
  // Entries of the industry list: the classification in the first 13 bytes,
  // the industry code after them.
  const std::vector<std::string>& Industries() const { return industries_; }

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void AddBoardSet(HTREEITEM root, int request, std::size_t codeLength, bool (*keep)(const std::string&));
  void AddIndustryBranch(const char* caption, const char* classification);
  HTREEITEM AddItem(const std::string& text, HTREEITEM parent, LPARAM value);

  std::unique_ptr<CXHtmlTree> tree_;
  std::unique_ptr<CWnd> caption_;
  bool show_caption_ = false;
  std::set<std::string> check_names_;
  std::vector<std::vector<std::string>> quote_boards_;
  std::vector<std::string> industries_;
  HWND notify_target_ = nullptr;
  UINT notify_message_ = 0;
};

#endif  // ORBE_SCREENING_BOARD_SEL_WND_H_
