#!/bin/sh
# Checks the search's fingerprint: the node total of `vellcli bench` with the plain search must
# stay 43133371. A change meant to alter the search states its new total and updates this one.
#
# usage: scripts/bench-check.sh [VELLCLI]     (default build/cli/vellcli)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${1:-$root/build/cli/vellcli}
expected=43133371
# The plain search is the reference; the fast one searches fewer nodes.
set -- bench --search plain
out=$("$vellcli" "$@")
echo "$out"
total=$(echo "$out" | sed -n 's/^total nodes \([0-9]*\)$/\1/p')
if [ "$total" != "$expected" ]; then
    echo "vellcli $*: total nodes '${total:-none}', expected $expected" >&2
    exit 1
fi
echo "bench fingerprint ok: vellcli $* gives total nodes $expected"
