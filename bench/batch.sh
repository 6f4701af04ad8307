#!/usr/bin/env bash
# Batch benchmark of the calculator: feeds it a generated session of many
# calculation passes and prints passes per second (output to a regular file
# and to a pipe), write calls per pass, heap allocations per pass and peak
# resident memory.
#
# Usage: bench/batch.sh [path/to/orvalis2d]
# Environment:
#   ORV_BIN          the program (default build/orvalis2d; the argument wins)
#   PASSES           calculation passes in the timed runs (default 100000)
#   STRACE_PASSES    passes in the runs under strace (default 20000)
#   VALGRIND_PASSES  passes in the run under valgrind (default 1000)
#   SEED             seed of the input generator (default 20261207)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-${ORV_BIN:-$here/../build/orvalis2d}}
passes=${PASSES:-100000}
strace_passes=${STRACE_PASSES:-20000}
valgrind_passes=${VALGRIND_PASSES:-1000}
seed=${SEED:-20261207}

if [[ ! -x $bin ]]; then
    echo "batch.sh: no program at $bin (build it, or pass its path)" >&2
    exit 1
fi
((strace_passes > passes)) && strace_passes=$passes
((valgrind_passes > passes)) && valgrind_passes=$passes

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The program clears the screen once through the command processor; a no-op
# "cls" first on PATH keeps that cheap and silent.
mkdir "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/cls"
chmod +x "$work/bin/cls"
export PATH="$work/bin:$PATH"

# Writes a session of n mixed passes to stdout, ended by the exit command.
# Each pass is a command letter and seven answers of varied syntax. About a
# quarter of the passes end in a Warning block and its correction (a distance
# or slope outside the tables), and about one in sixteen is abandoned by an
# unreadable answer; the rest end in a Result report.
gen_mixed() {
    awk -v n="$1" -v seed="$seed" '
    function u(a, b) { return a + (b - a) * rand() }
    function lu(a, b) { return exp(log(a) + (log(b) - log(a)) * rand()) }
    # one number in one of the syntaxes the reader accepts
    function num(v,   r) {
        r = rand()
        if (r < 0.40) return sprintf("%.2f", v)
        if (r < 0.52 && v >= 10) return sprintf("%d", int(v + 0.5))
        if (r < 0.62) return sprintf("%.3E", v)
        if (r < 0.72) return sprintf("   %g", v)
        if (r < 0.80) return sprintf("%g m", v)
        if (r < 0.88) return sprintf("%g,%d", v, int(rand() * 10))
        return sprintf("%.5g", v)
    }
    # an answer: mostly a number, sometimes blank or a null value (keep)
    function ans(v,   r) {
        r = rand()
        if (r < 0.12) return ""
        if (r < 0.15) return ","
        return num(v)
    }
    BEGIN {
        srand(seed)
        split("i I i i  r 7 ?", letters, " ")
        nl = 7
        split("abc 5m 1.2.3 e5 7x --1 + 1e 0x10 zwei", junk, " ")
        nj = 10
        for (p = 0; p < n; p++) {
            r = rand()
            print (r < 0.1 ? "" : letters[1 + int(rand() * nl)])
            a[1] = ans(u(1, 15))
            a[2] = ans(u(5, 80))
            a[3] = ans(lu(1000, 1e7))
            r = rand()
            a[4] = ans(r < 0.05 ? u(0.02, 0.24) : r < 0.10 ? u(16.5, 40) : lu(0.3, 15))
            a[5] = ans(u(0.01, 0.5))
            r = rand()
            a[6] = ans(r < 0.05 ? lu(0.2, 4) : r < 0.10 ? lu(1500, 8000) : lu(20, 500))
            a[7] = ans(rand() < 0.4 ? 0 : u(-20, 60))
            stop = rand() < 0.06 ? 1 + int(rand() * 7) : 0
            for (k = 1; k <= 7; k++) {
                if (k == stop) { print junk[1 + int(rand() * nj)]; break }
                print a[k]
            }
        }
        print "x"
    }'
}

# Writes n passes that keep the initial values, each ending in a Result report.
gen_results() {
    awk -v n="$1" 'BEGIN { for (p = 0; p < n; p++) printf "i\n\n\n\n\n\n\n\n"; print "x" }'
}

# Runs a command and writes "user-seconds system-seconds peak-KiB" to $1,
# with time(1) or, where it is missing, a small wait4 wrapper built here.
run_timed() {
    local stats=$1
    shift
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f '%U %S %M' -o "$stats" "$@"
    elif [[ -x $work/rusage ]]; then
        "$work/rusage" "$stats" "$@"
    else
        "$@"
        echo "- - -" >"$stats"
    fi
}

# The wrapper forks (a copy of a small process, so the child's peak is its
# own), runs the command and reports the child's resource usage.
if [[ ! -x /usr/bin/time ]] && command -v cc >/dev/null; then
    cat >"$work/rusage.c" <<'EOF_C'
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
int main(int argc, char** argv) {
    if (argc < 3) return 127;
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int st = 0;
    struct rusage ru;
    if (pid < 0 || wait4(pid, &st, 0, &ru) < 0) return 127;
    FILE* f = fopen(argv[1], "w");
    if (f == NULL) return 127;
    fprintf(f, "%.3f %.3f %ld\n", ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6,
            ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6, ru.ru_maxrss);
    fclose(f);
    return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}
