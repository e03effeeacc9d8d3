#!/usr/bin/env bash
# The Windows installer, made and tried under wine; called by scripts/windows-build.sh:
#   scripts/windows-installer.sh STAGE VERSION SETUP.exe DRIVE_WINDOW.exe
# STAGE is the folder the zip is made of. Makes SETUP.exe with makensis from
# packaging/windows/zolk-plot.nsi.in, then, in a wine prefix of its own (build/win32/installer-prefix,
# new each time) on an invisible X server:
#   1. installs silently (/S) for the current user (twice: the second over the first, as an update
#      goes), and then for all users;
#   2. reads the registry: ".cry", its file type with the icon and the "open" command, the entry in
#      the list of installed programs; finds the Start menu entry;
#   3. for the current user, opens an installed sample the way Windows opens a double-clicked file,
#      by the registered "open" command, and has the program save its profile picture through its
#      menu (the program must have read the sample to offer "Save");
#   4. uninstalls silently with the registered command and finds no program file, no entry and no
#      file type left, while a file the user put into the program's folder and the program's
#      settings stay.
# Exit status 0 when all passed.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=$(realpath "$1") version=$2 setup=$(realpath -m "$3") driver=$(realpath "$4")

work=build/windows-installer
rm -rf "$work" && mkdir -p "$work"
# The lists of files: what the installer puts where, and what the uninstaller removes (the files,
# then their folders from the deepest, each only when empty).
python3 - "$stage" "$work" <<'PY'
import os, sys
stage, work = sys.argv[1], sys.argv[2]
install, remove, folders = [], [], []
for root, dirs, files in sorted(os.walk(stage)):
    dirs.sort()
    rel = os.path.relpath(root, stage)
    win = "$INSTDIR" if rel == "." else "$INSTDIR\\" + rel.replace("/", "\\")
    if not files:
        continue
    install.append(f'SetOutPath "{win}"')
    for f in sorted(files):
        install.append(f'File "{os.path.join(root, f)}"')
        remove.append(f'Delete "{win}\\{f}"')
    if rel != ".":
        folders.append(win)
for folder in sorted(folders, key=lambda f: -f.count("\\")):
    remove.append(f'RMDir "{folder}"')
open(os.path.join(work, "installed-files.nsh"), "w", encoding="utf-8").write("\n".join(install) + "\n")
open(os.path.join(work, "removed-files.nsh"), "w", encoding="utf-8").write("\n".join(remove) + "\n")
PY
# Windows' version resource takes four numbers: 2.01 is 2.1.0.0.
IFS=. read -r -a numbers <<<"$version.0.0.0"
file_version="$((10#${numbers[0]})).$((10#${numbers[1]})).$((10#${numbers[2]})).$((10#${numbers[3]}))"
sed -e "s|@PROJECT_VERSION@|$version|g" -e "s|@FILE_VERSION@|$file_version|g" -e "s|@STAGE@|$stage|g" -e "s|@OUTFILE@|$setup|g" \
    -e "s|@ICON@|$PWD/packaging/windows/zolk-plot.ico|g" packaging/windows/zolk-plot.nsi.in > "$work/zolk-plot.nsi"
(cd "$work" && makensis -V2 -INPUTCHARSET UTF8 zolk-plot.nsi)
echo "$setup: $(du -h "$setup" | cut -f1)"

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all WINEPREFIX="$PWD/build/win32/installer-prefix" WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX" && mkdir -p "$(dirname "$WINEPREFIX")"
# The user's folders of the prefix (Documents, where the installed program proposes its pictures)
# lie in a home of their own, empty at the start.
home=$(mktemp -d)
mkdir -p "$home/Documents"
cp "$setup" "$home/zolk-plot-setup.exe"
cp "$driver" "$home/drive_window.exe"
cat > "$home/session.sh" <<'SH'
set -u -o pipefail
wine=$1 wineserver=$2 home=$3
USER=${USER:-$(id -un)}
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
unixpath() { "$wine" winepath.exe -u "$1" 2>/dev/null | tr -d '\r'; }
variable() { "$wine" cmd.exe /c "echo %$1%" 2>/dev/null | tr -d '\r\n'; }
reg() { "$wine" reg.exe query "$@" 2>/dev/null | tr -d '\r'; }
value() { reg "$1" "${@:2}" | sed -n 's/.*REG_SZ *//p'; }
"$wine" wineboot.exe -i >/dev/null 2>&1
"$wineserver" -w

