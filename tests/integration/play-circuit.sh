#!/usr/bin/env bash
# Plays a recording back in the stand-in simulator with the player add-on loaded in place of the
# module: its first track on the user aircraft, every other track as traffic, through
# data/scenarios/play-circuit.scn; then sums up the add-on's report:
#   play-circuit.sh ZEPHREL_SIM PLAYER_ADDON ZFL_INFO RECORDING OUT_DIR
# OUT_DIR gets the add-on's settings, its play list, its report (play-circuit.report) and its log
# (module/).
set -euo pipefail
sim=$1
addon=$2
info=$3
recording=$(cd "$(dirname "$4")" && pwd)/$(basename "$4")
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/tests/integration/addon-run.sh"
prepare_addon_run "$addon" "$5" "Zephrel player"
cat > "$out/play-circuit.ini" <<INI
[SETTINGS]
MaxAircraft=100
TempDirectory=$out/temp
INI
tracks=$("$info" "$recording" | sed -n 's/^  tracks: \([0-9]*\)$/\1/p')
{
    echo "file \"$recording\""
    for ((t = 0; t < tracks; ++t)); do echo "track $t"; done
    echo "user 0 0"
} > "$out/play-circuit.list"
ZEPHREL_PLAYER_INI="$out/play-circuit.ini" ZEPHREL_PLAYER_LIST="$out/play-circuit.list" \
    ZEPHREL_PLAYER_REPORT="$out/play-circuit.report" \
    "$sim" --scenario "$repo/data/scenarios/play-circuit.scn" --root "$repo/data/sim-root" --appdata "$out/appdata"
# Report lines: "start CG TITLE", "frame N NOW BEGIN END FINISHED RATE USER LAT LON ALT P B H AI ...",
# "stopped N LEFT"; positions in the record's units (2^32 a metre of latitude and of altitude).
awk -v tracks="$tracks" '
    $1 == "start" { title = $3; for (i = 4; i <= NF; ++i) title = title " " $i }
    $1 == "frame" && $6 == 1 { finished = 1 }
    $1 == "frame" && $6 == 0 {
        if (frames++ == 0) first = $3
        last = $3; begin = $4
        if ($15 > most) most = $15
        minute = int(($3 - begin) / 600000)
        if (!(minute in shown)) {
            shown[minute] = 1
            lines = lines sprintf("    %6.1f s: %.5f N %.5f E, %6.1f m, %2d AI aircraft\n", $3 / 10000,
                                  $9 / 4294967296 / 10001750 * 90, $10 / 18446744073709551616 * 360,
                                  $11 / 4294967296, $15)
        }
    }
    $1 == "stopped" { left = $3 }
    END {
        printf "  %d tracks: the user aircraft (%s) and %d as traffic\n", tracks, title, tracks - 1
        printf "  played %.1f s to %.1f s in %d frames%s\n", first / 10000, last / 10000, frames,
               finished ? ", then finished" : ""
        printf "%s", lines
        printf "  AI aircraft at most: %d at once; left after the end: %s\n", most, left
    }' "$out/play-circuit.report"
