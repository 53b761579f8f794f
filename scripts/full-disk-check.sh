#!/bin/sh
# Runs `vellcli selfplay --training 1` in a working folder on a small tmpfs that is full, after a
# first run has left book.dat, weight2.dat and the logs there. The run must end with a clear
# message and a non-zero status, and leave the files as they were: weight4.dat and weight2.dat
# unchanged, book.dat whole records with the earlier records' positions in place, and the logs
# holding their earlier lines whole, followed by nothing but whole lines. Needs root (mount).
#
# usage: scripts/full-disk-check.sh
# VELLCLI names the vellcli to use (default build/cli/vellcli).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${VELLCLI:-$root/build/cli/vellcli}
[ -x "$vellcli" ] || { echo "no vellcli at $vellcli (build it or set VELLCLI)" >&2; exit 2; }
mnt=$(mktemp -d)
copy=$(mktemp -d)
trap 'umount "$mnt" 2>/dev/null; rmdir "$mnt"; rm -rf "$copy"' EXIT
mount -t tmpfs -o size=4m tmpfs "$mnt"
"$root/scripts/seed-workdir.sh" "$mnt"
selfplay() {
    "$vellcli" selfplay --games "$1" --training 1 --black CPU-PAT2 --white CPU-PAT1 \
        --normal-depth 2 --final-depth 6 --dir "$mnt"
}
selfplay 20 >/dev/null 2>&1
cp -p "$mnt"/* "$copy"/
# Fill what is left of the file system.
dd if=/dev/zero of="$mnt/filler" bs=4k 2>/dev/null || true
echo "free before the run: $(df --output=avail -B1 "$mnt" | tail -1) bytes"

status=0
selfplay 5 >"$copy/out.txt" 2>"$copy/err.txt" || status=$?
echo "exit status: $status"
echo "standard error:"
sed 's/^/    /' "$copy/err.txt"

failed=0
fail() { echo "FAIL: $*"; failed=1; }
[ "$status" -ne 0 ] || fail "selfplay exited 0 on a full disk"
[ -s "$copy/err.txt" ] || fail "no message on standard error"
cmp -s "$mnt/weight4.dat" "$copy/weight4.dat" || fail "weight4.dat changed"
cmp -s "$mnt/weight2.dat" "$copy/weight2.dat" || fail "weight2.dat changed ($(wc -c <"$mnt/weight2.dat") bytes)"
old=$(wc -c <"$copy/book.dat")
new=$(wc -c <"$mnt/book.dat")
[ $((new % 24)) -eq 0 ] || fail "book.dat is $new bytes, not whole records"
[ "$new" -ge "$old" ] || fail "book.dat shrank from $old to $new bytes"
# Updates in place change counts and sums, never the position codes and plies (bytes 8..21).
i=0
while [ $((i * 24)) -lt "$old" ]; do
    a=$(dd if="$copy/book.dat" bs=1 skip=$((i * 24 + 8)) count=14 2>/dev/null | od -An -tx1)
    b=$(dd if="$mnt/book.dat" bs=1 skip=$((i * 24 + 8)) count=14 2>/dev/null | od -An -tx1)
    [ "$a" = "$b" ] || { fail "book.dat record $i is another position now"; break; }
    i=$((i + 1))
done
for log in vellkif.txt Trainlog.txt; do
    size=$(wc -c <"$copy/$log")
    head -c "$size" "$mnt/$log" | cmp -s - "$copy/$log" || fail "$log lost earlier lines"
    if [ "$(wc -c <"$mnt/$log")" -gt "$size" ] &&
        [ "$(tail -c 1 "$mnt/$log" | od -An -c | tr -d ' ')" != '\n' ]; then
        fail "$log ends in a torn line: '$(tail -c +$((size + 1)) "$mnt/$log" | head -c 80)'"
    fi
    echo "$log: $(grep -c '' "$copy/$log") lines before, $(grep -c '' "$mnt/$log") after"
done
echo "book.dat: $old bytes before, $new after"
leftover=$(cd "$mnt" && ls | grep -vxE 'book.dat|weight2.dat|weight4.dat|vellkif.txt|Trainlog.txt|filler' || true)
[ -z "$leftover" ] || fail "files left behind: $leftover"
[ "$failed" -eq 0 ] && echo "full disk: all checks passed"
exit "$failed"
