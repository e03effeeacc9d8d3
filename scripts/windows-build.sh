#!/usr/bin/env bash
# The Windows program, built and checked on Linux:
#   1. cross-builds zolk-plot.exe, zolk-cry.exe and the tests with mingw-w64 against the Windows Qt
#      (ZOLK_WINDOWS_QT: its folder or tarball; default ../shared/windows/qt-6.4.2-mingw-w64.tar.xz)
#      and the static libxlsxwriter (ZOLK_WINDOWS_XLSXWRITER: its folder or tarball; default
#      ../shared/windows/xlsxwriter-1.1.4-mingw-w64.tar.xz);
#   2. runs every test that needs no X server under wine, widget tests on the offscreen platform;
#   3. deciphers the samples with zolk-cry.exe and compares with the Linux zolk-cry;
#   4. makes build/zolk-plot-<version>-windows-x64.zip with the DLLs the programs load;
#   5. unpacks the zip into an empty folder and runs the program from there under wine on Xvfb: its
#      window title, "О программе" in its system menu, a sample given on the command line, and a
#      picture saved through "Save" -> "Image";
#   6. makes the installer build/zolk-plot-<version>-windows-x64-setup.exe from the zip's folder
#      with NSIS and tries it under wine (scripts/windows-installer.sh): silent install, the ".cry"
#      file type, a sample opened by it, silent uninstall.
# Exit status 0 when all passed; 0 with a message when there is no Windows Qt or libxlsxwriter to
# build against.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

qt=${ZOLK_WINDOWS_QT:-../shared/windows/qt-6.4.2-mingw-w64.tar.xz}
xlsxwriter=${ZOLK_WINDOWS_XLSXWRITER:-../shared/windows/xlsxwriter-1.1.4-mingw-w64.tar.xz}
if [ ! -e "$qt" ]; then
  echo "No Windows Qt at $qt (set ZOLK_WINDOWS_QT): the Windows build is skipped."
  exit 0
fi
if [ ! -e "$xlsxwriter" ]; then
  echo "No Windows libxlsxwriter at $xlsxwriter (set ZOLK_WINDOWS_XLSXWRITER): the Windows build is skipped."
  exit 0
fi
ensure_packages "${ZOLK_WINDOWS_PACKAGES[@]}"

section() { printf '\n---- %s ----\n' "$*"; }
version=$(sed -n 's/^project(ZolkPlot VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
jobs=$(nproc)

# use_prefix NAME SOURCE: build/NAME becomes the prefix SOURCE, a folder used where it is or a
# tarball unpacked once (again only when the tarball changes) to the one folder it holds.
use_prefix() {
  local name=$1 source=$2 stamp
  if [ -d "$source" ]; then
    ln -sfn "$(realpath "$source")" "build/$name"
    return
  fi
  stamp="$(realpath "$source") $(stat -c '%s %Y' "$source")"
  if [ "$(cat "build/$name.stamp" 2>/dev/null)" != "$stamp" ]; then
    section "unpacking $source"
    rm -rf "build/$name-unpacked" && mkdir -p "build/$name-unpacked"
    tar -C "build/$name-unpacked" -xf "$source"
    echo "$stamp" > "build/$name.stamp"
  fi
  ln -sfn "$(ls -d "$PWD/build/$name-unpacked"/*/ | head -1)" "build/$name"
}
mkdir -p build
use_prefix windows-qt "$qt"
# The windows preset passes build/windows-xlsxwriter to CMake as ZOLK_XLSXWRITER_ROOT.
use_prefix windows-xlsxwriter "$xlsxwriter"
prefix=$(realpath build/windows-qt)
mingw_dirs=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)

section "cross build"
cmake --preset release >/dev/null
# The host zolk-cry enciphers the Windows build's samples; with the Linux samples it gives the scores
# that zolk-cry.exe's are compared with.
cmake --build --preset release -j "$jobs" --target zolk-cry sample-data
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -municode tests/win32/drive_window.cpp \
  -o build/windows/drive_window.exe -luser32

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEDEBUG=-all WINEPREFIX="$PWD/build/win32/prefix" WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p build/win32
winpath() { sed 's|/|\\|g; s|^|Z:|' <<<"$1"; }
# The build tree's programs find Qt's and the compiler's DLLs through WINEPATH; the zip needs none.
build_path="$(winpath "$prefix/bin")"
for d in "${mingw_dirs[@]}"; do build_path+=";$(winpath "$d")"; done

