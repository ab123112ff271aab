#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
if [ -d build/desktop-shots ]; then
    echo "The desktop tests' screenshots: build/desktop-shots/"
fi
