#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts zolk-plot with its sample data.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages "${ZOLK_BUILD_PACKAGES[@]}"

cmake --preset release
# Only what is started: the window, zolk-cry and the sample data (./test.sh builds the tests).
cmake --build --preset release -j "$(nproc)" --target zolk-plot zolk-cry sample-data

program=build/release/bin/zolk-plot
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@"
fi
echo "No display found: starting zolk-plot under xvfb-run (an invisible screen)."
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
