// Every widget method of the script object on a live container, from Python:
// each row called with valid arguments answers a value of its declared shape
// (and a setter reports success), and each setter with a matching getter
// round-trips its value. The rows are the method table's; the arguments are
// derived from each row's format and family, with the exceptions as data.
#include <gtest/gtest.h>

#include <string>

#include "orbe/platform/shell.h"
#include "orbe/script/script_methods.h"
#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/grid_ctrl.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

// The table as a Python list of (name, format, result, family).
std::string RowsLiteral() {
  std::string rows = "ROWS = [\n";
  for (std::size_t i = orbe::kScriptDataMethodCount; i < orbe::kScriptMethodCount; ++i) {
    const orbe::ScriptMethodInfo& m = orbe::ScriptMethods()[i];
    rows += "  ('" + std::string(m.name) + "', '" + std::string(m.format) + "', '" + std::string(m.result) + "', '" +
            std::string(orbe::ScriptMethodFamilyName(m.family)) + "'),\n";
  }
  return rows + "]\n";
}

constexpr const char* kScript = R"PY(
import os, tempfile
OUT = tempfile.mkdtemp(prefix='orbe_widget_rows_')

def setup(o):
    W = {}
    add = lambda name, *a: W.__setitem__(name, a[0](*a[1:]))
    add('G', o.Grid_AddWnd, 0, 0, 300, 200, 'g')
    o.Grid_SetRowCount(W['G'], 10); o.Grid_SetColumnCount(W['G'], 5)
    o.Grid_SetFixedRowCount(W['G'], 1); o.Grid_SetFixedColumnCount(W['G'], 1)
    o.Grid_SetItemText(W['G'], 1, 1, 'A')
    add('C', o.Chart_AddWnd, 0, 200, 300, 200, 'c')
    W['S'] = o.Chart_CreateXYPointSeries(W['C'], 0, 0, 0)
    W['SB'] = o.Chart_CreateXYPointSeries(W['C'], 2, 0, 0)
    W['SU'] = o.Chart_CreateXYPointSeries(W['C'], 4, 0, 0)
    W['SC'] = o.Chart_CreateCandlestickSerie(W['C'], 0, 0)
    W['SG'] = o.Chart_CreateGanttSerie(W['C'], 0, 0)
    W['SS'] = o.Chart_CreateStrapSerie(W['C'], 0, 0)
    for s in (W['S'], W['SB'], W['SU']):
        for x in range(3): o.Chart_AddXYPoint(W['C'], s, x, x + 1.0)
    for x in range(3): o.Chart_AddCandlestickPoint(W['C'], W['SC'], x, 1.0, 4.0, 2.0, 3.0)
    o.Chart_AddGanttPoint(W['C'], W['SG'], 0.0, 2.0, 1.0)
    o.Chart_AddStrapPoint(W['C'], W['SS'], 0.0, 1.0, 2.0)
    add('E', o.Edit_AddWnd, 300, 0, 200, 100, 'text')
    add('T', o.Title_AddWnd, 300, 100, 200, 20, 'title')
    add('W', o.Switch_AddWnd, 300, 120, 200, 20, 'one')
    o.Switch_InsertLabel(W['W'], -1, 'two', 'tip')
    add('B', o.Web_AddWnd, 300, 140, 200, 100, 'http://a/')
    add('P', o.Pie_AddWnd, 500, 0, 200, 200, 'pie')
    o.Pie_InsertItem(W['P'], 'A', 'tip', 1.0, 255); o.Pie_InsertItem(W['P'], 'B', '', 2.0, -1)
    add('V', o.VChart_AddWnd, 500, 200, 200, 200, 'v')
    o.VChart_AddItem(W['V'], 'x', 1.0, 255, -16777216, 1)
    add('CB', o.Combo_AddWnd, 0, 400, 100, 20, 100)
    o.Combo_AddString(W['CB'], 'A'); o.Combo_AddString(W['CB'], 'B')
    add('CC', o.CheckCombo_AddWnd, 100, 400, 100, 20, 'cc')
    o.CheckCombo_AddString(W['CC'], 'A'); o.CheckCombo_AddString(W['CC'], 'B')
    add('CK', o.Check_AddWnd, 200, 400, 100, 20, 'ck')
    add('R', o.Radio_AddWnd, 300, 400, 100, 20, 'r')
    add('BT', o.Button_AddWnd, 400, 400, 100, 20, 'bt')
    add('SP', o.Spin_AddWnd, 500, 400, 60, 20)
    add('DT', o.DateTime_AddWnd, 0, 420, 100, 20, 2, 0)
    add('PG', o.Paging_AddWnd, 100, 420, 200, 20)
    o.Paging_SetTotalPageNum(W['PG'], 5)
    add('XP', o.XPaging_AddWnd, 300, 420, 200, 20)
    o.XPaging_SetTotalPageNum(W['XP'], 5)
    add('MC', o.MonthCal_AddWnd, 0, 440, 200, 160)
    add('PI', o.PictureEx_AddWnd, 200, 440, 100, 100)
    add('UD', o.UpDownStream_AddWnd, 300, 440, 100, 100)
    add('PB', o.PictureBtn_AddWnd, 400, 440, 40, 40, 'none.png')
    add('CT', o.ComboTree_AddWnd, 440, 440, 100, 20, 1)
    o.ComboTree_AddString(W['CT'], 'A\\B')
    add('LT', o.ListTree_AddWnd, 540, 440, 100, 100, 20)
    W['LR'] = o.ListTree_NewRootItem(W['LT'], 'root', 7)
    W['LC'] = o.ListTree_AddItem(W['LT'], 'child', W['LR'], 8)
    add('TQ', o.Trade_Quote_AddWnd, 640, 440, 100, 200, 5)
    add('PL', o.AddPluginWnd, 740, 440, 100, 100, 1, 0)
    W['GT'] = o.Grid_AddAsTooltip(); W['CT2'] = o.Chart_AddAsTooltip(); W['ET'] = o.Edit_AddAsTooltip()
    o.InitContainerMenu('m', 0); o.AppendMenu(0, 101, 'item', 0, 0, 0, -1)
    W['L1'] = o.AddLine(0, 0, 10, 10, 0, 1, 0)
    W['R1'] = o.AddBkRegion(0, 0, 10, 10, 255, 0, 1)
    W['X1'] = o.AddBkText('t', 0, 0, 50, 20, 'SimSun', 9, 400, 0, -16777216, 0, 1)
    with open(os.path.join(OUT, 'p.bmp'), 'wb') as f:  # a 1x1 picture for PictureEx_Load
        f.write(b'BM' + (58).to_bytes(4, 'little') + bytes(4) + (54).to_bytes(4, 'little') +
                (40).to_bytes(4, 'little') + (1).to_bytes(4, 'little') + (1).to_bytes(4, 'little') +
                (1).to_bytes(2, 'little') + (24).to_bytes(2, 'little') + bytes(24) + bytes(4))
    return W

