#!/usr/bin/env bash
# Checks that every library includes only from the folders below it: each line names a folder and
# the folders its code may include from ("host/hostabi.h" counts as host). The build enforces the
# same through each library's include root; this says it in one table and also catches a header
# that is used without its library being linked.
set -euo pipefail
cd "$(dirname "$0")/.."

platform="winsys profile text system"
layers=(
    "src/common       common"
    "src/alerts       alerts common $platform"
    "src/settings     settings common $platform"
    "src/host         host alerts common $platform"
    "src/recording    recording host settings common $platform"
    "src/cameras      cameras host settings common $platform"
    "src/video        video host settings alerts common $platform"
    "src/playback     playback host settings cameras common $platform"
    "src/ui           ui playback cameras settings alerts common $platform"
    "src/app          app ui video recording playback cameras host settings alerts common $platform"
    "src/module       module app ui video recording playback cameras host settings alerts common $platform"
    "src/converter    converter common desktop $platform"
    "src/installer    installer $platform"
    "src/tracks       tracks common"
    "tools            tools recording video tracks run services picture world modules host common $platform"
    "simhost/modules  modules host $platform"
    "simhost/world    world modules host $platform"
    "simhost/picture  picture world modules host $platform"
    "simhost/services services picture world modules host $platform"
    "simhost/run      run services picture world modules host desktop $platform"
    "platform/desktop desktop $platform"
)

failed=0
for layer in "${layers[@]}"; do
    read -r folder allowed <<< "$layer"
    while IFS= read -r hit; do
        included=${hit#*#include \"}
        if [[ " $allowed " != *" ${included%%/*} "* ]]; then
            echo "check-layers: $hit (a layer $folder does not build on)" >&2
            failed=1
        fi
    done < <(grep -rnE '^#include "[^"/]+/' "$folder" || true)
done
# The recording-file core is shared with the converter and knows no window system at all.
if grep -rnE '#include "(winsys|alerts)/' src/common; then
    echo "check-layers: src/common must not include the window system" >&2
    failed=1
fi
if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "check-layers: every library includes only from the layers below it"
