#!/bin/sh
# Improves pattern weights by play with vellcli alone: three rounds, each 200000 games of
# "CPU-PAT2" against itself (depths 2 and 6, training off, 6 random opening moves, seeds 11, 12
# and 13) with the weights of the round before, then an offline fit of those games. Rounds 1 and
# 2 fit their own games; round 3 fits the games of rounds 2 and 3 with --ridge 20. The result
# gets the note of the shipped weights and goes to resources/weight4.dat.
# The shipped weights were made from those of commit ab2a915 (made by train-weights.sh):
#   git show ab2a915:resources/weight4.dat >START; scripts/improve-weights.sh START
#
# usage: scripts/improve-weights.sh START [WORK]   (WORK a scratch directory, emptied first,
# default build/improve-weights). VELLCLI names the vellcli to use (default build/cli/vellcli).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${VELLCLI:-$root/build/cli/vellcli}
start=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=${2:-$root/build/improve-weights}
note="自己対戦(CPU-PAT2同士、読み2手・終盤6手)の棋譜から学習した標準の重みです。"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
cp "$start" weights0.dat
for round in 1 2 3; do
    mkdir "play$round"
    cp "weights$((round - 1)).dat" "play$round/weight4.dat"
    "$vellcli" selfplay --games 200000 --black CPU-PAT2 --white CPU-PAT2 --normal-depth 2 \
        --final-depth 6 --openings 6 --seed $((10 + round)) --dir "play$round" >/dev/null 2>&1
    if [ "$round" -lt 3 ]; then
        "$vellcli" fit --log "play$round/vellkif.txt" --epochs 8 --out "weights$round.dat" \
            >/dev/null 2>>fit.err
    else
        cat play2/vellkif.txt play3/vellkif.txt >last.txt
        "$vellcli" fit --log last.txt --epochs 8 --ridge 20 --out weights3.dat >/dev/null 2>>fit.err
    fi
    echo "round=$round $("$vellcli" match --games 200 --a CPU-PAT2 --b CPU-1 --normal-depth 4 \
        --final-depth 10 --weights "weights$round.dat" 2>/dev/null)" | tee -a ROUNDS.txt
done
printf '%s' "$note" | iconv -f UTF-8 -t CP932 >note.bin
size=$(wc -c <note.bin)
head -c $((240 - size)) /dev/zero >>note.bin
dd if=note.bin of=weights3.dat bs=1 seek=334616 conv=notrunc status=none
cp weights3.dat "$root/resources/weight4.dat"
"$vellcli" datainfo --weights "$root/resources/weight4.dat"
