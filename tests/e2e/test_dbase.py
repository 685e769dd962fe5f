"""dBase tables: opening, moves, field reads and writes, record writes, delete and
recall, locate, the table system variables, the engine's warnings and fatal errors,
damaged table files, and the closing of open tables on every way a run ends.

The helpers at the top (table files made byte by byte, reading them back) are shared
with the other test_dbase_* files."""
import os
import struct

from harness import main
from interp import ListingTestCase, show

ICON_ERROR, WARNING_BOX = 0x10, 0x31


def dbf_bytes(fields, records=(), version=0x03, date=(124, 3, 9), header_length=None, count=None,
              record_length=None, end=True):
    """A table file: fields are (name, type, length, decimals); records are lists of
    field texts (padded with blanks), a leading "*" in the first text marks deletion."""
    rl = 1 + sum(f[2] for f in fields)
    hl = 32 * len(fields) + 33
    head = struct.pack("<BBBBIHH20x", version, date[0], date[1], date[2],
                       len(records) if count is None else count,
                       hl if header_length is None else header_length,
                       rl if record_length is None else record_length)
    desc = b"".join(struct.pack("<11sc4xBB14x", n.encode("cp1252"), t.encode(), l, d) for n, t, l, d in fields)
    body = b""
    for rec in records:
        flag = b" "
        texts = list(rec) + [""] * (len(fields) - len(rec))
        if texts and texts[0].startswith("*"):
            flag, texts[0] = b"*", texts[0][1:]
        body += flag + b"".join(v.encode("cp1252").ljust(f[2])[:f[2]] for v, f in zip(texts, fields))
    return head + desc + b"\r" + body + (b"\x1a" if end else b"")


