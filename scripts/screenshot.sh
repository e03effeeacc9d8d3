#!/usr/bin/env bash
# Renders the main window with a sample profile under Xvfb and writes docs/screenshot.png, and the
# first page of that profile's PDF report as docs/report.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZOLK_BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zolk-screenshot sample-data
mkdir -p docs
ensure_packages poppler-utils
report=$(mktemp -d)
LANG=ru_RU.UTF-8 xvfb-run -a -s "-screen 0 1032x800x24" \
  build/release/tools/zolk-screenshot build/release/bin/Data/0106-mixed.cry docs/screenshot.png --report "$report/report.pdf"
pdftoppm -r 70 -f 1 -l 1 -png -singlefile "$report/report.pdf" docs/report
rm -rf "$report"
echo "docs/screenshot.png and docs/report.png written."
