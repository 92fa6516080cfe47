#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the cross-built test of the Windows start under Wine, in a fresh prefix with Wine's
# display-less graphics driver (no X server needed). Usage: run_under_wine.sh TEST.EXE
# Exits 77 (CTest: skipped) without Wine or the cross-built program, unless
# GRIDKEEPER_REQUIRE_WINE=1, which makes that a failure.
exe="${1:-}"
if [ -z "$exe" ] || [ ! -f "$exe" ] || ! command -v wine >/dev/null 2>&1; then
  if [ "${GRIDKEEPER_REQUIRE_WINE:-}" = 1 ]; then
    echo "wine or x86_64-w64-mingw32-g++ is missing, and this run requires them" >&2
    exit 1
  fi
  echo "wine or x86_64-w64-mingw32-g++ is missing: the Windows start is not tested"
  exit 77
fi
WINEPREFIX="$(mktemp -d)"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT
# The first command makes the prefix; the graphics driver counts from the next server on.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || {
  echo "Wine could not make a prefix" >&2
  exit 1
}
wineserver -w
wine "$exe"
