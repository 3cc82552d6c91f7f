#!/usr/bin/env bash
# Sets everything up and launches Lumivex. Arguments go to the application (image files, --capture=area, ...).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" >&2
build="${LUMIVEX_BUILD_DIR:-$root/build}"
if [ $# -eq 0 ]; then
  # Nothing named: open a freshly made sample picture so there is something to look at.
  sample="${XDG_RUNTIME_DIR:-/tmp}/lumivex-sample.png"
  "$build/tools/lumivex_sample_image" "$sample"
  set -- "$sample"
fi
exec "$build/app/lumivex" "$@"
