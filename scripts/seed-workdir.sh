#!/bin/sh
# Prepares the working directory the program runs in: creates DIR when needed and puts the
# shipped default weights (WEIGHTS, by default resources/weight4.dat) there on first use. A
# weight4.dat already in DIR, trained or chosen by the user, is never overwritten.
#
# usage: scripts/seed-workdir.sh DIR [WEIGHTS]
set -e
[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: $0 DIR [WEIGHTS]" >&2; exit 2; }
dir=$1
weights=${2:-$(cd "$(dirname "$0")/.." && pwd)/resources/weight4.dat}
mkdir -p "$dir"
if [ ! -e "$dir/weight4.dat" ]; then
    # Copy under a temporary name first, so an interrupted copy never looks like weights.
    cp "$weights" "$dir/weight4.dat.tmp"
    mv -n "$dir/weight4.dat.tmp" "$dir/weight4.dat"
    rm -f "$dir/weight4.dat.tmp"
fi
