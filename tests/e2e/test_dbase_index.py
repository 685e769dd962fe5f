"""NDX indexes: creating, attaching, moving in key order, seeking by prefix and full
key, keeping the master index up to date on every write, and what damaged or refused
indexes do. Debian's index_dump (libdbd-xbase-perl) reads the index files back as an
independent reader."""
import os
import random
import shutil
import struct
import subprocess
import unittest

from harness import main
from interp import show
from test_dbase import TableCase, dbf_bytes, read_dbf, value

INDEX_DUMP = shutil.which("index_dump")


def index_entries(path):
    """(key, record) pairs of an index file in index order, as index_dump lists them."""
    proc = subprocess.run([INDEX_DUMP, path, "X"], capture_output=True, check=True)
    entries = []
    for line in proc.stdout.decode("latin-1").splitlines():
        key, record = line.rsplit(None, 1) if " " in line.strip() else ("", line.strip())
        entries.append((key.strip(), int(record)))
    return entries


CITIES = [("NAME", "C", 20, 0), ("ORT", "C", 10, 0), ("PLZ", "N", 5, 0), ("DATUM", "D", 8, 0)]


def city_rows(n, seed=1):
    rng = random.Random(seed)
    names = ["Meier", "Meyer", "Me", "Albers", "Zander", "Mueller", "Schmidt", "Ba", "Bauer", "Braun"]
    return [[rng.choice(names) + ("" if i % 3 else str(i % 7)), rng.choice(["Bonn", "Kiel", "Ulm"]),
             "%5d" % rng.randrange(0, 99999), "2024%02d%02d" % (rng.randrange(1, 13), rng.randrange(1, 29))]
            for i in range(n)]


