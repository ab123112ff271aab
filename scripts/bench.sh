#!/usr/bin/env bash
# Builds and runs every benchmark program; each prints its ratios against an anchor of the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DZEPHREL_TESTS=OFF
for program in build-bench/bench/*Bench; do
    echo "== $program"
    "$program"
done
