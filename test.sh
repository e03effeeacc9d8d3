#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the release build, then the same tests built
# with AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run of the result-file
# reader, the Windows desktop shell under wine, and the Windows program cross-built, tested under
# wine and packed (skipped, with a message, where the Windows Qt is missing).
# The exit code is the result.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages "${ZOLK_BUILD_PACKAGES[@]}" "${ZOLK_TEST_PACKAGES[@]}"
ensure_russian_locale

jobs=$(nproc)
screen=(xvfb-run -a -s "-screen 0 1280x1024x24")

section() { printf '\n==== %s ====\n' "$*"; }

for preset in release debug; do
  section "build and test: $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  # Widget tests set the offscreen platform themselves; the screen tests use the Xvfb display.
  "${screen[@]}" ctest --preset "$preset" -j "$jobs"
done

section "fuzzing the result-file reader"
# clang can fuzz when it links a libFuzzer program (its runtime comes with libclang-rt-dev).
can_fuzz() {
  command -v clang++ >/dev/null || return 1
  local probe
  probe=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }\n' > "$probe/p.cpp"
  clang++ -fsanitize=fuzzer,address "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1
  local status=$?
  rm -rf "$probe"
  return $status
}
if can_fuzz; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  corpus=$(mktemp -d)
  cp build/release/bin/Data/*.cry "$corpus"/
  build/fuzz/tests/fuzz_result_file -max_total_time="${ZOLK_FUZZ_SECONDS:-60}" -max_len=70000 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
  rm -rf "$corpus"
else
  echo "clang++ with libFuzzer is not available: the fuzzing run is skipped."
fi

section "Windows desktop shell under wine"
scripts/test-win32-shell.sh

section "the Debian package"
# Its contents and declared dependencies; scripts/test-deb.sh installs it on a fresh machine.
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/zolk-plot_*_amd64.deb)
echo "$deb depends on: $(dpkg-deb -f "$deb" Depends)"
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/zolk-plot usr/bin/zolk-cry usr/share/zolk-plot/Data/0101-balanced.cry \
         usr/share/zolk-plot/translations/qtbase_ru.qm usr/share/applications/zolk-plot.desktop \
         usr/share/mime/packages/zolk-plot.xml usr/share/icons/hicolor/32x32/apps/zolk-plot.png; do
  grep -q " \./$f\$" <<<"$contents" || { echo "the package lacks /$f"; exit 1; }
done
grep -q libqt6charts6 <<<"$(dpkg-deb -f "$deb" Depends)" || { echo "the package does not depend on Qt Charts"; exit 1; }

section "the Windows program under wine"
scripts/windows-build.sh

echo
echo "All tests passed."
