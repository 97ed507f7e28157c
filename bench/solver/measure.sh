#!/bin/sh
# Solves each corpus given with solver_bench, the limit and the times in
# processor time (so that other work on the machine does not change them),
# and prints per corpus the levels solved, the median and total seconds,
# the pushes of the solved ones and the load average before and after. Each
# level's line, as sokoban-solve writes it, goes to OUT/NAME.tsv, so that
# the answers can be replayed.
#
#   measure.sh SOLVER_BENCH SECONDS THREADS OUT CORPUS...
set -eu
bench=$1
seconds=$2
threads=$3
out=$4
shift 4
mkdir -p "$out"
printf '%-14s %6s %6s %9s %9s %9s  %s\n' corpus levels solved median total pushes load
for corpus in "$@"; do
    name=$(basename "$corpus" .txt)
    before=$(cut -d' ' -f1 /proc/loadavg)
    "$bench" --cpu --time-limit "$seconds" --threads "$threads" --answers "$out/$name.tsv" \
        "$corpus" >/dev/null
    after=$(cut -d' ' -f1 /proc/loadavg)
    sort -t "$(printf '\t')" -k5 -g "$out/$name.tsv" | awk -F '\t' -v name="$name" \
        -v load="$before-$after" '
        { t[NR] = $5; total += $5; if ($2 == "solved") { solved++; pushes += $4 } }
        END {
            median = NR ? t[int((NR + 1) / 2)] : 0
            printf "%-14s %6d %6d %9.3f %9.1f %9d  %s\n", name, NR, solved, median, total,
                pushes, load
        }'
done