FAMILY_WIDGET = {'grid': 'G', 'chart': 'C', 'edit': 'E', 'title': 'T', 'switch': 'W', 'web': 'B', 'pie': 'P',
                 'vchart': 'V', 'combo': 'CB', 'checkcombo': 'CC', 'check': 'CK', 'radio': 'R', 'button': 'BT',
                 'spin': 'SP', 'datetime': 'DT', 'paging': 'PG', 'xpaging': 'XP', 'monthcal': 'MC',
                 'pictureex': 'PI', 'updownstream': 'UD', 'picturebtn': 'PB', 'combotree': 'CT',
                 'listtree': 'LT', 'trade': 'TQ', 'plugin': 'PL'}

# The series or axis a chart method's second argument names.
def chart_second(name, W):
    if any(k in name for k in ('Axis', 'Tick', 'Lable', 'GridVisable', 'GridColor')): return 1
    if 'Candlestick' in name: return W['SC']
    if 'Gantt' in name: return W['SG']
    if 'Strap' in name: return W['SS']
    if 'Sur' in name: return W['SU']
    if 'Bar' in name or 'NegativeColor' in name: return W['SB']
    return W['S']

# Arguments where the format's defaults would not be valid.
OVERRIDES = {
    'InvalidateWnd': lambda W: (W['G'],),
    'InvalidateRect32': lambda W: (W['G'], 0, 0, 10, 10, 1),
    'GetWndRect': lambda W: (W['G'], 0),
    'MoveWndRect': lambda W: (W['G'], 5, 5, 200, 100, 1),
    'SetScrollPos32': lambda W: (0, 100),
    'InitContainerMenu': lambda W: ('menu', 0),
    'AppendMenu': lambda W: (0, 102, 'x', 0, 0, 0, -1),
    'AppendSeparator': lambda W: (0,),
    'TrackPopupMenu': lambda W: (1, 1, 0),
    'AppendChildMenu': lambda W: (0, 'sub'),
    'RadioMenuItem': lambda W: (101, 1),
    'CheckMenuItem': lambda W: (101, 1),
    'CheckMenuRadioItem': lambda W: (101, 101, 101),
    'EnableMenuItem': lambda W: (101, 1),
    'SetAlpha': lambda W: (200,),
    'SetMenuTitle': lambda W: ('title', 20),
    'SetMenuText': lambda W: (101, 'y'),
    'SetMenuImg': lambda W: (101, 2),
    'SetContainerCursor': lambda W: (32514,),
    'AddLine': lambda W: (0, 0, 5, 5, 0, 1, 0),
    'DeleteLine': lambda W: (W['L1'],),
    'AddBkRegion': lambda W: (0, 0, 5, 5, 0, 0, 1),
    'ReSetBKRegion': lambda W: (W['R1'], 1, 1, 5, 5, 0, 0, 1),
    'DeleteBkRegion': lambda W: (W['R1'],),
    'AddBkText': lambda W: ('t', 0, 0, 5, 5, 'SimSun', 9, 400, 0, 0, 1, 1),
    'DeleteBkText': lambda W: (W['X1'],),
    'ScreenToClient32': lambda W: (W['G'], 5, 5),
    'ClientToScreen32': lambda W: (W['G'], 5, 5),
    'SetFocusWnd': lambda W: (W['E'],),
    'EnableContainerWindow': lambda W: (W['BT'], 0),
    'SetWndTabList': lambda W: ([W['E'], W['BT']],),
    'OpenFile': lambda W: (os.path.join(OUT, 'p.bmp'),),
    'RecycleWnd': lambda W: (W['BT'],),
    'DeleteWnd': lambda W: (W['BT'],),
    'AddWnd': lambda W: (0, 0, 10, 10, 6, 'x'),
    'AddPluginWnd': lambda W: (0, 0, 10, 10, 3, 0),
    'Grid_SetPosTooltip': lambda W: (W['GT'], 5, 5, 100, 50, 1),
    'Chart_SetPosTooltip': lambda W: (W['CT2'], 5, 5, 100, 50, 1),
    'Edit_SetPosTooltip': lambda W: (W['ET'], 5, 5, 100, 50, 1),
    'Grid_SaveAsExcel': lambda W: (str(W['G']), os.path.join(OUT, 'g.xlsx'), 'sheet'),
    'Grid_SetGridLines': lambda W: (W['G'], 2),
    'Grid_Frame_HideScrollBar': lambda W: (W['G'], 1, 1),
    'Grid_SetArrowDisplayRow': lambda W: (W['G'], 0),
    'Grid_SetCrossSelectedRange': lambda W: (W['G'], 1, 1, 2, 2, 0),
    'Grid_MergeFixedCells': lambda W: (W['G'], 0, 1, 0, 2, 2, -16777216),
    'Grid_SetCellType': lambda W: (W['G'], 1, 1, 1),
    'Grid_SetImage': lambda W: (W['G'], 1, 1, 3),
    'Grid_SetItem': lambda W: (W['G'], 1, 1, 0, 255, 'x', 1),
    'Grid_SetMultiLineItem': lambda W: (W['G'], 1, 1, 0, 255, 'x\ny', 2),
    'Grid_SetItemUrl': lambda W: (W['G'], 1, 1, 'http://b/'),
    'Grid_SetFixedRowFont': lambda W: (W['G'], 9, 'SimSun'),
    'Grid_SetNonFixedRowFont': lambda W: (W['G'], 9, 'SimSun'),
    'Grid_SetCellFont': lambda W: (W['G'], 1, 1, 9, 'SimSun', 700, 1, 0),
    'Chart_SaveAsBmp': lambda W: (W['C'], os.path.join(OUT, 'c.png')),
    'Chart_SetLegendFont': lambda W: (W['C'], 9, 'SimSun'),
    'Chart_SetTitleFont': lambda W: (W['C'], 12, 'SimSun', 700, 0, 0),
    'Chart_CreateAxis': lambda W: (W['C'], 2, 0),
    'Chart_SetAxisLableFont': lambda W: (W['C'], 1, 9, 'SimSun'),
    'Chart_SetAxisFont': lambda W: (W['C'], 1, 9, 'SimSun'),
    'Chart_SetAxisAppendUnit': lambda W: (W['C'], 0, 0, 'x'),
    'Chart_SetAxisMinMax': lambda W: (W['C'], 0, 0.0, 10.0),
    'Chart_SetAxisActiveSeries': lambda W: (W['C'], 1, W['S']),
    'Chart_SetNormalTickIncrement': lambda W: (W['C'], 0, 0, 2.0),
    'Chart_SetTimeTickIncrement': lambda W: (W['C'], 1, 0, 3, 1),
    'Chart_SetTimeTickLabelFormat': lambda W: (W['C'], 1, 0, '%Y'),
    'Chart_SetTimeReferenceTick': lambda W: (W['C'], 1, 0.0),
    'Chart_ShowCrossHairCursor': lambda W: (W['C'], 1, 1, 0, 0, 1),
    'Chart_CreateXYPointSeries': lambda W: (W['C'], 1, 0, 0),
    'Chart_GetXYPoint': lambda W: (W['C'], W['S'], 1),
    'Chart_SetPointSize': lambda W: (W['C'], W['S'], 4, 4),
    'Chart_SetFixedPointSize': lambda W: (W['C'], W['S'], 4, 4),
    'Chart_AddCandlestickPoint': lambda W: (W['C'], W['SC'], 5.0, 1.0, 4.0, 2.0, 3.0),
    'Chart_AddCandlestickPointAttUserData': lambda W: (W['C'], W['SC'], 5.0, 1.0, 4.0, 2.0, 3.0, 'u'),
    'Chart_AddGanttPoint': lambda W: (W['C'], W['SG'], 1.0, 3.0, 2.0),
    'Chart_AddStrapPoint': lambda W: (W['C'], W['SS'], 1.0, 1.0, 3.0),
    'Chart_SetBarGradient': lambda W: (W['C'], W['SB'], 255, 1),
    'Chart_SetNegativeColor': lambda W: (W['C'], W['SB'], 1, 255),
    'Chart_SetBarBalloonLabel': lambda W: (W['C'], W['SB'], 1, 'b'),
    'Chart_SetShow3DBar': lambda W: (W['C'], W['SB'], 1, 6),
    'Chart_SetSurFillStyle': lambda W: (W['C'], W['SU'], 1),
    'Chart_SetGanttGradient': lambda W: (W['C'], W['SG'], 255, 1),
    'Edit_SetLimitText': lambda W: (W['E'], 100),
    'Edit_DoExtraAttribute': lambda W: (W['E'], 1, 4, 4),
    'Edit_AddText': lambda W: (W['E'], 'x', 255, 9, 'SimSun', 700, 0, 1),
    'Edit_AddLink': lambda W: (W['E'], 'x', 'http://c/', 255, 9, 'SimSun', 400, 0, 1),
    'Edit_SetWindowText': lambda W: (W['E'], 'x', 255, 9, 'SimSun'),
    'Edit_SetLineSpacing': lambda W: (W['E'], 150),
    'Navigate_SetFontColorSchema': lambda W: (9, 400, 0, 1, 2, 3, 4, 5, 6, 7, 'SimSun'),
    'Title_IsAppendNavigate': lambda W: (W['T'], 1, 0),
    'Title_SetFont': lambda W: (W['T'], 12, 'SimSun', 700),
    'Switch_SetFontColorSchema': lambda W: (W['W'], 9, 400, 0, 1, 2, 3, 4, 5, 6, 7, 'SimSun'),
    'Switch_InsertLabel': lambda W: (W['W'], 0, 'zero', 'tip'),
    'Switch_ModifyLabel': lambda W: (W['W'], 0, 'new', 'tip'),
    'Pie_InsertItem': lambda W: (W['P'], 'C', 'tip', 3.0, 255),
    'Pie_SaveAsBmp': lambda W: (W['P'], os.path.join(OUT, 'p.bmp.bmp')),
    'Pie_SetLabelFont': lambda W: (W['P'], 9, 'SimSun'),
    'Pie_SetTitleFont': lambda W: (W['P'], 12, 'SimSun', 700),
    'Pie_UpdateItemLabel': lambda W: (W['P'], 'A', 'Z'),
    'Pie_SetElementTransparency': lambda W: (W['P'], 'A', 0.5),
    'Pie_SetElementTransparencyAll': lambda W: (W['P'], 0.5),
    'Pie_SetElementGradientLight': lambda W: (W['P'], 'A', 30.0),
    'VChart_AddItem': lambda W: (W['V'], 'y', 2.0, 255, 0, 1),
    'VChart_RemoveItem': lambda W: (W['V'], 0),
    'VChart_SetMinMax': lambda W: (W['V'], 0.0, 5.0, 1),
    'Combo_InsertString': lambda W: (W['CB'], 0, 'Z'),
    'Combo_FindString': lambda W: (W['CB'], -1, 'B'),
    'Combo_SelectString': lambda W: (W['CB'], -1, 'B'),
    'Combo_SetItemHeight': lambda W: (W['CB'], 0, 18),
    'Combo_SetFont': lambda W: (W['CB'], 9, 'SimSun'),
    'CheckCombo_SetItemHeight': lambda W: (W['CC'], 0, 18),
    'Spin_SetValue': lambda W: (W['SP'], 5, 0),
    'Spin_SetRange': lambda W: (W['SP'], 0, 50),
    'DateTime_SetDateTime': lambda W: (W['DT'], '2024-05-06', '10:11:12'),
    'DateTime_SetRange32': lambda W: (W['DT'], '2000-01-01', '', '2030-12-31', '23:59:59'),
    'Paging_SetCurPageNo': lambda W: (W['PG'], 2),
    'XPaging_SetCurPageNo': lambda W: (W['XP'], 2),
    'XPaging_SetTextFont': lambda W: (W['XP'], 9, 'SimSun'),
    'MonthCal_BOLDDAY': lambda W: (W['MC'], 2024, 5, 6, 1),
    'MonthCal_SetCurSel32': lambda W: (W['MC'], '2024-05-06'),
    'MonthCal_SetRange32': lambda W: (W['MC'], '2000-01-01', '2030-12-31'),
    'MonthCal_GetCurShowRange': lambda W: (W['MC'], 1),
    'PictureEx_Load': lambda W: (W['PI'], os.path.join(OUT, 'p.bmp')),
    'UpDownStream_SetStreamItemNum': lambda W: (W['UD'], 2, 2),
    'PictureBtn_SetToolTip': lambda W: (W['PB'], 'tip', 100, 80),
    'ComboTree_AddString': lambda W: (W['CT'], 'A\\C'),
    'ComboTree_SelectString': lambda W: (W['CT'], 'A\\B'),
    'ComboTree_DeleteString': lambda W: (W['CT'], 'A\\B'),
    'ComboTree_SetCheck': lambda W: (W['CT'], 'A\\B', 1),
    'ComboTree_IsItemChecked': lambda W: (W['CT'], 'A\\B'),
    'ListTree_AddItem': lambda W: (W['LT'], 'x', W['LR'], 3),
    'ListTree_ChangeItemName': lambda W: (W['LT'], W['LC'], 'y'),
    'ListTree_SetSelectItem': lambda W: (W['LT'], W['LC']),
    'ListTree_DeleteItem': lambda W: (W['LT'], W['LC']),
    'ListTree_SetbOpenItem': lambda W: (W['LT'], W['LR'], 1),
    'Plugin_SetAttrribute': lambda W: (W['PL'], 'k', 'v'),
    'Plugin_GetAttrribute': lambda W: (W['PL'], 'k'),
}
# A frame is needed first by the frame methods.
for name in ('Grid_Frame_UseGridScroll', 'Grid_Frame_SetStaticColor', 'Grid_Frame_SetScrollColor'):
    OVERRIDES[name] = lambda W: (W['G'], 1)
