#!/usr/bin/env bash
# The Debian package as a user installs it: builds zolk-plot_<version>_amd64.deb, installs it with
# apt, deciphers a sample with the installed zolk-cry and starts the installed zolk-plot under
# xvfb-run until its window appears.
#   ../shared/fresh-machine/check.sh scripts/test-deb.sh --fresh-machine
# With --fresh-machine (only on a throw-away system) everything the build installed is purged before
# the package is installed, so that apt brings nothing but the package's declared dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
fresh=0
[ "${1:-}" = --fresh-machine ] && fresh=1

base=$(dpkg-query -W -f='${Package}\n' | sort)
ensure_packages "${ZOLK_BUILD_PACKAGES[@]}" dpkg-dev file
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/zolk-plot_*_amd64.deb)
cp "$deb" /tmp/
deb=/tmp/$(basename "$deb")
echo "built $(basename "$deb"): depends on $(dpkg-deb -f "$deb" Depends)"

if [ "$fresh" = 1 ]; then
  mapfile -t added < <(comm -13 <(echo "$base") <(dpkg-query -W -f='${Package}\n' | sort))
  echo "purging the ${#added[@]} packages the build installed"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${added[@]}" >/dev/null
fi
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" xvfb xauth x11-utils >/dev/null
echo "installed: $(dpkg-query -W -f='${Package} ${Version}' zolk-plot)"

echo "zolk-cry decode of an installed sample:"
zolk-cry decode /usr/share/zolk-plot/Data/0101-balanced.cry --utf8 | head -3
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  zolk-plot & program=$!
  for k in $(seq 100); do
    if xwininfo -root -tree | grep -q "\"ZOLK - Zembrau Plot\""; then
      echo "the installed zolk-plot shows its window"; kill $program; exit 0
    fi
    sleep 0.2
  done
  echo "the installed zolk-plot showed no window"; kill $program; exit 1'
