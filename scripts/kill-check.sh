#!/bin/sh
# Kills `vellcli selfplay --training 1` with SIGKILL at random moments, COUNT times in one working
# folder, and checks after each kill that the files a sudden end can catch mid-write are sound:
# book.dat is whole 24-byte records, weight2.dat is the whole 334856 bytes, and every line of
# vellkif.txt and Trainlog.txt is whole (the form the program writes, ending in a line break).
# Prints the counts and exits 1 when any check failed.
#
# usage: scripts/kill-check.sh [COUNT [WORK]]     (default 200, a fresh temporary folder)
# VELLCLI names the vellcli to use (default build/cli/vellcli).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${VELLCLI:-$root/build/cli/vellcli}
count=${1:-200}
work=${2:-$(mktemp -d)}
mkdir -p "$work"
"$root/scripts/seed-workdir.sh" "$work"
[ -x "$vellcli" ] || { echo "no vellcli at $vellcli (build it or set VELLCLI)" >&2; exit 2; }

# One vellkif.txt line: count, " e ", two players with stone counts, moves, " +0".
kif_line='^ *-?[0-9]+ e .{8} [ 0-9][0-9] \( 35 0 120\) .{8} [ 0-9][0-9] \( 35 0 120\) ([+-][1-8][1-8])* \+0$'
# One Trainlog.txt line: "%9d %lf -> %lf(%lf)".
log_line='^ *-?[0-9]+ -?[0-9]+\.[0-9]{6} -> -?[0-9]+\.[0-9]{6}\(-?[0-9]+\.[0-9]{6}\)$'

bad_book=0 bad_weights=0 bad_kif=0 bad_log=0 no_weights=0
size() { if [ -e "$1" ]; then wc -c <"$1"; else echo 0; fi; }
# Lines not of the form, plus one for a last line without its line break.
bad_lines() {
    [ -s "$1" ] || { echo 0; return; }
    n=$(grep -cvE "$2" "$1" || true)
    [ "$(tail -c 1 "$1" | od -An -c | tr -d ' ')" = '\n' ] || n=$((n + 1))
    echo "$n"
}

i=1
while [ "$i" -le "$count" ]; do
    "$vellcli" selfplay --games 1000000 --training 1 --black CPU-PAT2 --white CPU-PAT1 \
        --normal-depth 2 --final-depth 6 --dir "$work" >/dev/null 2>>"$work/stderr.txt" &
    pid=$!
    # 0.05 to 1.00 s: some kills land while loading, most while games and training run.
    sleep "$(awk -v seed="$i" 'BEGIN { srand(seed); printf "%.2f", 0.05 + rand() * 0.95 }')"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true

    book=$(size "$work/book.dat")
    [ $((book % 24)) -eq 0 ] || { bad_book=$((bad_book + 1)); echo "kill $i: book.dat is $book bytes"; }
    if [ -e "$work/weight2.dat" ]; then
        weights=$(size "$work/weight2.dat")
        [ "$weights" -eq 334856 ] || {
            bad_weights=$((bad_weights + 1)); echo "kill $i: weight2.dat is $weights bytes"; }
    else
        no_weights=$((no_weights + 1))
    fi
    n=$(bad_lines "$work/vellkif.txt" "$kif_line")
    [ "$n" -eq 0 ] || { bad_kif=$((bad_kif + 1)); echo "kill $i: $n bad lines in vellkif.txt"; }
    n=$(bad_lines "$work/Trainlog.txt" "$log_line")
    [ "$n" -eq 0 ] || { bad_log=$((bad_log + 1)); echo "kill $i: $n bad lines in Trainlog.txt"; }
    i=$((i + 1))
done

kif_lines=$(grep -c '' "$work/vellkif.txt" 2>/dev/null || echo 0)
log_lines=$(grep -c '' "$work/Trainlog.txt" 2>/dev/null || echo 0)
bad_kif_now=$(bad_lines "$work/vellkif.txt" "$kif_line")
bad_log_now=$(bad_lines "$work/Trainlog.txt" "$log_line")
echo "kills=$count folder=$work"
echo "book.dat: $(size "$work/book.dat") bytes = $(($(size "$work/book.dat") / 24)) records; kills leaving it not 24-aligned: $bad_book"
echo "weight2.dat: $(size "$work/weight2.dat") bytes; kills leaving it not whole: $bad_weights (kills before the first save: $no_weights)"
echo "vellkif.txt: $kif_lines lines, $bad_kif_now not whole; kills leaving a bad line: $bad_kif"
echo "Trainlog.txt: $log_lines lines, $bad_log_now not whole; kills leaving a bad line: $bad_log"
echo "leftover files: $(cd "$work" && ls | grep -vxE 'book.dat|weight2.dat|weight4.dat|vellkif.txt|Trainlog.txt|stderr.txt' | tr '\n' ' ')"
[ $((bad_book + bad_weights + bad_kif + bad_log)) -eq 0 ]
