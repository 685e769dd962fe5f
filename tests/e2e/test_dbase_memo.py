"""Memo files, packing and table creation: memos read into and written from the
StringList, the memo file's blocks and header, packing with and without memo fields,
and new tables from structure files (with their refusals)."""
import os
import struct

from harness import main
from interp import show
from test_dbase import PEOPLE, TableCase, dbf_bytes, read_dbf, value

MEMO_TABLE = [("NAME", "C", 8, 0), ("NOTIZ", "M", 10, 0)]


def dbt_bytes(memos):
    """A memo file holding the memos (bytes, each with its own end marker) from block 1;
    returns (file bytes, block number of each)."""
    blocks, data = [], b""
    for memo in memos:
        blocks.append(1 + len(data) // 512)
        data += memo + b"\0" * (-len(memo) % 512)
    return struct.pack("<I", 1 + len(data) // 512) + b"\0" * 508 + data, blocks


def memo_at(dbt, block):
    """The memo text from a block up to its end marker, and the blocks it uses."""
    end = dbt.index(b"\x1a", block * 512)
    return dbt[block * 512:end], (end - block * 512) // 512 + 1


class MemoCase(TableCase):
    def memo_table(self, memos, records=None, deleted=()):
        dbt, blocks = dbt_bytes(memos)
        self.write("T.DBT", dbt)
        rows = records or [["R%d" % i, "%10d" % b] for i, b in enumerate(blocks, 1)]
        rows = [(["*" + r[0]] + r[1:]) if i in deleted else r for i, r in enumerate(rows, 1)]
        self.table(fields=MEMO_TABLE, records=rows, version=0x83)
        return blocks

    def dbt(self):
        with open(self.path("T.DBT"), "rb") as f:
            return f.read()


class Memos(MemoCase):
    def test_write_and_read_back(self):
        self.memo_table([])
        self.table(fields=MEMO_TABLE, records=[["A", ""], ["B", ""]], version=0x83)
        values, warnings, _ = self.run_table([
            "LISTCLEAR", 'LISTADD "erste Zeile"', 'LISTADD ""', 'LISTADD "dritte"',
            value('@MEMOWRITE("NOTIZ")'), show('@DBFIELD("NOTIZ")'), "EVAL @DBWRITE(0)",
            'EVAL @DBGO(2)', "LISTCLEAR", 'LISTADD "zwei"', 'EVAL @MEMOWRITE("notiz")', "EVAL @DBWRITE(0)",
            "LISTCLEAR", 'EVAL @DBGO(1)', value('@MEMOREAD("NOTIZ")'), show("%{LISTLAST}"),
            value('@MEMOREAD("NAME")'), value('@MEMOWRITE("NAME")'),
        ])
        self.assertEqual(warnings, [])
        self.assertEqual(values, ["1", "         1", "25", "2", "-1", "0"])
        dbt = self.dbt()
        self.assertEqual(len(dbt), 3 * 512)
        self.assertEqual(dbt[:4], struct.pack("<I", 3))
        self.assertEqual(dbt[4:512], b"\0" * 508)
        self.assertEqual(dbt[512:512 + 24], b"erste Zeile\r\n\r\ndritte\r\n\x1a")
        self.assertEqual(dbt[512 + 24:1024], b"\0" * (512 - 24))
        self.assertEqual(memo_at(dbt, 2), (b"zwei\r\n", 1))

    def test_a_memo_of_exactly_one_block_takes_two(self):
        self.memo_table([])
        self.table(fields=MEMO_TABLE, records=[["A", ""]], version=0x83)
        line = 'LISTADD "%s"' % ("x" * 126)   # four lines of 128 bytes with their CR LF
        self.run_table(["LISTCLEAR", line, line, line, line, 'EVAL @MEMOWRITE("NOTIZ")', "EVAL @DBWRITE(0)"])
        dbt = self.dbt()
        self.assertEqual(len(dbt), 3 * 512)
        self.assertEqual(dbt[1024:], b"\x1a" + b"\0" * 511)

    def test_reading_breaks_long_lines_and_rewriting_keeps_the_text(self):
        words = b" ".join(b"wort%d" % (i % 13) for i in range(110))
        blocks = self.memo_table([words + b"\r\n\x1a", b"kurz\x8dweich\x1a"])
        values, warnings, _ = self.run_table([
            value('@MEMOREAD("NOTIZ")'), show("%{LISTLAST}"),
            "EVAL @DBGO(2)", 'EVAL @MEMOWRITE("NOTIZ")', "EVAL @DBWRITE(0)",  # record 2 gets memo 1's text
            value('@MEMOREAD("NOTIZ")'), show("%{LISTLAST}"),
        ])
        self.assertEqual(warnings, [])
        text_blocks = (len(words) + 2) // 512 + 1
        self.assertEqual(values[0], str(text_blocks + (len(words) + 3) % 512))
        lines = int(values[1]) + 1
        self.assertEqual(lines, 9)
        dbt = self.dbt()
        _, records = read_dbf(self.path("T.DBF"))
        new_block = int(records[1][2])
        self.assertGreater(new_block, blocks[1])
        text, _ = memo_at(dbt, new_block)
        broken = text.split(b"\r\n")
        self.assertTrue(all(len(l) <= 81 for l in broken))
        self.assertEqual(b"".join(broken), words)

    def test_a_memo_that_fits_is_rewritten_in_place(self):
        self.memo_table([b"alt und lang genug\r\n\x1a", b"zweites\r\n\x1a"])
        size = len(self.dbt())
        self.run_table([
            'EVAL @MEMOREAD("NOTIZ")', "LISTCLEAR", 'LISTADD "neu"', 'EVAL @MEMOWRITE("NOTIZ")', "EVAL @DBWRITE(0)",
            "EVAL @DBGO(2)", "LISTCLEAR", 'LISTADD "%s"' % ("y" * 200), 'LISTADD "%s"' % ("y" * 200),
            'LISTADD "%s"' % ("y" * 200), 'EVAL @MEMOWRITE("NOTIZ")', "EVAL @DBWRITE(0)",
        ])
        dbt = self.dbt()
        self.assertEqual(memo_at(dbt, 1), (b"neu\r\n", 1))
        self.assertEqual(len(dbt), size + 2 * 512)      # memo 2 grew: it went to the end
        _, records = read_dbf(self.path("T.DBF"))
        self.assertEqual([r[2] for r in records], ["         1", "         3"])
        self.assertEqual(dbt[:4], struct.pack("<I", 5))

    def test_new_memos_never_overwrite_blocks_the_header_does_not_count(self):
        dbt, _ = dbt_bytes([b"eins\r\n\x1a", b"zwei\r\n\x1a"])
        self.write("T.DBT", struct.pack("<I", 1) + dbt[4:])    # a header that lags behind
        self.table(fields=MEMO_TABLE, records=[["A", "         1"], ["B", "         2"], ["C", ""]], version=0x83)
        self.run_table(["EVAL @DBGO(3)", "LISTCLEAR", 'LISTADD "drei"', 'EVAL @MEMOWRITE("NOTIZ")',
                        "EVAL @DBWRITE(0)"])
        dbt = self.dbt()
        self.assertEqual([memo_at(dbt, b)[0] for b in (1, 2, 3)], [b"eins\r\n", b"zwei\r\n", b"drei\r\n"])

    def test_memo_blocks_outside_the_memo_file(self):
        self.memo_table([b"a\x1a"], records=[["A", "        99"], ["B", "        -1"]])
        values, warnings, _ = self.run_table([value('@MEMOREAD("NOTIZ")'), show("%{LISTLAST}"),
                                              "EVAL @DBGO(2)", value('@MEMOREAD("NOTIZ")')])
        self.assertEqual(values, ["0", "-1", "0"])
        self.assertEqual(warnings, ["dB-Fehler: 622 : t.DBT: Block 99", "dB-Fehler: 622 : t.DBT: Block -1"])

    def test_a_memo_longer_than_the_string_list_warns(self):
        self.memo_table([b"z\r\n" * 32770 + b"\x1a"])
        values, warnings, _ = self.run_table([value('@MEMOREAD("NOTIZ")'), show("%{LISTLAST}")])
        self.assertEqual(values[1], "32767")
        self.assertEqual(warnings, ["dB-Fehler: 623 : t.DBT"])


class Packing(MemoCase):
    def test_pack_removes_deleted_records_and_their_memos(self):
        memos = [b"erstes\r\n\x1a", b"zweites\r\n" * 80 + b"\x1a", b"drittes\r\n\x1a", b"viertes\r\n\x1a"]
        self.memo_table(memos, deleted={2, 3})
        values, warnings, result = self.run_table([
            'MAKEINDEX "NAME">"kname"', value("@DBPACK()"), show("%{DBRECCOUNT}"), show("%{DBRECNO}"),
            show('@DBFIELD("NAME")'), 'EVAL @MSGBOX("","pause",0)', "EVAL @DBCLOSE(#1)"])
        self.assertEqual(warnings, [])
        self.assertEqual(values, ["2", "2", "2", "R4      "])
        info, records = read_dbf(self.path("T.DBF"))
        self.assertEqual([r[1] for r in records], ["R1      ", "R4      "])
        self.assertEqual(info["size"], info["header_length"] + 2 * info["record_length"] + 1)
        self.assertEqual(info["end"], b"\x1a")
        dbt = self.dbt()
        self.assertEqual(dbt[:4], struct.pack("<I", 3))
        self.assertEqual([memo_at(dbt, int(r[2])) for r in records], [(b"erstes\r\n", 1), (b"viertes\r\n", 1)])
        self.assertEqual(len(dbt), 3 * 512)
        self.assertFalse(os.path.exists(self.path("DB3$$$.D$$")))

    def test_pack_without_deleted_records_keeps_the_count(self):
        rows = [["a"], ["b"], ["c"]]
        self.write("T.DBF", dbf_bytes(PEOPLE, rows) + b"\x1a\x1a")
        values, warnings, _ = self.run_table([
            value("@DBPACK()"), value('@FSIZE("t.dbf")'), "EVAL @DBCLOSE(#1)", value('@FSIZE("t.dbf")')])
        self.assertEqual((values, warnings), (["3", "196", "196"], []))
        info, records = read_dbf(self.path("T.DBF"))
        self.assertEqual((info["count"], info["end"], [r[1] for r in records]),
                         (3, b"\x1a", ["a         ", "b         ", "c         "]))

    def test_pack_of_only_deleted_records_brings_the_header_to_zero(self):
        self.table(records=[["*a"], ["*b"]])
        values, warnings, _ = self.run_table([value("@DBPACK()"), show("%{DBEOF}"), "EVAL @DBCLOSE(#1)",
                                              'LET N& = @DBOPEN(#2,"t")', show("N&")])
        self.assertEqual((values, warnings), (["0", "1", "0"], []))
        info, _ = read_dbf(self.path("T.DBF"))
        self.assertEqual((info["count"], info["size"]), (0, info["header_length"] + 1))

    def test_pack_with_a_memo_field_that_is_no_number(self):
        self.memo_table([b"eins\x1a", b"zwei\x1a"], records=[["A", "        77"], ["B", "         2"], ["C", "abc"]])
        values, warnings, _ = self.run_table([value("@DBPACK()"), "EVAL @DBCLOSE(#1)"])
        self.assertEqual(values, ["3"])
        self.assertEqual(warnings, ["dB-Fehler: 620 : Kein numerischer Wert in NumberGetN - abc       "])
        _, records = read_dbf(self.path("T.DBF"))
        # the field that is no number stays; a memo outside the file is dropped
        self.assertEqual([r[2] for r in records], ["          ", "         1", "abc       "])
        self.assertEqual(memo_at(self.dbt(), 1), (b"zwei", 1))


class Creation(TableCase):
    def test_a_new_table_from_a_structure_file(self):
        self.write("s.txt", b"preis;n;8;2\r\nName;C;30;\r\nDATUM;D;\r\nNOTIZ;M;\r\nOK;L;\r\n")
        result = self.run_body(['MAKETABLE "neu.dbf">"s.txt"', 'MAKETABLE "data.x.y">"s.txt"'])
        self.assertExit(result, 0)
        self.assertEqual(result.boxes, [])
        info, records = read_dbf(self.path("neu.dbf"))
        self.assertEqual(info["version"], 0x83)
        self.assertEqual(info["fields"], [("PREIS", "N", 8, 2), ("NAME", "C", 30, 0), ("DATUM", "D", 8, 0),
                                          ("NOTIZ", "M", 10, 0), ("OK", "L", 1, 0)])
        self.assertEqual((info["count"], info["header_length"], info["record_length"]), (0, 193, 58))
        with open(self.path("neu.dbf"), "rb") as f:
            data = f.read()
        self.assertEqual(data[-2:], b"\r\x1a")
        self.assertEqual(len(data), 194)
        with open(self.path("neu.DBT"), "rb") as f:
            self.assertEqual(f.read(), b"\x01" + b"\0" * 511 + b"\x1a")
        self.assertTrue(os.path.exists(self.path("data.x.y")))
        self.assertTrue(os.path.exists(self.path("data.DBT")))

    def test_refused_structures_create_nothing(self):
        cases = [
            (None, "Datei nicht gefunden: : s.txt"),
            (b"NAME;C;10", "Ung\u00fcltige Feldl\u00e4nge!"),
            (b"NAME;C;300;", "Ung\u00fcltige Feldl\u00e4nge: 300"),
            (b"PREIS;N;8;", "Ung\u00fcltige Dezimalstellen!"),
            (b"PREIS;N;8;9", "Ung\u00fcltige Dezimalstellen: 9"),
            (b"A;C;5;\r\na;N;3;0", "Doppelter Feldname: A"),
            (b";C;5;", "dB-Fehler: 804 : ;C;5;"),
        ]
        for structure, caption in cases:
            with self.subTest(structure):
                if os.path.exists(self.path("s.txt")):
                    os.remove(self.path("s.txt"))
                if structure is not None:
                    self.write("s.txt", structure)
                result = self.run_body(['MAKETABLE "neu">"s.txt"'])
                self.assertExit(result, 0)
                self.assertEqual(self.warnings(result), [caption])
                self.assertFalse(os.path.exists(self.path("neu.DBF")))


if __name__ == "__main__":
    main()