PREPARE = {
    'Grid_Frame_UseGridScroll': lambda o, W: o.Grid_IsAppendFrame(W['G'], 1),
    'Grid_Frame_SetStaticColor': lambda o, W: o.Grid_IsAppendFrame(W['G'], 1),
    'Grid_Frame_SetScrollColor': lambda o, W: o.Grid_IsAppendFrame(W['G'], 1),
    'Grid_Frame_HideScrollBar': lambda o, W: o.Grid_IsAppendFrame(W['G'], 1),
    'Grid_CellCheck_SetCheck': lambda o, W: o.Grid_SetCellType(W['G'], 1, 1, 1),
    'Grid_CellCheck_GetCheck': lambda o, W: o.Grid_SetCellType(W['G'], 1, 1, 1),
    'SetScrollPos32': lambda o, W: o.MoveWndRect(W['G'], 0, 0, 100, 2000, 1),
    'RemoveMenuTitle': lambda o, W: o.SetMenuTitle('t', 20),
}
OVERRIDES['Grid_CellCheck_SetCheck'] = lambda W: (W['G'], 1, 1, 1)
# Results that may be 0 (or -1) for valid arguments: indices, counts, states, getters.
ANY = {'InvalidateContainerWnd', 'Grid_IsCellSelected', 'Grid_CellCheck_GetCheck', 'Grid_GetFixedColumnCount',
       'Switch_GetCurLabel', 'Web_GetSilent', 'Pie_GetElementID', 'Pie_GetElementGrLight', 'Pie_GetElementGrDark',
       'Combo_GetCurSel', 'Combo_FindString', 'Combo_SelectString', 'Combo_InsertString', 'CheckCombo_GetCurSel',
       'CheckCombo_SetCurSel', 'CheckCombo_GetCheck', 'Check_GetCheck', 'Radio_GetCheck', 'Radio_GetGroupID',
       'Spin_GetValue', 'Spin_GetReadOnly', 'ComboTree_IsItemChecked', 'Chart_GetBarGroupId', 'Switch_InsertLabel',
       'Combo_SetCurSel', 'Combo_AddString', 'CheckCombo_AddString', 'Combo_DeleteString', 'Switch_SetCurLabel',
       'Grid_Clean', 'Chart_GetSeriesCount', 'ListTree_GetSelectItem'}

