#!/usr/bin/env bash
# The table benchmark side by side: morvrun, python3-dbf and, as a reference point,
# SQLite's shell, each appending N records (default 100000), scanning them in file
# order, building an index over the name and doing M seeks (default 10000) through it.
# Prints records per second for every phase and the ratios to morvrun.
# usage: bench/run_dbase.sh [N [M]]      (MORVEN_BUILD: the build directory, default build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
morven_install_packages "${MORVEN_PACKAGES[@]}" "${MORVEN_TEST_PACKAGES[@]}" sqlite3
build=${MORVEN_BUILD:-build}
morven_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

n=${1:-100000}
m=${2:-10000}
programs=$(mktemp -d)
trap 'rm -rf "$programs"' EXIT
for phase in append scan index seek empty; do
  sed -e "s/LET N& = 100000/LET N\& = $n/" -e "s/LET M& = 10000/LET M\& = $m/" \
    "bench/dbase_$phase.mva" > "$programs/$phase.mva"
  "$build/morven" asm "$programs/$phase.mva" "$programs/$phase.mvc"
done

here=$(pwd)
export BENCH_SETUP="cp $here/bench/dbase.str"
exec /usr/bin/python3 bench/dbase_compare.py "$n" "$m" \
  "morvrun=env MORVEN_HEADLESS=1 $here/$build/morvrun $programs/{phase}.mvc" \
  "python3-dbf=/usr/bin/python3 $here/bench/dbase_peer.py {phase} $n $m" \
  "sqlite3=bash $here/bench/dbase_sqlite.sh {phase} $n $m"
