#!/usr/bin/env bash
# Prints the C++ lines of tests/ against the code outside tests/, bench/ and
# fuzz/, and fails when the tests exceed the given share (default 0.40), so
# the suite stays a quarter to a third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=${1:-0.40}
count() { tr '\n' '\0' | xargs -0 -r cat | wc -l; }
files=$(git ls-files '*.cpp' '*.cc' '*.h' '*.hpp')
code=$(grep -vE '^(tests?|bench|fuzz)/' <<<"$files" | count)
tests=$(grep -E '^tests?/' <<<"$files" | count)
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", c ? t / c : 0 }')
echo "C++ lines: code $code, tests $tests, ratio $ratio (limit $limit)"
awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r <= l) }' || {
    echo "The tests exceed $limit of the code: fold near-copies into tables and keep each check in one home." >&2
    exit 1
}
