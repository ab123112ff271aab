#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample recording, shows what it holds, and converts
# it to text and back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
mkdir -p demo-out
build/tools/zfl-sample demo-out/sample.zfl
build/tools/zfl-info demo-out/sample.zfl

echo
echo "== The recording as text (demo-out/sample.txt), first lines of track 1 and the markers:"
build/src/converter/ZflConverter demo-out/sample.zfl demo-out/sample.txt
head -c 1200 demo-out/sample.txt | cut -c 1-160
echo "..."
sed -n '/^\/\/ Markers/,$p' demo-out/sample.txt

echo
echo "== The text back into a recording (demo-out/sample-from-text.zfl):"
build/src/converter/ZflConverter demo-out/sample.txt demo-out/sample-from-text.zfl
build/tools/zfl-info demo-out/sample-from-text.zfl
build/src/converter/ZflConverter demo-out/sample-from-text.zfl demo-out/sample-again.txt
if cmp -s demo-out/sample.txt demo-out/sample-again.txt; then
    echo "== Exported again, the text is identical."
else
    echo "== Exported again, the text differs!" >&2
    exit 1
fi
