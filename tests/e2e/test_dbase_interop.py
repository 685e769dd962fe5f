"""Independent readers and writers of dBase III files: Debian's python3-dbf and
python3-dbfread read what morvrun wrote, morvrun reads what python3-dbf wrote, and
index_dump (libdbd-xbase-perl) lists the indexes. The last test is a whole
application run: create, append with memos, two indexes, seek, update keys, delete,
pack, index again, close — then every reader gets every record back."""
import datetime
import os
import random
import shutil
import subprocess
import sys
import unittest

from harness import main
from interp import show
from test_dbase import TableCase, read_dbf, value
from test_dbase_index import index_entries

try:
    import dbf
    import dbfread
except ImportError:  # the peers are installed by scripts/deps.sh
    dbf = dbfread = None

PY_WRITER = """
import datetime, sys, dbf
table = dbf.Table(sys.argv[1], "NAME C(20); PREIS N(8,2); NOTIZ M; DATUM D; AKTIV L", dbf_type="db3",
                  codepage="cp1252")
with table.open(dbf.READ_WRITE):
    table.append(("M\u00fcller", 12.5, "Zeile eins\\r\\nZeile zwei", datetime.date(2024, 1, 31), True))
    table.append(("Weg", -3, "", None, False))
    table.append(("Zander", 7, "w " * 400, None, None))
    dbf.delete(table[1])
"""

STRUCTURE = b"NAME;C;20;\r\nPREIS;N;8;2\r\nDATUM;D;\r\nNOTIZ;M;\r\nAKTIV;L;\r\n"


def memo_lines(i):
    return ["Notiz %d zu Kunde %d" % (j, i) for j in range(i % 4 + 1)]


