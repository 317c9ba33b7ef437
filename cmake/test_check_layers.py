#!/usr/bin/env python3
"""Checks of cmake/check_layers.py: each kind of wrong include is found, the allowed ones pass,
and the product tree itself keeps the layer order.
Run: python3 -m unittest cmake/test_check_layers.py (ctest runs it as test_layers)."""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_layers  # noqa: E402


class CheckLayers(unittest.TestCase):
    def test_each_wrong_include_is_found_and_nothing_else(self):
        files = {
            'platform/Files.h': '#include <QString>\n#include <QNetworkReply>\n',
            'net/Fetch.cpp': ('#include "net/Fetch.h"\n#include "core/Text.h"\n'
                              '#include "present/Page.h"\n'           # upwards
                              '#include <QWidget>\n'                  # widget in logic
                              '#include <QtGui/QImage>\n'             # painting in logic
                              '#include "Local.h"\n'),                # no folder named
            'mini/Mini.cpp': '#include "replay/Log.h"\n#include "present/Page.h"\n',  # peer
            'present/Model.cpp': '#include "present/gui/Strip.h"\n',  # gui header in logic
            'mini/gui/Window.cpp': ('#include "platform/gui/Chrome.h"\n#include "mini/gui/W.h"\n'
                                    '#include "app/gui/Main.h"\n'    # upwards, gui to gui
                                    '#include <QWidget>\n'),
            'app/gui/Wiring.cpp': ('#include "viewers/ViewerWindows.h"\n'
                                   '#include "viewers/gui/formTv.h"\n'),  # past the factory
            'viewers/gui/Windows.cpp': '#include "viewers/gui/formTv.h"\n',
        }
        with tempfile.TemporaryDirectory() as root:
            qt = os.path.join(root, 'qt')
            for module, names in (('QtCore', ['QString']), ('QtNetwork', ['QNetworkReply'])):
                os.makedirs(os.path.join(qt, module))
                for n in names:
                    open(os.path.join(qt, module, n), 'w').close()
            for rel, text in files.items():
                os.makedirs(os.path.join(root, os.path.dirname(rel)), exist_ok=True)
                with open(os.path.join(root, rel), 'w') as f:
                    f.write(text)
            problems = check_layers.check_tree(
                root, [os.path.join(qt, 'QtCore'), os.path.join(qt, 'QtNetwork')])
        flagged = sorted(p.split(': ')[0] + ' ' + p.split(': ')[1] for p in problems)
        self.assertEqual(flagged, sorted([
            'net/Fetch.cpp:3 present/Page.h', 'net/Fetch.cpp:4 QWidget',
            'net/Fetch.cpp:5 QtGui/QImage', 'net/Fetch.cpp:6 Local.h',
            'mini/Mini.cpp:1 replay/Log.h', 'present/Model.cpp:1 present/gui/Strip.h',
            'mini/gui/Window.cpp:3 app/gui/Main.h', 'app/gui/Wiring.cpp:2 viewers/gui/formTv.h',
        ]))

    def test_the_product_tree_keeps_the_layer_order(self):
        qt_dirs = sys.argv[1:] if len(sys.argv) > 1 else [
            os.path.join(check_layers.DEFAULT_QT_ROOT, m) for m in check_layers.LOGIC_QT_MODULES]
        problems = check_layers.check_tree(os.path.dirname(HERE), qt_dirs)
        self.assertEqual(problems, [])


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
