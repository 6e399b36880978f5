#!/usr/bin/env bash
# Builds and runs the tests under sanitizers, each kind in its own build
# folder:
#   tools/sanitize.sh address   the whole suite with AddressSanitizer and
#                               UndefinedBehaviorSanitizer (build-asan/)
#   tools/sanitize.sh thread    the threaded transport and emulated instrument
#                               tests with ThreadSanitizer (build-tsan/)
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:?address or thread}
jobs=$(nproc)
case "$kind" in
address)
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCS6_SANITIZE=address,undefined > /dev/null
    cmake --build build-asan -j"$jobs"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    ctest --test-dir build-asan --output-on-failure -j"$jobs"
    ;;
thread)
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCS6_SANITIZE=thread > /dev/null
    cmake --build build-tsan -j"$jobs" --target midi_tests sim_tests cs6sim
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp"
    for test in midi/midi_tests sim/sim_tests; do
        echo "== $test under ThreadSanitizer"
        build-tsan/tests/$test
    done
    ;;
*)
    echo "usage: tools/sanitize.sh address|thread" >&2
    exit 2
    ;;
esac
