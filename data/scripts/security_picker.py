# 个股行情: pick a security in the combo, see its latest daily bar; the
# button asks for it again (the count shows how often the page asked).
#
# Entry: InitContainer(o, code) preselects a code when the list has it.
# Widgets, in the order they are made (ids from 10000): the combo, the
# refresh button, the quote grid. Events for the terminal:
# data/scripts/security_picker.events.

LIST_SIZE = 10
ROWS = [('T003', '交易日期', 'i'), ('T004', '前收盘价', 'd'), ('T005', '开盘价', 'd'), ('T006', '最高价', 'd'),
        ('T007', '最低价', 'd'), ('T008', '收盘价', 'd'), ('T009', '成交量(股)', 'L'), ('T011', '涨跌幅(%)', 'd')]

PAGE = {}
STATE = {}


def InitContainer(o, code):
    STATE.clear()
    STATE.update(wanted=code, codes=[], asked=0)
    PAGE['combo'] = o.Combo_AddWnd(10, 10, 220, 24, 200)
    PAGE['refresh'] = o.Button_AddWnd(240, 10, 80, 24, '刷新')
    PAGE['grid'] = o.Grid_AddWnd(10, 44, 310, 30 + 22 * len(ROWS), '')
    grid = PAGE['grid']
    o.Grid_SetRowCount(grid, 1 + len(ROWS))
    o.Grid_SetColumnCount(grid, 2)
    o.Grid_SetFixedRowCount(grid, 1)
    o.Grid_SetItemText(grid, 0, 0, '项目')
    o.Grid_SetItemText(grid, 0, 1, '数值')
    for row, (_, title, _) in enumerate(ROWS, start=1):
        o.Grid_SetItemText(grid, row, 0, title)
    o.Grid_SetColumnWidth(grid, 0, 130)
    o.Grid_SetColumnWidth(grid, 1, 160)
    o.FetchData('got_list', "SELECT T003,T004 FROM 100000001 WHERE T005='1' ORDER BY T003", 0, '')


def got_list(o, handle, status):
    h = int(handle)
    combo = PAGE['combo']
    for row in range(min(o.GetSqlRecordRowCount(h), LIST_SIZE)):
        code = o.GetSqlRecordAsString(h, row, 'T003')
        STATE['codes'].append(code)
        o.Combo_AddString(combo, code + ' ' + o.GetSqlRecordAsString(h, row, 'T004'))
    if not STATE['codes']:
        return
    first = STATE['codes'].index(STATE['wanted']) if STATE['wanted'] in STATE['codes'] else 0
    o.Combo_SetCurSel(combo, first)
    ask(o, STATE['codes'][first])


def ask(o, code):
    STATE['code'] = code
    STATE['asked'] += 1
    o.Button_SetWindowText(PAGE['refresh'], '刷新 (%d)' % STATE['asked'])
    o.FetchData('got_bar', "SELECT %s FROM 100000020 WHERE T002='%s' ORDER BY T003 DESC"
                % (','.join(field for field, _, _ in ROWS), code), 0, '')


def got_bar(o, handle, status):
    h = int(handle)
    grid = PAGE['grid']
    found = o.GetSqlRecordRowCount(h) > 0
    readers = {'i': o.GetSqlRecordAsInt, 'd': o.GetSqlRecordAsDouble, 'L': o.GetSqlRecordAsInt64}
    for row, (field, _, kind) in enumerate(ROWS, start=1):
        value = readers[kind](h, 0, field) if found else None
        text = '--' if value is None else ('%.2f' % value if kind == 'd' else str(value))
        o.Grid_SetItemText(grid, row, 1, text)
    o.SendMessage(STATE['code'], '', 'QUOTE', o.Grid_GetItemText(grid, 6, 1))


def OnComboSelChanged(o, id, index, text):
    ask(o, STATE['codes'][int(index)])


def OnButtonClicked(o, id):
    if STATE.get('code'):
        ask(o, STATE['code'])
