#!/usr/bin/env python3
"""Checks the includes of the product folders against the layer order.

Layers, low to high: platform < core < net < present < replay, viewers, mini < app. A file may
include its own folder and the folders of lower layers, never a higher one or a peer. A file
outside a gui/ folder includes no gui/ header and, of Qt, only QtCore and QtNetwork headers (no
widget, painting, browser or media header). The windows of viewers/gui are reached from the
rest of the program only through viewers/ViewerWindows.h, so that they can be loaded on first
use; no other folder includes a viewers/gui header.

Usage: check_layers.py SOURCE_ROOT [--qt-include DIR]...
The --qt-include directories are those of the Qt modules a logic file may use (QtCore,
QtNetwork); without them those two are looked for under the usual Debian include folder.
Prints one line per wrong include and exits 1 when there is any.
"""

import os
import re
import sys

RANKS = {'platform': 0, 'core': 1, 'net': 2, 'present': 3,
         'replay': 4, 'viewers': 4, 'mini': 4, 'app': 5}
# gui/ folders whose headers only their own folder may include.
LOADED_ON_DEMAND = {'viewers/gui'}
DEFAULT_QT_ROOT = '/usr/include/x86_64-linux-gnu/qt6'
LOGIC_QT_MODULES = ('QtCore', 'QtNetwork')

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def unit_of(path):
    """('app', True) for app/gui/x.h; None for a path outside the product folders."""
    parts = path.split('/')
    if len(parts) < 2 or parts[0] not in RANKS:
        return None
    return parts[0], len(parts) > 2 and parts[1] == 'gui'


def qt_logic_headers(dirs):
    names = set()
    for d in dirs:
        if os.path.isdir(d):
            module = os.path.basename(os.path.normpath(d))
            for entry in os.listdir(d):
                names.add(entry)
                names.add(module + '/' + entry)
    return names


def check_file(rel, text, logic_qt):
    folder, gui = unit_of(rel)
    own = folder + ('/gui' if gui else '')
    problems = []
    for number, line in enumerate(text.splitlines(), 1):
        m = INCLUDE.match(line)
        if not m:
            continue
        kind, name = m.groups()
        where = '%s:%d: %s' % (rel, number, name)
        if kind == '<':
            if not gui and name.startswith('Q') and name not in logic_qt:
                problems.append(where + ': a Qt header beyond QtCore and QtNetwork outside a gui/ folder')
            continue
        target = unit_of(name)
        if target is None:
            problems.append(where + ': a quoted include names its folder (platform/..., app/gui/...)')
            continue
        tfolder, tgui = target
        tunit = tfolder + ('/gui' if tgui else '')
        if tgui and not gui:
            problems.append(where + ': a gui/ header outside a gui/ folder')
        elif tfolder != folder and RANKS[tfolder] >= RANKS[folder]:
            problems.append(where + ': %s is not below %s' % (tfolder, folder))
        elif tunit in LOADED_ON_DEMAND and tunit != own:
            problems.append(where + ': %s is reached through viewers/ViewerWindows.h only' % tunit)
    return problems


def check_tree(root, qt_dirs):
    logic_qt = qt_logic_headers(qt_dirs)
    problems = []
    for folder in sorted(RANKS):
        for base, _, files in os.walk(os.path.join(root, folder)):
            for f in sorted(files):
                if not f.endswith(('.h', '.cpp')):
                    continue
                full = os.path.join(base, f)
                rel = os.path.relpath(full, root).replace(os.sep, '/')
                with open(full, encoding='utf-8', errors='replace') as fh:
                    problems += check_file(rel, fh.read(), logic_qt)
    return problems


def main(argv):
    args = argv[1:]
    qt_dirs = []
    root = None
    while args:
        a = args.pop(0)
        if a == '--qt-include':
            qt_dirs.append(args.pop(0))
        else:
            root = a
    if root is None:
        print(__doc__)
        return 2
    if not qt_dirs:
        qt_dirs = [os.path.join(DEFAULT_QT_ROOT, m) for m in LOGIC_QT_MODULES]
    problems = check_tree(root, qt_dirs)
    for p in problems:
        print(p)
    if problems:
        print('%d include(s) against the layer order' % len(problems))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
