#!/usr/bin/env bash
# Builds the libFuzzer targets of the document readers with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS seconds (default 20) on a copy
# of its seed corpus (fuzz/corpus/<target>). Exits non-zero on the first crash, leak,
# timeout or memory blow-up; the reproducer is left in the build folder.
# With PARAFRIX_FUZZ_TESTS=1 the same tree (clang, window switched off, warnings as
# errors) also builds the core's tests, for CI to run with `ctest -L core`.
set -euo pipefail

seconds="${1:-20}"
shift || true
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${PARAFRIX_FUZZ_BUILD:-$here/build-fuzz}"
targets=(doc docx odt rtf pdf txt xml loader)

tests=OFF
if [ "${PARAFRIX_FUZZ_TESTS:-0}" = 1 ]; then tests=ON; fi
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPARAFRIX_BUILD_FUZZERS=ON -DPARAFRIX_SANITIZERS="address;undefined" -DPARAFRIX_WERROR=ON \
    -DPARAFRIX_BUILD_TESTS=$tests -DPARAFRIX_BUILD_BENCH=OFF -DPARAFRIX_BUILD_GUI=OFF "$@" >/dev/null
if [ "$tests" = ON ]; then
    ninja -C "$build" -j2
else
    ninja -C "$build" -j2 $(printf 'fuzz_%s ' "${targets[@]}")
fi

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus" "$build/artifacts/$target"
    cp -n "$here/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
    echo "== fuzz_$target for ${seconds}s"
    log="$build/artifacts/$target/fuzz.log"
    if ! (cd "$build/artifacts/$target" &&
        "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -max_len=262144 -print_final_stats=1 "$corpus" >"$log" 2>&1); then
        tail -n 40 "$log" >&2
        echo "fuzz_$target failed; reproducer in $build/artifacts/$target" >&2
        exit 1
    fi
    grep -E '^(Done|stat::(average_exec_per_sec|peak_rss_mb))' "$log" || true
done
echo "all fuzzers ran clean"
