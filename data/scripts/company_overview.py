# 公司概况: one company on one page. A heading with the company's name, a
# tab switch that chooses which key figures the grid shows, the grid of those
# figures over the latest report periods, and a bar chart of the yearly net
# profit. Everything comes from three asynchronous requests; each reply
# fills its part of the page when it arrives.
#
# Entry: InitContainer(o, code) with the security code ("600000" when empty).
# Widgets, in the order they are made (ids from 10000): the tab switch, the
# grid, the chart.

PERIODS = 6  # report periods in the grid, the latest first

# The tabs and the figures of each (field of 100000013, row title, decimals).
TABS = [
    ('每股指标', [('T006', '基本每股收益(元)', 3), ('T007', '每股净资产(元)', 3),
                ('T008', '每股经营现金流(元)', 3)]),
    ('盈利能力', [('T009', '净资产收益率(%)', 2), ('T010', '总资产收益率(%)', 2),
                ('T011', '销售毛利率(%)', 2), ('T012', '销售净利率(%)', 2)]),
    ('成长与偿债', [('T014', '营收同比增长(%)', 2), ('T015', '净利润同比增长(%)', 2),
                 ('T013', '资产负债率(%)', 2), ('T016', '流动比率', 2)]),
]
FIELDS = sorted({field for _, figures in TABS for field, _, _ in figures})

PAGE = {}
DATA = {}


def InitContainer(o, code):
    code = code or '600000'
    DATA.clear()
    DATA.update(code=code, tab=0, periods=[], figures={}, profits=[])
    o.SetBkClr(0xFFFFFF)
    o.AddBkText('公司概况 ' + code, 10, 8, 700, 24, '宋体', 14, 700, 0x333333, -16777216, 0, 1)
    PAGE['tabs'] = o.Switch_AddWnd(10, 64, 420, 24, TABS[0][0])
    for title, _ in TABS[1:]:
        o.Switch_InsertLabel(PAGE['tabs'], -1, title, '')
    o.Switch_SetCurLabel(PAGE['tabs'], 0)
    PAGE['grid'] = o.Grid_AddWnd(10, 92, 700, 150, '')
    o.Grid_SetFixedRowCount(PAGE['grid'], 1)
    o.Grid_SetFixedColumnCount(PAGE['grid'], 1)
    PAGE['chart'] = o.Chart_AddWnd(10, 256, 700, 300, '年度归母净利润(亿元)')
    o.Chart_SetAxisDiscrete(PAGE['chart'], 1, 1)
    o.ShowWaitDlg(400, 300)
    DATA['waiting'] = 3
    o.FetchData('got_company', "SELECT T004,T005,T008,T009 FROM 100000002 WHERE T002='%s'" % code, 0, '')
    o.FetchData('got_figures', 'SELECT T005,%s FROM 100000013 WHERE T003=\'%s\' ORDER BY T005 DESC'
                % (','.join(FIELDS), code), 0, '')
    o.FetchData('got_profits', "SELECT T005,T016 FROM 100000011 WHERE T003='%s' ORDER BY T005" % code, 0, '')


def arrived(o):
    DATA['waiting'] -= 1
    if DATA['waiting'] == 0:
        o.HideWaitDlg()
        o.SendMessage(DATA['code'], '', 'PAGE_READY', '%d periods, %d years' %
                      (len(DATA['periods']), len(DATA['profits'])))


def got_company(o, handle, status):
    h = int(handle)
    if o.GetSqlRecordRowCount(h) > 0:
        name = o.GetSqlRecordAsString(h, 0, 'T004')
        full = o.GetSqlRecordAsString(h, 0, 'T005')
        capital = o.GetSqlRecordAsDouble(h, 0, 'T008')
        staff = o.GetSqlRecordAsInt(h, 0, 'T009')
        o.ClearAllBkText()
        o.AddBkText('%s (%s)  %s' % (name, DATA['code'], full), 10, 8, 700, 24, '宋体', 14, 700,
                    0x333333, -16777216, 0, 1)
        o.AddBkText('注册资本 %.2f 万元    员工 %d 人' % (capital, staff), 10, 36, 700, 20, '宋体', 10, 400,
                    0x666666, -16777216, 0, 1)
    else:
        o.AddBkText('没有这家公司的资料', 10, 36, 700, 20, '宋体', 10, 400, 0x0000FF, -16777216, 0, 1)
    arrived(o)


def got_figures(o, handle, status):
    h = int(handle)
    for row in range(min(o.GetSqlRecordRowCount(h), PERIODS)):
        period = o.GetSqlRecordAsInt(h, row, 'T005')
        DATA['periods'].append(period)
        DATA['figures'][period] = {field: o.GetSqlRecordAsDouble(h, row, field) for field in FIELDS}
    fill_grid(o)
    arrived(o)


def got_profits(o, handle, status):
    h = int(handle)
    for row in range(o.GetSqlRecordRowCount(h)):
        period = o.GetSqlRecordAsInt(h, row, 'T005')
        if period % 10000 == 1231:
            DATA['profits'].append((period // 10000, o.GetSqlRecordAsDouble(h, row, 'T016') / 1e8))
    chart = PAGE['chart']
    o.Chart_RemoveAllSeries(chart)
    bars = o.Chart_CreateXYPointSeries(chart, 2, 0, 0)
    o.Chart_SetSeriesName(chart, bars, '归母净利润')
    o.Chart_SetSeriesColor(chart, bars, 0xCC6633)
    for year, profit in DATA['profits']:
        o.Chart_AddXYPoint(chart, bars, year, round(profit, 2))
    arrived(o)


def period_text(period):
    return '%d-%02d-%02d' % (period // 10000, period // 100 % 100, period % 100)


def fill_grid(o):
    grid = PAGE['grid']
    figures = TABS[DATA['tab']][1]
    periods = DATA['periods']
    o.Grid_SetRowCount(grid, 1 + len(figures))
    o.Grid_SetColumnCount(grid, 1 + len(periods))
    o.Grid_SetItemText(grid, 0, 0, '报告期')
    for col, period in enumerate(periods, start=1):
        o.Grid_SetItemText(grid, 0, col, period_text(period))
    for row, (field, title, decimals) in enumerate(figures, start=1):
        o.Grid_SetItemText(grid, row, 0, title)
        for col, period in enumerate(periods, start=1):
            o.Grid_SetItemText(grid, row, col, '%.*f' % (decimals, DATA['figures'][period][field]))
    o.Grid_SetColumnWidth(grid, 0, 150)
    for col in range(1, 1 + len(periods)):
        o.Grid_SetColumnWidth(grid, col, 90)


def OnSwitchChanged(o, id, index):
    DATA['tab'] = int(index)
    fill_grid(o)


def OnGridLButDblClick(o, id, row, col):
    # A period's column opens that period's statements in the host.
    if int(col) > 0 and DATA['periods']:
        o.SendMessage(DATA['code'], str(DATA['periods'][int(col) - 1]), 'OPEN_PERIOD', '')
