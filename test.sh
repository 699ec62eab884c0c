#!/usr/bin/env bash
# Builds and runs every test: once plainly, once with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the threaded tests once more with ThreadSanitizer.
# Each configuration keeps its own build folder, so a second run only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh test

jobs=$(nproc)
configure() {  # folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

configure build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure build/asan -DCMAKE_BUILD_TYPE=Debug -DLW_SANITIZE=address,undefined -DLW_BUILD_BENCH=OFF
configure build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_SANITIZE=thread -DLW_BUILD_BENCH=OFF

status=0
run() {  # title, folder, ctest arguments...
  local title=$1 dir=$2; shift 2
  echo "== $title"
  ninja -C "$dir" >/dev/null || { echo "build failed: $dir" >&2; ninja -C "$dir" | tail -40; status=1; return; }
  (cd "$dir" && ctest -j"$jobs" --output-on-failure "$@") || status=1
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"

run "plain build" build/release
run "AddressSanitizer + UndefinedBehaviorSanitizer" build/asan
run "ThreadSanitizer (threaded tests)" build/tsan -L threaded

if [ $status -eq 0 ]; then echo "== all tests passed"; else echo "== some tests FAILED"; fi
exit $status
