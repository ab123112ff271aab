#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh FOLDER [CMAKE OPTIONS...]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1
shift
bash scripts/install-deps.sh
cmake -S . -B "$folder" -G Ninja -DZEPHREL_WERROR=ON "$@"
cmake --build "$folder" --parallel "$(nproc)"