# trial ROOT FOLDER START_MENU OPTION...: installs with the options, checks what it registered under
# ROOT (HKCU or HKLM), the program in FOLDER and the entry in START_MENU, opens a sample by the file
# type when ROOT is HKCU, uninstalls, and checks what is left.
trial() {
  local root=$1 folder=$2 start_menu=$3 rc
  shift 3
  echo "-- installing with $* (registered under $root)"
  "$wine" "$home/zolk-plot-setup.exe" "$@"
  rc=$?
  "$wineserver" -w
  check "the silent install ends well" '[ $rc -eq 0 ]'
  local unix_folder
  unix_folder=$(unixpath "$folder")
  check "the program in $folder" '[ -f "$unix_folder/zolk-plot.exe" ] && [ -f "$unix_folder/uninstall.exe" ]'
  find "$unix_folder" -type f | sort > "$home/installed.txt"
  echo "installed: $(wc -l < "$home/installed.txt") files"
  local classes="$root\\Software\\Classes" other=HKLM
  [ "$root" = HKLM ] && other=HKCU
  check '".cry" is the program'"'"'s file type' '[ "$(value "$classes\\.cry" /ve)" = "ZolkPlot.ResultFile" ]'
  local command
  command=$(value "$classes\\ZolkPlot.ResultFile\\shell\\open\\command" /ve)
  echo "open command: $command"
  check '"open" calls the program with the file' '[ "$command" = "\"$folder\\zolk-plot.exe\" \"%1\"" ]'
  check "the file type has its icon" \
    '[ "$(value "$classes\\ZolkPlot.ResultFile\\DefaultIcon" /ve)" = "\"$folder\\zolk-plot.ico\",0" ]'
  local uninstall_key="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOLK Plot" uninstall
  uninstall=$(value "$uninstall_key" /v QuietUninstallString)
  check "the uninstaller is registered" '[ "$uninstall" = "\"$folder\\uninstall.exe\" /S" ]'
  check "nothing is registered under $other" '! reg "$other\\Software\\Classes\\ZolkPlot.ResultFile" >/dev/null'
  local unix_start_menu
  unix_start_menu=$(unixpath "$start_menu")
  check "the Start menu entry" '[ -f "$unix_start_menu/ZOLK Plot.lnk" ]'

  if [ "$root" = HKCU ]; then
    # Installed again over itself (as a newer version is): the earlier one goes first, by its own
    # uninstaller, and everything is in place again.
    "$wine" "$home/zolk-plot-setup.exe" "$@"
    rc=$?
    "$wineserver" -w
    check "installed again over itself" '[ $rc -eq 0 ] && cmp -s <(find "$unix_folder" -type f | sort) "$home/installed.txt"'
    check "the file type after the second install" '[ "$(value "$classes\\.cry" /ve)" = "ZolkPlot.ResultFile" ]'
    # A double-click: Windows runs the "open" command with the file for %1.
    local program=${command%% \"%1\"} documents
    program=${program#\"}
    program=${program%\"}
    (cd "$home" && timeout 300 "$wine" "$program" "$folder\\Data\\0101-balanced.cry" >/dev/null 2>&1) &
    documents=$(unixpath "C:\\users\\$USER\\Documents")
    "$wine" "$home/drive_window.exe" export "C:\\users\\$USER\\Documents\\Image 0101.jpg"
    rc=$?
    check "the installed program opened the sample and saved its picture" '[ $rc -eq 0 ] && [ -n "$(find -L "$documents" -maxdepth 1 -size +0 -name "Image 0101*.jpg")" ]'
    "$wine" "$home/drive_window.exe" close >/dev/null
    wait
  fi

  # What stays: a file of the user's in the program's folder, and the program's settings.
  echo "mine" > "$unix_folder/notes.txt"
  local settings
  settings="$(unixpath "$(variable LOCALAPPDATA)")/zolk-plot"
  mkdir -p "$settings" && echo "[captions]" > "$settings/questionnaire.ini"
  local uninstaller=${uninstall% /S}
  uninstaller=${uninstaller#\"}
  uninstaller=${uninstaller%\"}
  "$wine" "$uninstaller" /S
  rc=$?
  # The uninstaller goes on from a copy of itself in the temporary folder: wait for it.
  "$wineserver" -w
  check "the silent uninstall ends well" '[ $rc -eq 0 ]'
  local left=0 file
  while read -r file; do [ -e "$file" ] && { echo "left behind: $file"; left=1; }; done < "$home/installed.txt"
  check "no program file is left" '[ $left -eq 0 ]'
  check "the user's file stays" '[ "$(cat "$unix_folder/notes.txt")" = mine ]'
  check "the settings stay" '[ -f "$settings/questionnaire.ini" ]'
  check "the Start menu entry is gone" '[ ! -e "$unix_start_menu/ZOLK Plot.lnk" ]'
  check "the file type is gone" '! reg "$classes\\ZolkPlot.ResultFile" >/dev/null && ! reg "$classes\\.cry" >/dev/null'
  check "the uninstaller is no longer registered" '! reg "$uninstall_key" >/dev/null'
  rm -rf "$unix_folder" "$settings"
}

# For the current user, as the installer does by default without administrator rights (wine runs
# every program elevated, so the choice is given on the command line here).
trial HKCU "$(variable LOCALAPPDATA)\\Programs\\ZOLK Plot" "$(variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs" \
  /S /CurrentUser
# Elevated, as under wine: for all users.
trial HKLM "$(variable ProgramFiles)\\ZOLK Plot" "$(variable ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs" /S
exit $failed
SH
status=0
HOME="$home" xvfb-run -a -s "-screen 0 1280x1024x24" bash "$home/session.sh" "$wine" "$wineserver" "$home" || status=1
rm -rf "$home"
exit $status
