#!/usr/bin/env python3
"""The include graph points down: each rule names the files it covers and the
headers they may not include. A quoted include is resolved the way the build
resolves it, so "dictionary/x.h" counts as src/ only when src/dictionary/x.h
is the file that would be found. Prints every violation; exit status 1 if any.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else '.').resolve()
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
SOURCES = ('.h', '.cpp')
MODULE_PUBLIC = ('env', 'dataservice', 'indicators', 'reports', 'script', 'screening')


def in_src(include, including):
    """True when the include names a header of src/."""
    target = (including.parent / include).resolve()
    if target.is_file() and ROOT / 'src' in target.parents:
        return True
    return (ROOT / 'src' / include).is_file() and not (including.parent / include).is_file()


def module_public(include, including):
    parts = include.split('/')
    return include == 'orbe/env.h' or (len(parts) > 2 and parts[0] == 'orbe' and parts[1] in MODULE_PUBLIC)


def module_state(include, including):
    return include == 'env/module_state.h'


RULES = [
    (('components', 'server'), in_src, 'a header of src/'),
    (('components', 'server'), module_public, 'a module header of include/orbe/{%s}' % ','.join(MODULE_PUBLIC)),
    (('src/dataservice', 'src/dictionary', 'src/indicators'), module_state, 'the module globals (env/module_state.h)'),
    (('tools',), in_src, 'a header of src/ (tools reach the module through its exports)'),
]


def main():
    violations = []
    for folders, forbidden, what in RULES:
        for folder in folders:
            for path in sorted((ROOT / folder).rglob('*')):
                if path.suffix not in SOURCES:
                    continue
                for include in INCLUDE.findall(path.read_text(encoding='utf-8', errors='replace')):
                    if forbidden(include, path):
                        violations.append('%s includes %s: %s' % (path.relative_to(ROOT), include, what))
    for line in violations:
        print(line)
    print('include rules: %d violation(s)' % len(violations))
    return 1 if violations else 0


if __name__ == '__main__':
    sys.exit(main())
