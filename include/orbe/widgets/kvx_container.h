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
class GridCustomScrollFrame;
class CKvxNavigateBar;

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

  // The operations of the script's widget methods, in the method table's
  // order (see the file for the conventions).
#define ORBE_WIDGETS_KVX_CONTAINER_CLASS_BODY
#include "orbe/widgets/kvx_container_operations.h"
#undef ORBE_WIDGETS_KVX_CONTAINER_CLASS_BODY

  // A tree (CXHtmlTree), which no script method creates.
  bool Tree_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
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

 // What the container keeps besides its widgets, for its owner and tests.
  // The scroll range RefreshScrollWnd computed: the content's width and height.
  SIZE GetScrollRange() const { return scroll_range_; }
  int GetBottomInterval() const { return bottom_interval_; }
  // The cursor resource last set (low 16 bits), 0 for the arrow.
  int GetContainerCursor() const { return cursor_resource_; }
  const std::vector<int>& GetWndTabList() const { return tab_order_; }
  // The grid's frame, null when it has none.
  GridCustomScrollFrame* GetGridFrame(int id) const;
  // The navigation strip, null until EnableNavigate.
  CKvxNavigateBar* GetNavigateBar() const { return navigate_.get(); }
  // Scrolls so that a title appended to the navigation strip is at the top.
  bool ScrollToTitle(int title_id);
  // A user's Tab key (backward: with Shift): the focus moves to the next
  // enabled, shown widget of the tab order. False without a tab order.
  bool TabToNextWnd(bool backward);

  // Keys and the mouse over the container and its widgets: Tab moves the
  // focus along the tab order; mouse positions are kept for GetMousePoint.
  BOOL PreTranslateMessage(MSG* msg) override;

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
  // An add operation for a kind: AddWnd, then `setup` on the new widget.
  template <typename T, typename Setup>
  bool AddAs(int x, int y, int cx, int cy, int& id, orbe::WidgetKind kind, const std::string& text, Setup setup);
  // A hidden widget of the kind, marked as a tooltip; its id.
  int AddTooltip(orbe::WidgetKind kind);
  bool SetPosTooltip(int id, orbe::WidgetKind kind, int x, int y, int cx, int cy, bool show);
  // Moves every widget by the scroll change, as the platform scrolls children.
  void ScrollChildren(int dx, int dy);
  // A widget taken from its id into the pool: hidden and deaf.
  void Pool(std::unique_ptr<orbe::KvxWidget> widget);
  // The navigation strip's entries from the titles appended to it.
  void RefreshNavigate();
  // The strip, made hidden on first use; null without a window.
  CKvxNavigateBar* Navigator();

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
  std::map<int, std::unique_ptr<GridCustomScrollFrame>> frames_;
  std::unique_ptr<CKvxNavigateBar> navigate_;
  POINT scroll_{};
  SIZE scroll_range_{};
  int bottom_interval_ = 0;
  POINT mouse_{};
  int cursor_resource_ = 0;
  std::vector<int> tab_order_;
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
