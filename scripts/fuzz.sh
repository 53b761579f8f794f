#!/bin/sh
# Builds the libFuzzer targets of tests/fuzz with clang, ASan and UBSan, and runs each for
# SECONDS on its seed corpus (tests/fuzz/corpus/NAME) plus what earlier runs found. Prints one
# summary line per target (runs, coverage, corpus, result) and exits 1 when any target found a
# fault; the input that shows it is kept in BUILD/findings/NAME/.
#
# usage: scripts/fuzz.sh [SECONDS [NAME ...]]
#   SECONDS per target (default 30); NAMEs among book_loader_fuzzer, weight_training_fuzzer,
#   diagram_reader_fuzzer, cli_args_fuzzer (default all four).
# FUZZ_BUILD names the build folder (default build-fuzz); FUZZ_JOBS how many targets run at once
# (default 1). The targets write their scratch files under TMPDIR (default /dev/shm when it is
# there, which keeps disk writes from slowing them down).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=${*:-book_loader_fuzzer weight_training_fuzzer diagram_reader_fuzzer cli_args_fuzzer}
build=${FUZZ_BUILD:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-1}
[ -z "$TMPDIR" ] && [ -d /dev/shm ] && TMPDIR=/dev/shm && export TMPDIR

# clang and its runtime libraries are needed only here, not to build or run the program.
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

launcher=""
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      $launcher -DVELL_BUILD_FUZZERS=ON -DVELL_BUILD_SHELL=OFF -DVELL_BUILD_BENCH=OFF \
      -DBUILD_TESTING=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" --target $targets

run_one() {
    name=$1
    corpus=$build/corpus/$name
    findings=$build/findings/$name
    mkdir -p "$corpus" "$findings"
    dict=""
    [ -f "$root/tests/fuzz/$name.dict" ] && dict=-dict=$root/tests/fuzz/$name.dict
    status=0
    # shellcheck disable=SC2086
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/tests/fuzz/$name" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/" $dict "$corpus" "$root/tests/fuzz/corpus/$name" \
        >"$build/$name.log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$name.log")
    cov=$(grep -E '^#[0-9]+' "$build/$name.log" | tail -1 | sed -n 's/.* cov: \([0-9]*\) ft: \([0-9]*\) corp: \([^ ]*\).*/cov=\1 ft=\2 corpus=\3/p')
    if [ "$status" -eq 0 ]; then
        result="no finding"
    else
        result="FINDING (status $status): $(ls "$findings" | tr '\n' ' ')"
        grep -m 3 -E 'runtime error|ERROR: AddressSanitizer|invariant broken|ERROR: libFuzzer' \
            "$build/$name.log" | sed 's/^/    /'
    fi
    echo "$name: seconds=$seconds runs=${runs:-?} $cov: $result"
    [ "$status" -eq 0 ]
}

failed=0
running=0
pids=""
for name in $targets; do
    if [ "$jobs" -le 1 ]; then
        run_one "$name" || failed=1
    else
        run_one "$name" &
        pids="$pids $!"
        running=$((running + 1))
        if [ "$running" -ge "$jobs" ]; then
            for pid in $pids; do wait "$pid" || failed=1; done
            pids=""
            running=0
        fi
    fi
done
for pid in $pids; do wait "$pid" || failed=1; done
exit $failed
