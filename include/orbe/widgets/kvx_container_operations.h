// The script container's widget operations, one per widget method of the
// script object and in its order, with its arguments: the script layer is a
// table of thin adapters over them, and C++ owners call them directly.
//
// Conventions: the first int is the widget id unless the operation creates a
// widget or works on the whole container. Rectangles are x, y, width, height
// in container client pixels. Colours are COLORREF (-1, CLR_NONE, asks a
// chart for its palette). Operations that report success return false for a
// widget id the container does not know or of another kind; getters give an
// empty value then (0, "", -1 for an index). Add operations write the new id
// (0 when nothing was made). Axes are 0 left, 1 bottom, 2 right, 3 top.
//
// This file is included inside the class CKVXContainer; the comment above
// each declaration is its entry in the script reference (docs/script.md).
#ifndef ORBE_WIDGETS_KVX_CONTAINER_CLASS_BODY
#error "kvx_container_operations.h belongs inside CKVXContainer"
#endif

// --- Container ---

// Marks the widget for repainting.
virtual void InvalidateWnd(int id);
// Marks part of the widget (its own client pixels) for repainting.
virtual void InvalidateRect32(int id, int x, int y, int cx, int cy, bool erase);
// Marks the whole container; with update_now it repaints at once.
virtual bool InvalidateContainerWnd(bool erase, bool update_now);
// The widget's rectangle in container client pixels, or on the screen.
virtual void GetWndRect(int id, bool screen, int& x, int& y, int& cx, int& cy) const;
// The container's client width and height.
virtual void GetContainerSize(int& cx, int& cy) const;
// Moves and sizes a widget (a grid with a frame moves with its frame).
virtual bool MoveWndRect(int id, int x, int y, int cx, int cy, bool repaint = true);
// The container's scroll position in pixels.
virtual void GetScrollPos32(int& x, int& y) const;
// Scrolls the container; clamped to the scroll range of RefreshScrollWnd.
virtual void SetScrollPos32(int x, int y);
// Recomputes the scroll range from the widgets' extents (plus the bottom interval).
virtual void RefreshScrollWnd();
// The mouse position last seen over the container, in its client pixels.
virtual void GetMousePoint(int& x, int& y) const;
// Starts an empty pop-up menu.
virtual bool InitContainerMenu(const std::string& name, int style);
// Appends a command to menu `menu` (0 the top level) with its look.
virtual bool AppendMenu(int menu, int item, const std::string& text, bool checked, bool disabled, bool radio,
                        int image);
// Appends a separator line.
virtual bool AppendSeparator(int menu);
// Opens the menu at (x, y); it stays open until a pick.
virtual bool TrackPopupMenu(int x, int y, int flags);
// Appends a sub-menu entry; the new sub-menu's number (0 when refused).
virtual int AppendChildMenu(int menu, const std::string& text);
// How the menu is drawn.
virtual void SetDisplayMode(int mode);
// Draws an item with a radio mark instead of a check mark.
virtual void RadioMenuItem(int item, bool radio);
// Checks or unchecks an item.
virtual bool CheckMenuItem(int item, bool checked);
// Checks `item` and unchecks the other items whose ids lie in first..last.
virtual bool CheckMenuRadioItem(int first, int last, int item);
// Enables or disables an item.
virtual bool EnableMenuItem(int item, bool enable);
// The menu's opacity, 0 (transparent) to 255.
virtual bool SetAlpha(int alpha);
// 1: disabled items can be picked too.
virtual bool SetSelectDisableMode(int mode);
// A title above the menu's items.
virtual bool SetMenuTitle(const std::string& title, int height);
// The title's text, background and border colours.
virtual bool SetMenuTitleColor(COLORREF text, COLORREF bk, COLORREF border);
// Removes the title.
virtual bool RemoveMenuTitle();
// Changes an item's text.
virtual bool SetMenuText(int item, const std::string& text);
// An item's image index (-1 none).
virtual bool SetMenuImg(int item, int image);
// Loads the cursor resource numbered by the low 16 bits and makes it current.
virtual void SetContainerCursor(int resource);
// A line under the widgets; its id (0 when refused). Styles: 0 solid, 1 dash, 2 dot.
virtual int AddLine(int x1, int y1, int x2, int y2, COLORREF color, int width, int style);
// Removes a line.
virtual bool DeleteLine(int line);
// Removes every line.
virtual void ClearAllLine();
// A filled background region with a border; its id (0 when refused).
virtual int AddBkRegion(int x, int y, int cx, int cy, COLORREF fill, COLORREF border, int border_width);
// Replaces a background region's place and look.
virtual bool ReSetBKRegion(int region, int x, int y, int cx, int cy, COLORREF fill, COLORREF border,
                           int border_width);
// Removes a background region.
virtual bool DeleteBkRegion(int region);
// Removes every background region.
virtual void ClearAllBkRegion();
// A text under the widgets; bk CLR_DEFAULT is transparent; align 0 left, 1 centre, 2 right.
virtual int AddBkText(const std::string& text, int x, int y, int cx, int cy, const std::string& face, int size,
                      int weight, COLORREF color, COLORREF bk, int align, bool single_line);
// Removes a background text.
virtual bool DeleteBkText(int text);
// Removes every background text.
virtual void ClearAllBkText();
// A screen point in the client pixels of widget `id` (0: the container).
virtual void ScreenToClient32(int id, int screen_x, int screen_y, int& x, int& y) const;
// A client point of widget `id` (0: the container) on the screen.
virtual void ClientToScreen32(int id, int x, int y, int& screen_x, int& screen_y) const;
// The container's background colour.
virtual void SetBkClr(COLORREF color);
// Room left below the lowest widget in the scroll range.
virtual void SetBottomInterval(int pixels);
// Gives the widget the keyboard focus.
virtual void SetFocusWnd(int id);
// Enables or disables a widget (a disabled widget refuses user actions).
virtual void EnableContainerWindow(int id, bool enable);
// The Tab key's order over the widgets; an empty list clears it.
virtual bool SetWndTabList(const std::vector<int>& ids);
// Opens the file with the desktop's "open" action.
virtual void OpenFile(const std::string& path);
// Retires one widget into the pool: its id is gone at once, the window is
// destroyed later, so a widget may recycle itself from its own event.
virtual void RecycleWnd(int id);
// Takes the widget away at once (its id is gone, it is hidden and reports
// nothing); the object itself is destroyed when the container's message loop
// comes round and no widget event is being delivered, so a script may delete
// a widget from inside that widget's own event. False for an unknown id.
virtual bool DeleteWnd(int id);
// Creates a widget of a kind (orbe::WidgetKind) with its text.
virtual bool AddWnd(int x, int y, int cx, int cy, int& id, int kind, const std::string& text);
// Shows the navigation strip of the titles appended to it.
virtual void EnableNavigate(bool enable);
// Creates a plug-in window.
virtual bool AddPluginWnd(int x, int y, int cx, int cy, int& id, int plugin_id, int option);

// --- Grid ---

