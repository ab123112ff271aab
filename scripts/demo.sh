#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample recording, shows what it holds, converts it
# to text and back, flies ten minutes in the stand-in simulator with the module loaded, then records
# a circuit among live traffic with the recorder, shows the recording and plays it back with the
# player, the user track on the trainer and the traffic as AI aircraft.
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
echo "== Ten minutes in the stand-in simulator with the module loaded through dll.xml:"
mkdir -p demo-out/appdata/Microsoft/FSX
cat > demo-out/appdata/Microsoft/FSX/dll.xml <<XML
<?xml version="1.0" encoding="Windows-1252"?>
<SimBase.Document Type="Launch" version="1,0">
  <Launch.Addon>
    <Name>Zephrel</Name>
    <Disabled>False</Disabled>
    <Path>$PWD/build/src/module/Zephrel_FSX.so</Path>
  </Launch.Addon>
</SimBase.Document>
XML
build/simhost/zephrel-sim --scenario data/scenarios/demo.scn --appdata demo-out/appdata
echo "== The module's log (build/src/module/Zephrel.log):"
cat build/src/module/Zephrel.log

echo
echo "== A circuit among live traffic, recorded with the recorder: until the module's controller exists"
echo "   the recorder is driven by a test add-on, loaded in place of the module (tests/integration)."
echo "   The recording (demo-out/record-circuit/record-circuit.zfl):"
bash tests/integration/record-circuit.sh build/simhost/zephrel-sim \
    build/tests/integration/recorder/ZephrelRecorderProbe.so build/tools/zfl-info demo-out/record-circuit

echo
echo "== The recorded circuit played back by the player, also driven by a test add-on in place of the"
echo "   module: the trainer flies the user track, every other track is flown by an AI aircraft the"
echo "   player makes while the track's time span is played (demo-out/play-circuit/):"
bash tests/integration/play-circuit.sh build/simhost/zephrel-sim \
    build/tests/integration/player/ZephrelPlayerProbe.so build/tools/zfl-info \
    demo-out/record-circuit/record-circuit.zfl demo-out/play-circuit
