#!/bin/sh
# Pictures of the main window in every interface language, the Converter,
# the fonts dialog and the drawn images, for people to look at. Runs under a virtual X server.
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -eu
build=${1:-build}
out=${2:-$build/screenshots}
cmake --build "$build" --target quillory-screenshots -j2
QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/quillory-screenshots" "$out"
ls "$out"
