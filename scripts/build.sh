#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ (Release with debug info, Ninja).
#   scripts/build.sh [TARGET...]     only these targets (default: everything)
# $LUMIVEX_BUILD_DIR names another build folder, $LUMIVEX_CMAKE_OPTIONS adds options when it is configured.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="${LUMIVEX_BUILD_DIR:-$root/build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  # A compiler cache, where the developer has one, makes rebuilds in several checkouts cheap.
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  read -r -a options <<< "${LUMIVEX_CMAKE_OPTIONS:-}"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${options[@]}"
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
