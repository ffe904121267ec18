#!/usr/bin/env python3
"""Checks the program folder files that scripts/gen-printer-configs writes.

The files are read back with a small reader of the configuration syntax written
here independently of the generator, so a fault in the generator's rendering
shows up as a file the program could not load or would misread.
"""

import importlib.machinery
import importlib.util
import os
import re
import shutil
import struct
import tempfile
import unittest

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(SOURCE_DIR, "scripts", "gen-printer-configs")

# Models whose download command carries the slot digit, and the fiscal models,
# as the transfer code decides them.
SLOT_DIGIT_MODELS = {
    "XNZ11", "XNZ11BL", "XNZ115JDD", "VXCC5007", "BMRW2133", "VXCC5033", "VXCC5007Q",
    "ZHBQ786", "NDVNGF", "J4", "QVGDCMR", "CDGQ-CC", "FRNDR", "FFH107", "GB6853",
    "GB6853RJ", "VC8710", "BD9397", "JMQ9534", "BDQGMLW", "VD8",
}
FISCAL_MODELS = {"MLQDGGQF", "WQWRFW0", "GVF", "GVF-Z", "VV121", "DN60-HNLN", "GVGVFQVC"}
USB_PRINT_MODELS = {"VD8", "J4", "BDQGMLW"}
# Families that write the logo without a download command.
NO_DOWNLOAD_PREFIXES = ("BDQG", "HVCZL", "FQ054", "LR52-", "LB36")
REQUIRED_OPTIONS = ["NLoghi", "DotX", "DotY", "PrnLogoFlash", "GSImodel", "ParallelInterface",
                    "USBInterface"]
RESERVED_COUNT = 9


