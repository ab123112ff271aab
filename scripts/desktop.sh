#!/usr/bin/env bash
# Installs what is missing, builds, registers the module in a folder of its own (desktop-out/) and
# starts the stand-in simulator in a window with the module loaded: fly by hand or through the
# Autopilot menu, record and play back through the Zephrel menu (docs/simhost/desktop.md).
# Arguments go to zephrel-sim; with a --scenario of your own its settings take the place of the
# sample root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
out=desktop-out
mkdir -p $out/module $out/recordings $out/temp $out/appdata/Microsoft/FSX
cp build/src/module/Zephrel_FSX.so $out/module/
# The settings stay from one run to the next, as a user's would.
if [ ! -f $out/module/Zephrel.ini ]; then
    cat > $out/module/Zephrel.ini <<INI
[SETTINGS]
TempDirectory=$PWD/$out/temp
[Dialogs]
ZflPath=$PWD/$out/recordings
INI
fi
build/src/installer/zephrel-install add --appdata $out/appdata --installdir $out/module
# Without a scenario the window stays until it is closed; one given instead has its own settings.
settings=(--root data/sim-root --appdata $out/appdata)
for argument in "$@"; do
    if [ "$argument" = "--scenario" ]; then settings=(--appdata $out/appdata); fi
done
exec build/simhost/zephrel-sim --window "${settings[@]}" "$@"
