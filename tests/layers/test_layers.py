#!/usr/bin/env python3
"""The layer check passes on the source tree and names every wrong-way include.

    test_layers.py CHECK_LAYERS SRC_DIR QT_INCLUDE_DIRS
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

CHECK, SRC, QT = sys.argv[1], sys.argv[2], sys.argv[3]


def run(src_dir):
    result = subprocess.run([sys.executable, CHECK, src_dir, QT], capture_output=True, text=True)
    return result.returncode, result.stdout


class LayerCheck(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.src = os.path.join(self.tmp, "src")
        shutil.copytree(SRC, self.src)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def add_line(self, relative, line):
        path = os.path.join(self.src, relative)
        with open(path, encoding="utf-8") as handle:
            text = handle.read().split("\n")
        text.insert(1, line)
        with open(path, "w", encoding="utf-8") as handle:
            handle.write("\n".join(text))
        return 2  # the line number it now has

    def test_the_tree_keeps_the_layers(self):
        status, out = run(SRC)
        self.assertEqual(status, 0, out)

    def assert_each_is_named(self, cases):
        """Each (file, added line, reason) alone makes the check fail, naming its line."""
        for relative, line, reason in cases:
            with self.subTest(relative=relative, line=line):
                self.tearDown()
                self.setUp()
                number = self.add_line(relative, line)
                status, out = run(self.src)
                self.assertEqual(status, 1)
                self.assertIn(f"{relative}:{number}: {line}", out)
                self.assertIn(reason, out)

    def test_an_upward_include_is_named_with_its_line(self):
        self.assert_each_is_named([
            ("document/GlyphaneDoc.cpp", '#include "app/GlyphaneApp.h"', "document may not use ui"),
            ("document/RasterOps.cpp", '#include "view/GlyphaneView.h"', "document may not use ui"),
            ("components/SerialPort.cpp", '#include "document/GlyphaneDoc.h"', "devices may not use document"),
            ("platform/Surface.cpp", '#include "components/BufferUC.h"', "platform may not use devices"),
            ("resources/StringTable.cpp", '#include "dialogs/ZoomDlg.h"', "platform may not use ui"),
            ("components/LogFile.cpp", '#include "components/dialogs/MessageDlg.h"', "devices may not use ui"),
            # Judged by the file they lead to, however they are spelt.
            ("document/RasterOps.cpp", '#include "../view/GlyphaneView.h"', "document may not use ui"),
            ("document/GlyphaneDoc.cpp", '#include "document/../view/GlyphaneView.h"', "document may not use ui"),
            ("components/SerialPort.cpp", '#include "../document/GlyphaneDoc.h"', "devices may not use document"),
            ("components/LogFile.cpp", '#include "dialogs/../dialogs/MessageDlg.h"', "devices may not use ui"),
            ("picture/Picture.cpp", '#include "dialogs/ConvertPictureDlg.h"', "document may not use ui"),
            # Inside the UI layer: app > frame > view > transfer > printer > dialogs > components/dialogs.
            ("frame/MainFrame.cpp", '#include "app/GlyphaneApp.h"', "ui folder frame may not use app"),
            ("view/ViewPaint.cpp", '#include "frame/MainFrame.h"', "ui folder view may not use frame"),
            ("view/GlyphaneView.cpp", '#include "app/GlyphaneApp.h"', "ui folder view may not use app"),
            ("transfer/TransferRequest.cpp", '#include "app/GlyphaneApp.h"', "ui folder transfer may not use app"),
            ("transfer/ViewNextPrinter.cpp", '#include "view/GlyphaneView.h"', "ui folder transfer may not use view"),
            ("printer/PortScan.cpp", '#include "transfer/TransferModels.h"', "ui folder printer may not use transfer"),
            ("printer/Connect.cpp", '#include "frame/MainFrame.h"', "ui folder printer may not use frame"),
            ("dialogs/AboutDlg.cpp", '#include "frame/MainFrame.h"', "ui folder dialogs may not use frame"),
            ("dialogs/FindPrintersDlg.h", '#include "printer/PortScan.h"', "ui folder dialogs may not use printer"),
            ("components/dialogs/MessageDlg.cpp", '#include "dialogs/ZoomDlg.h"',
             "ui folder components/dialogs may not use dialogs"),
            ("printer/Connect.cpp", '#include "../view/GlyphaneView.h"', "ui folder printer may not use view"),
            ("dialogs/ZoomDlg.cpp", '#include "dialogs/../transfer/TransferJob.h"',
             "ui folder dialogs may not use transfer"),
        ])

    def test_a_qt_module_above_the_layer_is_named(self):
        if not any(os.path.isdir(os.path.join(d, "QtWidgets")) or d.endswith("QtCore") for d in QT.split(";")):
            self.skipTest("Qt's include folder is not known")
        self.assert_each_is_named([
            ("document/BmpFile.cpp", "#include <QWidget>", "document may not use QtWidgets"),
            ("components/SerialPort.cpp", "#include <QImage>", "devices may not use QtGui"),
            ("platform/Surface.h", "#include <QMessageBox>", "platform may not use QtWidgets"),
            ("picture/PdfDrawing.cpp", "#include <QPdfDocument>", "document may not use QtPdf"),
        ])

    def test_downward_includes_pass(self):
        self.add_line("view/ViewPaint.cpp", '#include "document/GlyphaneDoc.h"')
        self.add_line("document/BmpFile.cpp", '#include "components/BufferUC.h"')
        self.add_line("components/SerialPort.cpp", '#include "platform/WinTypes.h"')
        self.add_line("view/ViewMouse.cpp", '#include "../document/GlyphaneDoc.h"')
        self.add_line("document/RasterOps.cpp", '#include "RowPacker.h"')
        self.add_line("components/dialogs/MessageDlg.cpp", '#include "../SerialPort.h"')
        # Down the UI folders: app > frame > view > transfer > printer > dialogs > components/dialogs.
        self.add_line("app/GlyphaneApp.cpp", '#include "printer/ProgramHost.h"')
        self.add_line("frame/MainFrame.cpp", '#include "transfer/TransferJob.h"')
        self.add_line("view/ViewPaint.cpp", '#include "printer/ViewPanes.h"')
        self.add_line("transfer/TransferJob.cpp", '#include "printer/ProgramHost.h"')
        self.add_line("printer/Connect.cpp", '#include "../dialogs/ZoomDlg.h"')
        self.add_line("dialogs/ZoomDlg.cpp", '#include "components/dialogs/MessageDlg.h"')
        self.add_line("view/ViewMouse.cpp", '#include "ViewCursors.h"')
        # A loaded module's source (built apart from the libraries) takes any Qt module.
        self.add_line("picture/PdfPagesModule.cpp", "#include <QPdfDocumentRenderOptions>")
        status, out = run(self.src)
        self.assertEqual(status, 0, out)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
