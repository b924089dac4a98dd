#include "screen_window.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "nearest_names.h"
#include "orbe/platform/dialog.h"
#include "orbe/platform/echo_text.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/screening/board_sel_wnd.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/screening/stat_calculate_wnd.h"
#include "orbe/screening/statistics.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/switch_ex.h"

namespace orbe::terminal {
namespace {

constexpr RECT kWindowRect{0, 0, 1600, 1000};
constexpr UINT kWindowId = 100;
constexpr int kOperatorColumn = 3;
constexpr int kValueColumn = 4;
constexpr int kUnitColumn = 5;
constexpr int kStatisticsColumns = 3;  // the label column stands for the result's first three

// Symbols a shell user types for the operator words.
std::string OperatorWord(const std::string& op) {
  static const std::pair<const char*, const char*> kSymbols[] = {
      {">", "大于"},  {"<", "小于"},    {">=", "大于等于"}, {"<=", "小于等于"}, {"=", "等于"},
      {"==", "等于"}, {"!=", "不等于"}, {"<>", "不等于"},   {"~", "包含"},      {"!~", "不包含"},
  };
  for (const auto& [symbol, word] : kSymbols) {
    if (op == symbol) return word;
  }
  return Utf8ToGbk(op);
}

int ComboIndex(const GridCell& cell, const std::string& text) {
  const auto found = std::find(cell.combo_items.begin(), cell.combo_items.end(), text);
  return found == cell.combo_items.end() ? -1 : static_cast<int>(found - cell.combo_items.begin());
}

std::string JoinUtf8(const std::vector<std::string>& gbk, std::size_t most) {
  std::string joined;
  for (std::size_t i = 0; i < gbk.size() && i < most; ++i) joined += (i == 0 ? "" : ", ") + GbkToUtf8(gbk[i]);
  if (gbk.size() > most) joined += ", ...";
  return joined;
}

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

// The message about a board the pane does not have: the nearest names, else
// what the pane offers.
std::string UnknownBoard(CXHtmlTree& tree, const std::string& name) {
  std::vector<std::string> offeredGbk;
  std::vector<std::string> offered;
  for (HTREEITEM i = tree.GetRootItem(); i != 0; i = tree.GetNextItemInOrder(i)) {
    if (tree.GetParentItem(i) == TVI_ROOT) continue;
    offeredGbk.push_back(tree.GetItemText(i));
    offered.push_back(GbkToUtf8(offeredGbk.back()));
  }
  std::string hint;
  for (const std::string& near : NearestNames(GbkToUtf8(name), offered)) hint += (hint.empty() ? "" : ", ") + near;
  return "unknown board " + EchoText(GbkToUtf8(name)) +
         (hint.empty() ? " (the pane offers " + JoinUtf8(offeredGbk, 12) + ")" : "; did you mean " + hint + "?");
}

}  // namespace

ScreenWindow::ScreenWindow(IIndexMgr* mgr, const std::string& systemSchemes, const std::string& userSchemes,
                           DWORD timeoutMs)
    : timeout_ms_(timeoutMs) {
  SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT type) {
    boxes_.push_back(text);
    std::fprintf(stderr, "[%s] %s\n", GbkToUtf8(caption).c_str(), GbkToUtf8(text).c_str());
    return DefaultMessageBoxButton(type);
  });
  if (!host_.Create(nullptr, kWindowRect, 1, WS_VISIBLE)) {
    error_ = "cannot create the host window";
    return;
  }
  IMultiIndexWnd* face = Creat3X1TWnd(mgr, systemSchemes.c_str(), userSchemes.c_str(), true, false, &host_, kWindowRect,
                                      WS_VISIBLE, kWindowId);
  window_ = dynamic_cast<CMultiIndexWnd*>(face);
  if (window_ == nullptr) error_ = "the screening window could not be created";
}

