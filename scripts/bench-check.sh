#!/bin/sh
# Checks the searches' fingerprints: the node totals of `vellcli bench` must stay 43133371 with
# the plain search and 23403848 with the fast one, at every processor level this machine runs
# (VELL_CPU=generic, popcnt, avx2: each picks its own copy of the search kernels). A change meant
# to alter a search states its new total and updates it here.
#
# usage: scripts/bench-check.sh [VELLCLI]     (default build/cli/vellcli)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
vellcli=${1:-$root/build/cli/vellcli}
plain_expected=43133371
fast_expected=23403848

check() {  # level search expected
    out=$(VELL_CPU=$1 "$vellcli" bench --search "$2")
    echo "$out"
    total=$(echo "$out" | sed -n 's/^total nodes \([0-9]*\)$/\1/p')
    if [ "$total" != "$3" ]; then
        echo "VELL_CPU=$1 vellcli bench --search $2: total nodes '${total:-none}', expected $3" >&2
        exit 1
    fi
    echo "bench fingerprint ok: VELL_CPU=$1 vellcli bench --search $2 gives total nodes $3"
}

for level in generic popcnt avx2; do
    # vellcli refuses a level the processor lacks; that level is not checked here.
    if ! VELL_CPU=$level "$vellcli" perft 1 >/dev/null 2>&1; then
        echo "bench fingerprint: this processor has no $level level, not checked"
        continue
    fi
    check "$level" plain "$plain_expected"
    check "$level" fast "$fast_expected"
done
