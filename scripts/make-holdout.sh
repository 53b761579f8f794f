#!/bin/sh
# Makes the held-out game set resources/holdout.txt with vellcli alone: 400 games between
# "CPU-PAT2" with the shipped weights and "CPU-1", each colour 200 times, at depths 2 and 6,
# every game opened by 8 random moves. Training never sees these games; vellcli learncurve
# measures the weights on them.
#
# usage: scripts/make-holdout.sh [WORK]   (WORK a scratch directory, default build/holdout)
# VELLCLI names the vellcli to use (default build/cli/vellcli). Run it before retraining
# resources/weight4.dat, so the set stays that of the weights it was made with.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${VELLCLI:-$root/build/cli/vellcli}
work=${1:-$root/build/holdout}
rm -rf "$work"
mkdir -p "$work/a" "$work/b"
cp "$root/resources/weight4.dat" "$work/a/"
cp "$root/resources/weight4.dat" "$work/b/"
"$vellcli" selfplay --games 200 --black CPU-PAT2 --white CPU-1 --normal-depth 2 --final-depth 6 \
    --openings 8 --seed 20261208 --dir "$work/a" 2>/dev/null
"$vellcli" selfplay --games 200 --black CPU-1 --white CPU-PAT2 --normal-depth 2 --final-depth 6 \
    --openings 8 --seed 20261209 --dir "$work/b" 2>/dev/null
cat "$work/a/vellkif.txt" "$work/b/vellkif.txt" >"$root/resources/holdout.txt"
