#!/usr/bin/env bash
# Runs the whole test suite under CTest, twice: a normal build (build/) and an
# AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/).
# Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh

morven_install_packages "${MORVEN_PACKAGES[@]}" "${MORVEN_TEST_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)

morven_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
morven_build build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVEN_SANITIZE=ON

status=0
echo "== normal build ==" >&2
ctest --test-dir build --output-on-failure -j "$jobs" || status=1
echo "== sanitizer build ==" >&2
ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
exit $status
