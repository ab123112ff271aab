#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample recording and shows what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
mkdir -p demo-out
build/tools/zfl-sample demo-out/sample.zfl
build/tools/zfl-info demo-out/sample.zfl
