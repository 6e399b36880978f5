#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for SECONDS
# seconds, one after the other. Exits non-zero when any of them finds a crash,
# an invariant violation, a sanitizer report or a hang.
#
#   fuzz/run.sh 30
#
# Findings are kept in build-fuzz/artifacts/<target>/, the grown corpus in
# build-fuzz/corpus/<target>/ (the seeds in fuzz/corpus/ are only read), the
# output in build-fuzz/logs/<target>.log. Replay a finding with
#   build-fuzz/fuzz/fuzz_<target> build-fuzz/artifacts/<target>/crash-...
set -euo pipefail

if [[ $# -ne 1 || ! $1 =~ ^[0-9]+$ || $1 -lt 1 ]]; then
    echo "usage: $0 SECONDS" >&2
    exit 2
fi
seconds=$1
cd "$(dirname "$0")/.."
build=build-fuzz
targets=(reply_batch bank_files performance_file settings hex_string sim_messages)

./tools/install-deps.sh fuzz
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCS6_FUZZ=ON \
    -DCS6_SANITIZE=address,undefined -DBUILD_TESTING=OFF >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# Every sanitizer report ends the run, so libFuzzer keeps the input.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1

# Longest input per target: whole bulk answers (a kit is 374 messages) and
# files of a few performances (1449 bytes each) need room; texts and the
# 51-byte settings file do not.
declare -A maxLength=([reply_batch]=16384 [sim_messages]=16384 [bank_files]=16384 [performance_file]=8192
                      [settings]=256 [hex_string]=512)

failed=()
mkdir -p "$build/logs"
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    log="$build/logs/$target.log"
    status=0
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 -max_len="${maxLength[$target]}" \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
        "$build/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [[ $status -eq 0 ]]; then
        echo "fuzz_$target: ok, ${runs:-?} runs, ${rate:-?}/s"
    else
        echo "fuzz_$target: FAILED (exit $status); see $log and $build/artifacts/$target/" >&2
        grep -m3 -E "invariant violated|ERROR: |runtime error|SUMMARY" "$log" >&2 || true
        failed+=("$target")
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzzing found problems in: ${failed[*]}" >&2
    exit 1
fi