// Creates a hidden grid shown as a tooltip by Grid_SetPosTooltip; its id.
virtual int Grid_AddAsTooltip();
// Places a tooltip grid and shows or hides it.
virtual bool Grid_SetPosTooltip(int id, int x, int y, int cx, int cy, bool show);
// Writes grids (ids joined by ","; "" every grid) as one worksheet titled
// `title`. An empty path asks the user through the save dialog; the path
// written is passed back. False when nothing was written.
virtual bool Grid_SaveAsExcel(const std::string& grids, std::string& path, const std::string& title);
// The width and height of all shown columns and rows.
virtual void Grid_GetTotalSize(int id, int& cx, int& cy) const;
// Marks the grid for repainting.
virtual void Grid_InvalidateWnd(int id, bool erase);
// How a column sorts: 0 as text, 1 as numbers.
virtual bool Grid_SetColumnType(int id, int col, int type);
// Creates a grid.
virtual bool Grid_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Puts the grid inside a frame with scroll bars of its own (or takes it out).
virtual bool Grid_IsAppendFrame(int id, bool append);
// The frame's bars hidden: the grid scrolls by itself.
virtual bool Grid_Frame_UseGridScroll(int id, bool use);
// The colour of the frame's corner where the bars meet.
virtual bool Grid_Frame_SetStaticColor(int id, COLORREF color);
// The colour of the frame's bars.
virtual bool Grid_Frame_SetScrollColor(int id, COLORREF color);
// Hides a frame bar: 0 horizontal, 1 vertical, 3 both.
virtual bool Grid_Frame_HideScrollBar(int id, int bar, bool hide);
// The grid's background.
virtual bool Grid_SetGridBkColor(int id, COLORREF color);
// Grid lines: 0 none, 1 horizontal, 2 vertical, 3 both.
virtual bool Grid_SetGridLines(int id, int mode);
// The colour of the grid lines.
virtual bool Grid_SetGridLineColor(int id, COLORREF color);
// The text colour of the data cells.
virtual bool Grid_SetTextColor(int id, COLORREF color);
// The background of the data cells.
virtual bool Grid_SetTextBkColor(int id, COLORREF color);
// The text colour of the fixed cells.
virtual bool Grid_SetFixedTextColor(int id, COLORREF color);
// The background of the fixed cells.
virtual bool Grid_SetFixedBkColor(int id, COLORREF color);
// The background of selected cells.
virtual bool Grid_SetSelColor(int id, COLORREF color);
// Whether a user may edit text cells.
virtual bool Grid_SetEditable(int id, bool editable);
// After a sort the grid scrolls back to its first row.
virtual bool Grid_SetSortedGoHead(int id, bool go_head);
// Every cell read-only (or not).
virtual bool Grid_SetAllCellReadOnly(int id, bool read_only);
// A row read-only.
virtual bool Grid_SetRowReadOnly(int id, int row, bool read_only);
// A column read-only.
virtual bool Grid_SetColReadOnly(int id, int col, bool read_only);
// A cell read-only.
virtual bool Grid_SetCellReadOnly(int id, int row, int col, bool read_only);
// A gradient behind the fixed rows, from one colour to the other.
virtual bool Grid_SetFixRowGradientBK(int id, bool enable, COLORREF from, COLORREF to, bool horizontal);
// The sort arrow: 0 a triangle after the heading, 1 an arrow before it, 2 none.
virtual bool Grid_SetArrowDisplayType(int id, int type);
// The fixed row that shows the sort arrow.
virtual bool Grid_SetArrowDisplayRow(int id, int row);
// The sort arrow's colour.
virtual bool Grid_SetArrowColor(int id, COLORREF color);
// The light and dark border lines of fixed cells.
virtual void Grid_SetFixCellBordLineColor(int id, COLORREF light, COLORREF dark);
// Fixed cells drawn flat instead of raised.
virtual void Grid_SetFlateHead(int id, bool flat);
// A click on a heading sorts by its column.
virtual bool Grid_SetHeaderSort(int id, bool enable);
// The room kept for the sort arrow in a heading, in pixels.
virtual bool Grid_SetNonSortColWidth(int id, int width);
// A click on a fixed column selects its row.
virtual bool Grid_EnableSelectFixedColumn(int id, bool enable);
// Sorts the data rows by a column.
virtual bool Grid_SortItems(int id, int col, bool ascending);
// A click selects whole rows.
virtual bool Grid_SetListMode(int id, bool list_mode);
// Only one row can be selected.
virtual bool Grid_SetSingleRowSelection(int id, bool single);
// Only one column can be selected.
virtual bool Grid_SetSingleColSelection(int id, bool single);
// Whether clicks select.
virtual bool Grid_EnableSelection(int id, bool enable);
// Whether a user may resize rows.
virtual bool Grid_SetRowResize(int id, bool enable);
// Whether a user may resize columns.
virtual bool Grid_SetColumnResize(int id, bool enable);
// What auto-sizing measures: 0 or 3 every cell, 1 the fixed cells, 2 the data cells.
virtual bool Grid_SetAutoSizeStyle(int id, int style);
// Whether a cell is selected.
virtual bool Grid_IsCellSelected(int id, int row, int col) const;
// Selects a whole row.
virtual bool Grid_SelectRows(int id, int row);
// Selects a whole column.
virtual bool Grid_SelectColumn(int id, int col);
// Cross selection: a click highlights the cell's whole row and column.
virtual bool Grid_SetCrossSelected(int id, bool enable);
// Sets the cross over rows min_row..max_row and columns min_col..max_col.
virtual bool Grid_SetCrossSelectedRange(int id, int min_row, int min_col, int max_row, int max_col, bool notify);
// Alternating backgrounds of the data rows (even, odd); CLR_DEFAULT for none.
virtual bool Grid_SetAlternationNoFixedCellClr(int id, COLORREF even, COLORREF odd);
// The number of rows.
virtual bool Grid_SetRowCount(int id, int rows);
// The number of rows.
virtual int Grid_GetRowCount(int id) const;
// The number of columns.
virtual bool Grid_SetColumnCount(int id, int cols);
// The number of columns.
virtual int Grid_GetColumnCount(int id) const;
// The number of fixed (heading) rows.
virtual bool Grid_SetFixedRowCount(int id, int rows);
// The number of fixed rows.
virtual int Grid_GetFixedRowCount(int id) const;
// The number of fixed columns.
virtual bool Grid_SetFixedColumnCount(int id, int cols);
// The number of fixed columns.
virtual int Grid_GetFixedColumnCount(int id) const;
// A row's height.
virtual bool Grid_SetRowHeight(int id, int row, int height);
// A row's height.
virtual int Grid_GetRowHeight(int id, int row) const;
// A column's width (0 hides it).
virtual bool Grid_SetColumnWidth(int id, int col, int width);
// A column's width.
virtual int Grid_GetColumnWidth(int id, int col) const;
// Removes every row and column.
virtual bool Grid_Clean(int id);
// Empties the data cells (rows and fixed cells stay).
virtual bool Grid_CleanNonFixedCell(int id);
// Fits every row and column to its content (style as Grid_SetAutoSizeStyle).
virtual bool Grid_AutoSize(int id, int style);
// Fits one column to its content.
virtual bool Grid_AutoSizeColumn(int id, int col, int style, bool reset_scroll);
// Fits every shown column to its content.
virtual bool Grid_AutoSizeColumns(int id, int style);
// Fits one row to its tallest cell.
virtual bool Grid_AutoSizeRow(int id, int row, bool reset_scroll);
// Merges a range of fixed cells into one that shows the top-left cell's text.
virtual bool Grid_MergeFixedCells(int id, int min_row, int min_col, int max_row, int max_col, int align,
                                  COLORREF bk);
// Undoes every merge.
virtual bool Grid_UnMergeAllFixedCells(int id);
// A cell's kind: 0 text, 1 check box, 2 drop-down list, 3 multi-line, 4 link, 5 image.
virtual bool Grid_SetCellType(int id, int row, int col, int type);
// Checks a check-box cell.
virtual bool Grid_CellCheck_SetCheck(int id, int row, int col, bool checked);
// Whether a check-box cell is checked.
virtual bool Grid_CellCheck_GetCheck(int id, int row, int col) const;
// A drop-down cell's style: 0 a list to pick from, 1 editable.
virtual bool Grid_CellCombo_SetStyle(int id, int row, int col, int style);
// Adds an entry to a drop-down cell (making the cell a drop-down).
virtual bool Grid_CellCombo_AddItem(int id, int row, int col, const std::string& text);
// Removes a drop-down cell's entries.
virtual bool Grid_CellCombo_ResetContent(int id, int row, int col);
// One of the library's cell images (0 up, 1 down, 2 flat, 3 star, 4 flag, 5 dot); -1 none.
virtual bool Grid_SetImage(int id, int row, int col, int image);
// A text kept with the cell but not shown.
virtual bool Grid_SetHideStr(int id, int row, int col, const std::string& text);
// The cell's hidden text.
virtual std::string Grid_GetHideStr(int id, int row, int col) const;
// A cell's text, colours and alignment (0 left, 1 right, 2 centre).
virtual bool Grid_SetItem(int id, int row, int col, COLORREF text_color, COLORREF bk_color, const std::string& text,
                          int align);
