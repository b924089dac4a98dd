# A quote list of one board for the script grid loader: the board's codes
# from the host, their quotes from the host's quote records, the names from
# the data service, sorted by change; a click on a cell of the change column
# shows the histogram of the change of every row.
# The loader calls InitGrid after the load, OnNames when the names arrive and
# OnUpdataHQ on every quote update, all without arguments.
import pygrid

BOARD = '上证Ａ股'
MAX_ROWS = 200

# (title, width, align, decimals, scale, numeric, histogram decimals, histogram scale, quote field)
COLUMNS = [
    ('代码', 64, 0, 0, 1.0, 0, 2, 1.0, None),
    ('名称', 80, 0, 0, 1.0, 0, 2, 1.0, None),
    ('最新', 64, 1, 2, 1.0, 1, 2, 1.0, 5),
    ('涨跌', 64, 1, 2, 1.0, 1, 2, 1.0, 9),
    ('涨幅%', 64, 1, 2, 1.0, 1, 1, 1.0, 10),
    ('成交量(万股)', 90, 1, 2, 1e4, 1, 0, 1e4, 7),
    ('成交额(亿)', 80, 1, 2, 1e8, 1, 2, 1e8, 8),
    ('总市值(亿)', 80, 1, 1, 1e8, 1, 1, 1e8, 19),
]
CHANGE = 3  # the columns whose sign colours the row's quotes
UP, DOWN = 0x0000FF, 0x00A000  # red and green (COLORREF)


def _quote(code, field):
    text = pygrid.HostQuote(code, field)
    return float(text) if text else None


def _fill_quotes(row, code, live):
    change = _quote(code, 9)
    colour = -16777216 if not change else (UP if change > 0 else DOWN)
    for col, column in enumerate(COLUMNS):
        field = column[8]
        if field is None:
            continue
        value = _quote(code, field)
        if value is None:
            pygrid.SetCellText(row, col, '--')
        elif live:
            pygrid.UpdateCellDouble(row, col, value)
        elif col in (2, CHANGE, 4):
            pygrid.SetCellDoubleColor(row, col, value, colour)
        else:
            pygrid.SetCellDouble(row, col, value)


def InitGrid():
    pygrid.ClearGrid()
    for title, width, align, decimals, scale, numeric, hist_decimals, hist_scale, field in COLUMNS:
        is_code = 1 if title == '代码' else 0
        pygrid.InsertHead(title, width, align, decimals, scale, numeric, 0, hist_decimals, hist_scale, 1, is_code, -1)
    pygrid.SetFixedColumnCount(2)
    codes = [c for c in pygrid.HostBoardCodes(BOARD).split(',') if c][:MAX_ROWS]
    for row, code in enumerate(codes):
        pygrid.SetCellText(row, 0, code)
        _fill_quotes(row, code, False)
    pygrid.SortGrid(4, 0)
    if codes:
        pygrid.FetchData('OnNames', 'SELECT T002,T004 FROM 100000002', 0, '')


def OnNames():
    names = {}
    for i in range(pygrid.GetRecordCount()):
        names[pygrid.GetFieldAsString(i, 'T002')] = pygrid.GetFieldAsString(i, 'T004')
    for row in range(pygrid.GetDataRowCount()):
        pygrid.SetCellText(row, 1, names.get(pygrid.GetDataCellText(row, 0), ''))
    pygrid.ReleaseReply()
    pygrid.RedrawGrid()


def OnUpdataHQ():
    for row in range(pygrid.GetDataRowCount()):
        _fill_quotes(row, pygrid.GetDataCellText(row, 0), True)