ScreenWindow::~ScreenWindow() {
  if (window_ != nullptr) Delete3X1TWnd(window_);
  SetMessageBoxHandler(nullptr);
}

bool ScreenWindow::NoNewBoxes(std::size_t before) {
  if (boxes_.size() == before) return true;
  error_ = GbkToUtf8(boxes_.back());
  return false;
}

bool ScreenWindow::Pump(const std::function<bool()>& done, const char* what) {
  RunUntilIdle();
  if (done() || PumpUntil(done, timeout_ms_)) return true;
  error_ = std::string(what) + " did not finish in time";
  return false;
}

bool ScreenWindow::Click(CWnd* owner, UINT id, const char* what) {
  auto* button = owner != nullptr ? dynamic_cast<CKvxButton*>(owner->GetDlgItem(static_cast<int>(id))) : nullptr;
  if (button == nullptr || !button->Click()) {
    error_ = std::string("the button ") + what + " cannot be pressed";
    return false;
  }
  return true;
}

bool ScreenWindow::CheckBoards(const std::vector<std::string>& names) {
  CXHtmlTree& tree = *window_->GetBoardPane()->GetTree();
  // Every name is found before a check changes: the pane keeps its choice,
  // and a wrong name must not leave it empty for the next run.
  std::vector<HTREEITEM> items;
  for (const std::string& name : names) {
    HTREEITEM item = tree.FindItem(name);
    // "上证A股" typed with a half-width letter is the pane's "上证Ａ股".
    if (item == 0) item = tree.FindItem(Utf8ToGbk(FullWidthAscii(GbkToUtf8(name))));
    if (item == 0) {
      error_ = UnknownBoard(tree, name);
      return false;
    }
    items.push_back(item);
  }
  for (HTREEITEM root = tree.GetRootItem(); root != 0; root = tree.GetNextSiblingItem(root)) {
    // A mixed root becomes checked on the first click and unchecked on the second.
    for (int click = 0; click < 2 && tree.GetCheckState(root) != TreeCheck::kUnchecked; ++click) {
      tree.ClickCheckBox(root);
    }
  }
  for (const HTREEITEM item : items) {
    if (tree.GetCheckState(item) != TreeCheck::kChecked) tree.ClickCheckBox(item);
  }
  return true;
}

bool ScreenWindow::OpenScheme(const std::string& name) {
  CIndexTreeWnd& trees = *window_->GetTreeWnd();
  for (const CIndexTreeWnd::TreeKind kind : {CIndexTreeWnd::kSystemSchemes, CIndexTreeWnd::kUserSchemes}) {
    CXHtmlTree& tree = *trees.GetTree(kind);
    const HTREEITEM root = tree.GetRootItem();
    HTREEITEM found = 0;
    int position = 0;
    for (HTREEITEM leaf = tree.GetChildItem(root); leaf != 0 && found == 0; leaf = tree.GetNextSiblingItem(leaf)) {
      ++position;
      const bool numbered = kind == CIndexTreeWnd::kSystemSchemes && name == std::to_string(position);
      if (tree.GetItemText(leaf) == name || numbered) found = leaf;
    }
    if (found == 0) continue;
    CSwitchEx& tabs = *trees.GetTabs();
    for (int label = 0; label < tabs.GetTabNum(); ++label) {
      if (tabs.GetLabel(label)->text == tree.GetItemText(root)) tabs.ClickLabel(label);
    }
    tree.DoubleClickItem(found);
    return true;
  }
  error_ = "unknown scheme " + GbkToUtf8(name);
  return false;
}

void ScreenWindow::ShowScheme(const IndexScheme& scheme) { window_->GetConditionWnd()->ChangeScheme(scheme); }

