"""Files through the file slots, the file system, area and environment functions,
the StringList, and the host mapping of program file names."""
import json
import os
import shutil
import subprocess

from harness import MORVRUN, main
from interp import ListingTestCase, show


def io():
    return show("%{IORESULT}")


class TextFiles(ListingTestCase):
    def test_print_writes_lines_at_once(self):
        result = self.run_body([
            "DECLARE N%, F!",
            "LET N% = 42", "LET F! = 1.5",
            'ASSIGN #1,"out.txt"',
            "REWRITE #1",
            'PRINT #1,"a","b";"c"',
            "PRINT #1,N%;",
            "PRINT #1,F!",
            "STRINGWIDTH 5",
            'PRINT #1,"xy"',
            'EVAL @MSGBOX("","",0)',  # the file is complete before it is closed
        ])
        self.assertExit(result, 0)
        with open(self.path("out.txt"), "rb") as f:
            self.assertEqual(f.read(), b"a bc\r\n421.500000\r\n   xy\r\n")

    def test_input_line_rules(self):
        self.write("in.txt", b"abc\ndef\r\n" + b"x" * 300 + b"\r\nnext\rlast\r\n\x1aafter")
        self.assertEqual(self.values([
            "DECLARE L$, N%",
            'ASSIGN #2,"in.txt"', "RESET #2",
            "INPUT #2,L$", show("L$"),
            "INPUT #2,L$", "LET N% = @LEN(L$)", show("N%"),
            "INPUT #2,L$", show("L$"),
            "INPUT #2,L$", show("L$"),
            "LET N% = @EOF(#2)", show("N%"),
            "INPUT #2,L$", show('"[";L$;"]"'),
            "LET N% = @EOF(2)", show("N%"),
        ]), ["abc\ndef", "255", "next", "last", "1", "[]", "1"])

    def test_numeric_input_takes_the_integer_prefix(self):
        self.write("n.txt", b"12abc\r\n2.5\r\n")
        self.assertEqual(self.values([
            "DECLARE I%, F!", 'ASSIGN #1,"n.txt"', "RESET #1",
            "INPUT #1,I%", show("I%"), "INPUT #1,F!", show("F!"), show("%{INPUTINT}"),
        ]), ["12", "2.500000", "12"])

    def test_append_replaces_a_trailing_ctrl_z(self):
        self.write("log.txt", b"old\r\nabc\x1a")
        result = self.run_body(['ASSIGN #1,"log.txt"', "APPEND #1", 'PRINT #1,"new"', "CLOSE #1"])
        self.assertExit(result, 0)
        with open(self.path("log.txt"), "rb") as f:
            self.assertEqual(f.read(), b"old\r\nabcnew\r\n")

    def test_pending_io_errors(self):
        os.mkdir(self.path("sub"))
        self.write("plain", "x")
        self.assertEqual(self.values([
            'ASSIGN #1,"missing.txt"', "RESET #1", io(), io(),
            'ASSIGN #2,"plain/inside.txt"', "REWRITE #2", io(),
            'ASSIGN #3,"x.txt"', "CLOSE #3", io(),
            'PRINT #3,"no"', io(),
            "REWRITE #3", 'PRINT #3,"yes"',
            'RENAME #3,"y.txt"', io(),
            "CLOSE #3", 'RENAME #3,"y.txt"', io(),
            "ERASE #3", io(), "ERASE #3", io(),
            'DECLARE L$', "INPUT #3,L$", io(),
        ]), ["2", "0", "3", "103", "105", "102", "0", "0", "2", "104"])
        self.assertFalse(os.path.exists(self.path("x.txt")))
        self.assertFalse(os.path.exists(self.path("y.txt")))

    def test_handle_errors(self):
        cases = [
            ("RESET #0", "Dateinummer nicht im erlaubten Bereich!"),
            ("RESET #16", "Dateinummer nicht im erlaubten Bereich!"),
            ("RESET 1", "Dateikennung erwartet!"),
            ("EVAL @EOF(16)", "Dateinummer nicht im erlaubten Bereich!"),
            ('FILECOPY "nothere.txt">"copy.txt"', "Datei kann nicht gelesen werden: nothere.txt"),
        ]
        for line, caption in cases:
            with self.subTest(line):
                self.assertEqual(self.error([line])[0], caption)

    def test_copy(self):
        data = bytes(range(256)) * 300
        self.write("src.bin", data)
        result = self.run_body(['FILECOPY "src.bin">"dst.bin"'])
        self.assertExit(result, 0)
        with open(self.path("dst.bin"), "rb") as f:
            self.assertEqual(f.read(), data)
        self.assertEqual(self.error(['FILECOPY "src.bin">"nodir/dst.bin"'])[0],
                         "Datei kann nicht erzeugt werden: nodir/dst.bin")