section "tests under wine"
# wine passes no QT_* variable to Windows programs: the platform is given on the command line.
failed=0
listed() { ctest --test-dir build/windows -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p'; }
mapfile -t tests < <(listed -LE screen)
mapfile -t widget_tests < <(listed -L widgets)
for t in "${tests[@]}"; do
  platform=()
  [[ " ${widget_tests[*]} " == *" $t "* ]] && platform=(-platform offscreen)
  exe=$(find build/windows -maxdepth 2 -name "$t.exe" | head -1)
  out=build/windows/$t.txt
  rm -f "$out"
  WINEPATH="$build_path" timeout 600 "$wine" "$exe" "${platform[@]}" -o "$(winpath "$PWD/$out"),txt" >/dev/null 2>&1 || true
  totals=$(grep -h '^Totals' "$out" 2>/dev/null || echo "no totals: the program did not finish")
  printf '%-16s %s\n' "$t" "$totals"
  if ! grep -q '^Totals: [0-9]* passed, 0 failed' "$out" 2>/dev/null; then
    failed=1
    grep -h -A4 '^FAIL' "$out" 2>/dev/null | head -40 || true
  fi
done

section "zolk-cry.exe against the Linux zolk-cry"
for sample in build/windows/bin/Data/*.cry; do
  name=$(basename "$sample")
  for mode in "" --utf8; do
    # A failing run is reported by the comparison, which goes on to the other samples.
    (cd build/windows/bin && WINEPATH="$build_path" "$wine" zolk-cry.exe decode "Data\\$name" $mode) > build/windows/cry-windows.out 2>/dev/null || true
    build/release/bin/zolk-cry decode "$sample" $mode > build/windows/cry-linux.out
    if cmp -s build/windows/cry-windows.out build/windows/cry-linux.out; then
      echo "same plaintext: $name ${mode:-(windows-1251)}"
    else
      echo "DIFFERENT plaintext: $name ${mode:-(windows-1251)}"; failed=1
    fi
  done
done

# The scores of the samples as CSV; the group's mean row carries today's date in each system's own
# short format, so it is left out of the comparison.
(cd build/windows/bin && WINEPATH="$build_path" "$wine" zolk-cry.exe scores Data) 2>/dev/null | head -n -1 > build/windows/scores-windows.csv || true
(cd build/release/bin && LC_ALL=C.UTF-8 ./zolk-cry scores Data) | head -n -1 > build/windows/scores-linux.csv || true
if [ -s build/windows/scores-linux.csv ] && cmp -s build/windows/scores-windows.csv build/windows/scores-linux.csv; then
  echo "same scores CSV: $(($(wc -l < build/windows/scores-linux.csv) - 1)) rows"
else
  echo "DIFFERENT scores CSV"; failed=1
fi

section "the icon in the programs"
# Explorer, the taskbar and the Start menu entry take the icon from the executable's resources: an
# icon (type 3) and its group (type 14) at the top of the resource directory.
for exe in zolk-plot zolk-cry; do
  types=$(x86_64-w64-mingw32-objdump -p "build/windows/bin/$exe.exe" \
    | sed -n '/The .rsrc Resource Directory section/,/String table/s/^[0-9a-f]*   Entry: ID: 0x0*\([0-9a-f]*\),.*/\1/p' | tr '\n' ' ')
  if [[ " $types" == *" 3 "* && " $types" == *" e "* ]]; then
    echo "$exe.exe carries its icon"
  else
    echo "$exe.exe carries no icon (resource types: ${types:-none})"; failed=1
  fi
done

section "the zip"
stage=build/windows-package/zolk-plot-$version
rm -rf build/windows-package && mkdir -p "$stage"
cmake --install build/windows --prefix build/windows-package/install >/dev/null
cp -r build/windows-package/install/bin/. "$stage/"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/sqldrivers"
cp "$prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# The survey archive's SQLite driver, loaded at run time; it brings libsqlite3-0.dll (an import).
cp "$prefix/plugins/sqldrivers/qsqlite.dll" "$stage/sqldrivers/"
# Every DLL the programs and plugins import, followed transitively, from Qt's and the compiler's
# folders; what is found in neither is Windows' own.
python3 - "$stage" "$prefix/bin" "${mingw_dirs[@]}" <<'PY'
import os, subprocess, sys, shutil
stage, dirs = sys.argv[1], sys.argv[2:]
def imports(path):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True).stdout
    return [l.split("DLL Name:")[1].strip() for l in out.splitlines() if "DLL Name:" in l]