def default_args(W, name, fmt, family):
    letters = fmt.replace('|', '')
    if name.endswith('AddWnd'):
        values = [0, 0, 100, 40]
        for c in letters[4:]:
            values.append('x' if c == 's' else 1)
        return tuple(values)
    values = []
    widget = FAMILY_WIDGET.get(family)
    for i, c in enumerate(letters):
        if i == 0 and widget is not None and c == 'i':
            values.append(W[widget])
        elif i == 1 and family == 'chart' and c == 'i':
            values.append(chart_second(name, W))
        elif c == 'i':
            values.append(1)
        elif c in 'df':
            values.append(1.0)
        elif c == 's':
            values.append('A')
        else:
            values.append([])
    return tuple(values)

def shape_of(value):
    if value is None: return 'None'
    if isinstance(value, bool): return 'bool'
    if isinstance(value, int): return 'i'
    if isinstance(value, float): return 'd'
    if isinstance(value, str): return 's'
    if isinstance(value, tuple): return '(' + ','.join(shape_of(v) for v in value) + ')'
    return type(value).__name__

problems = []
checked = 0

def check(o, name):
    global checked
    row = next(r for r in ROWS if r[0] == name)
    _, fmt, result, family = row
    W = setup(o)
    if name in PREPARE: PREPARE[name](o, W)
    make = OVERRIDES.get(name)
    args = make(W) if make else default_args(W, name, fmt, family)
    try:
        value = getattr(o, name)(*args)
    except Exception as e:
        problems.append('%s%r raised %s: %s' % (name, args, type(e).__name__, e))
        return
    checked += 1
    if shape_of(value) != result:
        problems.append('%s%r gave %r, not of shape %s' % (name, args, value, result))
    elif result == 'i' and name not in ANY and value == 0:
        problems.append('%s%r refused (0)' % (name, args))
    elif result == 'i' and name.endswith('AddWnd') and value <= 0:
        problems.append('%s%r made nothing' % (name, args))