class BinaryFiles(ListingTestCase):
    def test_open_write_seek_read(self):
        self.assertEqual(self.values([
            "DECLARE N%",
            'ASSIGN #4,"b.bin"', "BINOPEN #4", io(),   # a missing file is created
            "BINWRITE #4,300", "BINWRITE #4,65",
            "LET N% = @FILEPOS(#4)", show("N%"),
            "LET N% = @FILESIZE(#4)", show("N%"),
            "BINSEEK #4,0",
            "LET N% = @FILEREADBYTE(#4)", show("N%"),
            "LET N% = @FILEREADBYTE(4)", show("N%"),
            "LET N% = @FILEREADBYTE(#4)", show("N%"), io(),
            "BINCLOSE #4", "BINCLOSE #4", io(),
        ]), ["0", "2", "2", "44", "65", "0", "100", "103"])

    def test_a_file_held_exclusively_elsewhere_is_not_emptied(self):
        import fcntl
        self.write("held.bin", b"precious")
        with open(self.path("held.bin"), "rb") as held:
            fcntl.flock(held, fcntl.LOCK_EX)
            values = self.values(['ASSIGN #1,"held.bin"', "FILEMODE 18", "BINOPEN #1", io(),
                                  "FILEMODE 2", "BINOPEN #1", io(),
                                  'ASSIGN #2,"held.bin"', "REWRITE #2", io()])
        self.assertEqual(values, ["32", "32", "32"])
        with open(self.path("held.bin"), "rb") as f:
            self.assertEqual(f.read(), b"precious")

    def test_read_only_open_mode(self):
        self.write("ro.bin", b"abc")
        result = self.run_body(['ASSIGN #1,"ro.bin"', "FILEMODE 0", "BINOPEN #1", "BINWRITE #1,1", io()])
        self.assertExit(result, 0)
        self.assertNotEqual(self.shown(result), ["0"])
        with open(self.path("ro.bin"), "rb") as f:
            self.assertEqual(f.read(), b"abc")

    def test_area_blocks(self):
        self.write("blk.bin", b"\x34\x12ABCDEFGH")
        self.assertEqual(self.values([
            "DECLARE A#, N&",
            "DIMAREA A#, 10",
            'ASSIGN #1,"blk.bin"', "BINOPEN #1",
            "LET N& = @AREAREADFILE(#1,A#,0,10)", show("N&"),
            "LET N& = @AREAWORD(A#,0)", show("N&"),
            "LET N& = @AREABYTE(A#,2)", show("N&"),
            show("@AREASTRN(A#,2,3)"), show("@AREASTR(A#,4)"),
            'ASSIGN #2,"copy.bin"', "BINOPEN #2",
            "WRITEAREA #2,A#,2,8",
            "WRITEAREA 2,A#,10,0",
            "BINCLOSE #2",
        ]), ["10", "4660", "65", "ABC", "CDEFGH"])
        with open(self.path("copy.bin"), "rb") as f:
            self.assertEqual(f.read(), b"ABCDEFGH")
        cases = [
            (["DECLARE A#", "DIMAREA A#, 10", 'ASSIGN #1,"blk.bin"', "BINOPEN #1",
              "EVAL @AREAREADFILE(#1,A#,5,6)"], "Bereichsgrenze \u00fcberschritten: "),
            (["DECLARE A#", "DIMAREA A#, 10", "WRITEAREA #1,A#,10,1"], "Bereichsgrenze \u00fcberschritten: "),
            (["WRITEAREA #1,A,0,1"], "Bereichs-Variable erwartet!"),
            (["WRITEAREA #1,Q#,0,1"], "Variable nicht declariert: Q#"),
            (["DECLARE A#", "DIMAREA A#, 4", "EVAL @AREALONG(A#,1)"], "Bereichsgrenze \u00fcberschritten: "),
        ]
        for lines, caption in cases:
            with self.subTest(lines[-1]):
                self.assertEqual(self.error(lines)[0], caption)

    def test_area_long_store_reads_back_as_word(self):
        self.assertEqual(self.values([
            "DECLARE A#, N&", "DIMAREA A#, 4", "POKELONG A#, 0=305419896",
            "LET N& = @AREAWORD(A#,0)", show("N&"),
            "LET N& = @AREALONG(A#,0)", show("N&"),
            'POKESTRZ A#, 2="ABCDEF"', show("@AREASTR(A#,0)"),
        ]), [str(0x5678), "305419896", "xV" + "AB"])