// Makes the cell a link to the address; a click opens it.
virtual bool Grid_SetItemUrl(int id, int row, int col, const std::string& url);
// As Grid_SetItem, for a multi-line cell ("\n" between lines).
virtual bool Grid_SetMultiLineItem(int id, int row, int col, COLORREF text_color, COLORREF bk_color,
                                   const std::string& text, int align);
// A cell's text.
virtual bool Grid_SetItemText(int id, int row, int col, const std::string& text);
// A cell's text and text colour.
virtual bool Grid_SetItemText2(int id, int row, int col, const std::string& text, COLORREF color);
// A multi-line cell's text and text colour.
virtual bool Grid_SetMultiLineItemText2(int id, int row, int col, const std::string& text, COLORREF color);
// A cell's text.
virtual std::string Grid_GetItemText(int id, int row, int col) const;
// The tip shown over a cell: a title line and a text.
virtual bool Grid_SetItemTitleTip(int id, int row, int col, const std::string& title, const std::string& tip);
// The font of the fixed rows.
virtual bool Grid_SetFixedRowFont(int id, int size, const std::string& face);
// The font of the data rows.
virtual bool Grid_SetNonFixedRowFont(int id, int size, const std::string& face);
// One cell's font.
virtual bool Grid_SetCellFont(int id, int row, int col, int size, const std::string& face, int weight, bool italic,
                              bool underline);
// Moves the focus cell.
virtual bool Grid_SetFocusCell(int id, int row, int col);
// The focus cell, (-1, -1) for none.
virtual void Grid_GetFocusCell(int id, int& row, int& col) const;
// The cell under a point of the grid's client area, (-1, -1) for none.
virtual void Grid_GetCellFromPt(int id, int x, int y, int& row, int& col) const;
// The data cells in view: first row, first column, last row, last column.
virtual void Grid_GetVisibleNonFixed(int id, int& min_row, int& min_col, int& max_row, int& max_col) const;
// A frame line around the grid.
virtual void Grid_SetGridFrameColor(int id, COLORREF color, int width);
// The look of the top-left cells where fixed rows and columns meet.
virtual void Grid_SetFixedTopLeftColor(int id, COLORREF bk, COLORREF text);

// --- Chart ---

// Creates a hidden chart shown as a tooltip by Chart_SetPosTooltip; its id.
virtual int Chart_AddAsTooltip();
// Places a tooltip chart and shows or hides it.
virtual bool Chart_SetPosTooltip(int id, int x, int y, int cx, int cy, bool show);
// Keys in the plot area are reported.
virtual bool Chart_EnableKeyDownMsg(int id, bool enable);
// The range an axis shows.
virtual void Chart_GetAxisMinMax(int id, int axis, double& min, double& max) const;
// The step between an axis's ticks.
virtual double Chart_GetAxisTickIncrement(int id, int axis) const;
// Creates a chart (the text is its title).
virtual bool Chart_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// The chart's background.
virtual bool Chart_SetBackColor(int id, COLORREF color);
// A background gradient: type 0 top to bottom, 1 left to right.
virtual bool Chart_SetBackGradient(int id, COLORREF from, COLORREF to, int type);
// Whether a user may pan.
virtual bool Chart_SetPanEnabled(int id, bool enable);
// Whether a user may zoom.
virtual bool Chart_SetZoomEnabled(int id, bool enable);
// The colour of the zoom rectangle.
virtual bool Chart_SetZoomRectColor(int id, COLORREF color);
// Whether the border shows.
virtual bool Chart_EnableShowBorder(int id, bool show);
// The border colour.
virtual bool Chart_SetBorderColor(int id, COLORREF color);
// Removes every series.
virtual bool Chart_RemoveAllSeries(int id);
// Removes a series.
virtual bool Chart_RemoveSerie(int id, int series);
// The number of series.
virtual int Chart_GetSeriesCount(int id) const;
// Off: the chart keeps showing what it showed until switched on again.
virtual bool Chart_EnableRefresh(int id, bool enable);
// Writes the chart as an image (".bmp": BMP, else PNG), drawn as its page shows it.
virtual bool Chart_SaveAsBmp(int id, const std::string& path) const;
// Whether the legend shows.
virtual bool Chart_SetLegendVisable(int id, bool visible);
// The legend's font.
virtual bool Chart_SetLegendFont(int id, int size, const std::string& face);
// The legend's side: 0 right, 1 left, 2 top, 3 bottom.
virtual bool Chart_LegendDockSide(int id, int side);
// The legend floats at (x, y).
virtual bool Chart_UndockLegend(int id, int x, int y);
// The legend without background.
virtual bool Chart_SetLegendTransparent(int id, bool transparent);
// The legend's entries side by side instead of stacked.
virtual bool Chart_SetLegendHorizontalMode(int id, bool horizontal);
// The legend's background.
virtual bool Chart_SetLegendBackColor(int id, COLORREF color);
// The legend's text colour.
virtual bool Chart_SetLegendTextColor(int id, COLORREF color);
// A shadow under the legend.
virtual bool Chart_EnableLegendShadow(int id, bool enable);
// The legend shadow's colour.
virtual bool Chart_SetLegendShadowColor(int id, COLORREF color);
// The legend shadow's offset in pixels.
virtual bool Chart_SetLegendShadowDepth(int id, int depth);
// The title.
virtual bool Chart_SetTitle(int id, const std::string& title);
// The title's colour.
virtual bool Chart_SetTitleColor(int id, COLORREF color);
// The title's font.
virtual bool Chart_SetTitleFont(int id, int size, const std::string& face, int weight, bool italic, bool underline);
// Shows an axis of a type: 0 numbers, 1 dates and times (seconds since 1970), 2 logarithmic.
virtual bool Chart_CreateAxis(int id, int axis, int type);
// Grid lines at an axis's ticks.
virtual bool Chart_SetGridVisable(int id, int axis, bool visible);
// The colour of an axis's grid lines.
virtual bool Chart_SetGridColor(int id, int axis, COLORREF color);
// Whether an axis's label shows.
virtual bool Chart_SetAxisLableVisable(int id, int axis, bool visible);
// The colour of an axis's label.
virtual bool Chart_SetAxisLableColor(int id, int axis, COLORREF color);
// The font of an axis's label.
virtual bool Chart_SetAxisLableFont(int id, int axis, int size, const std::string& face);
// An axis's label.
virtual bool Chart_SetAxisLableText(int id, int axis, const std::string& text);
// A scroll bar along the axis when its range shows part of the data.
virtual bool Chart_AxisEnableScrollBar(int id, int axis, bool enable);
// The axis scroll bar hides while the whole data is in view.
virtual bool Chart_SetAxisAutoHideScrollBar(int id, int axis, bool auto_hide);
// Whether an axis shows.
virtual bool Chart_SetAxisVisible(int id, int axis, bool visible);
// A fixed range of an axis.
virtual bool Chart_SetAxisMinMax(int id, int axis, double min, double max);
// Whether panning and zooming move this axis.
virtual bool Chart_SetAxisPanZoomEnabled(int id, int axis, bool enable);
// An automatic axis spans its series' values.
virtual bool Chart_SetAxisAutomatic(int id, int axis, bool automatic);
// 0 fixed, 1 all values, 2 only the values in view of the other axis.
virtual bool Chart_SetAxisAutomaticMode(int id, int axis, int mode);
// The colour of an axis line.
virtual bool Chart_SetAxisColor(int id, int axis, COLORREF color);
// The colour of an axis's tick texts.
virtual bool Chart_SetAxisTextColor(int id, int axis, COLORREF color);
// The font of an axis's tick texts.
virtual bool Chart_SetAxisFont(int id, int axis, int size, const std::string& face);
// Ticks at whole steps with the texts between them (categories).
virtual bool Chart_SetAxisDiscrete(int id, int axis, bool discrete);
// A unit after the tick texts (position 0) or once at the axis end (1).
virtual bool Chart_SetAxisAppendUnit(int id, int axis, int position, const std::string& unit);
// Tick texts drawn slanted.
virtual bool Chart_EnableAxisSlopeFont(int id, int axis, bool enable);
// The slant in degrees.
virtual bool Chart_SetAxisSlopeDegree(int id, int axis, int degree);
// Ticks at the points of the active series, labelled by their user data.
virtual bool Chart_EnableAxisCustomTick(int id, int axis, bool enable);
// The series whose points give the custom ticks.
virtual bool Chart_SetAxisActiveSeries(int id, int axis, int series);
// The step between ticks of a number axis.
virtual bool Chart_SetNormalTickIncrement(int id, int axis, bool automatic, double increment);
// The step of a time axis: unit 0 second, 1 minute, 2 hour, 3 day, 4 week, 5 month, 6 year, times multiple.
virtual bool Chart_SetTimeTickIncrement(int id, int axis, bool automatic, int unit, int multiple);
// The tick texts of a time axis as a strftime format ("%Y-%m-%d").
virtual bool Chart_SetTimeTickLabelFormat(int id, int axis, bool automatic, const std::string& format);
// The moment the ticks of a time axis are counted from.
virtual bool Chart_SetTimeReferenceTick(int id, int axis, double reference);
// Shows the cross-hair that follows the mouse.
virtual bool Chart_ShowCrossHairCursor(int id, bool horizontal, bool vertical, COLORREF color, int style, int width);
// Hides the cross-hair.
virtual bool Chart_HideCrossHairCursor(int id);
// A series of points: kind 0 line, 1 points, 2 bars, 4 surface; axes 0 left or bottom, 1 right or top. Its id.
virtual int Chart_CreateXYPointSeries(int id, int kind, int vertical_axis, int horizontal_axis);
// Adds a point.
virtual bool Chart_AddXYPoint(int id, int series, double x, double y);
// A point's x and y, and 1 when it exists.
virtual void Chart_GetXYPoint(int id, int series, int index, double& x, double& y, int& found) const;
// Adds a point with user data.
virtual bool Chart_AddXYPointAttUserData(int id, int series, double x, double y, const std::string& data);
// Clicks on the series' points are reported.
virtual bool Chart_RegisterXYPointMouseListener(int id, int series);
// Clicks on the series' points are no longer reported.
virtual bool Chart_UnRegisterXYPointMouseListener(int id, int series);
// Removes points from the start.
virtual bool Chart_RemoveXYPointFromBegin(int id, int series, int count);
// Removes points from the end.
virtual bool Chart_RemoveXYPointFromEnd(int id, int series, int count);
// A candlestick series; its id.
virtual int Chart_CreateCandlestickSerie(int id, int vertical_axis, int horizontal_axis);
// Adds a candle (refused when low > high or open or close lie outside them).
virtual bool Chart_AddCandlestickPoint(int id, int series, double x, double low, double high, double open,
                                       double close);
