#!/usr/bin/env bash
# Fuzzes the image loaders and the decoders of stored settings for MINUTES minutes each (default 10), built with
# AddressSanitizer, UndefinedBehaviorSanitizer and coverage in build-fuzz/ (or $LUMIVEX_FUZZ_BUILD_DIR).
#   scripts/fuzz.sh [MINUTES] [TARGET...]       targets: image_loading stored_settings (default: both)
# The corpus grows in fuzz-work/<target>/corpus; inputs that crashed or hung land in fuzz-work/<target>/findings.
# After a finding the target starts again until the time is up. Prints executions and findings per target.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
minutes="${1:-10}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(image_loading stored_settings)
build="${LUMIVEX_FUZZ_BUILD_DIR:-$root/build-fuzz}"
work="${LUMIVEX_FUZZ_WORK_DIR:-$root/fuzz-work}"
LUMIVEX_BUILD_DIR="$build" \
  LUMIVEX_CMAKE_OPTIONS="-DLUMIVEX_SANITIZE=ON -DLUMIVEX_BUILD_FUZZ=ON -DLUMIVEX_BUILD_TESTS=OFF -DLUMIVEX_BUILD_BENCH=OFF" \
  "$root/scripts/build.sh" $(printf 'lumivex_fuzz_%s ' "${targets[@]}")
# Qt's and fontconfig's caches live until exit; leaks are not what this looks for. A failed allocation returns
# null as malloc does outside the sanitizer: inputs may claim gigabytes, and refusing them is the loaders' job.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  end=$(( $(date +%s) + minutes * 60 ))
  executions=0
  restarts=0
  while [ "$(date +%s)" -lt "$end" ]; do
    left=$(( end - $(date +%s) ))
    if output="$("$build/fuzz/lumivex_fuzz_$target" --seconds "$left" --corpus "$work/$target/corpus" \
        --findings "$work/$target/findings" 2>>"$work/$target/log")"; then
      echo "$output"
      executions=$(( executions + $(echo "$output" | sed -n 's/.* \([0-9]*\) executions.*/\1/p') ))
    else
      restarts=$(( restarts + 1 ))
    fi
  done
  findings=$(find "$work/$target/findings" -type f | wc -l)
  echo "$target: $minutes minutes, $executions executions counted (runs cut short by a finding: $restarts), $findings findings in $work/$target/findings"
done
