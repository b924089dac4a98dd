// Acts on the screening window as a user would: checks boards, opens a
// scheme, adds conditions through the search box and the condition grid,
// presses the buttons, and reads back what the window shows. Every step
// goes through the window's exported classes and injected events.
#ifndef ORBE_TOOLS_TERMINAL_SCREEN_WINDOW_H_
#define ORBE_TOOLS_TERMINAL_SCREEN_WINDOW_H_

#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/window.h"
#include "orbe/screening/multi_index_wnd.h"

namespace orbe::terminal {

class ScreenWindow {
 public:
  // Texts are GBK; a false result leaves a UTF-8 reason in Error().
  ScreenWindow(IIndexMgr* mgr, const std::string& systemSchemes, const std::string& userSchemes, DWORD timeoutMs);
  ~ScreenWindow();
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  bool ok() const { return window_ != nullptr; }
  const std::string& Error() const { return error_; }
  CMultiIndexWnd& Window() const { return *window_; }

  // Unchecks every board, then checks these (each must be in the pane).
  bool CheckBoards(const std::vector<std::string>& names);
  // Opens a scheme of the system or the user tree by double-clicking it.
  bool OpenScheme(const std::string& name);
  // Shows a scheme read from elsewhere, as a host that imports it.
  void ShowScheme(const IndexScheme& scheme);
  // Finds the indicator through the search box and fills the new row.
  bool AddCondition(const std::string& indicator, const std::string& op, const std::string& value,
                    const std::string& unit);
  // Clicks "交集" (and) or "并集" (or): the expression joins every row so.
  bool JoinConditions(bool intersection);
  // "执行选股", then waits for the grid.
  bool Run();
  // Every statistic checked, every row checked, computed.
  bool ComputeStatistics();
  // "数据导出" into this file (the save dialog answered with it).
  bool Export(const std::string& path);
  // "保存板块"; the host keeps the codes under `name`.
  bool SaveBoard();
  // "保存方案" with this name typed into the name dialog.
  bool SaveScheme(const std::string& name);

  // The result grid's shown columns without the check boxes, header first.
  std::vector<std::vector<std::string>> ResultTable() const;
  // The statistics grid: a heading line, then one line per statistic.
  std::vector<std::vector<std::string>> StatisticsTable() const;
  std::string Summary() const;
  bool SaveHtml(const std::string& path) const;

 private:
  bool Click(CWnd* owner, UINT id, const char* what);
  bool NoNewBoxes(std::size_t before);
  bool Pump(const std::function<bool()>& done, const char* what);

  CWnd host_;
  CMultiIndexWnd* window_ = nullptr;
  DWORD timeout_ms_;
  std::string error_;
  std::vector<std::string> boxes_;  // GBK texts of the message boxes shown
};

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SCREEN_WINDOW_H_