bool ScreenWindow::AddCondition(const std::string& indicator, const std::string& op, const std::string& value,
                                const std::string& unit) {
  CIndexTreeWnd& trees = *window_->GetTreeWnd();
  CIndexConditionWnd& conditions = *window_->GetConditionWnd();
  CGridCtrl& grid = *conditions.GetGrid();
  const int rowsBefore = grid.GetRowCount();
  trees.GetSearchEdit()->TypeText(indicator);
  CKvxComboBox& matches = *trees.GetSearchMatches();
  int pick = -1;
  for (int i = 0; i < matches.GetCount(); ++i) {
    if (matches.GetLBText(i) == indicator) pick = i;
  }
  // As Enter in a search box: the exact name, else the best match.
  if (pick < 0 && matches.GetCount() > 0) pick = 0;
  if (pick < 0) {
    error_ = "unknown indicator " + GbkToUtf8(indicator);
    return false;
  }
  matches.PickItem(pick);
  if (grid.GetRowCount() != rowsBefore + 1) {
    error_ = "indicator " + GbkToUtf8(indicator) + " was not added";
    return false;
  }
  const int row = grid.GetRowCount() - 1;
  const std::string name = GbkToUtf8(grid.GetItemText(row, 1));
  if (!op.empty()) {
    const int index = ComboIndex(*grid.GetCell(row, kOperatorColumn), OperatorWord(op));
    if (index < 0 || !grid.PickComboEntry(row, kOperatorColumn, index)) {
      error_ =
          "unknown operator " + op + " (use 大于 小于 等于 不等于 大于等于 小于等于 包含 不包含 or > < = != >= <=)";
      return false;
    }
    grid.EditCell(row, kValueColumn, value);
  }
  if (!unit.empty()) {
    const GridCell& cell = *grid.GetCell(row, kUnitColumn);
    const int index = ComboIndex(cell, unit);
    if (index < 0 || !grid.PickComboEntry(row, kUnitColumn, index)) {
      error_ = cell.combo_items.empty()
                   ? name + " takes no unit"
                   : "unit " + GbkToUtf8(unit) + " of " + name + " is not one of " + JoinUtf8(cell.combo_items, 8);
      return false;
    }
  }
  return true;
}

bool ScreenWindow::JoinConditions(bool intersection) {
  CIndexConditionWnd& conditions = *window_->GetConditionWnd();
  CKvxRadio* radio = intersection ? conditions.GetIntersectionRadio() : conditions.GetUnionRadio();
  // A checked radio ignores a click: the expression is made again through the other first.
  if (radio->GetCheck()) (intersection ? conditions.GetUnionRadio() : conditions.GetIntersectionRadio())->Click();
  return radio->Click();
}

bool ScreenWindow::Run() {
  const std::size_t before = boxes_.size();
  std::fprintf(stderr, "orbe-terminal: screening starts\n");
  if (!Click(window_->GetConditionWnd(), kCmdRunScreening, "执行选股")) return false;
  RunUntilIdle();
  if (!NoNewBoxes(before)) return false;
  // The progress goes to stderr in steps of a tenth, so a long screening is seen to move.
  int shown = -1;
  const auto finished = [this, &shown] {
    const int progress = window_->GetDisplayWnd()->GetFetchProgress() / 10 * 10;
    if (window_->IsFetching() && progress != shown) {
      shown = progress;
      std::fprintf(stderr, "orbe-terminal: screening %d%%\n", progress);
    }
    return !window_->IsFetching();
  };
  if (!Pump(finished, "the screening")) return false;
  if (NoNewBoxes(before)) return true;
  error_ = "the screening did not finish: " + error_;
  return false;
}

bool ScreenWindow::ComputeStatistics() {
  const std::size_t before = boxes_.size();
  CStatCalculateWnd& stats = *window_->GetDisplayWnd()->GetStatistics();
  if (!stats.OptionsShown()) {
    if (!Click(window_->GetConditionWnd(), kCmdStatistics, "数据统计")) return false;
    RunUntilIdle();
  }
  CDlgCalculate& options = *stats.GetOptions();
  for (const StatisticSpec& spec : kStatistics) {
    CKvxCheckBox* check = options.GetStatisticCheck(spec.control);
    if (check != nullptr && !check->GetCheck()) check->Click();
  }
  if (!Click(&options, CDlgCalculate::kCheckAllButton, "全选")) return false;
  RunUntilIdle();
  return NoNewBoxes(before);
}

