#!/usr/bin/env bash
# The table benchmark's phases for SQLite's shell, as a reference point: the same
# rows (inserted in one transaction), a scan reading one column, an index, and point
# queries through it. usage: dbase_sqlite.sh PHASE N M
set -euo pipefail
phase=$1 n=$2 m=$3
case $phase in
  empty) sqlite3 sqlbench.db "SELECT 1;" >/dev/null ;;
  append)
    rm -f sqlbench.db
    sqlite3 sqlbench.db "CREATE TABLE bench(name TEXT, nummer INTEGER, ort TEXT, preis REAL);
      BEGIN;
      WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < $n)
      INSERT INTO bench SELECT 'Kunde ' || i, i, 'Bonn', 12.5 FROM c;
      COMMIT;" ;;
  scan) sqlite3 sqlbench.db "SELECT count(length(name)) FROM bench;" >/dev/null ;;
  index) sqlite3 sqlbench.db "CREATE INDEX bname ON bench(name);" ;;
  seek)
    sqlite3 sqlbench.db "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < $m)
      SELECT count(b.ort) FROM c JOIN bench b ON b.name = 'Kunde ' || (c.i * 7919 % $n + 1);" >/dev/null ;;
esac
