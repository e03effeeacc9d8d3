#!/usr/bin/env bash
# Builds the Windows desktop shell with the mingw-w64 cross compiler and runs its test program under
# wine on an Xvfb display. When the cross compiler or wine cannot be installed, says so and skips.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

if ! ensure_packages g++-mingw-w64-x86-64 wine64; then
  echo "mingw-w64 or wine could not be installed here: the Windows shell test is skipped."
  exit 0
fi

set -e
out=build/win32
mkdir -p "$out"
x86_64-w64-mingw32-g++ -std=c++20 -O1 -Wall -Wextra -static -DZOLK_SHELL_NO_FACTORY -Iapp \
  tests/win32/tst_shell_win32.cpp app/DesktopShellWin32.cpp -o "$out/tst_shell_win32.exe" -luser32

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEDEBUG=-all WINEPREFIX="$PWD/$out/prefix" WINEDLLOVERRIDES="mscoree,mshtml="
# The first start creates the wine prefix, which takes about a minute.
xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" "$out/tst_shell_win32.exe"
