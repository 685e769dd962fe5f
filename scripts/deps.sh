#!/usr/bin/env bash
# Shared by run.sh and test.sh: the Debian packages the build and the tests need,
# installed when missing, and the configure + build step.
set -euo pipefail

MORVEN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev
  python3
  fonts-dejavu-core
)

# What only the tests need: locale sources for the regional-settings tests, a real
# X server for the window test, and independent dBase readers and writers to check
# the files the runtime writes.
MORVEN_TEST_PACKAGES=(
  locales
  xvfb xauth python3-xlib
  python3-dbf python3-dbfread libdbd-xbase-perl
)

# Installs the packages that are not installed yet. As root this runs apt-get;
# otherwise it prints the exact command and stops.
morven_install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
  else
    echo "Missing Debian packages. Run as root:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

# Configures (once) and builds a build tree. $1 = directory, further arguments go to cmake.
morven_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >&2
  fi
  cmake --build "$dir" >&2
}
