#!/usr/bin/env bash
# Renders the main window with a sample profile under Xvfb and writes docs/screenshot.png, and the
# first two pages of that profile's PDF report as docs/report.png and docs/report-2.png.
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
pdftoppm -r 60 -f 1 -l 2 -png "$report/report.pdf" "$report/page"
mv "$report/page-1.png" docs/report.png
mv "$report/page-2.png" docs/report-2.png
rm -rf "$report"
echo "docs/screenshot.png, docs/report.png and docs/report-2.png written."
