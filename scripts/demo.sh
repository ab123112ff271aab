#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample recording, shows what it holds, converts it
# to text and back; then registers the module and runs it in the stand-in simulator through its
# menu: a circuit recorded with markers, played back on the user aircraft with the markers firing,
# played as traffic while a second one is recorded, the instant replay played and saved, the two
# circuits combined in the advanced play dialog, and the recordings exported to text; at last a
# video of the playback rendered with zephrel-render.
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

echo
echo "== The module in the stand-in simulator, all through its menu: a circuit among ten AI aircraft"
echo "   recorded with markers, saved and played back on the trainer (the markers fire), then played"
echo "   as traffic while a second circuit is flown and recorded beside it; the playback is watched"
echo "   through the module's own spot and tower cameras, chosen in its menu; at last the instant replay"
echo "   plays the last half minute again and saves the last minute (data/scenarios/demo.scn):"
rm -rf demo-out/module demo-out/recordings demo-out/temp demo-out/appdata
mkdir -p demo-out/module demo-out/recordings demo-out/temp demo-out/appdata/Microsoft/FSX
cp build/src/module/Zephrel_FSX.so demo-out/module/
cat > demo-out/module/Zephrel.ini <<INI
[SETTINGS]
TempDirectory=$PWD/demo-out/temp
[RECORDING]
RecordAI=1
[Dialogs]
ZflPath=$PWD/demo-out/recordings
INI
build/src/installer/zephrel-install add --appdata demo-out/appdata --installdir demo-out/module
rm -rf demo-out/frames
mkdir -p demo-out/frames
build/simhost/zephrel-sim --scenario data/scenarios/demo.scn --appdata demo-out/appdata \
    --frames demo-out/frames --frame-every 600 --size 640x480 | tee demo-out/summary.txt

echo
for name in circuit formation replay combined; do
    echo "== demo-out/recordings/$name.zfl:"
    build/tools/zfl-info demo-out/recordings/$name.zfl
    build/src/converter/ZflConverter demo-out/recordings/$name.zfl demo-out/recordings/$name.txt
done

echo
echo "== Half a minute of the circuit's playback rendered into a video through the module's fly-by"
echo "   camera (zephrel-render: the simulator headless, the module's menu, a fixed step of 1/25 s):"
build/tools/zephrel-render demo-out/recordings/circuit.zfl demo-out/circuit.mp4 --from 60 --to 90 --camera flyby
ffprobe -v error -count_frames -show_entries stream=codec_name,width,height,avg_frame_rate,nb_read_frames \
    -show_entries format=duration,size -of default=noprint_wrappers=1 demo-out/circuit.mp4

echo
echo "== The outputs:"
echo "   recordings:              demo-out/recordings/circuit.zfl (with its markers), formation.zfl, replay.zfl,"
echo "                            combined.zfl (the two circuits combined in Advanced Playback)"
echo "   their texts:             demo-out/recordings/circuit.txt, formation.txt, replay.txt"
echo "   the simulator's summary: demo-out/summary.txt"
echo "   its pictures:            demo-out/frames/frame-NNNNNN.png, every 20 s (the playback from frame 12600"
echo "                            on through the module's spot camera, from 18000 on through its tower camera)"
echo "   the video:               demo-out/circuit.mp4"
echo "   the module's log:        demo-out/module/Zephrel.log"
