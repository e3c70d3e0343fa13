#!/usr/bin/env bash
# Renders the main window offscreen into docs/main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target zrncom_screenshot -j2
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/default/bin/zrncom_screenshot docs/main-window.png
echo "docs/main-window.png"
