#!/usr/bin/env bash
# Renders the main window with a sample profile under Xvfb and writes docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZOLK_BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zolk-screenshot sample-data
mkdir -p docs
LANG=ru_RU.UTF-8 xvfb-run -a -s "-screen 0 1032x800x24" \
  build/release/tools/zolk-screenshot build/release/bin/Data/0106-mixed.cry docs/screenshot.png
echo "docs/screenshot.png written."
