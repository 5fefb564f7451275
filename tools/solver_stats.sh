#!/usr/bin/env bash
# How often the automatic player finishes our caves with the starting items:
# runs `burrowkin-sim solve` on random caves of each variant and prints, per
# variant, how many it solved, the median ticks of the solved ones and the
# median search time.
#
#   tools/solver_stats.sh [SIM] [SIZE] [SEEDS] [SECONDS] [JOBS]
#
# Defaults: build/bin/burrowkin-sim, 50 by 50 cells, seeds 1..50, 20 seconds
# per cave, 2 caves at a time.
set -euo pipefail
sim=${1:-build/bin/burrowkin-sim}
size=${2:-50}
seeds=${3:-50}
seconds=${4:-20}
jobs=${5:-2}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*\"$1\":\\([^,}]*\\).*/\\1/p"; }

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for variant in 0 1 2; do
  for seed in $(seq 1 "$seeds"); do echo "$variant $seed"; done
done | xargs -P "$jobs" -n 2 sh -c \
  "echo \"\$0 \$1 \$('$sim' solve --width $size --height $size --variant \$0 --seed \$1 --max-seconds $seconds)\"" \
  > "$results"

printf '%-8s %-8s %-8s %-14s %s\n' variant caves solved median_ticks median_seconds
for variant in 0 1 2; do
  lines=$(grep "^$variant " "$results" | cut -d' ' -f3-)
  caves=$(echo "$lines" | grep -c generated\":true || true)
  solved=$(echo "$lines" | grep -c solved\":true || true)
  ticks=$(echo "$lines" | grep solved\":true | field ticks | median)
  secs=$(echo "$lines" | grep generated\":true | field seconds | median)
  printf '%-8s %-8s %-8s %-14s %s\n' "$variant" "$caves" "$solved" "$ticks" "$secs"
done
