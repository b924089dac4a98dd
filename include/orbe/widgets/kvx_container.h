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
#include "orbe/widgets/container_drawing.h"
#include "orbe/widgets/container_menu.h"
#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/widget.h"
#include "orbe/widgets/widget_event.h"

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
  // The events of the other controls and of the menu (orbe/widgets/widget_event.h).
  virtual void OnWidgetEvent(const orbe::WidgetEvent& /*event*/) {}
};

class CKVXContainer : public orbe::KvxWidget,
                      private IGridNotifyMsg,
                      private IChartListener,
                      private orbe::IWidgetEventSink {
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
  // The controls (kvx_container_controls.cpp). The caption of a button, check,
  // radio or check combo is its window text; a pie's text its title; a
  // picture button's text its image path.
  bool Button_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Check_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Radio_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Combo_AddWnd(int x, int y, int cx, int cy, int& id);
  bool CheckCombo_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
  bool Pie_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& title);
  bool Spin_AddWnd(int x, int y, int cx, int cy, int& id);
  // `format` and `show_none` as CKvxDateTimePicker keeps them.
  bool DateTime_AddWnd(int x, int y, int cx, int cy, int& id, int format, int show_none);
  bool Paging_AddWnd(int x, int y, int cx, int cy, int& id);
  bool XPaging_AddWnd(int x, int y, int cx, int cy, int& id);
  bool MonthCal_AddWnd(int x, int y, int cx, int cy, int& id);
  bool PictureEx_AddWnd(int x, int y, int cx, int cy, int& id);
  bool UpDownStream_AddWnd(int x, int y, int cx, int cy, int& id);
  bool PictureBtn_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& image_path);
  bool ComboTree_AddWnd(int x, int y, int cx, int cy, int& id);
  // `levels`: bid and ask levels per side, 1..10.
  bool Trade_Quote_AddWnd(int x, int y, int cx, int cy, int& id, int levels);
  bool AddPluginWnd(int x, int y, int cx, int cy, int& id, int plugin_id, int option);

  // Takes the widget away at once (its id is gone, it is hidden and reports
  // nothing); the object itself is destroyed when the container's message
  // loop comes round and no widget event is being delivered, so a script may
  // delete a widget from inside that widget's own event.
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
  // Any widget by its class; null for an unknown id or another class.
  template <typename T>
  T* GetWidget(int id) const {
    return dynamic_cast<T*>(GetWnd(id));
  }

  // The pop-up menu and what the container draws under its widgets.
  orbe::ContainerMenu& GetMenu() { return menu_; }
  const orbe::ContainerMenu& GetMenu() const { return menu_; }
  orbe::ContainerDrawing& GetDrawing() { return drawing_; }
  const orbe::ContainerDrawing& GetDrawing() const { return drawing_; }
  void RenderHtml(orbe::HtmlWriter& out) const override;

  // The pool holds recycled widgets, hidden and without ids, so that a script
  // may recycle from inside a widget's own event (destroying the sender there
  // would pull the window from under its caller). The pool keeps at most its
  // size; older entries are destroyed first.
  void InitWndPool();
  void SetWndPoolSize(int size);
  int GetWndPoolSize() const { return pool_size_; }
  int GetPooledCount() const { return static_cast<int>(pool_.size()); }
  // Retires every widget: into the pool (true) or away to be destroyed
  // (false), as DeleteWnd does with one.
  void RecycleWndPool(bool keep_in_pool);
  void DeleteWndPool();
  // Widgets taken away and not destroyed yet.
  int GetRetiredCount() const { return static_cast<int>(retired_.size()); }
  // True while a widget's event is being delivered through the container.
  bool IsDeliveringEvent() const { return dispatch_depth_ > 0; }

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
  // Every other control event and the menu's picks.
  virtual void OnWidgetEvent(const orbe::WidgetEvent& event);

 protected:
  void OnDestroy() override;
  // The widgets' window notifications: a tab switch's SWN_SELCHANGED
  // ("OnSwitchChanged"), a list tree's clicks ("OnListTreeButtonClk",
  // "OnListTreeButtonDbl"), the rich edits' registered messages
  // ("OnRichEditTextChanged", ...), a right click on the container itself
  // ("OnContainerRButtonUp" with x, y), and the container's own message that
  // destroys retired widgets.
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  // Counts the delivery of a widget event: retired widgets wait until the
  // outermost delivery has returned.
  class DeliveryScope {
   public:
    explicit DeliveryScope(CKVXContainer& container) : container_(container) { ++container_.dispatch_depth_; }
    ~DeliveryScope();
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;

   private:
    CKVXContainer& container_;
  };

 private:
  bool Adopt(std::unique_ptr<orbe::KvxWidget> widget, int x, int y, int cx, int cy, int& id);
  // Hidden, deaf and queued for destruction.
  void Retire(std::unique_ptr<orbe::KvxWidget> widget);
  void ScheduleFree();
  bool OnWidgetNotify(const NMHDR& header);

  void OnGridClick(CGridCtrl& grid, int row, int col) override;
  void OnGridDblClick(CGridCtrl& grid, int row, int col) override;
  void OnGridSelChanged(CGridCtrl& grid, int row, int col) override;
  void OnGridEndEdit(CGridCtrl& grid, int row, int col, const std::string& text) override;
  void OnGridCheckClicked(CGridCtrl& grid, int row, int col, bool checked) override;
  void OnGridComboSelChange(CGridCtrl& grid, int row, int col, int index) override;
  void OnGridColumnResized(CGridCtrl& grid, int col, int width) override;
  void OnMouseEventSeries(CChartCtrl& chart, int series, int point, ChartMouseEvent event) override;
  void OnKeyEventPlotArea(CChartCtrl& chart, UINT key) override;
  // Plug-in messages go to PluginMessage, the rest to OnWidgetEvent.
  void DeliverEvent(const orbe::WidgetEvent& event) override;

  int type_;
  CContainerListener* listener_ = nullptr;
  std::map<int, std::unique_ptr<orbe::KvxWidget>> widgets_;
  std::deque<std::unique_ptr<orbe::KvxWidget>> pool_;
  std::vector<std::unique_ptr<orbe::KvxWidget>> retired_;
  int dispatch_depth_ = 0;
  bool free_posted_ = false;
  int pool_size_ = 64;
  int next_id_ = 10000;
  orbe::ContainerMenu menu_{this};
  orbe::ContainerDrawing drawing_;
};

#endif  // ORBE_WIDGETS_KVX_CONTAINER_H_