# Setter and getter pairs: (setter, its arguments, getter, its arguments, expected value).
PAIRS = [
    ('MoveWndRect', lambda W: (W['E'], 10, 20, 30, 40, 1), 'GetWndRect', lambda W: (W['E'], 0), (10, 20, 30, 40)),
    ('SetScrollPos32', lambda W: (0, 50), 'GetScrollPos32', lambda W: (), (0, 50)),
    ('Grid_SetRowCount', lambda W: (W['G'], 7), 'Grid_GetRowCount', lambda W: (W['G'],), 7),
    ('Grid_SetColumnCount', lambda W: (W['G'], 4), 'Grid_GetColumnCount', lambda W: (W['G'],), 4),
    ('Grid_SetFixedRowCount', lambda W: (W['G'], 2), 'Grid_GetFixedRowCount', lambda W: (W['G'],), 2),
    ('Grid_SetFixedColumnCount', lambda W: (W['G'], 0), 'Grid_GetFixedColumnCount', lambda W: (W['G'],), 0),
    ('Grid_SetRowHeight', lambda W: (W['G'], 2, 33), 'Grid_GetRowHeight', lambda W: (W['G'], 2), 33),
    ('Grid_SetColumnWidth', lambda W: (W['G'], 2, 77), 'Grid_GetColumnWidth', lambda W: (W['G'], 2), 77),
    ('Grid_SetItemText', lambda W: (W['G'], 3, 2, '\u4e2d\u6587'), 'Grid_GetItemText', lambda W: (W['G'], 3, 2),
     '\u4e2d\u6587'),
    ('Grid_SetHideStr', lambda W: (W['G'], 3, 2, 'key'), 'Grid_GetHideStr', lambda W: (W['G'], 3, 2), 'key'),
    ('Grid_SetFocusCell', lambda W: (W['G'], 4, 3), 'Grid_GetFocusCell', lambda W: (W['G'],), (4, 3)),
    ('Grid_SelectRows', lambda W: (W['G'], 4), 'Grid_IsCellSelected', lambda W: (W['G'], 4, 3), 1),
    ('Grid_CellCheck_SetCheck', lambda W: (W['G'], 1, 1, 1), 'Grid_CellCheck_GetCheck', lambda W: (W['G'], 1, 1), 1),
    ('Chart_SetAxisMinMax', lambda W: (W['C'], 0, -2.0, 8.0), 'Chart_GetAxisMinMax', lambda W: (W['C'], 0), (-2.0, 8.0)),
    ('Chart_SetNormalTickIncrement', lambda W: (W['C'], 0, 0, 2.5), 'Chart_GetAxisTickIncrement', lambda W: (W['C'], 0),
     2.5),
    ('Chart_SetSeriesName', lambda W: (W['C'], W['S'], 'close'), 'Chart_GetSeriesName', lambda W: (W['C'], W['S']),
     'close'),
    ('Chart_AddXYPoint', lambda W: (W['C'], W['S'], 9.0, 4.5), 'Chart_GetXYPoint', lambda W: (W['C'], W['S'], 3),
     (9.0, 4.5, 1)),
    ('Chart_RemoveXYPointFromBegin', lambda W: (W['C'], W['S'], 2), 'Chart_GetSeriesPointsCount',
     lambda W: (W['C'], W['S']), 1),
    ('Chart_SetBarGroupId', lambda W: (W['C'], W['SB'], 3), 'Chart_GetBarGroupId', lambda W: (W['C'], W['SB']), 3),
    ('Chart_RemoveSerie', lambda W: (W['C'], W['SS']), 'Chart_GetSeriesCount', lambda W: (W['C'],), 5),
    ('Edit_SetWindowText', lambda W: (W['E'], 'abc', 0, 9, 'SimSun'), 'Edit_GetWindowText', lambda W: (W['E'],), 'abc'),
    ('Switch_SetCurLabel', lambda W: (W['W'], 1), 'Switch_GetCurLabel', lambda W: (W['W'],), 1),
    ('Switch_InsertLabel', lambda W: (W['W'], -1, 'three', ''), 'Switch_GetTabNum', lambda W: (W['W'],), 3),
    ('Web_SetSilent', lambda W: (W['B'], 1), 'Web_GetSilent', lambda W: (W['B'],), 1),
    ('Pie_SetSelectedElement', lambda W: (W['P'], 'B'), 'Pie_GetSelectedElement', lambda W: (W['P'],), 'B'),
    ('Pie_SetElementGradientLight', lambda W: (W['P'], 'A', 30.4), 'Pie_GetElementGrLight', lambda W: (W['P'], 'A'), 30),
    ('Pie_SetElementGradientDark', lambda W: (W['P'], 'B', 55.6), 'Pie_GetElementGrDark', lambda W: (W['P'], 'B'), 56),
    ('Pie_SortElements', lambda W: (W['P'], 0), 'Pie_GetElementID', lambda W: (W['P'], 'B'), 0),
    ('Combo_SetCurSel', lambda W: (W['CB'], 1), 'Combo_GetCurSel', lambda W: (W['CB'],), 1),
    ('Combo_SelectString', lambda W: (W['CB'], -1, 'b'), 'Combo_GetWindowText', lambda W: (W['CB'],), 'B'),
    ('Combo_AddString', lambda W: (W['CB'], 'C'), 'Combo_GetLBText', lambda W: (W['CB'], 2), 'C'),
    ('Combo_DeleteString', lambda W: (W['CB'], 0), 'Combo_GetCount', lambda W: (W['CB'],), 1),
    ('CheckCombo_SetCurSel', lambda W: (W['CC'], 1), 'CheckCombo_GetCurSel', lambda W: (W['CC'],), 1),
    ('CheckCombo_SetCheck', lambda W: (W['CC'], 1, 1), 'CheckCombo_GetCheck', lambda W: (W['CC'], 1), 1),
    ('CheckCombo_AddString', lambda W: (W['CC'], 'C'), 'CheckCombo_GetLBText', lambda W: (W['CC'], 2), 'C'),
    ('CheckCombo_ResetContent', lambda W: (W['CC'],), 'CheckCombo_GetCount', lambda W: (W['CC'],), 0),
    ('Check_SetCheck', lambda W: (W['CK'], 1), 'Check_GetCheck', lambda W: (W['CK'],), 1),
    ('Radio_SetGroupID', lambda W: (W['R'], 4), 'Radio_GetGroupID', lambda W: (W['R'],), 4),
    ('Radio_SetCheck', lambda W: (W['R'], 1), 'Radio_GetCheck', lambda W: (W['R'],), 1),
    ('Spin_SetValue', lambda W: (W['SP'], 42, 0), 'Spin_GetValue', lambda W: (W['SP'],), 42),
    ('Spin_SetRange', lambda W: (W['SP'], -5, 5), 'Spin_GetRange', lambda W: (W['SP'],), (-5, 5)),
    ('Spin_SetReadOnly', lambda W: (W['SP'], 1), 'Spin_GetReadOnly', lambda W: (W['SP'],), 1),
    ('DateTime_SetDateTime', lambda W: (W['DT'], '2024-05-06', '10:11:12'), 'DateTime_GetDateTime',
     lambda W: (W['DT'],), ('2024-05-06', '10:11:12')),
    ('DateTime_SetRange32', lambda W: (W['DT'], '2000-01-01', '', '2030-12-31', '23:59:59'), 'DateTime_GetRange32',
     lambda W: (W['DT'],), ('2000-01-01', '00:00:00', '2030-12-31', '23:59:59')),
    ('Paging_SetCurPageNo', lambda W: (W['PG'], 3), 'Paging_GetCurPageNo', lambda W: (W['PG'],), 3),
    ('XPaging_SetCurPageNo', lambda W: (W['XP'], 4), 'XPaging_GetCurPageNo', lambda W: (W['XP'],), 4),
    ('MonthCal_SetCurSel32', lambda W: (W['MC'], '2024-02-29'), 'MonthCal_GetCurSel32', lambda W: (W['MC'],),
     '2024-02-29'),
    ('MonthCal_SetRange32', lambda W: (W['MC'], '2000-01-01', '2030-12-31'), 'MonthCal_GetRange32',
     lambda W: (W['MC'],), ('2000-01-01', '2030-12-31')),
    ('ComboTree_SelectString', lambda W: (W['CT'], 'A\\B'), 'ComboTree_GetCurrentTreePath', lambda W: (W['CT'],),
     'A\\B'),
    ('ComboTree_SetCheck', lambda W: (W['CT'], 'A\\B', 1), 'ComboTree_IsItemChecked', lambda W: (W['CT'], 'A'), 1),
    ('ListTree_SetSelectItem', lambda W: (W['LT'], W['LC']), 'ListTree_GetSelectItem', lambda W: (W['LT'],), 'LC'),
    ('Plugin_SetAttrribute', lambda W: (W['PL'], 'k', 'v'), 'Plugin_GetAttrribute', lambda W: (W['PL'], 'k'), 'v'),
]
pairs_checked = 0

