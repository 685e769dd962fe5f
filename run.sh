#!/usr/bin/env bash
# Runs one MORVEN program: ./run.sh PROGRAM.mva|PROGRAM.mvc [program arguments...]
# Installs missing Debian packages, builds build/ when needed, assembles a
# listing (.mva) into build/ and runs the compiled program with build/morvrun.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh

if [ $# -lt 1 ]; then
  echo "usage: ./run.sh PROGRAM.mva|PROGRAM.mvc [arguments...]" >&2
  exit 2
fi

morven_install_packages "${MORVEN_PACKAGES[@]}"
morven_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo

program=$1
shift
case "$program" in
  *.mva|*.MVA)
    mkdir -p build/programs
    compiled="build/programs/$(basename "${program%.*}").mvc"
    build/morven asm "$program" "$compiled"
    program=$compiled
    ;;
esac
# Without a display nothing can be seen of the run: show its event log instead.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${MORVEN_LOG:-}" ]; then
  export MORVEN_LOG=-
fi
exec build/morvrun "$program" "$@"
