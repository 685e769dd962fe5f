"""The table benchmark's phases for python3-dbf: the same records, the same scan,
and seeks through its index (built in memory, included in the seek phase)."""
import sys

import dbf


def main(phase, n, m):
    if phase == "empty":
        return
    if phase == "append":
        table = dbf.Table("pybench.dbf", "NAME C(20); NUMMER N(8,0); ORT C(10); PREIS N(10,2)", dbf_type="db3")
        with table.open(dbf.READ_WRITE):
            for i in range(1, n + 1):
                table.append(("Kunde %d" % i, i, "Bonn", 12.5))
        return
    table = dbf.Table("pybench.dbf")
    with table.open(dbf.READ_ONLY):
        if phase == "scan":
            count = 0
            for record in table:
                _ = record.name
                count += 1
            assert count == n
        elif phase == "index":
            table.create_index(lambda rec: rec.name.rstrip())
        elif phase == "seek":
            index = table.create_index(lambda rec: rec.name.rstrip())
            for i in range(1, m + 1):
                k = i * 7919 % n + 1
                found = index.search(match=("Kunde %d" % k,))
                _ = found[0].ort


main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))