def check_pairs(o):
    global pairs_checked
    for setter, set_args, getter, get_args, expected in PAIRS:
        W = setup(o)
        if setter == 'Grid_CellCheck_SetCheck': o.Grid_SetCellType(W['G'], 1, 1, 1)
        if setter == 'SetScrollPos32': o.MoveWndRect(W['G'], 0, 0, 100, 2000, 1); o.RefreshScrollWnd()
        if expected == 'LC': expected = W['LC']
        getattr(o, setter)(*set_args(W))
        got = getattr(o, getter)(*get_args(W))
        pairs_checked += 1
        if got != expected:
            problems.append('%s then %s gave %r, not %r' % (setter, getter, got, expected))
)PY";

TEST(ScriptWidgetMethodsTest, EveryWidgetRowAnswersItsShapeAndSettersRoundTrip) {
  std::vector<std::string> opened;
  const auto previous = orbe::SetShellExecuteHandler([&](const orbe::ShellRequest& request) {
    opened.push_back(request.operation + " " + request.file);
    return kShellExecuteDone;
  });
  orbe_test::HarnessContainer container;
  ASSERT_TRUE(container.Load(RowsLiteral() + kScript)) << container.LastError();
  const auto methods = orbe::ScriptMethods();
  for (std::size_t i = orbe::kScriptDataMethodCount; i < orbe::kScriptMethodCount; ++i) {
    container.RecycleWndPool(false);  // every row on freshly made widgets
    ASSERT_TRUE(container.Call("check", {std::string(methods[i].name)})) << container.LastError();
  }
  EXPECT_EQ(container.Global("checked"), std::to_string(orbe::kScriptMethodCount - orbe::kScriptDataMethodCount));
  container.RecycleWndPool(false);
  ASSERT_TRUE(container.Call("check_pairs")) << container.LastError();
  EXPECT_GE(std::stoi(container.Global("pairs_checked")), 50);
  EXPECT_EQ(container.Global("problems"), "[]");
  // OpenFile reaches the desktop's "open" action.
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].rfind("open /", 0), 0u) << opened[0];
  orbe::SetShellExecuteHandler(previous);
}

}  // namespace
