// The script container's base: a window that owns every widget it creates and
// addresses it by an int id, turns the widgets' events into its own virtual
// callbacks (forwarded to a registered listener unless overridden), and keeps
// recycled widgets in a pool until it is safe to destroy them.
#ifndef ORBE_WIDGETS_KVX_CONTAINER_H_
#define ORBE_WIDGETS_KVX_CONTAINER_H_

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/widget.h"

class CGridCtrl;
class CXHtmlTree;
class TListTree;
class CSwitchEx;
class CColorEdit;
class CWebBrowser2;
class IPluginWnd;  // a plug-in's window; the container passes its messages on

// Every callback of the container, for an owner that does not derive from it.
class CContainerListener {
 public:
  virtual ~CContainerListener() = default;
  virtual void CellEndEdit(int /*id*/, int /*row*/, int /*col*/, const std::string& /*text*/) {}
  virtual void ComboCellSelChange(int /*id*/, int /*row*/, int /*col*/, int /*index*/) {}
  virtual void CheckCellClicked(int /*id*/, int /*row*/, int /*col*/, bool /*checked*/) {}
  virtual void SelectChangedNotify(int /*id*/, int /*row*/, int /*col*/) {}
  virtual void ManualResizeColNotify(int /*id*/, int /*col*/, int /*width*/) {}
  virtual void LButtonDblClkNotify(int /*id*/, int /*row*/, int /*col*/) {}
  virtual void LButtonClkNotify(int /*id*/, int /*row*/, int /*col*/) {}
  virtual void OnMouseEventSeries(int /*id*/, int /*series*/, int /*point*/, ChartMouseEvent /*event*/) {}
  virtual void OnKeyEventPlotArea(int /*id*/, UINT /*key*/) {}
  virtual void PluginMessage(IPluginWnd* /*plugin*/, const std::string& /*name*/,
                             const std::string& /*value*/) {}
};

class CKVXContainer : public orbe::KvxWidget, private IGridNotifyMsg, private IChartListener {
 public:
  // `type` is the container's own kind tag, kept for its owner.
  explicit CKVXContainer(int type);
  ~CKVXContainer() override;

  int GetContainerType() const { return type_; }
  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  void RegisterContainerListener(CContainerListener* listener) { listener_ = listener; }

  // Each creates the widget at (x, y, cx, cy) with the text as its window
  // text (a switch: its first label; a web pane: its address), writes the new
  // id (0 on failure) and returns whether it was created.
  bool AddWnd(int x, int y, int cx, int cy, int& id, int kind, const std::string& text);
  bool Grid_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Chart_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Edit_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Title_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Switch_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Web_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Tree_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool ListTree_AddWnd(int x, int y, int cx, int cy, int& id);

  bool DeleteWnd(int id);
  bool MoveWndRect(int id, int x, int y, int cx, int cy);
  bool ShowWnd(int id, bool show);
  // The widget kind (orbe::WidgetKind), -1 for an unknown id.
  int GetWndType(int id) const;
  std::vector<int> GetAllWndID() const;
  int GetWndCount() const { return static_cast<int>(widgets_.size()); }
  orbe::KvxWidget* GetWnd(int id) const;
  CGridCtrl* GetGrid(int id) const;
  CChartCtrl* GetChart(int id) const;
  CColorEdit* GetEdit(int id) const;
  CSwitchEx* GetSwitch(int id) const;
  CWebBrowser2* GetWeb(int id) const;
  CXHtmlTree* GetTree(int id) const;
  TListTree* GetListTree(int id) const;

  // The pool holds recycled widgets, hidden and without ids, so that a script
  // may recycle from inside a widget's own event (destroying the sender there
  // would pull the window from under its caller). The pool keeps at most its
  // size; older entries are destroyed first.
  void InitWndPool();
  void SetWndPoolSize(int size);
  int GetWndPoolSize() const { return pool_size_; }
  int GetPooledCount() const { return static_cast<int>(pool_.size()); }
  // Retires every widget: into the pool (true) or destroyed at once (false).
  void RecycleWndPool(bool keep_in_pool);
  void DeleteWndPool() { pool_.clear(); }

  // Callbacks; each default passes the event to the registered listener.
  virtual void CellEndEdit(int id, int row, int col, const std::string& text);
  virtual void ComboCellSelChange(int id, int row, int col, int index);
  virtual void CheckCellClicked(int id, int row, int col, bool checked);
  virtual void SelectChangedNotify(int id, int row, int col);
  virtual void ManualResizeColNotify(int id, int col, int width);
  virtual void LButtonDblClkNotify(int id, int row, int col);
  virtual void LButtonClkNotify(int id, int row, int col);
  virtual void OnMouseEventSeries(int id, int series, int point, ChartMouseEvent event);
  virtual void OnKeyEventPlotArea(int id, UINT key);
  virtual void PluginMessage(IPluginWnd* plugin, const std::string& name, const std::string& value);

 protected:
  void OnDestroy() override;

 private:
  bool Adopt(std::unique_ptr<orbe::KvxWidget> widget, int x, int y, int cx, int cy, int& id);

  void OnGridClick(CGridCtrl& grid, int row, int col) override;
  void OnGridDblClick(CGridCtrl& grid, int row, int col) override;
  void OnGridSelChanged(CGridCtrl& grid, int row, int col) override;
  void OnGridEndEdit(CGridCtrl& grid, int row, int col, const std::string& text) override;
  void OnGridCheckClicked(CGridCtrl& grid, int row, int col, bool checked) override;
  void OnGridComboSelChange(CGridCtrl& grid, int row, int col, int index) override;
  void OnGridColumnResized(CGridCtrl& grid, int col, int width) override;
  void OnMouseEventSeries(CChartCtrl& chart, int series, int point, ChartMouseEvent event) override;
  void OnKeyEventPlotArea(CChartCtrl& chart, UINT key) override;

  int type_;
  CContainerListener* listener_ = nullptr;
  std::map<int, std::unique_ptr<orbe::KvxWidget>> widgets_;
  std::deque<std::unique_ptr<orbe::KvxWidget>> pool_;
  int pool_size_ = 64;
  int next_id_ = 10000;
};

#endif  // ORBE_WIDGETS_KVX_CONTAINER_H_
