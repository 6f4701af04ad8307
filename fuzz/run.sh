#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs each one for
# FUZZ_TIME seconds (default 60) from its seed corpus in fuzz/corpus. New
# inputs go to a scratch folder, so the seeds in the repo stay as they are.
# Prints executions per second and total executions of every target; exits
# non-zero as soon as a target finds a failure (its input is kept in
# build-fuzz/crash-*).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-fuzz
time=${FUZZ_TIME:-60}

cmake -S "$top/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2 >/dev/null

# csv_rows reads the same inputs as csv: its seeds are csv's.
for t in read edit format csv_rows csv options objects; do
    corpus=$top/fuzz/corpus/$t
    [ "$t" = csv_rows ] && corpus=$top/fuzz/corpus/csv
    scratch=$(mktemp -d)
    log=$build/fuzz_$t.log
    # The object path must finish every input within a second.
    limit=
    [ "$t" = objects ] && limit=-timeout=1
    if ! (cd "$build" && ./fuzz_$t -max_total_time="$time" -print_final_stats=1 $limit \
        -max_len=256 "$scratch" "$corpus") >"$log" 2>&1; then
        tail -n 40 "$log"
        rm -rf "$scratch"
        echo "fuzz_$t: failure found, see $log" >&2
        exit 1
    fi
    rm -rf "$scratch"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$t: $runs executions in ${time} s, $rate per second"
done
