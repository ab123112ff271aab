#!/usr/bin/env bash
# Records with the module in the stand-in simulator and kills it (SIGKILL) at 80 s, leaving the
# recording's temporary files as a crash does:
#   crash-recording.sh ZEPHREL_SIM MODULE SIM_ROOT OUT_DIR
# OUT_DIR/temp gets Zephrel.tmp0 to .tmp2: the user aircraft from 1 s with a marker "Rotate" at
# 20 s, started on 2011-08-15 at 14:05.
set -uo pipefail
sim=$1
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/tests/integration/addon-run.sh"
prepare_addon_run "$2" "$4" "Zephrel"
printf '[SETTINGS]\nTempDirectory=%s/temp\n' "$out" > "$out/module/Zephrel.ini"
cat > "$out/crash.scn" <<SCN
user-aircraft "Trainer 152 Aerobat"
local-time 2011-08-15 14:05:00.000
frame-step 0.125
duration 100
at 1 dialog 103 press 1
at 1 menu "Zephrel/Record..."
at 2 fly takeoff
at 20 dialog 160 settext 1005 "Rotate" press 1
at 20 menu "Zephrel/Set Marker..."
at 80 crash
SCN
"$sim" --scenario "$out/crash.scn" --root "$3" --appdata "$out/appdata" > "$out/crash.out" 2>&1
status=$?
if [[ $status -ne 137 ]]; then
    echo "crash-recording.sh: the simulator ended with $status, not killed:" >&2
    cat "$out/crash.out" >&2
    exit 1
fi
