# Sourced by the scripts that fly a scenario with a test add-on loaded in place of the module:
#   prepare_addon_run ADDON OUT_DIR NAME
# makes OUT_DIR/module (holding a copy of the add-on), OUT_DIR/temp and an application data folder
# whose dll.xml lists the add-on under NAME, and sets `out` to OUT_DIR's full path.
prepare_addon_run() {
    mkdir -p "$2/module" "$2/appdata/Microsoft/FSX" "$2/temp"
    out=$(cd "$2" && pwd)
    cp "$1" "$out/module/"
    cat > "$out/appdata/Microsoft/FSX/dll.xml" <<XML
<?xml version="1.0" encoding="Windows-1252"?>
<SimBase.Document Type="Launch" version="1,0">
  <Launch.Addon>
    <Name>$3</Name>
    <Disabled>False</Disabled>
    <Path>$out/module/$(basename "$1")</Path>
  </Launch.Addon>
</SimBase.Document>
XML
}
