#!/usr/bin/env bash
# How often the automatic player finishes our caves with the starting items:
# runs `burrowkin-sim solve` on random caves of each character and prints, per
# character, the caves made, how many it finished, how many it gave up on for
# want of time (or memory), how many it proved unfinishable (every move it
# knows tried from the start), how many it gave up on at the bound of
# expansions, the median ticks of the finished ones and the median search time
# in processor seconds (a cave given up counts its whole limit); then the
# seeds of the caves it gave up on for want of time, of those it proved
# unfinishable and of those it gave up on at the bound of expansions.
#
#   tools/solver_stats.sh [SIM] [SIZE] [SEEDS] [SECONDS] [JOBS]
#
# Defaults: build/bin/burrowkin-sim, 50 by 50 cells, seeds 1..50, 20 seconds
# per cave, 2 caves at a time. Only time bounds a search here, not the count
# of positions taken from the open list.
set -euo pipefail
sim=${1:-build/bin/burrowkin-sim}
size=${2:-50}
seeds=${3:-50}
seconds=${4:-20}
jobs=${5:-2}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*\"$1\":\\([^,}]*\\).*/\\1/p"; }
count() { grep -c "$1" || true; }
having() { grep "$1" || true; }

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for variant in 0 1 2; do
  for seed in $(seq 1 "$seeds"); do echo "$variant $seed"; done
done | xargs -P "$jobs" -n 2 sh -c \
  "echo \"\$0 \$1 \$('$sim' solve --width $size --height $size --variant \$0 --seed \$1 --max-seconds $seconds --max-expansions 100000000)\"" \
  > "$results"

printf '%-10s %-6s %-9s %-12s %-13s %-18s %-13s %s\n' character caves finished out_of_time unfinishable out_of_expansions median_ticks median_seconds
seeds() { cut -d' ' -f2 | sort -n | tr '\n' ' ' | sed 's/ $//'; }
names=""
for variant in 0 1 2; do
  lines=$(having "^$variant " < "$results" | having 'generated":true')
  made=$(echo -n "$lines" | cut -d' ' -f3-)
  caves=$(echo -n "$made" | count .)
  finished=$(echo -n "$made" | count 'solved":true')
  unfinishable=$(echo -n "$made" | count 'unfinishable":true')
  out_of_expansions=$(echo -n "$made" | count 'out_of_expansions":true')
  out_of_time=$(echo -n "$made" | count 'out_of_time":true')
  ticks=$(echo -n "$made" | having 'solved":true' | field ticks | median)
  secs=$(echo -n "$made" | field seconds | median)
  printf '%-10s %-6s %-9s %-12s %-13s %-18s %-13s %s\n' "$variant" "$caves" "$finished" "$out_of_time" "$unfinishable" \
    "$out_of_expansions" "$ticks" "$secs"
  given_up=$(echo -n "$lines" | having 'out_of_time":true' | seeds)
  proved=$(echo -n "$lines" | having 'unfinishable":true' | seeds)
  bounded=$(echo -n "$lines" | having 'out_of_expansions":true' | seeds)
  names+="character $variant: out of time: ${given_up:--}; unfinishable: ${proved:--}; out of expansions: ${bounded:--}"$'\n'
done

printf '%s' "$names"
