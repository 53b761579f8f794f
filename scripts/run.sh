#!/bin/sh
# Installs what is missing, builds Vell and starts the window in its working directory, which
# holds book.dat, the weight files and the logs. The first start seeds it with the shipped
# weights; an existing weight4.dat there is never overwritten.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
workdir="${VELL_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/vell}"
mkdir -p "$workdir"
./scripts/seed-workdir.sh "$workdir"
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "No display to open the window on; the command-line program works without one: $root/build/cli/vellcli --help"
    exit 0
fi
cd "$workdir"
exec "$root/build/shell/vell" "$@"