// Adds a candle with user data.
virtual bool Chart_AddCandlestickPointAttUserData(int id, int series, double x, double low, double high, double open,
                                                  double close, const std::string& data);
// Clicks on the series' candles are reported.
virtual bool Chart_RegisterCandlestickPointMouseListener(int id, int series);
// Clicks on the series' candles are no longer reported.
virtual bool Chart_UnRegisterCandlestickPointMouseListener(int id, int series);
// The candle width in pixels.
virtual bool Chart_SetCandlestickWidth(int id, int series, int width);
// The fill of rising (hollow) candles.
virtual bool Chart_SetCandlestickEmptyColor(int id, int series, COLORREF color);
// Removes candles from the start.
virtual bool Chart_RemoveCandlestickPointFromBegin(int id, int series, int count);
// Removes candles from the end.
virtual bool Chart_RemoveCandlestickPointFromEnd(int id, int series, int count);
// A Gantt series: horizontal bars from a start to an end; its id.
virtual int Chart_CreateGanttSerie(int id, int vertical_axis, int horizontal_axis);
// Adds a bar from start to end at height y.
virtual bool Chart_AddGanttPoint(int id, int series, double start, double end, double y);
// A strap series: a band between a low and a high line; its id.
virtual int Chart_CreateStrapSerie(int id, int vertical_axis, int horizontal_axis);
// Adds the band's low and high at x.
virtual bool Chart_AddStrapPoint(int id, int series, double x, double low, double high);
// Whether a series shows.
virtual bool Chart_SetSeriesVisible(int id, int series, bool visible);
// A series' name, shown in the legend.
virtual bool Chart_SetSeriesName(int id, int series, const std::string& name);
// A series' name.
virtual std::string Chart_GetSeriesName(int id, int series) const;
// A series' colour.
virtual bool Chart_SetSeriesColor(int id, int series, COLORREF color);
// A shadow under the series.
virtual bool Chart_EnableSeriesShadow(int id, int series, bool enable);
// The series shadow's colour.
virtual bool Chart_SetSeriesShadowColor(int id, int series, COLORREF color);
// The series shadow's offset in pixels.
virtual bool Chart_SetSeriesShadowDepth(int id, int series, int depth);
// The number of points of a series.
virtual int Chart_GetSeriesPointsCount(int id, int series) const;
// Where a value of the series lies in the chart's client pixels.
virtual void Chart_ValueToScreen(int id, int series, double x, double y, int& px, int& py) const;
// The point mark: 0 circle, 1 square, 2 triangle.
virtual bool Chart_SetPointType(int id, int series, int type);
// The point mark's size.
virtual bool Chart_SetPointSize(int id, int series, int width, int height);
// The point mark's border colour.
virtual bool Chart_SetPointBorderColor(int id, int series, COLORREF color);
// The line width.
virtual bool Chart_SetLineWidth(int id, int series, int width);
// The line drawn as a smooth curve.
virtual bool Chart_SetLineSmooth(int id, int series, bool smooth);
// The line style: 0 solid, 1 dash, 2 dot, 3 dash-dot.
virtual bool Chart_SetLinePenStyle(int id, int series, int style);
// The size of the point a user clicked (the fixed point).
virtual bool Chart_SetFixedPointSize(int id, int series, int width, int height);
// The colour of the fixed point.
virtual bool Chart_SetFixedPointColor(int id, int series, COLORREF color);
// The border colour of the fixed point.
virtual bool Chart_SetFixedBorderColor(int id, int series, COLORREF color);
// The mark of the fixed point.
virtual bool Chart_SetFixedPointType(int id, int series, int type);
// The line width while the series is fixed (clicked).
virtual bool Chart_SetFixedLineWidth(int id, int series, int width);
// The line smooth while the series is fixed.
virtual bool Chart_SetFixedLineSmooth(int id, int series, bool smooth);
// The line style while the series is fixed.
virtual bool Chart_SetFixedLinePenStyle(int id, int series, int style);
// The bars' border colour.
virtual bool Chart_SetBarBorderColor(int id, int series, COLORREF color);
// The bars' border width.
virtual bool Chart_SetBarBorderWidth(int id, int series, int width);
// The bar width in pixels (0: fitted to the space).
virtual bool Chart_SetBarWidth(int id, int series, int width);
// Bars drawn with a gradient.
virtual bool Chart_ShowBarGradient(int id, int series, bool show);
// The gradient's second colour and direction (0 vertical, 1 horizontal).
virtual bool Chart_SetBarGradient(int id, int series, COLORREF color, int type);
// Another colour for bars below the base line.
virtual bool Chart_SetNegativeColor(int id, int series, bool enable, COLORREF color);
// Bars of one group stacked instead of side by side.
virtual bool Chart_SetBarStacked(int id, int series, bool stacked);
// A bar series' group.
virtual int Chart_GetBarGroupId(int id, int series) const;
// A bar series' group (series of a group share the space of one bar).
virtual bool Chart_SetBarGroupId(int id, int series, int group);
// The space between bars in pixels.
virtual bool Chart_SetBarInterSpace(int id, int series, int space);
// The value bars grow from (automatic: 0 inside the range, else its nearer end).
virtual bool Chart_SetBarBaseLine(int id, int series, bool automatic, double base);
// A label above one bar.
virtual bool Chart_SetBarBalloonLabel(int id, int series, int point, const std::string& text);
// Bars drawn in three dimensions.
virtual bool Chart_SetShow3DBar(int id, int series, bool show, int depth);
// The 3D bar faces (top, front, side, border) for the normal, hot and selected bar.
virtual bool Chart_Set3DBarColor(int id, int series, bool enable, COLORREF top, COLORREF front, COLORREF side,
                                 COLORREF border, COLORREF hot_top, COLORREF hot_front, COLORREF hot_side,
                                 COLORREF hot_border, COLORREF selected_top, COLORREF selected_front,
                                 COLORREF selected_side, COLORREF selected_border);