@unittest.skipUnless(INDEX_DUMP, "index_dump (libdbd-xbase-perl) is not installed")
class Indexes(TableCase):
    def assertIndexLists(self, index_file, table_file, key_of, numeric=False):
        """The index holds every record of the table once, in key order."""
        _, records = read_dbf(self.path(table_file))
        entries = index_entries(self.path(index_file))
        self.assertEqual(sorted(r for _, r in entries), list(range(1, len(records) + 1)))
        for key, record in entries:
            expected = key_of(records[record - 1])
            if numeric:
                self.assertEqual(float(key), float(expected.strip() or 0), record)
            else:
                self.assertEqual(key, expected.rstrip(), record)
        keys = [float(k) if numeric else k for k, _ in entries]
        self.assertEqual(keys, sorted(keys))
        return entries

    def test_created_indexes_list_every_record_in_key_order(self):
        rows = city_rows(400)
        self.table(fields=CITIES, records=rows)
        values, warnings, _ = self.run_table([
            'MAKEINDEX "ORT+NAME">"kort"', show("%{DBRECNO}"),
            'MAKEINDEX "PLZ">"kplz"', 'MAKEINDEX "DATUM">"kdatum"', "EVAL @DBCLOSE(#1)"])
        self.assertEqual(warnings, [])
        first = min(range(400), key=lambda i: (rows[i][1].ljust(10) + rows[i][0].ljust(20), i)) + 1
        self.assertEqual(values, [str(first)])
        self.assertIndexLists("kort.NDX", "T.DBF", lambda r: r[2] + r[1])
        self.assertIndexLists("kplz.NDX", "T.DBF", lambda r: r[3], numeric=True)
        entries = self.assertIndexLists("kdatum.NDX", "T.DBF", lambda r: r[4], numeric=True)
        # equal keys keep the order of the records
        for (k1, r1), (k2, r2) in zip(entries, entries[1:]):
            if k1 == k2:
                self.assertLess(r1, r2)
        with open(self.path("kplz.NDX"), "rb") as f:
            head = f.read(32)
        self.assertEqual(struct.unpack("<HHHH", head[12:20]), (8, 31, 1, 16))
        self.assertEqual(head[24:28], b"PLZ\0")

    def test_moves_follow_the_master_index(self):
        self.table(fields=CITIES, records=[["Zander"], ["Albers"], ["Meier"], ["Braun"]])
        values, warnings, _ = self.run_table([
            'EVAL @DBGO(3)', 'MAKEINDEX "NAME">"kname"', show("%{DBRECNO}"),
            'EVAL @DBGO("NEXT")', show("%{DBRECNO}"), 'EVAL @DBGO("BOTTOM")', show("%{DBRECNO}"),
            'EVAL @DBGO("NEXT")', show("%{DBRECNO}"), show("%{DBEOF}"), 'EVAL @DBGO("PREV")', show("%{DBRECNO}"),
            'EVAL @DBGO(3)', 'EVAL @DBGO("PREV")', show("%{DBRECNO}"),
            'EVAL @DBGO("TOP")', 'EVAL @DBGO("PREV")', show("%{DBRECNO}"), show("%{DBEOF}"),
            # attaching moves to the first record in file order; NEXT then starts the index
            value('@DBINDEX("kname")'), show("%{DBRECNO}"), 'EVAL @DBGO("NEXT")', show("%{DBRECNO}"),
        ])
        self.assertEqual(warnings, [])
        self.assertEqual(values, ["2", "4", "1", "1", "1", "3", "4", "2", "0", "1", "2", "2"])

    def test_seek(self):
        self.table(fields=CITIES, records=[["Meyer"], ["Ma"], ["Meier"], ["Me"], ["Albers"]])
        cases = [
            ('"Me",0', "4", "Me", "1"), ('"Mei",0', "3", "Meier", "1"), ('"Me",1', "4", "Me", "1"),
            ('"Mei",1', "0", "Albers", "0"), ('"Meier",1', "3", "Meier", "1"), ('"X"', "0", "Albers", "0"),
            ('"M"', "2", "Ma", "1"), ('"me",0', "0", "Albers", "0"),
        ]
        for arguments, record, name, current_is_found in cases:
            with self.subTest(arguments):
                values, warnings, _ = self.run_table([
                    'MAKEINDEX "NAME">"kname"', value('@DBSEEK(%s)' % arguments),
                    show('@TRIM(@DBFIELD("NAME"))'), show("%{DBRECNO}")])
                self.assertEqual(warnings, [])
                self.assertEqual(values[0], record)
                self.assertEqual(values[1], name)   # a failed seek leaves the buffer
        values, _, _ = self.run_table([value('@DBSEEK("Me",0)')])
        self.assertEqual(values, ["0"])  # no index attached

    def test_every_write_keeps_the_master_index_up_to_date(self):
        rows = city_rows(150, seed=3)
        self.table(fields=CITIES, records=rows)
        rng = random.Random(5)
        lines = ['MAKEINDEX "NAME">"kname"', 'MAKEINDEX "PLZ">"kplz"', 'EVAL @DBINDEX("kname kplz")']
        for i in range(120):
            choice = rng.randrange(4)
            if choice == 0:   # a new record
                lines += ['EVAL @DBPUT("NAME","Neu%d")' % rng.randrange(30), 'EVAL @DBPUT("PLZ","%5d")' % i,
                          "EVAL @DBAPPEND()"]
            elif choice == 1:  # a key change of an existing record
                lines += ["EVAL @DBGO(%d)" % rng.randrange(1, 150),
                          'EVAL @DBPUT("NAME","Umbenannt%d")' % rng.randrange(50), "EVAL @DBWRITE(0)"]
            elif choice == 2:  # the same key written again
                lines += ["EVAL @DBGO(%d)" % rng.randrange(1, 150), 'EVAL @DBPUT("ORT","Ort")', "EVAL @DBWRITE(0)"]
            else:              # written by number, and appended by number
                lines += ["EVAL @DBGO(%d)" % rng.randrange(1, 150), 'EVAL @DBPUT("NAME","Nr%d")' % i,
                          "EVAL @DBWRITE(%d)" % rng.choice([rng.randrange(1, 150), 9999, 0])]
        lines += ['EVAL @DBDELETE()', 'EVAL @DBCLOSE(#1)']
        values, warnings, _ = self.run_table(lines)
        self.assertEqual(warnings, [])
        self.assertIndexLists("kname.NDX", "T.DBF", lambda r: r[1])
        # only the master index is kept up to date: the second one still lists the
        # records it was built from
        self.assertEqual(len(index_entries(self.path("kplz.NDX"))), 150)
        # reopened, the index finds every record by its full key
        _, records = read_dbf(self.path("T.DBF"))
        check = ['EVAL @DBINDEX("kname")', "DECLARE F&", "LET F& = 0"]
        for k, rec in enumerate(records, 1):
            check += ['LET N& = @DBSEEK("%s",1)' % rec[1].rstrip(),
                      'LET N& = @DBLOCATE("NAME","%s",2)' % rec[1].rstrip(),
                      "LET F& = @ADD(F&,@IIF(@EQ(N&,0),1,0))"]
        check += show("F&")
        values, warnings, _ = self.run_table(check)
        self.assertEqual((values, warnings), (["0"], []))

    def test_an_index_with_blanks_around_its_terms(self):
        # Key expressions as dBase writes them: "ORT + NAME".
        self.table(fields=CITIES, records=city_rows(30))
        self.run_table(['MAKEINDEX "ORT+NAME">"k"'])
        with open(self.path("k.NDX"), "r+b") as f:
            f.seek(24)
            f.write(b" ORT + NAME \0")
        values, warnings, _ = self.run_table([
            value('@DBINDEX("k")'), 'EVAL @DBPUT("NAME","Aaa")', 'EVAL @DBPUT("ORT","Aachen")',
            "EVAL @DBAPPEND()", 'EVAL @DBCLOSE(#1)'])
        self.assertEqual((values, warnings), (["1"], []))
        entries = self.assertIndexLists("k.NDX", "T.DBF", lambda r: r[2] + r[1])
        self.assertEqual(entries[0], ("Aachen    Aaa", 31))

    def test_refused_and_failing_indexes(self):
        self.table(fields=CITIES + [("LANG", "C", 250, 0)], records=[["5"], ["Albers"]])
        self.write("L.DBF", dbf_bytes([("W", "N", 5, 0)], [["5"], ["    3"]]))
        cases = [
            (['MAKEINDEX "NIX">"k"'], [], "Formel nicht in Ordnung: NIX"),
            (['MAKEINDEX "NAME+NIX">"k"'], [], "Formel nicht in Ordnung: NAME+NIX"),
            (['DECLARE E$', 'LET E$ = "NAME+";@CHR(34);"x";@CHR(34)', 'MAKEINDEX E$>"k"'], [],
             'Formel nicht in Ordnung: NAME+"x"'),   # literals are for reading indexes only
            (['MAKEINDEX "LANG">"k"'], [], "Formel nicht in Ordnung: LANG"),   # 250 bytes cannot split
            (['MAKEINDEX "NAME">"k"', value('@DBINDEX("k,fehlt")')], ["0"], None),
            (['MAKEINDEX "NAME">"k"', value('@DBINDEX("k")'), value('@DBINDEX(" k  k ")')], ["1", "1"], None),
        ]
        for lines, expected, warning in cases:
            with self.subTest(lines[0]):
                values, warnings, _ = self.run_table(lines)
                self.assertEqual(values, expected)
                self.assertEqual(warnings, [warning] if warning else [])
        # a numeric field written left-aligned cannot become a numeric key
        result = self.run_body(["DECLARE N&", 'LET N& = @DBOPEN(#1,"l")', 'MAKEINDEX "W">"kw"'])
        self.assertEqual([b["caption"] for b in result.boxes], ["Schl\u00fcsselfeld nicht in Ordnung: 5    "])
        self.assertEqual(index_entries(self.path("kw.NDX")), [("3", 2)])
        result = self.run_body(["DECLARE N&", 'LET N& = @DBOPEN(#1,"l")', 'MAKEINDEX "W">"a b"'])
        self.assertEqual([(b["caption"], b["style"]) for b in result.boxes],
                         [("Index-Dateiname fehlerhaft: a b", 0x10)])

    def test_damaged_index_files(self):
        self.table(fields=CITIES, records=city_rows(200))
        self.run_table(['MAKEINDEX "NAME">"k"'])
        with open(self.path("k.NDX"), "rb") as f:
            sound = f.read()
        root = struct.unpack("<I", sound[:4])[0]
        cases = [
            ("header names a root outside the file", 0, struct.pack("<I", 999)),
            ("a child outside the index", root * 512 + 4, struct.pack("<I", 4000)),
            ("a child pointing at its parent", root * 512 + 4, struct.pack("<I", root)),
        ]
        for name, offset, patch in cases:
            with self.subTest(name):
                self.write("k.NDX", sound[:offset] + patch + sound[offset + len(patch):])
                values, warnings, _ = self.run_table([
                    value('@DBINDEX("k")'), value('@DBSEEK("A",0)'), 'EVAL @DBGO("TOP")', show("%{DBRECNO}")])
                if offset == 0:
                    self.assertEqual(values, ["0", "0", "1"])
                    self.assertEqual(warnings, [])
                else:
                    self.assertEqual(values[:2], ["1", "0"])
                    self.assertTrue(warnings)
                    self.assertTrue(all(w.startswith("Index-Datei nicht in Ordnung: k.NDX: ") for w in warnings),
                                    warnings)


if __name__ == "__main__":
    main()
