"""The loader: choosing the program file, the header and key schemes, the line
records, every failure with its box and exit code, and stand-alone programs."""
import os
import shutil
import struct
import subprocess

from harness import MORVEN_TOOL, MORVRUN, MorvenTestCase, main, mvc_bytes

CAPTION = "M O R V E N \u00b2"
ICON_ERROR = 0x10
# A line that raises warning 214 with the descrambled text in the caption: it shows
# that the lines were read and descrambled correctly.
PROBE_LINE = b"\x40abc"
PROBE_CAPTION = "Keine Zahl: ABC"


def scrambled(lines, key):
    return [bytes(b ^ key for b in line) for line in lines]


class LoaderFailures(MorvenTestCase):
    def assertLoaderBox(self, result, text, code):
        self.assertExit(result, code)
        self.assertEqual(result.boxes, [{"event": "box", "caption": CAPTION, "text": text,
                                         "style": ICON_ERROR, "answer": 1}])

    def test_missing_file_names_the_file(self):
        self.assertLoaderBox(self.run_program(["nothere.mvc"]), "Datei nicht gefunden: nothere.mvc", 2)

    def test_name_without_point_gets_mvc(self):
        self.assertLoaderBox(self.run_program(["prog"]), "Datei nicht gefunden: prog.MVC", 2)
        # a directory part with a point still counts as "has a point"
        self.assertLoaderBox(self.run_program(["old.dir/prog"]), "Datei nicht gefunden: old.dir/prog", 2)

    def test_existing_program_without_point_is_probed_but_prog_mvc_is_opened(self):
        self.write("prog", mvc_bytes([b"\xbf"]))
        self.assertLoaderBox(self.run_program(["prog"]), "Datei nicht gefunden: prog.MVC", 2)

    def test_bad_headers(self):
        good = mvc_bytes([PROBE_LINE])
        for name, data in [("magic", b" ZOX-MORVAN" + good[11:]),
                           ("short", good[:31]),
                           ("empty", b"")]:
            with self.subTest(name):
                self.assertLoaderBox(self.run_program([self.write(name + ".mvc", data)]),
                                     "Keine MORVEN\u00b2 Datei!", 1)

    def test_bad_records(self):
        header = mvc_bytes([])
        for name, data, text in [
                ("truncated", header + b"\x05abc", "Programmdatei fehlerhaft!"),
                ("truncated-255", header + b"\xff" + b"x" * 10, "Programmdatei fehlerhaft!"),
                ("length255", header + b"\xff" + b"x" * 255, "Zeile zu lang (max. 254 Zeichen)!")]:
            with self.subTest(name):
                self.assertLoaderBox(self.run_program([self.write(name + ".mvc", data)]), text, 1)

    def test_line_limit(self):
        limit = 32767
        ok = self.write("ok.mvc", mvc_bytes([b"\xfe"] * (limit - 1) + [PROBE_LINE]))
        result = self.run_program([ok])
        self.assertExit(result, 0)
        self.assertEqual(result.boxes[0]["text"], "Zeile  32767!")
        big = self.write("big.mvc", mvc_bytes([b"\xfe"] * (limit + 1)))
        self.assertLoaderBox(self.run_program([big]), "Nur 9999 Zeilen sind erlaubt!", 1)


class ChoosingTheProgram(MorvenTestCase):
    def test_dialog_cancelled_without_argument(self):
        result = self.run_program([])
        self.assertExit(result, 2)
        self.assertEqual(result.of_kind("dialog"),
                         [{"event": "dialog", "kind": "open", "title": "MORVEN\u00b2-Datei laden:",
                           "result": None}])
        self.assertEqual(result.boxes[0]["text"], "Aufruf mit: \r\nMORVRUN [<Dateiname>]")
        self.assertEqual(result.boxes[0]["caption"], CAPTION)

    def test_dialog_choice_is_trimmed_and_taken_as_it_is(self):
        # no ".MVC" is added to a chosen name, and P[0] need not be a blank
        path = self.write("chosen", mvc_bytes([PROBE_LINE], header=b"X" + mvc_bytes([])[1:32]))
        result = self.run_program([], script="file   %s  \n" % path)
        self.assertExit(result, 0)
        self.assertEqual(result.of_kind("dialog")[0]["result"], "  %s  " % path)
        self.assertEqual(result.boxes[0]["caption"], PROBE_CAPTION)

    def test_names_from_a_case_insensitive_file_system(self):
        os.mkdir(self.path("Data"))
        self.write("Data/PROG.Mvc", mvc_bytes([PROBE_LINE]))
        for arg in ["data\\prog", "DATA/prog.mvc", self.dir + "/data\\PROG"]:
            with self.subTest(arg):
                result = self.run_program([arg])
                self.assertExit(result, 0)
                self.assertEqual(result.boxes[0]["caption"], PROBE_CAPTION)

    def test_log_path_is_relative_to_the_start_directory(self):
        prog = self.write("p.mvc", mvc_bytes([b"\xbf"]))
        env = {"MORVEN_LOG": "rel.jsonl"}
        self.run_program([prog], env=env)
        with open(self.path("rel.jsonl"), encoding="utf-8") as f:
            self.assertEqual(f.read(), '{"event":"exit","code":0}\n')