// Bars lying horizontally.
virtual bool Chart_SetBarHorizontal(int id, int series, bool horizontal);
// A surface's fill: 0 solid, 1 hatched, 2 outline only.
virtual bool Chart_SetSurFillStyle(int id, int series, int style);
// A surface filled towards the vertical axis instead of the horizontal one.
virtual bool Chart_SetSurHorizontal(int id, int series, bool horizontal);
// The Gantt bars' border colour.
virtual bool Chart_SetGanttBorderColor(int id, int series, COLORREF color);
// The Gantt bars' border width.
virtual bool Chart_SetGanttBorderWidth(int id, int series, int width);
// The Gantt bars' thickness in pixels.
virtual bool Chart_SetGanttBarWidth(int id, int series, int width);
// Gantt bars drawn with a gradient.
virtual bool Chart_ShowGanttGradient(int id, int series, bool show);
// The Gantt gradient's second colour and direction.
virtual bool Chart_SetGanttGradient(int id, int series, COLORREF color, int type);
// The strap's border lines show.
virtual bool Chart_EnableShowStrapBorder(int id, int series, bool show);
// The strap's border colour.
virtual bool Chart_SetStrapBorderColor(int id, int series, COLORREF color);
// The strap's border width.
virtual bool Chart_SetStrapBorderWidth(int id, int series, int width);

// --- Edit ---

// Creates a hidden edit shown as a tooltip by Edit_SetPosTooltip; its id.
virtual int Edit_AddAsTooltip();
// Places a tooltip edit and shows or hides it.
virtual bool Edit_SetPosTooltip(int id, int x, int y, int cx, int cy, bool show);
// The width and height that show the whole text.
virtual void Edit_GetReqSize(int id, int& cx, int& cy) const;
// Creates an edit with its text.
virtual bool Edit_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Reports text changes and the return key.
virtual bool Edit_EnableMessageNotify(int id, bool change, bool enter);
// Reports the focus coming and going.
virtual bool Edit_EnableFocusMessageNotify(int id, bool set_focus, bool kill_focus);
// Whether the border shows.
virtual bool Edit_ShowBorder(int id, bool show);
// Long lines wrap.
virtual bool Edit_SetAutoWrap(int id, bool wrap);
// A sunken edge.
virtual bool Edit_ShowClientEdge(int id, bool show);
// One line only (line breaks are dropped).
virtual bool Edit_SetSingleLine(int id, bool single);
// The most bytes a user may type (0 no limit).
virtual bool Edit_SetLimitText(int id, int limit);
// The whole text.
virtual std::string Edit_GetWindowText(int id) const;
// A formatting bar above the text.
virtual bool Edit_ShowToolbar(int id, bool show);
// A ruler above the text.
virtual bool Edit_ShowRuler(int id, bool show);
// Read-only.
virtual bool Edit_SetReadOnly(int id, bool read_only);
// Only digits may be typed.
virtual bool Edit_SetDigitalOnly(int id, bool digits_only);
// Enables or disables typing.
virtual bool Edit_EnableWindow(int id, bool enable);
// Paragraph attributes: 0 alignment (0 left, 1 centre, 2 right), 1 margins (left, right), 2 first-line indent.
virtual bool Edit_DoExtraAttribute(int id, int attribute, int value1, int value2);
// Appends text in a colour and font.
virtual bool Edit_AddText(int id, const std::string& text, COLORREF color, int size, const std::string& face,
                          int weight, bool italic, bool underline);
// Appends a link.
virtual bool Edit_AddLink(int id, const std::string& text, const std::string& link, COLORREF color, int size,
                          const std::string& face, int weight, bool italic, bool underline);
// Replaces the text.
virtual bool Edit_SetWindowText(int id, const std::string& text, COLORREF color, int size, const std::string& face);
// Removes the text.
virtual bool Edit_ClearText(int id);
// The line spacing in percent of the line height (100 single).
virtual bool Edit_SetLineSpacing(int id, int spacing);
// The background.
virtual bool Edit_SetBkColor(int id, COLORREF color);
// Scrolls so that the character at this byte position shows at the top.
virtual bool Edit_SetVScrollToTextPos(int id, int pos);

// --- Navigation strip ---

// Places the navigation strip.
virtual void Navigate_ShowWnd(int x, int y, int cx, int cy);
// The strip's font and colours (as a switch's schema).
virtual void Navigate_SetFontColorSchema(int size, int weight, COLORREF text, COLORREF bk, COLORREF current_text,
                                         COLORREF current_bk, COLORREF hover_text, COLORREF hover_bk,
                                         COLORREF border, COLORREF background, const std::string& face);
// The strip's entries: 0 side by side, 1 stacked.
virtual void Navigate_SetStyle(int style);

// --- Title ---

// Creates a title bar with its text.
virtual bool Title_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Lists the title in the navigation strip, at position order (-1 last).
virtual void Title_IsAppendNavigate(int id, bool append, int order);
// Hides the title's "go back" mark.
virtual bool Title_HideGoBack(int id, bool hide);
// The background.
virtual bool Title_SetBkColor(int id, COLORREF color);
// The text colour, and the colour under the mouse.
virtual bool Title_SetTextColor(int id, COLORREF color, COLORREF hot);
// The tip shown over the title.
virtual bool Title_SetTipText(int id, const std::string& tip);
// The colours of the "go back" mark.
virtual bool Title_SetGoBackColor(int id, COLORREF color, COLORREF hot);
// The font.
virtual bool Title_SetFont(int id, int size, const std::string& face, int weight);
// A background gradient: type 0 top to bottom, 1 left to right.
virtual bool Title_SetGradient(int id, COLORREF from, COLORREF to, int type);

// --- Switch ---

// Creates tabs with a first label.
virtual bool Switch_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// 0 side by side, 1 stacked.
virtual bool Switch_SetStyle(int id, int style);
// The font and colours.
virtual bool Switch_SetFontColorSchema(int id, int size, int weight, COLORREF text, COLORREF bk,
                                       COLORREF current_text, COLORREF current_bk, COLORREF hover_text,
                                       COLORREF hover_bk, COLORREF border, COLORREF background,
                                       const std::string& face);
