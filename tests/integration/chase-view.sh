#!/usr/bin/env bash
# Flies data/scenarios/chase-view.scn with the module and the probe add-on, which writes a chase
# camera into the second view through the module's view pass, and writes the main window's
# picture every FRAME_EVERY frames (default 300) into OUT_DIR/frames:
#   chase-view.sh ZEPHREL_SIM VISIBLE_MODULE PROBE OUT_DIR [FRAME_EVERY]
set -euo pipefail
sim=$1
module=$2
probe=$3
repo=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$4/module" "$4/appdata/Microsoft/FSX" "$4/temp" "$4/frames"
out=$(cd "$4" && pwd)
cp "$module" "$probe" "$out/module/"
printf '[SETTINGS]\nTempDirectory=%s/temp\n' "$out" > "$out/module/Zephrel.ini"
entry() {
    printf '  <Launch.Addon>\n    <Name>%s</Name>\n    <Disabled>False</Disabled>\n    <Path>%s</Path>\n  </Launch.Addon>\n' "$1" "$2"
}
{
    echo '<?xml version="1.0" encoding="Windows-1252"?>'
    echo '<SimBase.Document Type="Launch" version="1,0">'
    entry Zephrel "$out/module/$(basename "$module")"
    entry "Zephrel probe" "$out/module/$(basename "$probe")"
    echo '</SimBase.Document>'
} > "$out/appdata/Microsoft/FSX/dll.xml"
ZEPHREL_PROBE_REPORT="$out/report.txt" ZEPHREL_PROBE_CAMERA=1 ZEPHREL_PROBE_TAKE=15 \
    "$sim" --scenario "$repo/data/scenarios/chase-view.scn" --root "$repo/data/sim-root" --appdata "$out/appdata" \
    --frames "$out/frames" --frame-every "${5:-300}" --size 640x480
cat "$out/report.txt"
