#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks and the fuzz targets need,
# but only when one of them is missing, so a prepared machine starts building at once. ccache and
# mold only make builds faster; lit and FileCheck (llvm-14-tools) run the command-line tests;
# ffmpeg's ffprobe checks the videos the tests write; GTK 3 and SDL 2 build the desktop backend,
# whose tests run on Xvfb with xdotool as the user; xmllint (libxml2-utils) checks exported GPX and
# KML against their schemas, and GPSBabel reads and writes them in the round-trip tests.
set -euo pipefail

packages=(
    cmake ninja-build make g++ pkg-config ccache mold
    clang libclang-rt-14-dev llvm-14-tools python3
    libgtest-dev libgmock-dev libbenchmark-dev
    libssl-dev
    libpugixml-dev libxml2-utils gpsbabel
    libcairo2-dev
    libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
    libgtk-3-dev libsdl2-dev xvfb xdotool
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