class FileSystem(ListingTestCase):
    def test_make_directory_twice(self):
        values = self.values(['MKDIR "alt\\"', io(), 'MKDIR "alt"', io()])
        self.assertEqual(values[0], "0")
        self.assertNotEqual(values[1], "0")
        self.assertTrue(os.path.isdir(self.path("alt")))

    def test_listing_order_and_end(self):
        os.makedirs(self.path("d/alt"))
        self.write("d/one.txt", "1")
        values = self.values([
            show('@FINDFIRST("d\\*.*")'), show("@FINDNEXT()"), show("@FINDNEXT()"), show("@FINDNEXT()"),
            show('"<";@FINDNEXT();">"'), io(), io(),
        ])
        self.assertEqual(sorted(values[:4]), sorted(["[.]", "[..]", "[alt]", "one.txt"]))
        self.assertEqual(values[4:], ["<>", "18", "0"])
        self.assertEqual(self.values([show('"<";@FINDNEXT();">"'), io()]), ["<>", "18"])

    def test_change_and_remove_directories(self):
        os.mkdir(self.path("Work"))
        self.write("Work/inner.txt", "data")
        self.assertEqual(self.values([
            'CHDIR "work\\"',  # a trailing backslash goes; the letter case need not match
            io(),
            "DECLARE N&",
            'LET N& = @FSIZE("INNER.TXT")', show("N&"),
            'CHDIR ".."',
            'RMDIR "work"', show("@IIF(@EQ(%{IORESULT},0),\"removed\",\"kept\")"),
            'MKDIR "empty"', 'RMDIR "empty"', io(),
        ]), ["0", "4", "kept", "0"])
        self.assertFalse(os.path.exists(self.path("empty")))

    def test_file_size_of_a_missing_file_warns(self):
        result = self.run_body(["DECLARE N&", 'LET N& = @FSIZE("gone.txt")', show("N&")])
        self.assertEqual(result.boxes[0]["caption"], "Datei nicht gefunden: gone.txt")
        self.assertEqual(self.shown(result), ["-1"])

    def test_paths_and_drives(self):
        os.mkdir(self.path("app"))
        env = {"MORVEN_DRIVE_C": self.dir}
        result = self.run_listing("\n".join(["DECLARE SHOW$, N&"] + [
            'CHDIR "C:\\APP"',
            *show("${CURDRIVE}"),
            *show('@FULLPATH("x.dat")'),
            *show('@CURDIR("c")'),
            *show('@FULLPATH("..\\y.dat")'),
            *show('"[";@SHORTPATH("nothere.dat");"]"'),
            "LET N& = @DISKSIZE(\"C\")", *show('@IIF(@EQ(N&,-1),"none","size")'),
            "LET N& = @DISKFREE(\"\")", *show("N&"),
        ]) + "\n", env=env)
        self.assertExit(result, 0)
        self.assertEqual(self.shown(result), ["C:", "C:\\app\\x.dat", "C:\\app", "C:\\y.dat", "[]", "size", "-1"])

    def test_names_with_backslashes_and_other_letter_case(self):
        os.makedirs(self.path("Data/Sub"))
        self.write("Data/Sub/Kunden.TXT", b"Meier\r\n")
        self.assertEqual(self.values([
            "DECLARE L$", 'ASSIGN #1,"data\\SUB\\kunden.txt"', "RESET #1", "INPUT #1,L$", show("L$"),
            'ASSIGN #2,"DATA\\neu.txt"', "REWRITE #2", 'PRINT #2,"x"', "CLOSE #2",
        ]), ["Meier"])
        self.assertTrue(os.path.exists(self.path("Data/neu.txt")))

    def test_attributes_and_dates(self):
        self.write("f.txt", "x")
        os.utime(self.path("f.txt"), (1700000000, 1700000000))  # 2023-11-14/15 local
        values = self.values([
            "DECLARE N%",
            'ASSIGN #1,"f.txt"', "LET N% = @FILEATTR(#1)", show("N%"),
            "SETFILEATTR #1,1", "LET N% = @FILEATTR(#1)", show("N%"),
            "SETFILEATTR #1,0",
            show("@FILEDATE(#1)"),
            'ASSIGN #2,"none.txt"', "LET N% = @FILEATTR(#2)", show("N%"),
        ])
        self.assertEqual(values[0], "32")
        self.assertEqual(values[1], "33")
        self.assertIn(values[2], ("20231114", "20231115"))
        self.assertEqual(values[3], "65535")