def read_dbf(path):
    """(header fields, records as lists of texts with the flag first) of a table file."""
    with open(path, "rb") as f:
        data = f.read()
    version, y, m, d, count, hl, rl = struct.unpack("<BBBBIHH", data[:12])
    fields = []
    for i in range((hl - 33) // 32):
        raw = data[32 + 32 * i:64 + 32 * i]
        fields.append((raw[:11].split(b"\0")[0].decode("cp1252"), chr(raw[11]), raw[16], raw[17]))
    records = []
    for k in range(count):
        rec = data[hl + k * rl:hl + (k + 1) * rl]
        out, pos = [chr(rec[0])], 1
        for f in fields:
            out.append(rec[pos:pos + f[2]].decode("cp1252"))
            pos += f[2]
        records.append(out)
    return {"version": version, "date": (y, m, d), "count": count, "header_length": hl,
            "record_length": rl, "fields": fields, "size": len(data),
            "end": data[hl + count * rl:hl + count * rl + 1]}, records


PEOPLE = [("NAME", "C", 10, 0), ("ALTER", "N", 3, 0), ("ORT", "C", 8, 0)]
PEOPLE_ROWS = [["Meier", " 42", "Berlin"], ["*Albers", "  7", "Bonn"], ["Zander", "100", "Hamburg"]]


def value(expression):
    """Statements that show a numeric result: through a long variable, as numeric
    results have no text form of their own."""
    return ["LET N& = %s" % expression] + show("N&")


class TableCase(ListingTestCase):
    def table(self, name="T.DBF", fields=PEOPLE, records=PEOPLE_ROWS, **kw):
        return self.write(name, dbf_bytes(fields, records, **kw))

    def open_lines(self, name="t"):
        return ["DECLARE N&", 'LET N& = @DBOPEN(#1,"%s")' % name]

    def warnings(self, result):
        return [b["caption"] for b in result.boxes if b["style"] == WARNING_BOX]

    def run_table(self, lines, script=None):
        """Runs lines after opening T.DBF; returns (shown values, warning captions, result)."""
        result = self.run_body(self.open_lines() + lines, script=script)
        self.assertExit(result, 0)
        return self.shown(result), self.warnings(result), result


class Tables(TableCase):
    def test_open_reads_the_header(self):
        self.table()
        values, warnings, _ = self.run_table([
            show("N&"), show("%{DBRECCOUNT}"), show("%{DBHEADERLEN}"), show("%{DBRECLEN}"),
            show("%{DBFIELDCOUNT}"), show("${DBUPDATED}"), show("%{DBRECNO}"), show("%{DBHASMEMO}"),
            show("%{DBVERSION}"), show("@DBFIELD(\"NAME\")"), show("%{DBDELETED}"), show("%{DBEOF}"),
        ])
        self.assertEqual(values, ["3", "3", "129", "22", "3", "09.03.24", "1", "0", "3", "Meier     ", "0", "0"])
        self.assertEqual(warnings, [])

    def test_moves(self):
        self.table()
        cases = [
            # moves, then (record number, deleted, at end, NAME) after each
            (["TOP"], [("1", "0", "0", "Meier")]),
            (["BOTTOM", "PREV", "PREV", "PREV"],
             [("3", "0", "0", "Zander"), ("2", "1", "0", "Albers"), ("1", "0", "0", "Meier"), ("1", "0", "0", "Meier")]),
            ([">|", "NEXT", "next"], [("3", "0", "0", "Zander"), ("3", "0", "1", "Zander"), ("3", "0", "1", "Zander")]),
            (["|<", ">", "<"], [("1", "0", "0", "Meier"), ("2", "1", "0", "Albers"), ("1", "0", "0", "Meier")]),
            (["2"], [("2", "1", "0", "Albers")]),
        ]
        for moves, expected in cases:
            with self.subTest(moves):
                lines = []
                for m in moves:
                    target = m if m.isdigit() else '"%s"' % m
                    lines += ['LET N& = @DBGO(%s)' % target, show("N&"), show("%{DBDELETED}"), show("%{DBEOF}"),
                              show('@TRIM(@DBFIELD("NAME"))')]
                values, warnings, _ = self.run_table(lines)
                self.assertEqual(warnings, [])
                self.assertEqual([tuple(values[i:i + 4]) for i in range(0, len(values), 4)], expected)

    def test_moves_outside_the_table_warn_and_keep_the_record(self):
        self.table()
        values, warnings, _ = self.run_table([
            "LET N& = @DBGO(2)", "LET N& = @DBGO(0)", show("N&"), "LET N& = @DBGO(4)", show("N&"),
            show('@TRIM(@DBFIELD("NAME"))'), show("%{ERRORSTATE}"), show("%{LASTERROR}"),
        ])
        self.assertEqual(values, ["2", "2", "Albers", "1", "608"])
        self.assertEqual(warnings, ["Schl\u00fcsselfeld nicht in Ordnung: Datensatz 0 nicht in der gefunden.",
                                    "Schl\u00fcsselfeld nicht in Ordnung: Datensatz 4 nicht in der gefunden."])

    def test_an_empty_table(self):
        self.table(records=[])
        values, warnings, _ = self.run_table([
            show("N&"), show("%{DBEOF}"), show("%{DBRECNO}"), 'LET N& = @DBGO("NEXT")', show("N&"),
            show("%{DBEOF}"), show('"[";@DBFIELD("NAME");"]"'),
        ])
        self.assertEqual(values, ["0", "1", "0", "0", "1", "[          ]"])
        self.assertEqual(warnings, [])

    def test_field_lookups(self):
        self.table(fields=[("NAME", "C", 10, 0), ("preis", "N", 8, 2), ("X", "M", 10, 0)],
                   records=[["Meier", "12.50", ""]], version=0x83)
        self.write("T.DBT", b"\x01" + b"\0" * 511 + b"\x1a")
        current = [show("${DBFIELDTYPE}"), show("%{DBFIELDLEN}"), show("%{DBFIELDDEC}"), show("%{DBFIELDNO}"),
                   show('"[";${DBFIELDNAME};"]"')]
        values, warnings, _ = self.run_table(
            [show('@DBFIELD("name  ")')] + current
            + [show('@DBFIELDN(2)')] + current
            + [show('"[";@DBFIELD("preis");"]"')] + current
            + [show('"[";@DBFIELDN(4);"]"'), show('"[";@DBFIELDN(0);"]"')]
            + [value('@DBPUT("NAMEX","a")'), value('@DBPUTN(9,"a")'), value('@DBPUT("X","1")')] + current)
        self.assertEqual(values, [
            "Meier     ", "C", "10", "0", "1", "[NAME]",
            "12.50   ", "N", "8", "2", "2", "[preis]",
            "[]", " ", "0", "0", "0", "[]",
            "[]", "[]",
            "0", "0", "0", "M", "10", "0", "3", "[X]",
        ])
        self.assertEqual(warnings, [
            "Feld beim Lesen nicht gefunden: preis",
            "Feldnummer beim Lesen nicht gefunden: 4",
            "Feldnummer beim Lesen nicht gefunden: 0",
            "Feld zum Schreiben nicht gefunden: NAMEX",
            "Feldnummer zum Schreiben nicht gefunden: 9",
        ])

    def test_writes_appends_delete_and_recall(self):
        self.table()
        values, warnings, _ = self.run_table([
            'EVAL @DBPUT("ALTER","5")', 'EVAL @DBPUTN(1,"Ganz langer Name")',
            value("@DBWRITE(0)"),                       # rewrites record 1
            'EVAL @DBPUT("NAME","Neu")', value("@DBWRITE(99)"), show("%{DBRECCOUNT}"),
            'EVAL @DBPUT("NAME","Zwei")', value("@DBAPPEND()"), show('"[";@DBFIELD("NAME");"]"'),
            'EVAL @DBGO(3)', value("@DBDELETE()"), show("%{DBDELETED}"),
            'EVAL @DBGO(2)', value("@DBRECALL()"), show("%{DBDELETED}"),
            'EVAL @DBGO(-1)', value("@DBWRITE(-1)"),
            "LET N& = @DBCLOSE(#1)", show("N&"),
        ])
        self.assertEqual(warnings, ["Schl\u00fcsselfeld nicht in Ordnung: Datensatz -1 nicht in der gefunden."])
        self.assertEqual(values, ["1", "4", "4", "5", "[          ]", "3", "1", "2", "0", "6", "6"])
        info, records = read_dbf(self.path("T.DBF"))
        self.assertEqual(info["count"], 6)
        self.assertEqual(info["end"], b"\x1a")
        self.assertEqual(info["size"], 129 + 6 * 22 + 1)
        self.assertEqual([r[:3] for r in records], [
            [" ", "Ganz lange", "5  "], [" ", "Albers    ", "  7"], ["*", "Zander    ", "100"],
            [" ", "Neu       ", "5  "], [" ", "Zwei      ", "5  "], [" ", "Albers    ", "  7"]])

    def test_writing_record_zero_without_a_current_record_appends(self):
        self.table(records=[])
        self.run_table(['EVAL @DBPUT("NAME","Erster")', value("@DBWRITE(0)"), show("%{DBRECCOUNT}")])
        _, records = read_dbf(self.path("T.DBF"))
        self.assertEqual(records, [[" ", "Erster    ", "   ", "        "]])

    def test_locate(self):
        self.table(records=[["Meier", "1", "Berlin"], ["abc", "2", "Bonn"], [" ABC", "3", "Kiel"],
                            ["xAbCx", "4", "Hamburg"]])
        cases = [
            ('"abc"', 1, "2"), ('"abc",0', 1, "2"), ('"AB",1', 1, "2"), ('" abc ",2', 1, "2"),
            ('"abc",2', 3, "3"), ('"abc",1', 3, "0"), ('"abc",0', 4, "4"), ('"abc",7', 1, "0"),
            ('"zz"', 1, "0"),
        ]
        for arguments, start, expected in cases:
            with self.subTest(arguments, start=start):
                values, warnings, _ = self.run_table([
                    "EVAL @DBGO(%d)" % start, value('@DBLOCATE("NAME",%s)' % arguments), show("%{DBRECNO}")])
                self.assertEqual(values[0], expected)
                self.assertEqual(warnings, [])
        values, warnings, _ = self.run_table([value('@DBLOCATE("NIX","a")')])
        self.assertEqual((values, warnings), (["0"], ["Feld beim Lesen nicht gefunden: NIX"]))

    def test_text_font_1_converts_between_oem_and_ansi(self):
        self.table(fields=[("NAME", "C", 6, 0)], records=[["\u201erger"]])  # byte 0x84: "ä" in code page 850
        values, warnings, _ = self.run_table([
            show('@DBFIELD("NAME")'), "FONT 1", show('@DBFIELD("NAME")'), show('@DBFIELDN(1)'),
            'EVAL @DBPUT("NAME","\u00d6l")', "EVAL @DBAPPEND()",
            'EVAL @DBGO("TOP")', value('@DBLOCATE("NAME","\u00e4r",1)'), "FONT 2",
        ])
        self.assertEqual(values, ["\u201erger ", "\u00e4rger ", "\u00e4rger ", "1"])
        _, records = read_dbf(self.path("T.DBF"))
        with open(self.path("T.DBF"), "rb") as f:
            self.assertIn(b"\x99l    ", f.read())  # "Ö" in code page 850

    def test_a_write_that_fails_does_not_count_the_record(self):
        self.table()
        result = self.run_body(["FILEMODE 0"] + self.open_lines() + [
            value("@DBAPPEND()"), show("%{DBRECCOUNT}"), "EVAL @DBCLOSE(#1)"])
        self.assertExit(result, 0)
        self.assertEqual(self.shown(result), ["0", "3"])
        self.assertEqual(self.warnings(result), ["dB-Fehler: 6 : t.DBF (Write)"])
        with open(self.path("T.DBF"), "rb") as f:
            self.assertEqual(f.read(), dbf_bytes(PEOPLE, PEOPLE_ROWS))


class Slots(TableCase):
    def test_slot_arguments_and_empty_slots_are_fatal(self):
        self.table()
        cases = [
            ('EVAL @DBOPEN(1,"t")', "Tabellenkennung erwartet!"),
            ('EVAL @DBOPEN(#0,"t")', "Tabellennummer nicht im erlaubten Bereich!"),
            ('EVAL @DBOPEN(#16,"t")', "Tabellennummer nicht im erlaubten Bereich!"),
            ("EVAL @DBSELECT(#3)", "Tabellennummer noch nicht vergeben!"),
            ("EVAL @DBCLOSE(#3)", "Tabellennummer noch nicht vergeben!"),
            ('EVAL @DBFIELD("NAME")', "Tabellennummer noch nicht vergeben!"),
            ('EVAL @DBGO("TOP")', "Tabellennummer noch nicht vergeben!"),
        ]
        for line, caption in cases:
            with self.subTest(line):
                self.assertEqual(self.error([line]), (caption, "Zeile      2!"))

    def test_select_and_close(self):
        self.table()
        self.table("U.DBF", records=PEOPLE_ROWS[:1])
        values, warnings, _ = self.run_table([
            'LET N& = @DBOPEN(#2,"u.dbf")', show("N&"), show("%{DBRECCOUNT}"),
            value("@DBSELECT(#1)"), show("%{DBRECCOUNT}"), value("@DBCLOSE(#1)"),
            show("%{DBRECCOUNT}"), show('"[";${DBUPDATED};"]"'),  # the slot is empty now
            value("@DBSELECT(#2)"),
        ])
        self.assertEqual(values, ["1", "1", "3", "3", "3", "0", "[]", "1"])
        self.assertEqual(warnings, [])

    def test_opening_in_an_occupied_slot_closes_the_old_table_first(self):
        self.table()
        self.table("U.DBF", records=[])
        result = self.run_body(self.open_lines() + [
            'EVAL @DBPUT("NAME","Neu")', "EVAL @DBAPPEND()",
            'LET N& = @DBOPEN(#1,"u")', show("N&"),
            'EVAL @MSGBOX("","wait",0)'])  # the old table's header is complete before the end
        self.assertExit(result, 0)
        info, records = read_dbf(self.path("T.DBF"))
        self.assertEqual(info["count"], 4)
        self.assertEqual(records[3][1], "Neu       ")


class OpenFailures(TableCase):
    def test_tables_that_cannot_be_opened_end_the_run(self):
        sound = dbf_bytes(PEOPLE, PEOPLE_ROWS)
        cases = [
            ("missing", None, "Datei nicht gefunden: : t.DBF (Reset)"),
            ("wrong version", b"\x30" + sound[1:], "dB-Fehler: 157 : Keine dBase III-Datei"),
            ("truncated header", sound[:20], "dB-Fehler: 158 : Tabellenkopf unvollst\u00e4ndig: t.DBF"),
            ("cut in the descriptors", sound[:80], "dB-Fehler: 158 : Tabellenkopf unvollst\u00e4ndig: t.DBF"),
            ("too many descriptors", dbf_bytes(PEOPLE, PEOPLE_ROWS, header_length=161) + b" " * 64,
             "dB-Fehler: 158 : Feldzahl passt nicht zur Kopfl\u00e4nge: t.DBF"),
            ("too few descriptors", dbf_bytes(PEOPLE, PEOPLE_ROWS, header_length=97),
             "dB-Fehler: 158 : Feldzahl passt nicht zur Kopfl\u00e4nge: t.DBF"),
            ("record shorter than its fields", dbf_bytes(PEOPLE, PEOPLE_ROWS, record_length=12),
             "dB-Fehler: 158 : Satzl\u00e4nge passt nicht zu den Feldern: t.DBF"),
            ("records missing", dbf_bytes(PEOPLE, PEOPLE_ROWS, count=40000),
             "dB-Fehler: 158 : Datens\u00e4tze fehlen: t.DBF"),
            ("directory", "dir", "dB-Fehler: 5 : t.DBF (Reset)"),
        ]
        for name, data, caption in cases:
            with self.subTest(name):
                path = self.path("T.DBF")
                if os.path.isdir(path):
                    os.rmdir(path)
                elif os.path.exists(path):
                    os.remove(path)
                if data == "dir":
                    os.mkdir(path)
                elif data is not None:
                    self.write("T.DBF", data)
                result = self.run_body(self.open_lines() + [show("N&")])
                self.assertExit(result, 0)
                self.assertEqual([(b["caption"], b["style"]) for b in result.boxes], [(caption, ICON_ERROR)])

    def test_a_table_without_end_marker_opens(self):
        self.table(end=False)
        values, warnings, _ = self.run_table([show("N&"), "EVAL @DBGO(3)", show('@DBFIELD("NAME")')])
        self.assertEqual((values, warnings), (["3", "Zander    "], []))


class ClosingAtTheEnd(TableCase):
    """Appended records reach the header's record count however the run ends."""

    def test_every_way_a_run_ends_closes_the_tables(self):
        append = ['EVAL @DBPUT("NAME","Neu")', "EVAL @DBAPPEND()", "EVAL @DBAPPEND()"]
        cases = [
            ("last line", [], None, 0),
            ("end command", ["END", 'EVAL @DBAPPEND()'], None, 0),
            ("fatal error", ["EVAL @DBSELECT(#9)"], None, 0),
            ("warning cancelled", ['EVAL @DBGO(0)'], "answer CANCEL\n", 0),
            ("the user closes the window", ["WAITKEY"], "", 255),
        ]
        for name, tail, script, code in cases:
            with self.subTest(name):
                self.table()
                result = self.run_body(self.open_lines() + append + tail, script=script)
                self.assertExit(result, code)
                info, records = read_dbf(self.path("T.DBF"))
                self.assertEqual(info["count"], 5)
                self.assertEqual(info["end"], b"\x1a")
                self.assertEqual(info["size"], 129 + 5 * 22 + 1)
                self.assertEqual(records[3][1], "Neu       ")
                self.assertEqual(records[4][1], "          ")


if __name__ == "__main__":
    main()
