#!/usr/bin/env bash
# The loop benchmark side by side: morvrun, yabasic and Python 3 doing the same work
# per iteration (see loop.mva). Prints iterations per second and the ratios.
# usage: bench/run_loop.sh [ITERATIONS]   (default 300000; best of 3 runs each)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
morven_install_packages "${MORVEN_PACKAGES[@]}" yabasic
morven_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo

n=${1:-300000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s/LET N& = 300000/LET N\& = $n/" bench/loop.mva > "$work/loop.mva"
build/morven asm "$work/loop.mva" "$work/loop.mvc"

exec /usr/bin/python3 bench/compare.py "$n" \
  "morvrun=env MORVEN_HEADLESS=1 build/morvrun $work/loop.mvc" \
  "yabasic=yabasic bench/loop.yab $n" \
  "python3=/usr/bin/python3 bench/loop.py $n"