class ReadOnlyDirectory(ListingTestCase):
    """Runs as an ordinary user (root may write anywhere), when the machine allows it."""

    def test_nothing_can_be_created_or_erased(self):
        if os.geteuid() != 0 or shutil.which("setpriv") is None:
            self.skipTest("needs root and setpriv to run as another user")
        os.chmod(self.dir, 0o777)
        os.mkdir(self.path("ro"))
        self.write("ro/old.txt", "keep")
        os.chmod(self.path("ro"), 0o555)
        prog = self.assemble("\n".join(["DECLARE SHOW$"] + [
            'ASSIGN #1,"ro/new.txt"', "REWRITE #1", *show("%{IORESULT}"),
            'ASSIGN #2,"ro/old.txt"', "ERASE #2", *show("%{IORESULT}"),
            'MKDIR "ro/sub"', *show("%{IORESULT}"),
        ]) + "\n")
        os.chmod(prog, 0o644)
        log = self.path("log.jsonl")
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update({"MORVEN_HEADLESS": "1", "MORVEN_LOG": log})
        proc = subprocess.run(["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", os.path.abspath(MORVRUN), prog],
                              cwd=self.dir, env=env, capture_output=True, timeout=60)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        with open(log, encoding="utf-8") as f:
            shown = [e["text"] for e in map(json.loads, f) if e.get("caption") == "show"]
        self.assertEqual(shown, ["5", "5", "5"])
        with open(self.path("ro/old.txt")) as f:
            self.assertEqual(f.read(), "keep")
        self.assertFalse(os.path.exists(self.path("ro/new.txt")))


class StringList(ListingTestCase):
    def test_commands(self):
        os.makedirs(self.path("d/alt"))
        self.write("d/a.txt", "1")
        values = self.values([
            show("%{LISTLAST}"),
            'LISTADD "eins"', 'LISTADD "zwei"', 'LISTSET 1="two"', show("%{LISTLAST}"),
            "LISTCLEAR", 'LISTFILES "d\\*.*"', show("%{LISTLAST}"),
        ])
        self.assertEqual(values, ["-1", "1", "3"])
        self.assertEqual(self.error(['LISTADD "x"', 'LISTSET 1="y"'])[0], "Das Element gibt es nicht!")

    def test_recursive_file_names(self):
        os.makedirs(self.path("a/b"))
        self.write("a/b/deep.txt", "1")
        self.write("top.txt", "1")
        self.write("a/skip.dat", "1")
        result = self.run_listing("DECLARE SHOW$\nLISTFILES *\"*.txt\"\n" + "\n".join(show("%{LISTLAST}")) + "\n",
                                  env={"MORVEN_DRIVE_C": self.dir})
        self.assertEqual(self.shown(result), ["1"])


class Environment(ListingTestCase):
    def test_parameters_and_variables(self):
        listing = "\n".join(["DECLARE SHOW$"] + show("%{PARAMCOUNT}") + show("@PARAMSTR(2)") +
                            show('@GETENV("MORVEN_TEST_VALUE")') + show('"[";@GETENV("MORVEN_NOT_SET");"]"') +
                            ["EVAL @PARAMSTR(4)"]) + "\n"
        result = self.run_listing(listing, args=["erster", "zweiter"], env={"MORVEN_TEST_VALUE": "Wert"})
        self.assertEqual(self.shown(result), ["3", "erster", "Wert", "[]"])
        self.assertEqual(result.boxes[-1]["caption"], "Kommandozeilenparameter fehlt!")


if __name__ == "__main__":
    main()
