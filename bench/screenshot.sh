#!/bin/sh
# Takes pictures of the real window on a virtual X server: at start and after "AuTo".
# usage: bench/screenshot.sh BUILD_DIR [OUT_DIR]
set -eu
build=${1:?usage: screenshot.sh BUILD_DIR [OUT_DIR]}
out=${2:-$build/screenshots}
mkdir -p "$out"
QT_QPA_PLATFORM=xcb QUILLMARK_SHOT_DIR=$out \
    xvfb-run -a -s "-screen 0 800x620x24 -dpi 96" "$build/tests/window_screenshot_test"
ls -l "$out"