def load_generator():
    loader = importlib.machinery.SourceFileLoader("gen_printer_configs", SCRIPT)
    spec = importlib.util.spec_from_loader(loader.name, loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


class ConfigError(Exception):
    pass


def read_config(path, allowed):
    """Sections of a configuration file as {section: [(key, value), ...]}."""
    with open(path, "rb") as f:
        raw = f.read()
    if len(raw) > 1024 * 1024:
        raise ConfigError("%s: larger than 1 MiB" % path)
    sections, current = {}, None
    for number, line in enumerate(raw.decode("utf-8").split("\n"), 1):
        line = line.rstrip("\r")
        if len(line.encode("utf-8")) > 4096:
            raise ConfigError("%s:%d: line too long" % (path, number))
        if re.search(r"[\x00-\x08\x0a-\x1f\x7f]", line):
            raise ConfigError("%s:%d: control character" % (path, number))
        text = line.strip()
        if not text or text[0] in "#;":
            continue
        if text.startswith("["):
            name = text[1:-1].strip() if text.endswith("]") else None
            if name not in allowed or name in sections:
                raise ConfigError("%s:%d: bad section %r" % (path, number, text))
            current = sections.setdefault(name, [])
            continue
        if "=" not in text or current is None:
            raise ConfigError("%s:%d: not a key line" % (path, number))
        key, value = (part.strip() for part in text.split("=", 1))
        if not key or key[0] in "[#;" or key in dict(current):
            raise ConfigError("%s:%d: bad or duplicate key %r" % (path, number, key))
        current.append((key, value))
    return sections


def parse_number(text):
    if re.fullmatch(r"0[xX][0-9a-fA-F]{1,8}", text):
        return int(text, 16)
    if re.fullmatch(r"[0-9]{1,10}", text) and int(text) <= 0xFFFFFFFF:
        return int(text)
    raise ConfigError("not a number: %r" % text)


def parse_bytes(text):
    reply = 0
    if ":" in text:
        text, count = text.split(":", 1)
        reply = parse_number(count.strip())
    tokens = text.split()
    if not tokens or not all(re.fullmatch(r"[0-9a-fA-F]{1,2}", t) for t in tokens):
        raise ConfigError("not a byte list: %r" % text)
    return [int(t, 16) for t in tokens], reply


def native(program_dir, name):
    return os.path.join(program_dir, *name.split("\\"))


class GeneratedFolder(unittest.TestCase):
    """Generates into a scratch tree once and reads the files back."""

    @classmethod
    def setUpClass(cls):
        cls.gen = load_generator()
        cls.root = tempfile.mkdtemp(prefix="glyphane-data-")
        if cls.gen.main(["--root", cls.root]) != 0:
            raise RuntimeError("generator failed")
        cls.data = os.path.join(cls.root, "data")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def printer_file(self, name):
        sections = read_config(native(self.data, name), {"Options", "Commands", "Printers"})
        options = {k: parse_number(v) for k, v in sections.get("Options", [])}
        commands = {k: parse_bytes(v) for k, v in sections.get("Commands", [])}
        return options, commands

    def application_printers(self):
        sections = read_config(os.path.join(self.data, "Glyphane.cfg"), {"Application", "Printers"})
        return sections

    def model_entries(self):
        return self.application_printers()["Printers"][RESERVED_COUNT:]


class ApplicationFileTest(GeneratedFolder):
    def test_program_keys_are_present(self):
        app = dict(self.application_printers()["Application"])
        self.assertEqual(app["HelpFile"], "Glyphane.html")
        self.assertIn("Nameavifile", app)
        self.assertIn("DirLog", app)
        self.assertEqual(int(app["AutoBaudRateFlow"]) & 0xFF, int(app["AutoBaudRateFlow"]))
        self.assertTrue(os.path.isfile(os.path.join(SOURCE_DIR, "data", app["HelpFile"])))

    def test_reserved_entries_come_first_and_hold_no_printer(self):
        entries = self.application_printers()["Printers"]
        models = {m.code for m in self.gen.MODELS}
        for name, cfg in entries[:RESERVED_COUNT]:
            self.assertNotIn(name, models)
            options, commands = self.printer_file(cfg)
            self.assertEqual(options, {})
            self.assertEqual(commands, {})

    def test_every_model_is_offered_once_with_its_own_file(self):
        entries = self.model_entries()
        names = [name for name, _ in entries]
        self.assertEqual(sorted(names), sorted(m.code for m in self.gen.MODELS))
        self.assertNotIn("Jmq95", names)
        for name, cfg in entries:
            self.assertEqual(cfg, "CfgFile\\%s.cfg" % name)
            self.assertTrue(os.path.isfile(native(self.data, cfg)), cfg)


class PrinterFileTest(GeneratedFolder):
    def test_every_file_has_the_options_the_program_reads(self):
        for name, cfg in self.model_entries():
            options, _ = self.printer_file(cfg)
            for key in REQUIRED_OPTIONS:
                self.assertIn(key, options, "%s lacks %s" % (name, key))
            self.assertEqual(options["DotX"] % 16, 0, name)
            self.assertLessEqual(options["DotX"] * options["DotY"] // 8, 65520, name)
            self.assertTrue(1 <= options["NLoghi"] <= 9, name)

    def test_identification_bytes_tell_the_printers_apart(self):
        seen = {}
        for name, cfg in self.model_entries():
            gsi = self.printer_file(cfg)[0]["GSImodel"] & 0xFF
            self.assertNotIn(gsi, seen, "%s and %s share %d" % (name, seen.get(gsi), gsi))
            self.assertNotIn(gsi, (0x00, 0xFF), name)
            seen[gsi] = name
        self.assertEqual(seen[111], "WQWRFW0")

    def test_download_command_matches_the_transfer_path(self):
        for name, cfg in self.model_entries():
            options, commands = self.printer_file(cfg)
            slots = range(1, options["NLoghi"] + 1)
            if name.upper().startswith(NO_DOWNLOAD_PREFIXES) and name != "BDQGMLW":
                continue
            if name in SLOT_DIGIT_MODELS or name in FISCAL_MODELS:
                for slot in slots:
                    self.assertIn("CmdTxLogo%d" % slot, commands, name)
            else:
                self.assertIn("CmdTxLogo", commands, name)

    def test_slot_number_goes_into_a_trailing_placeholder(self):
        for name, cfg in self.model_entries():
            _, commands = self.printer_file(cfg)
            ram_flash = commands["CmdRAMFlash"][0]
            self.assertGreaterEqual(len(ram_flash), 3, name)
            self.assertEqual(ram_flash[-1], 0, name)
            if "CmdFlashRAM" in commands:
                self.assertEqual(commands["CmdFlashRAM"][0][-1], 0, name)

    def test_stored_logos_can_be_printed(self):
        for name, cfg in self.model_entries():
            options, commands = self.printer_file(cfg)
            slots = range(1, options["NLoghi"] + 1)
            self.assertIn("Ctotcut", commands, name)
            self.assertIn("CmdPrtRAM", commands, name)
            if name in FISCAL_MODELS:
                for slot in slots:
                    names = ["CmdPrtLogo%02d" % slot] + ["CmdPrtLogo%02d%02d" % (slot, k) for k in range(1, 5)]
                    for command in names:
                        self.assertLessEqual(len(commands[command][0]), 32, name)
                self.assertEqual(commands["Csubmodel"][1], 1, name)
            elif options["PrnLogoFlash"] or name in USB_PRINT_MODELS:
                for slot in slots:
                    self.assertLessEqual(len(commands["CmdPrtLogo" + chr(48 + slot)][0]), 12, name)
            else:
                self.assertLessEqual(len(commands["CmdFlashRAM"][0]), 12, name)

    def test_ports_follow_the_models_transfer_paths(self):
        for name, cfg in self.model_entries():
            options, _ = self.printer_file(cfg)
            self.assertEqual(options["USBInterface"] == 1, name in USB_PRINT_MODELS, name)
        self.assertEqual(self.printer_file("CfgFile\\BDQG.cfg")[0]["ParallelInterface"], 1)


class PrintersToTestTest(GeneratedFolder):
    def test_entries_name_a_model_file_with_its_identification_byte(self):
        sections = read_config(os.path.join(self.data, "PrnToTest.cfg"),
                               {"Options", "Commands", "Printers"})
        entries = sections["Printers"]
        self.assertGreater(len(entries), 0)
        for name, value in entries:
            number, text = (part.strip() for part in value.split(",", 1))
            code, cfg = text.split("|", 1)
            self.assertTrue(code and cfg, name)
            options, _ = self.printer_file(cfg)
            self.assertEqual(parse_number(number) & 0xFF, options["GSImodel"] & 0xFF, name)
        self.assertNotIn("VD8", dict(entries))
        commands = {k: parse_bytes(v) for k, v in sections["Commands"]}
        self.assertEqual(commands["Csubmodel"][1], 1)


class HeaderTemplateTest(GeneratedFolder):
    def test_is_a_62_byte_monochrome_header(self):
        with open(os.path.join(self.data, "HeaderNewFile.bmp"), "rb") as f:
            data = f.read()
        self.assertEqual(len(data), 62)
        magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
        header, width, height, planes, bits, compression, image = struct.unpack_from("<IiiHHII", data, 14)
        self.assertEqual((magic, offset, header, planes, bits, compression), (b"BM", 62, 40, 1, 1, 0))
        self.assertEqual(image, width * height // 8)
        self.assertEqual(size, image + 62)
        self.assertEqual(data[54:58], b"\x00\x00\x00\x00")
        self.assertEqual(data[58:62], b"\xff\xff\xff\x00")


class GeneratorRunTest(unittest.TestCase):
    def setUp(self):
        self.gen = load_generator()
        self.root = tempfile.mkdtemp(prefix="glyphane-gen-")

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def snapshot(self):
        result = {}
        for folder, _, names in os.walk(self.root):
            for name in names:
                path = os.path.join(folder, name)
                with open(path, "rb") as f:
                    result[os.path.relpath(path, self.root)] = f.read()
        return result

    def test_second_run_writes_identical_files_and_check_passes(self):
        self.assertEqual(self.gen.main(["--root", self.root]), 0)
        first = self.snapshot()
        self.assertEqual(self.gen.main(["--root", self.root]), 0)
        self.assertEqual(self.snapshot(), first)
        self.assertEqual(self.gen.main(["--root", self.root, "--check"]), 0)

    def test_check_reports_edited_missing_and_stray_files(self):
        self.gen.main(["--root", self.root])
        cfg = os.path.join(self.root, "data", "CfgFile", "WGJ33.cfg")
        with open(cfg, "a") as f:
            f.write("# local edit\n")
        self.assertEqual(self.gen.main(["--root", self.root, "--check"]), 1)
        self.gen.main(["--root", self.root])
        os.remove(os.path.join(self.root, "data", "HeaderNewFile.bmp"))
        self.assertEqual(self.gen.main(["--root", self.root, "--check"]), 1)
        self.gen.main(["--root", self.root])
        with open(os.path.join(self.root, "data", "CfgFile", "OLD1.cfg"), "w") as f:
            f.write("[Options]\n")
        self.assertEqual(self.gen.main(["--root", self.root, "--check"]), 1)
        self.gen.main(["--root", self.root])
        self.assertEqual(self.gen.main(["--root", self.root, "--check"]), 0)

    def test_check_on_an_empty_tree_fails_without_writing(self):
        self.assertEqual(self.gen.main(["--root", self.root, "--check"]), 1)
        self.assertEqual(self.snapshot(), {})

    def test_table_faults_stop_the_generator(self):
        twin = self.gen.MODELS[0]
        self.gen.MODELS.append(self.gen.Model("ZZ1", self.gen.RAM, 500, 240, 4, twin.gsi))
        try:
            faults = self.gen.check_table()
            self.assertTrue(any("GSImodel" in f for f in faults))
            self.assertTrue(any("multiple of 16" in f for f in faults))
            self.assertEqual(self.gen.main(["--root", self.root]), 2)
            self.assertEqual(self.snapshot(), {})
        finally:
            self.gen.MODELS.pop()


if __name__ == "__main__":
    unittest.main()
