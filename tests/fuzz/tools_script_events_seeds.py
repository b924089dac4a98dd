#!/usr/bin/env python3
"""Writes the seed corpus of tools_script_events_fuzz: events files of
`orbe-terminal script`, one file per seed, covering every action of the
terminal's table and the quoting rules.

    tests/fuzz/tools_script_events_seeds.py [corpus folder]
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

SEEDS = {
    'buttons': '10000 click\n10001 click\n# a comment\n\n10002 click\n',
    'grid': '10003 click 1 2\n10003 dblclick 3 1\n10003 edit 2 1 "new text"\n10003 pick 4 3 1\n'
            '10003 resize 2 80\n',
    'controls': '10004 pick 1\n10004 focus 1\n10005 check 0\n10006 click 2\n10007 step -3\n10007 type 42\n'
                '10008 pick 2026-03-04 09:30:00\n10009 click 2026-05-06\n10010 click 7\n'
                '10011 click up 0\n10012 dblclick "a\\\\b"\n10012 check "a\\\\b"\n',
    'trees': '10013 click 1\n10013 dblclick 1\n10014 check 2\n',
    'chart': '10015 click 1 4\n10015 dblclick 1 4\n10015 key K\n10015 key 13\n',
    'text': '10016 type "say \\"hi\\""\n10016 enter\n10016 focus\n10017 navigate http://a/b?c=1\n'
            '10017 newwindow http://a/new\n10017 close 1\n10018 send name value\n',
    'container': 'container rclick 40 60\ncontainer key A\ncontainer size 800 600\ncontainer menu 31\n'
                 'container focus\ncontainer call refresh 600000\nwait 250\n',
    'refused': 'wait\nwait -1\n0 click\nbutton click\n10000\n10000 type "open\n10000 type "a"b\n'
               '10000 type "\\n"\n99999999999 click\n',
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, 'corpus', 'tools_script_events_fuzz')
    os.makedirs(folder, exist_ok=True)
    for name, text in SEEDS.items():
        with open(os.path.join(folder, name + '.events'), 'w', encoding='utf-8') as seed:
            seed.write(text)


if __name__ == '__main__':
    main()
