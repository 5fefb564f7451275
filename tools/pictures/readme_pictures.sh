#!/usr/bin/env bash
# The README's pictures: the title screen, the setup and keys dialogs and an ending from
# the offscreen window, a moment of play in each character's cave from
# burrowkin-sim.
#
#   tools/pictures/readme_pictures.sh BURROWKIN-SIM WINDOWSHOT OUT-FOLDER
#
# `cmake --build build --target readme-pictures` runs it with the built tools.
set -euo pipefail
sim=$1
windowshot=$2
out=$3
mkdir -p "$out"
inputs=$(mktemp -d)
trap 'rm -rf "$inputs"' EXIT

# hold WORD TICKS: the input word (1 up, 2 down, 4 left, 8 right, 16 select,
# 32 use, added up) for that many ticks.
hold() {
  for ((i = 0; i < $2; i++)); do echo "$1"; done
}

# The explorer walks out and lights a bomb.
{ hold 0 10; hold 8 30; hold 9 6; hold 8 20; hold 0 4; hold 32 1; hold 4 5; hold 0 6; } >"$inputs/explorer"
# The girl walks and jumps while the ghost comes.
{ hold 0 680; hold 4 20; hold 5 8; hold 4 16; } >"$inputs/girl"
# The butler waits for the ghost to come near.
{ hold 0 690; hold 8 12; } >"$inputs/butler"

"$windowshot" title "$out/title.png"
"$windowshot" setup "$out/setup.png"
"$windowshot" keys "$out/keys.png"
"$sim" play --width 30 --height 30 --seed 12 --variant 0 --inputs "$inputs/explorer" --png "$out/play-explorer.png" --force >/dev/null
"$sim" play --width 30 --height 30 --seed 12 --variant 1 --inputs "$inputs/girl" --png "$out/play-girl.png" --force >/dev/null
"$sim" play --width 30 --height 30 --seed 12 --variant 2 --inputs "$inputs/butler" --png "$out/play-butler.png" --force >/dev/null

# The smallest cave, seed 44: walking right reaches the goal.
hold 8 400 >"$inputs/to-the-goal"
"$windowshot" ending "$out/ending.png" --width 1 --height 1 --seed 44 --inputs "$inputs/to-the-goal"
# The automatic player's way through a small cave of the girl's, watched.
"$sim" solve --width 24 --height 24 --variant 1 --seed 8 --out "$inputs/girl.burrowkin-run" >/dev/null
"$windowshot" watch "$out/watching.png" --run "$inputs/girl.burrowkin-run" --ticks 200
# A race: the explorer waits while the automatic player's shadow goes on ahead.
"$sim" solve --width 30 --height 30 --variant 0 --seed 12 --out "$inputs/explorer.burrowkin-run" >/dev/null
hold 0 50 >"$inputs/wait"
"$sim" race "$inputs/explorer.burrowkin-run" --inputs "$inputs/wait" --png "$out/race.png" --force >/dev/null
echo "Pictures in $out"
