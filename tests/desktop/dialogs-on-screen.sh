#!/usr/bin/env bash
# Every window the module opens from its menu, once on the screen: the scenario chooses the menu
# items at their times, the test waits for each window, takes its picture and closes it as a user
# would (Esc, or Enter where the dialog leads on). A recording is played on the way, so that the
# playback's windows and the marker dialog can open; at the end the converter's dialog. The
# pictures are for people to look at.
source "$(dirname "$0")/session.sh"

"$BUILD/tools/zfl-sample" "$run/sample.zfl" > /dev/null
# The playback settings come up before a playback, too.
sed -i 's/^\[SETTINGS\]$/[SETTINGS]\nShowPlayDialog=1/' "$run/module/Zephrel.ini"
start_simulator 60 \
    'at 0.5 menu "Zephrel/Instant Replay..."' \
    'at 1 menu "Zephrel/About Zephrel..."' \
    'at 2 menu "Zephrel/Keyboard Controls..."' \
    'at 3 menu "Zephrel/Settings..."' \
    'at 4 menu "Zephrel/Camera Settings..."' \
    'at 5 menu "Zephrel/Render Video..."' \
    'at 6 menu "Zephrel/Advanced Play..."' \
    'at 7 menu "Zephrel/Record..."' \
    'at 8 menu "Zephrel/Play..."' \
    'at 10 menu "Zephrel/Control Window"' \
    'at 11 menu "Zephrel/Data Window"' \
    'at 13 menu "Zephrel/Set Marker..."' \
    'at 14 menu "Zephrel/Stop Playback"'

# A modal dialog: its picture, then the key that closes it.
dialog() {
    local title=$1 name=$2 key=$3 window
    window=$(window_titled "$title")
    sleep 0.3
    shot "$name"
    keys_to "$window" "$key"
    wait_gone "$title"
}

dialog "Instant Replay" instant-replay Escape
dialog "About Zephrel" about Escape
dialog "Keyboard Controls" keyboard Escape
dialog "Zephrel Settings" settings Escape
dialog "Zephrel Camera Settings" camera-settings Escape
dialog "Video Rendering" video-rendering Escape
dialog "Advanced Playback" advanced-playback Escape
dialog "Recording Settings" recording-settings Escape

dialog "Playback Settings" playback-settings Return
chooser=$(window_titled "Open Recorded Flight")
shot open-recorded-flight
xdotool windowfocus --sync "$chooser" type --delay 40 "$run/sample.zfl"
sleep 0.5
keys_to "$chooser" Return
wait_gone "Open Recorded Flight"
sleep 1
shot playing
window_titled "Zephrel" > /dev/null
window_titled "Zephrel Data" > /dev/null
sleep 0.5
shot playback-windows
dialog "Add Marker" add-marker Escape

# Every menu choice was taken: the scenario names any it could not.
sleep 2
if grep -q "scenario line" "$run/simulator.log"; then fail "the scenario had errors"; fi
# The converter without arguments is its dialog, on the screen when there is one.
"$BUILD/src/converter/ZflConverter" > "$run/converter.log" 2>&1 &
converter=$!
dialog "Zephrel Converter" converter Escape
wait "$converter" || fail "the converter's dialog ended with a failure: $(cat "$run/converter.log")"
echo "pictures: $shots"