bool ScreenWindow::Export(const std::string& path) {
  const std::size_t before = boxes_.size();
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  const FileDialogHandler previous = SetFileDialogHandler([&path](const FileDialogRequest&) { return path; });
  const bool clicked = Click(window_->GetConditionWnd(), kCmdExport, "数据导出");
  RunUntilIdle();
  SetFileDialogHandler(previous);
  if (!clicked || !NoNewBoxes(before)) return false;
  if (!std::filesystem::exists(path, ignored)) {
    error_ = "cannot write " + path;
    return false;
  }
  return true;
}

bool ScreenWindow::SaveBoard() {
  const std::size_t before = boxes_.size();
  if (!Click(window_->GetConditionWnd(), kCmdSaveBoard, "保存板块")) return false;
  RunUntilIdle();
  return NoNewBoxes(before);
}

bool ScreenWindow::SaveScheme(const std::string& name) {
  const std::size_t before = boxes_.size();
  bool asked = false;
  // The name dialog: the name typed into its box, then OK.
  const DialogHandler previous = SetDialogHandler([&](CDialog& dialog) {
    auto* names = dynamic_cast<CSchemeNameDlg*>(&dialog);
    if (names == nullptr) {
      dialog.EndDialog(IDCANCEL);
      return;
    }
    asked = true;
    names->GetEdit()->TypeText(name);
    names->GetButton(IDOK)->Click();
  });
  const bool clicked = Click(window_->GetConditionWnd(), kCmdSaveScheme, "保存方案");
  RunUntilIdle();
  SetDialogHandler(previous);
  if (!clicked || !NoNewBoxes(before)) return false;
  if (!asked) {
    error_ = "the scheme name was not asked for";
    return false;
  }
  return true;
}

std::vector<std::vector<std::string>> ScreenWindow::ResultTable() const {
  std::vector<std::vector<std::string>> table;
  const CGridCtrl& grid = *window_->GetDisplayWnd()->GetGrid();
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    std::vector<std::string> line;
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
      if (col == kResultCheckColumn || !grid.IsColumnShown(col)) continue;
      line.push_back(GbkToUtf8(OneLine(grid.GetItemText(row, col))));
    }
    table.push_back(std::move(line));
  }
  return table;
}

std::vector<std::vector<std::string>> ScreenWindow::StatisticsTable() const {
  std::vector<std::vector<std::string>> table;
  const CGridCtrl& result = *window_->GetDisplayWnd()->GetGrid();
  const CGridCtrl& output = *window_->GetDisplayWnd()->GetStatistics()->GetOutputGrid();
  std::vector<std::string> heading = {"统计"};
  for (int col = 1; col < output.GetColumnCount(); ++col) {
    if (output.IsColumnShown(col)) heading.push_back(OneLine(result.GetItemText(0, col + kStatisticsColumns)));
  }
  table.push_back(heading);
  for (int row = 0; row < output.GetRowCount(); ++row) {
    std::vector<std::string> line = {output.GetItemText(row, 0)};
    for (int col = 1; col < output.GetColumnCount(); ++col) {
      if (output.IsColumnShown(col)) line.push_back(output.GetItemText(row, col));
    }
    table.push_back(std::move(line));
  }
  for (auto& line : table) {
    for (std::string& cell : line) cell = GbkToUtf8(cell);
  }
  return table;
}

std::string ScreenWindow::Summary() const { return window_->GetDisplayWnd()->GetSummaryText(); }

bool ScreenWindow::SaveHtml(const std::string& path) const { return SaveWindowHtml(*window_, path); }

}  // namespace orbe::terminal
