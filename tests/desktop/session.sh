# What the desktop tests share (sourced): a private Xvfb display, the module registered in a run
# folder of the test's own, the simulator started in a window on it, and xdotool as the user.
# Needs BUILD (the build folder) and SHOTS (where screenshots go, kept as CI artifacts).
set -euo pipefail

run=$(mktemp -d)
shots="$SHOTS/$(basename "$0" .sh)"
rm -rf "$shots"
mkdir -p "$shots"
simulator=""
xvfb=""

finish() {
    if [ -n "$simulator" ] && kill -0 "$simulator" 2>/dev/null; then kill "$simulator"; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$run"
}
trap finish EXIT

fail() {
    shot failure
    echo "FAILED: $*" >&2
    echo "== the simulator's output:" >&2
    cat "$run/simulator.log" >&2 || true
    exit 1
}

# A display of our own, whatever DISPLAY says: the test must not type into someone's desktop.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$run/display" 2>"$run/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
    if [ -s "$run/display" ]; then break; fi
    sleep 0.1
done
[ -s "$run/display" ] || { cat "$run/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$run/display")"
# No sound card and no desktop session here: SDL plays into nothing, GTK keeps settings in memory.
export SDL_AUDIODRIVER=dummy GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

shot() {
    ffmpeg -v error -y -f x11grab -video_size 1280x1024 -i "$DISPLAY" -frames:v 1 "$shots/$1.png"
}

# The module in run/module, registered in run/appdata's dll.xml, recordings in run/recordings.
mkdir -p "$run/module" "$run/recordings" "$run/temp" "$run/appdata/Microsoft/FSX"
cp "$BUILD/src/module/Zephrel_FSX.so" "$run/module/"
cat > "$run/module/Zephrel.ini" <<INI
[SETTINGS]
TempDirectory=$run/temp
[Dialogs]
ZflPath=$run/recordings
INI
"$BUILD/src/installer/zephrel-install" add --appdata "$run/appdata" --installdir "$run/module" > /dev/null

# start_simulator SECONDS [ACTION LINES]: the simulator in a window for that long (run time).
start_simulator() {
    {
        echo "root $(cd "$(dirname "$BASH_SOURCE")/../.." && pwd)/data/sim-root"
        echo "appdata $run/appdata"
        echo "frame-step 0.0166667"
        echo "duration $1"
        shift
        printf '%s\n' "$@"
    } > "$run/desktop.scn"
    "$BUILD/simhost/zephrel-sim" --window --scenario "$run/desktop.scn" > "$run/simulator.log" 2>&1 &
    simulator=$!
    main=$(xdotool search --sync --onlyvisible --name '^zephrel-sim$' | head -1)
}

# The window with that title once it is on the screen (waits up to 20 s).
window_titled() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1) ||
        fail "no window \"$1\" came up"
    echo "$id"
}

wait_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window \"$1\" did not go"
}

# Keys to a window: it gets the keyboard first (there is no window manager to give it).
keys_to() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" key --delay 80 "$@"
}

# The first item of the main window's menu number N (from 0: Flights, Aircraft, Views, Autopilot,
# Zephrel), clicked: the leftmost title opens the menu bar, the arrow keys go across, and the menu
# that drops down is a window of its own whose top item takes the click.
click_first_item() {
    xdotool mousemove --sync 12 10 click 1
    sleep 0.3
    for _ in $(seq "$1"); do xdotool key Right; done
    sleep 0.5
    shot "menu-$1"
    local menu geometry x y
    menu=$(xdotool search --onlyvisible --class zephrel-sim | while read -r w; do
        [ "$w" = "$main" ] || echo "$w"
    done | tail -1)
    [ -n "$menu" ] || fail "menu $1 did not drop down"
    geometry=$(xdotool getwindowgeometry --shell "$menu")
    x=$(echo "$geometry" | sed -n 's/^X=//p')
    y=$(echo "$geometry" | sed -n 's/^Y=//p')
    xdotool mousemove --sync $((x + 40)) $((y + 12)) click 1
}