@unittest.skipUnless(dbf and dbfread and shutil.which("index_dump"), "the dBase peers are not installed")
class Interop(TableCase):
    def dbfread_records(self, name):
        table = dbfread.DBF(self.path(name), encoding="cp1252", char_decode_errors="strict")
        return list(table), list(table.deleted)

    def test_peers_read_what_morvrun_wrote(self):
        self.write("s.txt", STRUCTURE)
        lines = ['MAKETABLE "kunden">"s.txt"', 'LET N& = @DBOPEN(#1,"kunden")']
        for i in range(1, 31):
            lines += ['EVAL @DBPUT("NAME","K\u00e4ufer %d")' % i, 'EVAL @DBPUT("PREIS","%8.2f")' % (i * 1.25),
                      'EVAL @DBPUT("DATUM","202401%02d")' % i, 'EVAL @DBPUT("AKTIV","%s")' % "TF"[i % 2],
                      "LISTCLEAR"] + ['LISTADD "%s"' % l for l in memo_lines(i)] + [
                      'EVAL @MEMOWRITE("NOTIZ")', "EVAL @DBAPPEND()"]
        lines += ["EVAL @DBGO(5)", "EVAL @DBDELETE()", "EVAL @DBCLOSE(#1)"]
        result = self.run_body(["DECLARE N&"] + lines)
        self.assertExit(result, 0)
        self.assertEqual(result.boxes, [])
        records, deleted = self.dbfread_records("kunden.DBF")
        self.assertEqual(len(records), 29)
        self.assertEqual([r["NAME"] for r in deleted], ["K\u00e4ufer 5"])
        kept = [i for i in range(1, 31) if i != 5]
        for i, r in zip(kept, records):
            self.assertEqual(r["NAME"], "K\u00e4ufer %d" % i)
            self.assertEqual(r["PREIS"], round(i * 1.25, 2))
            self.assertEqual(r["DATUM"], datetime.date(2024, 1, i))
            self.assertEqual(r["AKTIV"], i % 2 == 0)
            self.assertEqual(r["NOTIZ"], "".join(l + "\r\n" for l in memo_lines(i)))
        table = dbf.Table(self.path("kunden.DBF"), codepage="cp1252")
        with table.open(dbf.READ_ONLY):
            self.assertEqual(len(table), 30)
            self.assertTrue(dbf.is_deleted(table[4]))
            self.assertEqual(table[2].name.rstrip(), "K\u00e4ufer 3")

    def test_morvrun_reads_and_extends_what_python3_dbf_wrote(self):
        # In a process of its own: python3-dbf completes some writes only when it exits.
        subprocess.run([sys.executable, "-c", PY_WRITER, self.path("py.dbf")], check=True)
        os.rename(self.path("py.dbf"), self.path("T.DBF"))
        os.rename(self.path("py.dbt"), self.path("T.DBT"))
        values, warnings, _ = self.run_table([
            show("N&"), show("%{DBHASMEMO}"), show('@TRIM(@DBFIELD("NAME"))'), show('@TRIM(@DBFIELD("PREIS"))'),
            show('@DBFIELD("DATUM")'), value('@MEMOREAD("NOTIZ")'), show("%{LISTLAST}"),
            "EVAL @DBGO(2)", show("%{DBDELETED}"), "EVAL @DBGO(3)", 'EVAL @MEMOREAD("NOTIZ")', show("%{LISTLAST}"),
            'EVAL @DBPUT("NAME","Neu")', 'EVAL @MEMOWRITE("NOTIZ")', "EVAL @DBAPPEND()", "EVAL @DBCLOSE(#1)",
        ])
        self.assertEqual(warnings, [])
        self.assertEqual(values[:5], ["3", "1", "M\u00fcller", "12.50", "20240131"])
        self.assertEqual(values[6:], ["1", "1", "9"])   # 800 characters in lines of 80
        records, deleted = self.dbfread_records("T.DBF")
        self.assertEqual([r["NAME"] for r in records], ["M\u00fcller", "Zander", "Neu"])
        self.assertEqual(len(deleted), 1)
        # The memo read was written back where it was (it still fits), now in lines; the
        # new record refers to the same blocks.
        self.assertEqual(records[2]["NOTIZ"], records[1]["NOTIZ"])
        self.assertEqual(records[2]["NOTIZ"].replace("\r\n", ""), "w " * 400)
        reopened = dbf.Table(self.path("T.DBF"), codepage="cp1252")
        with reopened.open(dbf.READ_ONLY):
            self.assertEqual(len(reopened), 4)
            self.assertEqual(reopened[0].notiz, "Zeile eins\r\nZeile zwei")   # its own memo
            self.assertEqual(reopened[3].name.rstrip(), "Neu")

    def test_a_whole_application(self):
        """The program of an application, from the structure file to the packed table."""
        self.write("s.txt", STRUCTURE)
        rng = random.Random(11)
        n = 120
        names = ["%s %03d" % (rng.choice(["Meier", "Albers", "Zander", "Braun", "Kern"]), rng.randrange(60))
                 for _ in range(n)]
        prices = ["%.2f" % (rng.randrange(-5000, 50000) / 100) for _ in range(n)]
        lines = ["DECLARE N&", 'MAKETABLE "app">"s.txt"', 'LET N& = @DBOPEN(#1,"app")']
        for i in range(n):
            lines += ['EVAL @DBPUT("NAME","%s")' % names[i], 'EVAL @DBPUT("PREIS","%8s")' % prices[i],
                      'EVAL @DBPUT("DATUM","2024%02d%02d")' % (i % 12 + 1, i % 28 + 1)]
            if i % 3 == 0:
                lines += ["LISTCLEAR"] + ['LISTADD "%s"' % l for l in memo_lines(i)] + ['EVAL @MEMOWRITE("NOTIZ")']
            lines.append("EVAL @DBAPPEND()")
        lines += ['MAKEINDEX "NAME">"kname"', 'MAKEINDEX "PREIS">"kpreis"', 'EVAL @DBINDEX("kname kpreis")']
        # Seek records by name and give them new names: the master index follows.
        for _ in range(25):
            old = rng.choice(names)
            j = names.index(old)   # the first entry of equal keys is the first record
            names[j] = "Neu %03d" % j
            lines += ['LET N& = @DBSEEK("%s",1)' % old, 'EVAL @DBPUT("NAME","%s")' % names[j], "EVAL @DBWRITE(0)"]
        deleted = set(rng.sample(range(n), 20))
        for i in sorted(deleted):
            lines += ["EVAL @DBGO(%d)" % (i + 1), "EVAL @DBDELETE()"]
        lines += ["LET N& = @DBPACK()"] + show("N&") + [
            'MAKEINDEX "NAME">"kname"', 'MAKEINDEX "PREIS">"kpreis"', "EVAL @DBCLOSE(#1)"]
        result = self.run_body(lines)
        self.assertExit(result, 0)
        self.assertEqual([b for b in result.boxes if b["caption"] != "show"], [])
        kept = [i for i in range(n) if i not in deleted]
        self.assertEqual(self.shown(result), [str(len(kept))])

        # An independent reader gets every record and memo back.
        records, gone = self.dbfread_records("app.DBF")
        self.assertEqual(gone, [])
        self.assertEqual([r["NAME"] for r in records], [names[i] for i in kept])
        self.assertEqual([r["PREIS"] for r in records], [float(prices[i]) for i in kept])
        self.assertEqual([r["NOTIZ"] for r in records],
                         ["".join(l + "\r\n" for l in memo_lines(i)) if i % 3 == 0 else None for i in kept])
        # Both indexes list every record in key order.
        by_name = index_entries(self.path("kname.NDX"))
        self.assertEqual([k for k, _ in by_name], sorted(names[i] for i in kept))
        self.assertEqual(sorted(r for _, r in by_name), list(range(1, len(kept) + 1)))
        by_price = index_entries(self.path("kpreis.NDX"))
        self.assertEqual([float(k) for k, _ in by_price], sorted(float(prices[i]) for i in kept))
        self.assertEqual(sorted(r for _, r in by_price), list(range(1, len(kept) + 1)))

        # Reopened, each index finds every record.
        check = ["DECLARE N&", 'LET N& = @DBOPEN(#1,"app")', 'EVAL @DBINDEX("kname")']
        for i in kept:
            check += ['LET N& = @DBSEEK("%s",1)' % names[i]] + show("N&")
        check += ['EVAL @DBINDEX("kpreis")']
        for i in kept:
            check += ['LET N& = @DBSEEK("%s",1)' % prices[i]] + show("N&")
        result = self.run_body(check)
        self.assertExit(result, 0)
        found = [int(v) for v in self.shown(result)]
        self.assertEqual(len(found), 2 * len(kept))
        for (i, record) in zip(kept, found[:len(kept)]):
            self.assertEqual(records[record - 1]["NAME"], names[i])
        for (i, record) in zip(kept, found[len(kept):]):
            self.assertEqual(records[record - 1]["PREIS"], float(prices[i]))


if __name__ == "__main__":
    main()