class KeySchemes(MorvenTestCase):
    def run_with_header(self, header, lines):
        data = bytearray(header)
        for line in lines:
            data.append(len(line))
            data += line
        return self.run_program([self.write("k.mvc", bytes(data))])

    def header(self, mark=b" ", key=b"  ", material=b" " * 4, index=b" " * 4, p30=b" "):
        h = b" ZOX-MORVEN" + mark + b"ABCDEFGH" + key + material + index + p30 + b" "
        self.assertEqual(len(h), 32)
        return h

    def test_schemes(self):
        cases = [
            # blanks at P20/P21: unscrambled, whatever P11 says
            ("plain", self.header(mark=b"5", key=b"  ", index=b"\x01\x02\x03\x04"), 0),
            # key = P20 | P21
            ("or", self.header(key=b"\x41\x02"), 0x43),
            # indexed: (B(I2)|B(I4)) & (B(I1)|B(I3)), B(i) = P[19+i]
            ("indexed", self.header(mark=b"5", key=b"\x0f\xf0", material=b"\x33\x55\x77\x99",
                                    index=b"\x01\x03\x02\x05"), (0x33 | 0x77) & (0x0f | 0xf0)),
            # index bytes pointing beyond position 30 select 0
            ("indexed-beyond", self.header(mark=b"5", key=b"\x7e\x7e", index=b"\x01\x0c\x02\x0c"), 0),
            ("indexed-p30", self.header(mark=b"5", key=b"\x7e\x7e", index=b"\x0b\x0b\x0b\x0b",
                                        p30=b"\x21"), 0x21),
        ]
        for name, header, key in cases:
            with self.subTest(name):
                result = self.run_with_header(header, scrambled([PROBE_LINE, b"\xbf"], key))
                self.assertExit(result, 0)
                self.assertEqual([b["caption"] for b in result.boxes], [PROBE_CAPTION])

    def test_empty_program_and_empty_records(self):
        for name, lines in [("no lines", []), ("empty records", [b"", PROBE_LINE, b""])]:
            with self.subTest(name):
                result = self.run_with_header(self.header(), lines)
                self.assertExit(result, 0)
                self.assertEqual(len(result.boxes), 1 if lines else 0)


class StandAlonePrograms(MorvenTestCase):
    def bind(self, lines):
        prog = self.write("app.mvc", mvc_bytes(lines))
        exe = self.path("app")
        proc = subprocess.run([MORVEN_TOOL, "bind", prog, exe, "--runtime", MORVRUN],
                              capture_output=True, timeout=60)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        return exe

    def test_appended_program_runs(self):
        exe = self.bind([PROBE_LINE])
        result = self.run_program([], executable=exe)
        self.assertExit(result, 0)
        self.assertEqual([b["caption"] for b in result.boxes], [PROBE_CAPTION])

    def test_arguments_beside_an_appended_program(self):
        exe = self.bind([PROBE_LINE])
        other = self.write("other.mvc", mvc_bytes([b"\x40xyz"]))
        not_program = self.write("data.txt", "hello")
        blank_less = self.write("x.mvc", b"X" + mvc_bytes([b"\x40xyz"])[1:])
        for name, args, caption in [("program argument wins", [other], "Keine Zahl: XYZ"),
                                    ("other argument ignored", [not_program], PROBE_CAPTION),
                                    ("P[0] decides the probe", [blank_less], PROBE_CAPTION),
                                    ("missing argument ignored", ["nothere.mvc"], PROBE_CAPTION)]:
            with self.subTest(name):
                result = self.run_program(args, executable=exe)
                self.assertExit(result, 0)
                self.assertEqual([b["caption"] for b in result.boxes], [caption])

    def test_position_beyond_the_end(self):
        exe = self.path("runtime-copy")
        shutil.copy(MORVRUN, exe)
        with open(exe, "r+b") as f:
            data = f.read()
            at = data.index(b"MORVEN:APPENDED-PROGRAM:") + 24
            f.seek(at)
            f.write(struct.pack("<I", len(data) + 1))
        result = self.run_program([], executable=exe)
        self.assertExit(result, 1)
        self.assertEqual(result.boxes[0]["text"], "Keine MORVEN\u00b2 Datei!")

    def test_bind_refuses_what_it_cannot_bind(self):
        not_program = self.write("x.mvc", "not a program at all, really not")
        proc = subprocess.run([MORVEN_TOOL, "bind", not_program, self.path("o"), "--runtime", MORVRUN],
                              capture_output=True)
        self.assertEqual(proc.returncode, 1)
        exe = self.bind([b"\xbf"])
        proc = subprocess.run([MORVEN_TOOL, "bind", self.path("app.mvc"), self.path("o2"), "--runtime", exe],
                              capture_output=True)
        self.assertEqual(proc.returncode, 1)
        self.assertIn(b"already a stand-alone program", proc.stderr)


if __name__ == "__main__":
    main()
