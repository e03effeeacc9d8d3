# Sourced by run.sh and test.sh: installs the Debian/Ubuntu packages that are missing.
# Packages are installed without their recommendations, so every package the build, the program or
# a test needs is named here, also where another package only recommends it.

# To build and run the program: compiler and CMake; Qt (its Print Support comes with qt6-base-dev)
# with Charts (whose CMake package needs Qt's
# OpenGL development files); Qt's platform plugins (xcb, offscreen); Qt's own Russian translation of
# the standard dialogs; libjpeg; libxlsxwriter, which writes the Excel workbooks of the scores; the
# fonts that stand in for the layout's fonts; an invisible X server for run.sh on a machine without a
# display; lrelease, which compiles the program's Russian texts; and zlib, without which the build
# does not configure (the tests, configured with the program, read the workbooks back with it); Qt
# SQL's SQLite driver, a plugin that the survey archive loads at run time; and Boost's headers, whose
# F and t distributions give the statistics and the archive's trend tests (header-only, also for the Windows build).
ZOLK_BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins
                     qt6-translations-l10n libjpeg-dev libxlsxwriter-dev libgl-dev fonts-dejavu-core
                     fonts-liberation2 xvfb xauth qt6-l10n-tools zlib1g-dev libqt6sql6-sqlite libboost-dev)

# Only for the tests: reading window names from the X server, the PDF report's text and pages, a
# spreadsheet's reading of the scores file, the Russian C locale
# under which a workbook's numbers must still have a dot (ensure_russian_locale), the fuzzing run with
# clang and libFuzzer, and the clicks and keys that bench_loads sends through the X server.
ZOLK_TEST_PACKAGES=(x11-utils poppler-utils python3 locales clang libclang-rt-14-dev dpkg-dev
                    file xdotool)

# Only for the Windows build (scripts/windows-build.sh): the mingw-w64 cross compiler, wine to run
# the tests and the program, an invisible X server for the program's window, and NSIS (makensis),
# which makes the installer.
ZOLK_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 xvfb xauth python3 nsis)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "Installing packages needs root or sudo: $*" >&2; return 1; fi
}

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
  done
}

# ensure_packages PACKAGE...: installs those that are not installed yet; returns non-zero on failure.
ensure_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "apt-get is not available; please install: $missing" >&2
    return 1
  fi
  echo "Installing:" $missing
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null || return 1
}

# ensure_russian_locale: generates the ru_RU.UTF-8 C locale (from the locales package) where the
# system lacks it; tst_tables writes a workbook under it. Returns non-zero on failure.
ensure_russian_locale() {
  locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$' && return 0
  echo "Generating the ru_RU.UTF-8 locale"
  as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}
