#!/usr/bin/env bash
# Builds the fuzz targets (clang, sanitizers) and runs each of them for $FUZZ_SECONDS seconds
# (default 30) on a copy of its seed corpus in a temporary folder. Exits non-zero if a target
# crashes, leaks, times out or runs out of memory; the input that did it is kept in
# $FUZZ_ARTIFACTS (default <build>/fuzz-artifacts) and its path is printed.
#
#   FUZZ_SECONDS    seconds per target (default 30)
#   FUZZ_BUILD_DIR  build folder (default build-fuzz at the top of the repository)
#   FUZZ_ARTIFACTS  where crashing inputs are kept
#   FUZZ_JOBS       build parallelism passed to cmake --build (default: ninja's)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh"
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-30}
artifacts=${FUZZ_ARTIFACTS:-$build/fuzz-artifacts}

if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "fuzz-smoke: FUZZ_SECONDS must be a whole number of seconds, got '$seconds'" >&2
    exit 2
fi

if [ ! -f "$build/build.ninja" ]; then
    CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$root" -B "$build" -G Ninja \
        -DZEPHREL_FUZZ=ON -DZEPHREL_TESTS=OFF -DZEPHREL_BENCH=OFF -DZEPHREL_WERROR=ON
fi
build_args=()
if [ -n "${FUZZ_JOBS:-}" ]; then build_args=(-j "$FUZZ_JOBS"); fi
# Only what the fuzzing needs: the fuzz targets, the libraries they use and the seed corpora.
cmake --build "$build" --target zephrel_fuzz "${build_args[@]}"

list=$build/fuzz/fuzz-targets.txt
if [ ! -s "$list" ]; then
    echo "fuzz-smoke: $list is missing; was $build configured with -DZEPHREL_FUZZ=ON?" >&2
    exit 2
fi
mapfile -t targets < "$list"

work=$(mktemp -d "${TMPDIR:-/tmp}/zephrel-fuzz-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$artifacts"

failed=()
for target in "${targets[@]}"; do
    [ -n "$target" ] || continue
    corpus=$work/$target/corpus
    mkdir -p "$corpus"
    # Generated seeds, plus any checked-in ones.
    for seeds in "$build/fuzz/corpus/$target" "$root/fuzz/corpus/$target"; do
        if [ -d "$seeds" ]; then cp -R "$seeds/." "$corpus/"; fi
    done
    echo "=== $target: $seconds s on $(find "$corpus" -type f | wc -l) seed(s)"
    status=0
    # Run inside the work folder, with it as the temporary folder too, so that whatever a target
    # writes (its per-process input files, left behind by a crash) goes away with it.
    mkdir -p "$work/$target/tmp"
    (cd "$work/$target" && export TMPDIR="$work/$target/tmp" &&
        "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
            -print_final_stats=1 -artifact_prefix="$artifacts/$target-" corpus) \
        > "$work/$target/log" 2>&1 || status=$?
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs)' \
        "$work/$target/log" || true
    if [ "$status" -ne 0 ]; then
        echo "--- $target FAILED (exit status $status); last lines of its output:"
        tail -n 60 "$work/$target/log"
        failed+=("$target")
    else
        echo "--- $target: no crash"
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz-smoke: crashes in: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
echo "fuzz-smoke: all ${#targets[@]} targets ran $seconds s without a crash"
