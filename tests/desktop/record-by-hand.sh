#!/usr/bin/env bash
# A user at the desktop: starts the engines, chooses Zephrel/Record... in the menu bar, takes off
# by hand with the keys (full throttle, the stick back), chooses Zephrel/Stop Recording... and
# saves through the file chooser; the recording must then hold more than 20 s and the climb.
source "$(dirname "$0")/session.sh"

start_simulator 50
shot started
keys_to "$main" ctrl+e
sleep 3

click_first_item 4
settings=$(window_titled "Recording Settings")
shot recording-settings
keys_to "$settings" Return
wait_gone "Recording Settings"

# Full throttle, then the stick back once the trainer has its speed.
keys_to "$main" F4
sleep 14
keys_to "$main" Down Down Down Down Down
sleep 14
shot flying

click_first_item 4
save=$(window_titled "Save Recorded Flight")
shot save-dialog
xdotool windowfocus --sync "$save" type --delay 40 by-hand
sleep 0.5
keys_to "$save" Return
for _ in $(seq 50); do
    if [ -f "$run/recordings/by-hand.zfl" ]; then break; fi
    sleep 0.2
    # The name field may take the first Enter for its completion.
    if [ "$_" = 10 ]; then keys_to "$save" Return; fi
done
[ -f "$run/recordings/by-hand.zfl" ] || fail "no recording was saved"
shot saved

info=$("$BUILD/tools/zfl-info" "$run/recordings/by-hand.zfl")
echo "$info"
seconds=$(echo "$info" | sed -n 's/.*continuous records: [0-9]*, 0.0 s to \([0-9.]*\) s/\1/p' | head -1)
[ -n "$seconds" ] || fail "zfl-info shows no continuous records"
awk -v s="$seconds" 'BEGIN { exit !(s >= 20) }' || fail "the recording holds $seconds s, not 20"
echo "$info" | grep -q "digest: verified" || fail "the recording's digest does not verify"

# The climb: the altitudes (feet, the fourth column) of the first and the last record in the text.
"$BUILD/src/converter/ZflConverter" "$run/recordings/by-hand.zfl" "$run/by-hand.txt" > /dev/null
climb=$(awk '/^ *[0-9]/ { if (first == "") first = $4; last = $4 } END { print last - first }' "$run/by-hand.txt")
echo "climbed $climb ft"
awk -v c="$climb" 'BEGIN { exit !(c >= 10) }' || fail "the aircraft climbed $climb ft, not 10 or more"
