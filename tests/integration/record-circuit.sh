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
source "$repo/tests/integration/addon-run.sh"
prepare_addon_run "$addon" "$4" "Zephrel recorder"
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
