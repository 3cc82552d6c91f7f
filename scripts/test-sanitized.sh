#!/usr/bin/env bash
# Builds the core tests with AddressSanitizer and UndefinedBehaviorSanitizer (in build-sanitize/, or
# $LUMIVEX_SANITIZE_BUILD_DIR) and runs them: any memory error, leak or undefined behaviour fails the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LUMIVEX_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
LUMIVEX_BUILD_DIR="$build" LUMIVEX_CMAKE_OPTIONS="-DLUMIVEX_SANITIZE=ON -DLUMIVEX_BUILD_BENCH=OFF" \
  "$root/scripts/build.sh" lumivex_core_tests
# A failed allocation returns null as malloc does outside the sanitizer (a stored value may claim gigabytes).
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizer-leaks.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
cd "$build"
exec ./tests/lumivex_core_tests "$@"
