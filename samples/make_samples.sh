#!/usr/bin/env bash
# Remakes the sample pictures of this folder with the project's own test
# picture writers:  samples/make_samples.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: samples/make_samples.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
make_picture="$build/zelvora-test-pictures"
"$make_picture" jpeg 480 360 "$here/harbour.jpg" 7
"$make_picture" jpeg 360 480 "$here/tower.jpg" 11
"$make_picture" gif 160 120 "$here/tiles.gif"
"$make_picture" bmp 200 150 "$here/scan.bmp"
"$make_picture" ico 32 32 "$here/icon.ico"