EOF_C
    cc -O2 -o "$work/rusage" "$work/rusage.c" || true
fi

now_ns() { date +%s%N; }

# Fails unless the session ended through the exit command.
check_status() {
    if (($1 != 0)); then
        echo "batch.sh: $2 ended with status $1 (expected 0)" >&2
        exit 1
    fi
}

gen_mixed "$passes" >"$work/mixed.in"
gen_mixed "$strace_passes" >"$work/strace.in"
gen_mixed "$valgrind_passes" >"$work/valgrind.in"
gen_results "$strace_passes" >"$work/results.in"
echo x >"$work/empty.in"

echo "program:  $bin"
echo "input:    $passes passes, $(wc -l <"$work/mixed.in") lines, $(wc -c <"$work/mixed.in") bytes"

# Output to a regular file: the buffered mode.
t0=$(now_ns)
rc=0
run_timed "$work/file.stats" "$bin" <"$work/mixed.in" >"$work/out.txt" || rc=$?
t1=$(now_ns)
check_status "$rc" "the run to a regular file"

# Output to a pipe: the pass-through mode.
rc=0
t2=$(now_ns)
run_timed "$work/pipe.stats" "$bin" <"$work/mixed.in" | cat >/dev/null || rc=$?
t3=$(now_ns)
check_status "$rc" "the run to a pipe"

results=$(grep -c 'spezifischer Abfluss' "$work/out.txt" || true)
warnings=$(grep -c 'Beginn Warnung' "$work/out.txt" || true)
w1=$(grep -c 'Bresche zu klein' "$work/out.txt" || true)
w2=$(grep -c 'Bresche zu gross' "$work/out.txt" || true)
w3=$(grep -c 'Gefaelle zu klein' "$work/out.txt" || true)
w4=$(grep -c 'Gefaelle zu gross' "$work/out.txt" || true)
outbytes=$(wc -c <"$work/out.txt")
echo "passes:   $results results, $warnings warnings" \
    "(x1 small $w1, x1 large $w2, slope small $w3, slope large $w4)," \
    "$((passes - results - warnings)) abandoned; $outbytes bytes of output"

# Prints one line of timing figures for a run.
report_run() {
    local name=$1 ns=$2 stats=$3 user sys rss
    read -r user sys rss <"$stats"
    awk -v name="$name" -v n="$passes" -v ns="$ns" -v user="$user" -v sys="$sys" -v rss="$rss" '
    BEGIN {
        s = ns / 1e9
        printf "%-9s %.3f s wall, %.0f passes/s", name ":", s, n / s
        if (user != "-") printf ", user %.2f us/pass, system %.2f us/pass, peak RSS %d KiB", user * 1e6 / n, sys * 1e6 / n, rss
        printf "\n"
    }'
}
report_run "file" "$((t1 - t0))" "$work/file.stats"
report_run "pipe" "$((t3 - t2))" "$work/pipe.stats"

# Counts the write calls of one run; $2 is where standard output goes.
count_writes() {
    local in=$1 out=$2 trace=$work/strace.txt
    strace -c -e trace=write -o "$trace" "$bin" <"$in" >"$out"
    awk '$NF == "write" { print $4; found = 1 } END { if (!found) print 0 }' "$trace"
}

if command -v strace >/dev/null; then
    # The difference to a session without passes leaves the passes alone.
    base_pipe=$(count_writes "$work/empty.in" >(cat >/dev/null))
    mixed_pipe=$(count_writes "$work/strace.in" >(cat >/dev/null))
    res_pipe=$(count_writes "$work/results.in" >(cat >/dev/null))
    mixed_file=$(count_writes "$work/strace.in" "$work/strace.out")
    file_bytes=$(wc -c <"$work/strace.out")
    awk -v n="$strace_passes" -v b="$base_pipe" -v m="$mixed_pipe" -v r="$res_pipe" \
        -v f="$mixed_file" -v fb="$file_bytes" 'BEGIN {
        printf "writes:   pipe %.3f per mixed pass, %.3f per Result pass (%d passes, %d for a session without passes)\n", (m - b) / n, (r - b) / n, n, b
        printf "          file %d writes for %d bytes: %.1f bytes per write, %.4f writes per pass\n", f, fb, fb / f, f / n
    }'
else
    echo "writes:   strace not found, write calls not counted"
fi

# Reads the total of heap allocations from a valgrind summary.
count_allocs() {
    valgrind --tool=memcheck "$bin" <"$1" 2>&1 >/dev/null |
        awk '/total heap usage:/ { gsub(",", ""); for (i = 1; i <= NF; i++) if ($i == "allocs") print $(i - 1) }'
}

if command -v valgrind >/dev/null; then
    a0=$(count_allocs "$work/empty.in")
    an=$(count_allocs "$work/valgrind.in")
    awk -v n="$valgrind_passes" -v a0="$a0" -v an="$an" 'BEGIN {
        printf "heap:     %d allocations with %d passes, %d without: %.4f per pass\n", an, n, a0, (an - a0) / n
    }'
else
    echo "heap:     valgrind not found, allocations not counted"
fi
