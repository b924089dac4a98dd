#!/usr/bin/env python3
"""Writes the seed corpus of script_methods_fuzz: short scripts of method
calls in the fuzzer's input language (see the comment at the top of
script_methods_fuzz.cpp), one file per seed. Method indexes come from the
method table, so the seeds follow the table when it changes.

    tests/fuzz/script_methods_seeds.py [corpus folder]
"""
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, '..', '..', 'src', 'script', 'script_method_table.inc')
ROW = re.compile(r'^ORBE_SCRIPT_METHOD\((\w+), "([^"]*)"')

INCLUDE = re.compile(r'^#include "script/(\w+\.inc)"')

METHODS = {}
FORMATS = {}


def read_table(path):
    """The rows in table order, following the table's included row files."""
    with open(path, encoding='utf-8') as table:
        for line in table:
            included = INCLUDE.match(line)
            if included:
                read_table(os.path.join(os.path.dirname(path), included.group(1)))
                continue
            match = ROW.match(line)
            if match:
                METHODS[match.group(1)] = len(METHODS)
                FORMATS[match.group(1)] = match.group(2).replace('|', '')


read_table(TABLE)
assert len(METHODS) == 744, len(METHODS)

REPLY = object()  # the script's reply function


def text(value):
    if value is REPLY:
        return b'\xf0'
    data = value.encode('ascii')
    assert len(data) < 0xf0
    return bytes([len(data)]) + data


def call(name, *args, kept=False):
    """A typed call: op byte, index, one value per format letter."""
    out = bytes([1 if kept else 0]) + struct.pack('<H', METHODS[name])
    for letter, value in zip(FORMATS[name], args):
        if letter == 'i':
            out += struct.pack('<i', value)
        elif letter == 'L':
            out += struct.pack('<q', value)
        elif letter in 'df':
            out += struct.pack('<d', value)
        elif letter == 'c':
            out += bytes([value])
        elif letter == 's':
            out += text(value)
        # 'O' takes the fuzzer's kept object and reads nothing
    assert len(args) == len(FORMATS[name]), name
    return out


def loose(name, count, args=b''):
    """A call with a tuple of any arguments (tags and payloads as given)."""
    return b'\xa0' + struct.pack('<H', METHODS[name]) + bytes([count]) + args


PUMP = b'\xc0'


def widget(kind):
    """The input's widget of that kind (the fuzzer makes one of each, in kind order,
    skipping the two it cannot make: the splitter 12 and the container 19)."""
    made = [k for k in range(35) if k not in (12, 19)]
    return struct.unpack('<i', struct.pack('<I', 0x7E000000 | made.index(kind)))[0]


def material(data):
    return b'\xe0' + bytes([len(data)]) + data


def push(data):
    return b'\xd0' + bytes([len(data)]) + data


RECORDS = material(bytes([2, 40]) + bytes(range(40)) + bytes([3, 9, 9, 9]))