// A label in its own text colour.
virtual bool Switch_SetSpecialTextColor(int id, int index, COLORREF color);
// Inserts a label before `index` (outside the labels: appends); its index, -1 when refused.
virtual int Switch_InsertLabel(int id, int index, const std::string& text, const std::string& tip);
// Changes a label.
virtual bool Switch_ModifyLabel(int id, int index, const std::string& text, const std::string& tip);
// Whether a user's switch is reported.
virtual bool Switch_EnableMsg(int id, bool enable);
// Removes every label.
virtual bool Switch_ClearAllLabel(int id);
// The number of labels.
virtual int Switch_GetTabNum(int id) const;
// Makes a label current (-1 none), without a report.
virtual bool Switch_SetCurLabel(int id, int index);
// The current label, -1 for none.
virtual int Switch_GetCurLabel(int id) const;

// --- Web ---

// Creates a web pane at an address.
virtual bool Web_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Goes to an address (kept byte for byte).
virtual bool Web_Navigate(int id, const std::string& url);
// Pop-up windows of a page stay inside the pane.
virtual bool Web_EnablePopNoIEWindow(int id, bool enable);
// Whether script errors of pages are kept quiet.
virtual bool Web_GetSilent(int id) const;
// Keeps script errors of pages quiet.
virtual bool Web_SetSilent(int id, bool silent);

// --- Pie ---

// Creates a pie chart with its title.
virtual bool Pie_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Adds an element named by its label (unique), with a tip, a value >= 0 and a colour.
virtual bool Pie_InsertItem(int id, const std::string& label, const std::string& tip, double value, COLORREF color);
// Removes an element.
virtual bool Pie_RemoveItem(int id, const std::string& label);
// Removes every element.
virtual bool Pie_RemoveAllItem(int id);
// An element's index, -1 for none.
virtual int Pie_GetElementID(int id, const std::string& label) const;
// The selected element's label.
virtual std::string Pie_GetSelectedElement(int id) const;
// Selects an element ("" none).
virtual bool Pie_SetSelectedElement(int id, const std::string& label);
// Writes the pie as an image (".bmp": BMP, else PNG), drawn as its page shows it.
virtual bool Pie_SaveAsBmp(int id, const std::string& path) const;
// The background.
virtual bool Pie_SetBackgrndColor(int id, COLORREF color);
// A background gradient (by the background light and dark amounts).
virtual bool Pie_EnableBkColorGradient(int id, bool enable);
// The labels' colour.
virtual bool Pie_SetLabelColor(int id, COLORREF color);
// The colour of the boxes around labels.
virtual bool Pie_SetLabelBoxColor(int id, COLORREF color);
// The outline of the selected element.
virtual bool Pie_SetItemHighlightColor(int id, COLORREF color);
// Tips over the elements.
virtual bool Pie_EnableTooltip(int id, bool enable);
// The tips' text and background colours.
virtual bool Pie_SetToolTipColor(int id, COLORREF text, COLORREF bk);
// Percentages in the labels.
virtual bool Pie_ShowPercentages(int id, bool show);
// Labels on the elements.
virtual bool Pie_ShowPieLable(int id, bool show);
// Whether the title shows.
virtual bool Pie_ShowPieTitle(int id, bool show);
// The title's colour.
virtual bool Pie_SetTitleColor(int id, COLORREF color);
// The title's side: 0 top, 1 bottom, 2 left, 3 right.
virtual bool Pie_DockTitle(int id, int side);
// The title floats at (x, y).
virtual bool Pie_UnDockTitle(int id, int x, int y);
// The labels' font.
virtual bool Pie_SetLabelFont(int id, int size, const std::string& face);
// The title's font.
virtual bool Pie_SetTitleFont(int id, int size, const std::string& face, int weight);
// 0 flat, 1 three-dimensional.
virtual bool Pie_SetPieChartStyle(int id, int style);
// The title.
virtual bool Pie_SetPieChartTitle(int id, const std::string& title);
// An element's value.
virtual bool Pie_UpdateItemValue(int id, const std::string& label, double value);
// Renames an element.
virtual bool Pie_UpdateItemLabel(int id, const std::string& label, const std::string& new_label);
// An element's colour.
virtual bool Pie_UpdateItemColor(int id, const std::string& label, COLORREF color);
// Where the first element starts, in degrees clockwise from twelve o'clock.
virtual bool Pie_SetStartAngle(int id, double degrees);
// The tilt of a three-dimensional pie, in degrees.
virtual bool Pie_SetInclineAngle(int id, double degrees);
// The thickness of a three-dimensional pie.
virtual bool Pie_SetDepth(int id, double depth);
// How far an element is pulled out, in pixels.
virtual bool Pie_SetDistanceIndex(int id, const std::string& label, int distance);
// How far every element is pulled out.
virtual bool Pie_SetDistanceIndexAll(int id, int distance);
// An element's transparency, 0 opaque to 1.
virtual bool Pie_SetElementTransparency(int id, const std::string& label, double transparency);
// Every element's transparency.
virtual bool Pie_SetElementTransparencyAll(int id, double transparency);
// Moves the pie right (or left) of the centre, in pixels.
virtual bool Pie_SetHorizontalOffset(int id, int offset);
// Sorts the elements by value.
virtual bool Pie_SortElements(int id, bool ascending);
// Back to the order of insertion.
virtual bool Pie_SortToOrginalOrder(int id);
// How much an element's gradient lightens, 0 to 100.
virtual bool Pie_SetElementGradientLight(int id, const std::string& label, double light);
// How much an element's gradient darkens, 0 to 100.
virtual bool Pie_SetElementGradientDark(int id, const std::string& label, double dark);
// Every element's lightening.
virtual bool Pie_SetElementGradientLightAll(int id, double light);
// Every element's darkening.
virtual bool Pie_SetElementGradientDarkAll(int id, double dark);
// The background gradient's lightening, 0 to 100.
virtual bool Pie_SetBackGroundGradientLight(int id, double light);
// The background gradient's darkening, 0 to 100.
virtual bool Pie_SetBackGroundGradientDark(int id, double dark);
// An element's lightening, rounded.
virtual int Pie_GetElementGrLight(int id, const std::string& label) const;
// An element's darkening, rounded.
virtual int Pie_GetElementGrDark(int id, const std::string& label) const;

// --- VChart ---

// Creates a column chart with its title.
virtual bool VChart_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// The title.
virtual bool VChart_SetTitle(int id, const std::string& title);
// Adds a column with its label, value, colour, value-text colour and whether the value shows.
virtual bool VChart_AddItem(int id, const std::string& label, double value, COLORREF color, COLORREF value_color,
                            bool show_value);
// Removes a column.
virtual bool VChart_RemoveItem(int id, int index);
// Removes every column.
virtual bool VChart_RemoveAllItem(int id);
// At most this many columns; adding more drops the oldest (0 no limit).
virtual bool VChart_SetMaxItemCount(int id, int count);
// A fixed scale and the decimals of its ruler texts.
virtual bool VChart_SetMinMax(int id, double min, double max, int decimals);
// The scale spans the values.
virtual bool VChart_SetAutomatic(int id, bool automatic);
// Column fill: 0 flat, 1 vertical gradient, 2 horizontal gradient.
virtual bool VChart_SetGradientType(int id, int type);
// The colour of the grid lines.
virtual bool VChart_SetGridLineColor(int id, COLORREF color);
// Grid lines: 0 none, 1 solid, 2 dotted.
virtual bool VChart_SetGridLineType(int id, int type);
// The background.
virtual bool VChart_SetBkColor(int id, COLORREF color);
// The title's colour.
virtual bool VChart_SetTitleTextColor(int id, COLORREF color);
// The labels' colour.
virtual bool VChart_SetUserTextColor(int id, COLORREF color);
// The ruler texts' colour.
virtual bool VChart_SetRulerTextColor(int id, COLORREF color);
// The value texts' default colour.
virtual bool VChart_SetShowTextValueColor(int id, COLORREF color);
// The axis frame's colour.
virtual bool VChart_SetAxisFrameColor(int id, COLORREF color);
// The axis frame's width.
virtual bool VChart_SetAxisFrameWidth(int id, int width);
// Column order: 0 as added, 1 ascending by value, 2 descending.
virtual bool VChart_SetAscOrDescFlag(int id, int flag);
// Off: the chart keeps showing what it showed while a script fills it.
virtual bool VChart_SetRedraw(int id, bool redraw);
// The column width in pixels (0: fitted).
virtual bool VChart_SetBarWidth(int id, int width);
// The space between columns in pixels.
virtual bool VChart_SetBarIntervalSize(int id, int space);

