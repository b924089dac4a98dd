# A page with one widget of every family, each set up the way a script would:
# a reference for script authors and the page the widget tests read back.
# Entry function: InitContainer(o, argument).
import os
import tempfile

W = {}  # the widgets' ids by name, for whoever reads the page back


def _picture_file():
    """A 2 x 2 BMP the picture box can load (the page embeds it)."""
    path = os.path.join(tempfile.gettempdir(), 'orbe_gallery_%d.bmp' % os.getpid())
    row = bytes([0, 0, 255, 0, 255, 0]) + bytes(2)  # red, green; padded to 4 bytes
    header = (b'BM' + (54 + 16).to_bytes(4, 'little') + bytes(4) + (54).to_bytes(4, 'little') +
              (40).to_bytes(4, 'little') + (2).to_bytes(4, 'little') + (2).to_bytes(4, 'little') +
              (1).to_bytes(2, 'little') + (24).to_bytes(2, 'little') + bytes(24))
    with open(path, 'wb') as f:
        f.write(header + row + row)
    return path


def InitContainer(o, argument):
    o.SetBkClr(0xF8F8F8)
    # Titles, appended to the navigation strip at the top.
    W['title'] = o.Title_AddWnd(0, 30, 760, 22, '行情与财务')
    o.Title_SetGradient(W['title'], 0xFFE0C0, 0xFFFFFF, 1)
    o.Title_SetTipText(W['title'], '本页的所有控件')
    o.Title_SetFont(W['title'], 11, '宋体', 700)
    o.Title_IsAppendNavigate(W['title'], 1, 0)
    o.EnableNavigate(1)
    o.Navigate_ShowWnd(0, 0, 760, 24)

    # A grid of quotes: heading row, alternating rows, a merged heading, a sort arrow.
    g = W['grid'] = o.Grid_AddWnd(0, 60, 360, 150, '')
    o.Grid_SetRowCount(g, 5)
    o.Grid_SetColumnCount(g, 4)
    o.Grid_SetFixedRowCount(g, 2)
    o.Grid_SetFixedColumnCount(g, 1)
    for col, text in enumerate(('代码', '名称', '最新', '涨幅')):
        o.Grid_SetItemText(g, 1, col, text)
    o.Grid_SetItemText(g, 0, 1, '行情')
    o.Grid_MergeFixedCells(g, 0, 1, 0, 3, 2, -16777216)
    rows = [('600000', '浦发银行', '10.25', '1.48%'), ('000001', '平安银行', '12.03', '-0.66%'),
            ('600519', '贵州茅台', '1688.00', '2.10%')]
    for r, values in enumerate(rows, start=2):
        for col, text in enumerate(values):
            o.Grid_SetItemText(g, r, col, text)
        o.Grid_SetItemText2(g, r, 3, values[3], 0x0000FF if not values[3].startswith('-') else 0x008000)
    o.Grid_SetColumnType(g, 3, 1)
    o.Grid_SortItems(g, 3, 0)
    o.Grid_SetAlternationNoFixedCellClr(g, 0xFFFFFF, 0xF0F0F0)
    o.Grid_SetItemUrl(g, 2, 1, 'http://quote.example/600519')
    o.Grid_SetHideStr(g, 2, 0, 'SH600519')
    o.Grid_SetItemTitleTip(g, 3, 1, '提示', '按涨幅排序')
    o.Grid_SetImage(g, 2, 3, 0)

    # A chart: a line with a time axis, bars on the right axis, a Gantt and a strap series.
    c = W['chart'] = o.Chart_AddWnd(380, 60, 380, 220, '股价与成交量')
    o.Chart_CreateAxis(c, 1, 1)
    o.Chart_SetTimeTickLabelFormat(c, 1, 0, '%m-%d')
    line = o.Chart_CreateXYPointSeries(c, 0, 0, 0)
    bars = o.Chart_CreateXYPointSeries(c, 2, 1, 0)
    o.Chart_SetSeriesName(c, line, '收盘')
    o.Chart_SetSeriesName(c, bars, '成交量')
    day = 1704067200.0  # 2024-01-01 00:00 UTC
    for i, (close, volume) in enumerate([(10.1, 300), (10.4, 420), (10.2, 380), (10.8, 510), (10.6, 450)]):
        o.Chart_AddXYPoint(c, line, day + i * 86400, close)
        o.Chart_AddXYPoint(c, bars, day + i * 86400, volume)
    o.Chart_SetLineSmooth(c, line, 1)
    o.Chart_EnableSeriesShadow(c, line, 1)
    o.Chart_SetBarBalloonLabel(c, bars, 3, '放量')
    gantt = o.Chart_CreateGanttSerie(c, 0, 0)
    o.Chart_AddGanttPoint(c, gantt, day, day + 2 * 86400, 10.0)
    strap = o.Chart_CreateStrapSerie(c, 0, 0)
    o.Chart_AddStrapPoint(c, strap, day, 9.9, 10.3)
    o.Chart_AddStrapPoint(c, strap, day + 4 * 86400, 10.4, 10.9)
    o.Chart_SetLegendVisable(c, 1)
    o.Chart_LegendDockSide(c, 3)
    o.Chart_SetGridVisable(c, 0, 1)

    # Text: a rich edit, tabs, a web pane.
    e = W['edit'] = o.Edit_AddWnd(0, 220, 360, 60, '')
    o.Edit_AddText(e, '公司公告：', 0x000000, 10, '宋体', 700, 0, 0)
    o.Edit_AddLink(e, '查看原文', 'http://notice.example/1', 0xFF0000, 10, '宋体', 400, 0, 1)
    o.Edit_ShowToolbar(e, 1)
    s = W['switch'] = o.Switch_AddWnd(0, 290, 360, 22, '概况')
    o.Switch_InsertLabel(s, -1, '财务', '财务数据')
    o.Switch_InsertLabel(s, -1, '股东', '')
    o.Switch_SetCurLabel(s, 1)
    W['web'] = o.Web_AddWnd(380, 290, 380, 40, 'https://www.example.org/report')

    # Charts of shares.
    p = W['pie'] = o.Pie_AddWnd(0, 320, 180, 160, '股本结构')
    o.Pie_InsertItem(p, '流通股', '可流通', 70.0, 0x3366CC)
    o.Pie_InsertItem(p, '限售股', '', 30.0, -1)
    o.Pie_SetSelectedElement(p, '限售股')
    v = W['vchart'] = o.VChart_AddWnd(190, 320, 180, 160, '季度利润')
    for label, value in (('一季', 1.2), ('中期', 2.6), ('三季', -0.4), ('年度', 3.1)):
        o.VChart_AddItem(v, label, value, -1, -16777216, 1)

    # Controls.
    W['combo'] = o.Combo_AddWnd(380, 340, 120, 22, 120)
    for text in ('日线', '周线', '月线'):
        o.Combo_AddString(W['combo'], text)
    o.Combo_SetCurSel(W['combo'], 1)
    W['checkcombo'] = o.CheckCombo_AddWnd(510, 340, 120, 22, '市场')
    for text in ('沪市', '深市'):
        o.CheckCombo_AddString(W['checkcombo'], text)
    o.CheckCombo_SetCheck(W['checkcombo'], 0, 1)
    W['check'] = o.Check_AddWnd(640, 340, 120, 22, '复权')
    o.Check_SetCheck(W['check'], 1)
    W['radio'] = o.Radio_AddWnd(380, 370, 60, 22, '前复权')
    W['radio2'] = o.Radio_AddWnd(440, 370, 60, 22, '后复权')
    o.Radio_SetGroupID(W['radio'], 1)
    o.Radio_SetGroupID(W['radio2'], 1)
    o.Radio_SetCheck(W['radio2'], 1)
    W['button'] = o.Button_AddWnd(510, 370, 80, 22, '刷新')
    o.Button_SetBkColor(W['button'], 0xCCFFCC)
    W['spin'] = o.Spin_AddWnd(600, 370, 60, 22)
    o.Spin_SetRange(W['spin'], 1, 250)
    o.Spin_SetValue(W['spin'], 20, 0)
    W['datetime'] = o.DateTime_AddWnd(380, 400, 180, 22, 2, 0)
    o.DateTime_SetRange32(W['datetime'], '2020-01-01', '', '2030-12-31', '')
    o.DateTime_SetDateTime(W['datetime'], '2024-06-28', '15:00:00')
    W['paging'] = o.Paging_AddWnd(570, 400, 190, 22)
    o.Paging_SetTotalPageNum(W['paging'], 12)
    o.Paging_SetCurPageNo(W['paging'], 3)
    W['xpaging'] = o.XPaging_AddWnd(380, 430, 380, 24)
    o.XPaging_SetTotalPageNum(W['xpaging'], 40)
    o.XPaging_SetCurPageNo(W['xpaging'], 7)
    o.XPaging_SetItemBkColor(W['xpaging'], 0xFFFFFF, 0xEEEEEE, 0x3366CC)
    W['monthcal'] = o.MonthCal_AddWnd(0, 490, 200, 160)
    o.MonthCal_SetCurSel32(W['monthcal'], '2024-06-28')
    o.MonthCal_BOLDDAY(W['monthcal'], 2024, 6, 18, 1)
    W['picture'] = o.PictureEx_AddWnd(210, 490, 40, 40)
    o.PictureEx_Load(W['picture'], _picture_file())
    W['updownstream'] = o.UpDownStream_AddWnd(260, 490, 120, 120)
    o.UpDownStream_SetCurSelItem(W['updownstream'], '钢铁')
    o.UpDownStream_AddUpStreamItem(W['updownstream'], '铁矿石', 0x0000FF)
    o.UpDownStream_AddDownStreamItem(W['updownstream'], '汽车', 0x008000)
    W['picturebtn'] = o.PictureBtn_AddWnd(390, 490, 40, 40, 'none.png')
    o.PictureBtn_SetToolTip(W['picturebtn'], '打印', 500, 80)
    W['combotree'] = o.ComboTree_AddWnd(440, 490, 160, 22, 1)
    for path in ('行业\\银行', '行业\\证券', '概念\\新能源'):
        o.ComboTree_AddString(W['combotree'], path)
    o.ComboTree_SetCheck(W['combotree'], '行业', 1)
    o.ComboTree_SelectString(W['combotree'], '概念\\新能源')
    W['listtree'] = o.ListTree_AddWnd(610, 490, 150, 120, 20)
    root = o.ListTree_NewRootItem(W['listtree'], '自选股', 1)
    o.ListTree_AddItem(W['listtree'], '浦发银行', root, 600000)
    o.ListTree_SetbOpenItem(W['listtree'], root, 1)
    W['trade'] = o.Trade_Quote_AddWnd(0, 660, 200, 240, 5)
    W['plugin'] = o.AddPluginWnd(210, 660, 150, 60, 7, 0)
    o.Plugin_SetAttrribute(W['plugin'], 'code', '600000')

    # What the container draws under the widgets, its menu and tab order.
    o.AddBkRegion(370, 58, 392, 226, 0xFFFFFF, 0xC0C0C0, 1)
    o.AddLine(0, 286, 760, 286, 0xC0C0C0, 1, 1)
    o.AddBkText('数据仅供参考', 560, 660, 200, 20, '宋体', 9, 400, 0x808080, -16777216, 2, 1)
    o.InitContainerMenu('gallery', 0)
    o.AppendMenu(0, 1001, '复制', 0, 0, 0, -1)
    o.AppendMenu(0, 1002, '导出', 0, 1, 0, -1)
    o.SetWndTabList([W['combo'], W['check'], W['button']])
    o.RefreshScrollWnd()
