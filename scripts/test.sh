#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: core and widget tests offscreen, and the X11 suites
# against their own Xvfb servers with openbox (started by the tests themselves).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"
build="${LUMIVEX_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure --timeout 600 --parallel "$(nproc)" "$@"
