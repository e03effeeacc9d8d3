#!/bin/sh
# Runs a test program with ZOLK_FULL_DISK naming the mount point of a small file system of its own
# (a 1 MB tmpfs in a private mount namespace, so nothing outside the test sees it), where the test
# fills the disk and checks that every writer keeps the old file and says why. Without the rights
# to make one (no user namespaces, no unshare) the program runs without it and skips those cases.
#   with-full-disk.sh PROGRAM [ARGUMENTS...]
set -u
mountpoint=$(mktemp -d)
trap 'rmdir "$mountpoint" 2>/dev/null' EXIT
if command -v unshare >/dev/null 2>&1 &&
   unshare --user --map-root-user --mount sh -c 'mount -t tmpfs -o size=1m tmpfs "$1"' sh "$mountpoint" 2>/dev/null; then
  unshare --user --map-root-user --mount sh -c \
    'mount -t tmpfs -o size=1m tmpfs "$1" && shift && ZOLK_FULL_DISK="$0" exec "$@"' "$mountpoint" "$mountpoint" "$@"
  exit $?
fi
echo "with-full-disk.sh: no private tmpfs can be mounted here; the full-disk cases will be skipped" >&2
"$@"
