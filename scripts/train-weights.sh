#!/bin/sh
# Trains the default pattern weights (resources/weight4.dat) with vellcli alone: rounds of
# unattended self-play, "CPU-PAT2" against "CPU-PAT2" with training on, starting from zero
# weights. Each round continues from the weights the previous one saved and ends with a
# 200-game match against "CPU-1" at depths 4 and 10 (the figures go to ROUNDS.txt in WORK).
# At the end the note of the weight file is set and the file is copied to resources/.
#
# usage: scripts/train-weights.sh [WORK [ROUNDS [GAMES]]]
#   WORK   a scratch directory, emptied first (default build/train-weights)
#   ROUNDS self-play rounds (default 10); GAMES games per round (default 100000)
# VELLCLI names the vellcli to use (default build/cli/vellcli).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${VELLCLI:-$root/build/cli/vellcli}
work=${1:-$root/build/train-weights}
rounds=${2:-10}
games=${3:-100000}
note="自己対戦で学習した標準の重みです(CPU-PAT2同士、読み2手・終盤6手、トレーニングあり)。"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
round=1
while [ "$round" -le "$rounds" ]; do
    "$vellcli" selfplay --games "$games" --training 1 --black CPU-PAT2 --white CPU-PAT2 \
        --normal-depth 2 --final-depth 6 --dir . >selfplay.out 2>selfplay.err
    cp weight2.dat weight4.dat
    score=$("$vellcli" match --games 200 --a CPU-PAT2 --b CPU-1 --normal-depth 4 \
        --final-depth 10 --weights weight4.dat 2>/dev/null)
    echo "round=$round $(cat selfplay.out) match: $score" | tee -a ROUNDS.txt
    round=$((round + 1))
done

# The note: Shift-JIS text at offset 334616, zero-filled to the end of its 240 bytes.
printf '%s' "$note" | iconv -f UTF-8 -t CP932 >note.bin
size=$(wc -c <note.bin)
[ "$size" -lt 240 ] || { echo "note too long" >&2; exit 1; }
head -c $((240 - size)) /dev/zero >>note.bin
dd if=note.bin of=weight4.dat bs=1 seek=334616 conv=notrunc status=none
cp weight4.dat "$root/resources/weight4.dat"
"$vellcli" datainfo --weights "$root/resources/weight4.dat"