SEEDS = {
    'select': RECORDS + call('FetchData', REPLY, 'SELECT T001,T003,T008,T010 FROM 100000001', 0, '') + PUMP,
    'select_options': RECORDS + call('AddSqlOption', 3, '1,2') + call('AddSqlOption', 2, '1')
    + call('FetchData', REPLY, 'SELECT T001,T002 FROM 100000001 WHERE T003>=0', 4, '5') + PUMP
    + call('ClearSqlOption'),
    'statistics': material(bytes([1, 12, 4]) + struct.pack('<iq', 7, 9))
    + call('Syn_FetchStatData', 'SELECT COUNT(*) FROM 100000001') + call('GetStatResultAsInt', 1)
    + call('FetchStatData', REPLY, 'SELECT MAX(T008) FROM 100000001') + PUMP,
    'rpc': material(bytes([1, 9, 0]) + struct.pack('<q', 1796032800)) + call('SeekRPCCallReqPos', 35)
    + call('AddRPCCallReqAsString', 'TS0', 8) + call('AddRPCCallReqAsInt64', 5) + call('AddRPCCallReqAsChar', 65)
    + call('CallRPC', REPLY, 'sys_get_main_table_v2') + call('Syn_CallRPC', 'proc')
    + call('PopRpyBufAsInt64', 1) + call('SeekTQLRpyBufPos', 1, 1) + PUMP,
    'changes': material(bytes([1, 5, 0, 1, 0, 0, 0])) + call('DeleteBySql', REPLY, 'DELETE FROM 100000001 WHERE T001=1', '')
    + call('InsertBySql', REPLY, 'INSERT INTO 100000001 VALUES (1,2,3)', '')
    + call('UpdateBySql', REPLY, 'UPDATE 100000001 SET T003=4 WHERE T001=1', '') + PUMP,
    'stamps': call('Syn_GetTimestamp', 100000001) + call('IncTimestamp', REPLY, 0, '100000001')
    + call('FlushTable', REPLY, 100000001, '') + call('Syn_IncTimestamp', 0, 'securities') + PUMP,
    'tql': material(bytes([1, 3, 0, 1, 2])) + call('CallTQL', REPLY, 'proc', 'a|b') + call('Syn_CallTQL', 'proc', 'x')
    + call('FetchTQLCache', REPLY, 'proc|x') + call('GetTQLCacheTimeStamp', 'proc', 'x') + PUMP,
    'freeze': call('FreezeSet', 'group', 'key', 'value') + call('FreezeGet', 'group', 'key')
    + call('FreezeDel', 'group', 'key') + call('FreezeDel', 'group', 'key'),
    'messages': call('SubscribeMessage', 7) + call('SubscribeMessage', 2000000001)
    + call('SendSubscribeMessage', 7, 'a', 'b') + push(b'abcd\x01\x02\x03\x04\x05\x06\x07\x08') + PUMP
    + call('UnsubscribeMessage', 7),
    'lookups': call('GetConstList', '201') + call('GetConstName', '201', '1', 0) + call('GetHyCode', 974)
    + call('GetSubHyCode', 974, '01') + call('GetStockBlock', 974, '01', 1) + call('GetStockCode', '1')
    + call('ZQ_GetZQAbbr', 'x') + call('GetSecumainAbbr_HQ', '600000', 2),
    'host': call('SetDebugMode', 1) + call('DebugMessage', 'x') + call('MessageBox', 'x', 1)
    + call('StrLeftTrim', 'abc', 2) + call('GetDesktopSize') + call('SaveObject', 'o', None)
    + call('PickObject', 'o') + call('RegisterTimer', 0) + PUMP + call('UnRegisterTimer'),
    'kept': call('FetchData', REPLY, 'SELECT T001 FROM 100000001', 0, '', kept=True)
    + call('GetRPCCallReqPos', kept=True) + call('FreezeGet', 'g', 'k', kept=True),
    'wrong_arguments': loose('GetSqlRecordAsInt', 2, b'\x03\x04T001\x07') + loose('Version', 1, b'\x00\x01\x00\x00\x00')
    + b'\xa2' + struct.pack('<H', 0) + bytes([7]) + b'NoSuchX' + bytes([0]),
    'widgets': call('Grid_SetItemText', widget(6), 0, 0, 'x') + call('AddWnd', 0, 0, 10, 10, 1, 'x')
    + call('SetWndTabList', None),
    'grid': call('Grid_SetRowCount', widget(6), 5) + call('Grid_SetColumnCount', widget(6), 3)
    + call('Grid_SetFixedRowCount', widget(6), 1) + call('Grid_MergeFixedCells', widget(6), 0, 0, 0, 2, 2, 0)
    + call('Grid_SetItemUrl', widget(6), 1, 1, 'http://x/') + call('Grid_AutoSize', widget(6), 3)
    + call('Grid_GetCellFromPt', widget(6), 30, 30) + call('Grid_IsAppendFrame', widget(6), 1)
    + call('Grid_SetRowCount', widget(6), 2000000000),
    'chart': call('Chart_CreateAxis', widget(7), 1, 1) + call('Chart_CreateXYPointSeries', widget(7), 0, 0, 0)
    + call('Chart_AddXYPoint', widget(7), 1, 1.0e300, -1.0e300) + call('Chart_CreateGanttSerie', widget(7), 0, 0)
    + call('Chart_AddGanttPoint', widget(7), 2, 0.0, 5.0, 1.0) + call('Chart_ValueToScreen', widget(7), 1, 1.0, 1.0)
    + call('Chart_SetTimeTickIncrement', widget(7), 1, 0, 5, 1000000) + call('Chart_ShowCrossHairCursor', widget(7), 1, 1, 0, 0, 1),
    'controls': call('XPaging_SetTotalPageNum', widget(26), 2147483647) + call('XPaging_SetMaxPageCount', widget(26), 150)
    + call('XPaging_GetReqSize', widget(26)) + call('VChart_AddItem', widget(34), 'v', 1.0, 0, 0, 1)
    + call('Title_IsAppendNavigate', widget(14), 1, 0) + call('EnableNavigate', 1) + call('RecycleWnd', widget(14))
    + call('SetScrollPos32', 0, 5000),
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, 'corpus', 'script_methods_fuzz')
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), 'wb') as seed:
            seed.write(data)


if __name__ == '__main__':
    main()
