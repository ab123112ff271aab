#!/usr/bin/env bash
# A folder for a run of zephrel-sim as a user sets one up: a simulator root with one aircraft, an
# application data folder whose dll.xml names the test add-on, and the scenarios beside them.
#   run-folder.sh FOLDER ADDON_ROOT
set -euo pipefail
folder=$1
addon_root=$2
inputs=$(dirname "$0")
rm -rf "$folder"
mkdir -p "$folder/root/SimObjects/Airplanes/Trainer" "$folder/appdata/Microsoft/FSX"
printf '[fltsim.0]\ntitle=Test Trainer\natc_id=N172TT\n\n[GENERAL]\ncategory=Airplane\n' \
    > "$folder/root/SimObjects/Airplanes/Trainer/aircraft.cfg"
cat > "$folder/appdata/Microsoft/FSX/dll.xml" <<XML
<?xml version="1.0" encoding="Windows-1252"?>
<SimBase.Document Type="Launch" version="1,0">
  <Launch.Addon>
    <Name>Test</Name>
    <Path>$addon_root/Modules/TestAddon.so</Path>
  </Launch.Addon>
</SimBase.Document>
XML
cp "$inputs"/*.scenario "$folder"
