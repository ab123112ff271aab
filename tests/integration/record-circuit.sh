#!/usr/bin/env bash
# Flies data/scenarios/record-circuit.scn in the stand-in simulator with the recorder add-on loaded
# in place of the module, and shows the recording it made:
#   record-circuit.sh ZEPHREL_SIM RECORDER_ADDON ZFL_INFO OUT_DIR
# OUT_DIR gets the recording (record-circuit.zfl), the add-on's settings and its log (module/).
set -euo pipefail
sim=$1
addon=$2
info=$3
repo=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$4/module" "$4/appdata/Microsoft/FSX" "$4/temp"
out=$(cd "$4" && pwd)
cp "$addon" "$out/module/"
cat > "$out/appdata/Microsoft/FSX/dll.xml" <<XML
<?xml version="1.0" encoding="Windows-1252"?>
<SimBase.Document Type="Launch" version="1,0">
  <Launch.Addon>
    <Name>Zephrel recorder</Name>
    <Disabled>False</Disabled>
    <Path>$out/module/$(basename "$addon")</Path>
  </Launch.Addon>
</SimBase.Document>
XML
# The user aircraft every quarter second, the traffic every second, with the default data groups.
cat > "$out/record-circuit.ini" <<INI
[SETTINGS]
MaxAircraft=100
TempDirectory=$out/temp
[RECORDING]
Interval=2500
IntervalAI=10000
RecordAI=1
INI
rm -f "$out/record-circuit.zfl"
ZEPHREL_RECORDER_INI="$out/record-circuit.ini" ZEPHREL_RECORDER_OUT="$out/record-circuit.zfl" \
    "$sim" --scenario "$repo/data/scenarios/record-circuit.scn" --root "$repo/data/sim-root" --appdata "$out/appdata"
"$info" "$out/record-circuit.zfl"