todo = [os.path.join(r, f) for r, _, fs in os.walk(stage) for f in fs if f.lower().endswith((".exe", ".dll"))]
seen = set()
while todo:
    for name in imports(todo.pop()):
        if name.lower() in seen:
            continue
        seen.add(name.lower())
        for d in dirs:
            candidate = os.path.join(d, name)
            if os.path.exists(candidate):
                shutil.copy(candidate, os.path.join(stage, name))
                todo.append(os.path.join(stage, name))
                print("  " + name)
                break
PY
for dll in Qt6Sql.dll sqldrivers/qsqlite.dll libsqlite3-0.dll; do
  [ -e "$stage/$dll" ] || { echo "the zip lacks $dll, which the survey archive needs"; exit 1; }
done
# Debug symbols stay out of the package (the Qt DLLs come without them).
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/lib*.dll
# The README came with the install: packaging/windows/README.txt.in, configured with the version.
if ! grep -q "ZOLK Plot $version" "$stage/README.txt"; then
  echo "README.txt is missing from the install or does not name version $version"; exit 1
fi
zip="build/zolk-plot-$version-windows-x64.zip"
rm -f "$zip"
(cd build/windows-package && cmake -E tar cf "../../$zip" --format=zip "zolk-plot-$version")
echo "$zip: $(du -h "$zip" | cut -f1)"

section "the unpacked zip under wine"
run=$(mktemp -d)
(cd "$run" && cmake -E tar xf "$OLDPWD/$zip")
cp build/windows/drive_window.exe "$run/"
cat > "$run/session.sh" <<'SH'
set -u
cd "$1"
program=$(ls -d zolk-plot-*)
unset WINEPATH # nothing but the unpacked folder
# A program that does not close (a dialog left open by a failed step) ends after five minutes.
(cd "$program" && timeout 300 "$2" zolk-plot.exe 'Data\0101-balanced.cry' >/dev/null 2>&1) &
status=0
"$2" drive_window.exe export "$program\\Results\\Image 0101.jpg" || status=1
"$2" drive_window.exe check || status=1
"$2" drive_window.exe close || status=1
wait
exit $status
SH
if xvfb-run -a -s "-screen 0 1280x1024x24" bash "$run/session.sh" "$run" "$wine"; then
  echo "window, title, system menu and the picture export: as expected"
else
  echo "the program under wine did not behave as expected"; failed=1
fi
# Accepting the proposal writes exactly the proposed name, the code and the respondent's name
# (drive_window saw nothing else written).
picture=$(find "$run" -path '*/Results/Image 0101*.jpg' | head -1)
if [ -n "$picture" ] && python3 - "$picture" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:2] == b"\xff\xd8", "not a JPEG"
k = 2
while k < len(data):
    marker, length = data[k + 1], struct.unpack(">H", data[k + 2:k + 4])[0]
    if marker == 0xC0:
        height, width = struct.unpack(">HH", data[k + 5:k + 9])
        print(f"picture {sys.argv[1].split('/')[-1]}: {width} x {height}")
        sys.exit(0 if (width, height) == (602, 564) else 1)
    k += 2 + length
sys.exit(1)
PY
then :; else
  echo "no 602 x 564 profile picture \"Image 0101.jpg\" was written"; failed=1
fi
rm -rf "$run"

section "the installer"
if scripts/windows-installer.sh "$stage" "$version" "build/zolk-plot-$version-windows-x64-setup.exe" \
    build/windows/drive_window.exe; then
  echo "the installer under wine: as expected"
else
  echo "the installer under wine did not behave as expected"; failed=1
fi

echo
if [ "$failed" -ne 0 ]; then
  echo "The Windows build FAILED."
  exit 1
fi
echo "The Windows build passed."
