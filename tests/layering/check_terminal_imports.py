#!/usr/bin/env python3
"""orbe-terminal reaches the module only as a terminal would: every symbol it
takes from liborbe.so must be one of the module's exports below. Usage:
check_terminal_imports.py TERMINAL LIBORBE. Prints every other import; exit
status 1 if any.
"""
import re
import subprocess
import sys

# The module's exports a terminal may use: plain functions by name, exported
# classes by their members.
EXPORTED_FUNCTIONS = {
    # environment
    'InitDataEngin', 'UnInitDataEngin', 'ReloadDataEnginCfg', 'FetchMainTable', 'SetPrivPath', 'GetPrivPath',
    'GetCommConfigPath', 'RegisterCallBack', 'GetDataFunc', 'GetSwitchFunc', 'GetCallbackFunc',
    'GetGlobalMainOrbeClientSession', 'GetGlobalSubOrbeClientSession', 'GetGlobalMainCwRequestSession',
    'GetGlobalSub1CwRequestSession', 'SetTPInfoBlock', 'SetTPSessionCheckOP', 'SetTPSessionUseSSO',
    'IsCBaseEnvInit', 'GetThisMoudleVersion', 'SetCurReport', 'GetCurReport', 'SetKVXCtrlScrollBarType',
    'SaveCWCacheInfo', 'DoCWCacheOption',
    # requests and files
    'CreateFetchDataHandle', 'CreateFetchDataHandle_Sub', 'DeleteFetchDataHandle', 'CreateFetchFileHandle',
    'CreateFetchFileHandle_Sub', 'DeleteFetchFileHandle', 'SendTPOriginalRequest', 'GetTPOriginalResult',
    # indicators
    'CreateIndexMgrInstance', 'DeleteIndexMgrInstance', 'ProcessLoadIndex', 'CreateIndexCalcParticle',
    'DeleteIndexCalcParticle',
    # reports
    'CreateIniReportWnd', 'DestroyIniReportWnd', 'GetIniReportFailedCells', 'DescribeIniReportConfig',
    # scripts and containers
    'InitScriptEvn', 'UnInitScriptEvn', 'AddPyScriptPath', 'DelPyScriptPath', 'Py_PrintAndGetErr', 'CreateF10Wnd',
    'DestroyF10Wnd', 'GetF10FailedRequests', 'PopF10WndAsModalDlg', 'GetF10FunFromObject', 'GlobalDlgRunScript', 'ShowGlobalDlg',
    'HideGlobalDlg', 'StopRunningScript', 'CreatePyGridWnd', 'DestroyPyGridWnd',
    # screening
    'Creat3X1TWnd', 'Delete3X1TWnd', 'CreateClassifyDisplayWnd', 'DeleteClassifyDisplayWnd',
    'CreateDomainGridWnd', 'DeleteDomainGridWnd',
    # the single-scheme file reader that the scheme store uses, for a scheme file a user names
    'LoadSchemeXml',
    # the headless screening runner the screen command keeps until it drives Creat3X1TWnd
    'orbe::RunScreening', 'orbe::BoardCompanyCodes', 'orbe::ScreeningSummary', 'orbe::ScreeningColumns',
    'orbe::QuoteBoardCodes',
}
EXPORTED_CLASSES = (
    'OrbeClientSession', 'CwFileUtil', 'CIniReportUtil', 'CFetchMultiProgress', 'IndexSchemeMgr', 'IndexScheme',
    'CIndexConditionWnd', 'CIndexTreeWnd', 'CMultiIndexWnd', 'CBoardSelWnd',
    # the screening window's panes and dialogs, which CMultiIndexWnd hands to its host
    'CDataDisplayWnd', 'CStatCalculateWnd', 'CDlgCalculate', 'CTextEntryDlg', 'CSchemeNameDlg',
    'CKvxGGztWnd', 'CKvxJJztWnd', 'CKvxQHztWnd', 'CKvxZQztWnd',
    # the topic windows' common base, whose members the four classes export
    'orbe::TopicTreeWnd',
)


def dynamic_symbols(path, flag):
    out = subprocess.run(['nm', '-D', flag, path], check=True, capture_output=True, text=True).stdout
    return {line.split()[-1] for line in out.splitlines() if line.split()}


def demangled(symbols):
    out = subprocess.run(['c++filt'], input='\n'.join(symbols), check=True, capture_output=True, text=True).stdout
    return out.splitlines()


def name_of(symbol):
    """The qualified name without parameters, ABI tags or template arguments."""
    for prefix in ('typeinfo for ', 'typeinfo name for ', 'vtable for '):
        if symbol.startswith(prefix):
            return symbol[len(prefix):]
    return re.sub(r'\[abi:[^\]]*\]', '', symbol.split('(')[0])


def allowed(name):
    if name in EXPORTED_FUNCTIONS:
        return True
    return any(name == cls or name.startswith(cls + '::') for cls in EXPORTED_CLASSES)


def main():
    terminal, module = sys.argv[1], sys.argv[2]
    imports = sorted(dynamic_symbols(terminal, '--undefined-only') & dynamic_symbols(module, '--defined-only'))
    names = sorted({name_of(symbol) for symbol in demangled(imports)})
    others = [name for name in names if not allowed(name)]
    for name in others:
        print('orbe-terminal takes %s from the module, which does not export it' % name)
    print('terminal imports: %d from the module, %d not exported' % (len(names), len(others)))
    return 1 if others else 0


if __name__ == '__main__':
    sys.exit(main())