// --- Combo ---

// Creates a drop-down list whose open list is dropped_height pixels high (0 fitted).
virtual bool Combo_AddWnd(int x, int y, int cx, int cy, int& id, int dropped_height = 0);
// Appends an entry; its index, -1 when refused.
virtual int Combo_AddString(int id, const std::string& text);
// Inserts an entry before index (-1 appends); its index.
virtual int Combo_InsertString(int id, int index, const std::string& text);
// Removes an entry; the count left, -1 when refused.
virtual int Combo_DeleteString(int id, int index);
// Removes every entry.
virtual bool Combo_ResetContent(int id);
// The first entry after `start` that begins with the text (ASCII without case), -1 none.
virtual int Combo_FindString(int id, int start, const std::string& text) const;
// Selects what Combo_FindString finds; its index, -1 none.
virtual int Combo_SelectString(int id, int start, const std::string& text);
// Focus changes are reported.
virtual bool Combo_EnableFocusMsg(int id, bool enable);
// The selected entry, -1 none.
virtual int Combo_GetCurSel(int id) const;
// Selects an entry (-1 none); its index, -1 when out of range.
virtual int Combo_SetCurSel(int id, int index);
// The number of entries.
virtual int Combo_GetCount(int id) const;
// An entry's text.
virtual std::string Combo_GetLBText(int id, int index) const;
// The shown text (the selected entry's).
virtual std::string Combo_GetWindowText(int id) const;
// The open list's width.
virtual bool Combo_SetDroppedWidth(int id, int width);
// The height of the entries (index -1: of the box itself).
virtual bool Combo_SetItemHeight(int id, int index, int height);
// The font.
virtual bool Combo_SetFont(int id, int size, const std::string& face);

// --- Check combo ---

// Creates a drop-down list with a check box per entry.
virtual bool CheckCombo_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Appends an entry; its index.
virtual int CheckCombo_AddString(int id, const std::string& text);
// The selected entry, -1 none.
virtual int CheckCombo_GetCurSel(int id) const;
// Selects an entry.
virtual int CheckCombo_SetCurSel(int id, int index);
// Removes every entry.
virtual bool CheckCombo_ResetContent(int id);
// An entry's text.
virtual std::string CheckCombo_GetLBText(int id, int index) const;
// Checks an entry.
virtual bool CheckCombo_SetCheck(int id, int index, bool checked);
// 1 checked, 0 unchecked, -1 no such entry.
virtual int CheckCombo_GetCheck(int id, int index) const;
// The number of entries.
virtual int CheckCombo_GetCount(int id) const;
// Checks or unchecks every entry.
virtual bool CheckCombo_CheckAll(int id, bool checked);
// The height of the entries (index -1: of the box itself).
virtual bool CheckCombo_SetItemHeight(int id, int index, int height);

// --- Check box ---

// Creates a check box with its caption.
virtual bool Check_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Whether it is checked.
virtual bool Check_GetCheck(int id) const;
// Checks it (without a report).
virtual bool Check_SetCheck(int id, bool checked);
// The caption.
virtual bool Check_SetWindowText(int id, const std::string& text);
// Drawn without background.
virtual bool Check_SetTransparent(int id, bool transparent);
// The caption's colour.
virtual bool Check_SetTextColor(int id, COLORREF color);
// The background.
virtual bool Check_SetBkColor(int id, COLORREF color);

// --- Radio ---

// Creates a radio button with its caption.
virtual bool Radio_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// Radios of one group id uncheck each other.
virtual bool Radio_SetGroupID(int id, int group);
// The group id.
virtual int Radio_GetGroupID(int id) const;
// Checks it (unchecking its group), without a report.
virtual bool Radio_SetCheck(int id, bool checked);
// Whether it is checked.
virtual bool Radio_GetCheck(int id) const;
// The caption.
virtual bool Radio_SetWindowText(int id, const std::string& text);
// Drawn without background.
virtual bool Radio_SetTransparent(int id, bool transparent);
// The caption's colour.
virtual bool Radio_SetTextColor(int id, COLORREF color);
// The background.
virtual bool Radio_SetBkColor(int id, COLORREF color);

// --- Button ---

// Creates a push button with its caption.
virtual bool Button_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text);
// The caption.
virtual bool Button_SetWindowText(int id, const std::string& text);
// The caption's colour.
virtual bool Button_SetTextColor(int id, COLORREF color);
// The background.
virtual bool Button_SetBkColor(int id, COLORREF color);
// Clicks the button as a user would (the click is reported).
virtual bool Button_Click(int id);

// --- Spin ---

// Creates a number box with arrows.
virtual bool Spin_AddWnd(int x, int y, int cx, int cy, int& id);
// The value.
virtual int Spin_GetValue(int id) const;
// Sets the value (clamped); with notify it is reported as a user's change.
virtual bool Spin_SetValue(int id, int value, bool notify);
// The range.
virtual void Spin_GetRange(int id, int& min, int& max) const;
// The range (refused when min > max).
virtual bool Spin_SetRange(int id, int min, int max);
// Whether it is read-only.
virtual bool Spin_GetReadOnly(int id) const;
// Read-only.
virtual bool Spin_SetReadOnly(int id, bool read_only);
// A pop-up slider.
virtual bool Spin_ShowPopUp(int id, bool show);
// The arrows.
virtual bool Spin_ShowSpin(int id, bool show);
// A meter under the value.
virtual bool Spin_ShowMeter(int id, bool show);
// Every step is reported while an arrow is held (else only the last).
virtual bool Spin_NotifyLiveupdate(int id, bool live);

// --- Date picker ---

// Creates a date picker: format 0 date, 1 time, 2 both; show_none adds a check box.
virtual bool DateTime_AddWnd(int x, int y, int cx, int cy, int& id, int format, int show_none);
// The date ("YYYY-MM-DD") and time ("HH:MM:SS").
virtual void DateTime_GetDateTime(int id, std::string& date, std::string& time) const;
// Sets date and time (refused outside the range).
virtual bool DateTime_SetDateTime(int id, const std::string& date, const std::string& time);
// The range; an empty date leaves a side open.
virtual bool DateTime_SetRange32(int id, const std::string& min_date, const std::string& min_time,
                                 const std::string& max_date, const std::string& max_time);
// The range, "" for an open side.
virtual void DateTime_GetRange32(int id, std::string& min_date, std::string& min_time, std::string& max_date,
                                 std::string& max_time) const;

// --- Pager ---

// Creates a page bar.
virtual bool Paging_AddWnd(int x, int y, int cx, int cy, int& id);
// The number of pages.
virtual bool Paging_SetTotalPageNum(int id, int count);
// The current page (from 1), without a report.
virtual bool Paging_SetCurPageNo(int id, int page);
// The current page.
virtual int Paging_GetCurPageNo(int id) const;
// The background.
virtual bool Paging_SetBkColor(int id, COLORREF color);
// The page numbers' colour.
virtual bool Paging_SetTextColor(int id, COLORREF color);
// The colour of the number under the mouse.
virtual bool Paging_SetHotTextColor(int id, COLORREF color);
// The number under the mouse in bold.
virtual bool Paging_EnableBoldHotText(int id, bool bold);
// A hand cursor over the numbers.
virtual bool Paging_EnableShowHandCursor(int id, bool hand);
// How many page numbers show at once.
virtual bool Paging_SetMaxPagenumber(int id, int count);

// --- Extended pager ---

// Creates an extended page bar (with a page input box).
virtual bool XPaging_AddWnd(int x, int y, int cx, int cy, int& id);
// The number of pages.
virtual bool XPaging_SetTotalPageNum(int id, int count);
// The current page, without a report.
virtual bool XPaging_SetCurPageNo(int id, int page);
// The current page.
virtual int XPaging_GetCurPageNo(int id) const;
// The font.
virtual bool XPaging_SetTextFont(int id, int size, const std::string& face);
// The background.
virtual bool XPaging_SetBkColor(int id, COLORREF color);
// The colour of the total text.
virtual bool XPaging_SetTotalPageTextColor(int id, COLORREF color);
// The item borders: normal, under the mouse, current.
virtual bool XPaging_SetItemBorderColor(int id, COLORREF normal, COLORREF hot, COLORREF current);
// The item backgrounds: normal, under the mouse, current.
virtual bool XPaging_SetItemBkColor(int id, COLORREF normal, COLORREF hot, COLORREF current);
// The item texts: normal, under the mouse, current.
virtual bool XPaging_SetItemTextColor(int id, COLORREF normal, COLORREF hot, COLORREF current);
// The width and height that show every item.
virtual void XPaging_GetReqSize(int id, int& cx, int& cy) const;
// How many page numbers show at once.
virtual bool XPaging_SetMaxPageCount(int id, int count);
// Empties the page input box.
virtual bool XPaging_ClearPageInputInfo(int id);
// Marks the bar for repainting.
virtual bool XPaging_InvalidateWnd(int id, bool erase);

// --- Month calendar ---

// Creates a month calendar.
virtual bool MonthCal_AddWnd(int x, int y, int cx, int cy, int& id);
// A colour: 0 background, 1 text, 2 title background, 3 title text, 4 month background, 5 trailing days.
virtual bool MonthCal_SetColor32(int id, int which, COLORREF color);
// Shows a day in bold (or not).
virtual bool MonthCal_BOLDDAY(int id, int year, int month, int day, bool bold);
// Selects today.
virtual bool MonthCal_SelToday(int id);
// Selects a day ("YYYY-MM-DD").
virtual bool MonthCal_SetCurSel32(int id, const std::string& date);
// The selected day.
virtual std::string MonthCal_GetCurSel32(int id) const;
// The days that may be selected; "" leaves a side open.
virtual bool MonthCal_SetRange32(int id, const std::string& min_date, const std::string& max_date);
// The range, "" for an open side.
virtual void MonthCal_GetRange32(int id, std::string& min_date, std::string& max_date) const;
// The shown month (flag 0) or its six-week page (flag 1): first and last day.
virtual void MonthCal_GetCurShowRange(int id, int flag, std::string& first, std::string& last) const;

// --- Picture ---

// Creates a picture box.
virtual bool PictureEx_AddWnd(int x, int y, int cx, int cy, int& id);
// Loads a PNG, GIF, BMP or JPEG file.
virtual bool PictureEx_Load(int id, const std::string& path);
// The image's width and height.
virtual void PictureEx_GetReqSize(int id, int& cx, int& cy) const;
// The background.
virtual bool PictureEx_SetBkColor(int id, COLORREF color);
// Removes the image.
virtual bool PictureEx_UnLoad(int id);

// --- Up-down stream ---

// Creates an up-and-down-stream panel.
virtual bool UpDownStream_AddWnd(int x, int y, int cx, int cy, int& id);
// The width and height that show the shown items.
virtual void UpDownStream_GetReqSize(int id, int& cx, int& cy) const;
// How many items each side shows.
virtual bool UpDownStream_SetStreamItemNum(int id, int up, int down);
// The item in the middle.
virtual bool UpDownStream_SetCurSelItem(int id, const std::string& text);
// Adds an upper item.
virtual bool UpDownStream_AddUpStreamItem(int id, const std::string& text, COLORREF color);
// Adds a lower item.
virtual bool UpDownStream_AddDownStreamItem(int id, const std::string& text, COLORREF color);
// Removes every item.
virtual bool UpDownStream_RemoveAllItemInfo(int id);
// Off: drawing pauses while a script fills the panel.
virtual bool UpDownStream_Redraw(int id, bool redraw);

// --- Picture button ---

// Creates a button drawn from an image file.
virtual bool PictureBtn_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& image_path);
// The button's style.
virtual bool PictureBtn_SetStyle(int id, int style);
// Drawn without background.
virtual bool PictureBtn_IsTransparent(int id, bool transparent);
// The background, and under the mouse.
virtual bool PictureBtn_SetBkColor(int id, COLORREF normal, COLORREF hot);
// The text colour, and under the mouse.
virtual bool PictureBtn_SetTextColor(int id, COLORREF normal, COLORREF hot);
// The text underlined.
virtual bool PictureBtn_SetUnderline(int id, bool underline);
// The text in bold.
virtual bool PictureBtn_SetBoldFont(int id, bool bold);
// A tip with its delay and width.
virtual bool PictureBtn_SetToolTip(int id, const std::string& tip, int delay, int width);

// --- Combo tree ---

// Creates a drop-down tree; with check_boxes its items have check boxes.
virtual bool ComboTree_AddWnd(int x, int y, int cx, int cy, int& id, bool check_boxes = true);
// Adds an item by its path (labels joined by "\").
virtual bool ComboTree_AddString(int id, const std::string& path);
// The selected item's path.
virtual std::string ComboTree_GetCurrentTreePath(int id) const;
// Removes every item.
virtual void ComboTree_ResetContent(int id);
// Selects an item.
virtual bool ComboTree_SelectString(int id, const std::string& path);
// Removes an item and its subtree.
virtual bool ComboTree_DeleteString(int id, const std::string& path);
// Checks an item's subtree.
virtual bool ComboTree_SetCheck(int id, const std::string& path, bool checked);
// 1 checked, 0 unchecked, -1 no such item.
virtual int ComboTree_IsItemChecked(int id, const std::string& path) const;
// The open tree's size.
virtual void ComboTree_DroppedSize(int id, int cx, int cy);

// --- List tree ---

// Creates a list tree whose items are item_height pixels high (0: 20).
virtual bool ListTree_AddWnd(int x, int y, int cx, int cy, int& id, int item_height = 0);
// Backgrounds: normal, selected, under the mouse.
virtual void ListTree_SetBkColor(int id, COLORREF bk, COLORREF selected, COLORREF hover);
// Text colours: normal, selected, roots, lines.
virtual void ListTree_SetClrAttr(int id, COLORREF text, COLORREF selected, COLORREF root, COLORREF line);
// A root item with a value of its own; its handle (0 when refused).
virtual int ListTree_NewRootItem(int id, const std::string& text, int data);
// A child item; its handle (0 when refused).
virtual int ListTree_AddItem(int id, const std::string& text, int parent, int data);
// Renames an item.
virtual void ListTree_ChangeItemName(int id, int item, const std::string& text);
// Selects an item.
virtual void ListTree_SetSelectItem(int id, int item);
// The selected item, 0 for none.
virtual int ListTree_GetSelectItem(int id) const;
// Removes an item and its children.
virtual void ListTree_DeleteItem(int id, int item);
// Opens or closes an item.
virtual void ListTree_SetbOpenItem(int id, int item, bool open);

// --- Trade quote ---

// Creates a quote panel with 1..10 levels a side.
virtual bool Trade_Quote_AddWnd(int x, int y, int cx, int cy, int& id, int levels);
// The width and height that show the whole panel.
virtual void Trade_Quote_GetReqSize(int id, int& cx, int& cy) const;

// --- Plug-in ---

// Sets an attribute of a plug-in window.
virtual bool Plugin_SetAttrribute(int id, const std::string& name, const std::string& value);
// An attribute of a plug-in window ("" when unset).
virtual std::string Plugin_GetAttrribute(int id, const std::string& name) const;
