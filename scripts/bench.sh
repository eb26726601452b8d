#!/usr/bin/env bash
# Prints the performance figures: the card table's drawing, the animations and deals on the real clock,
# the game's start-up time and memory, the card-set maker's resampler beside ImageMagick, and the
# opening of 300-move saved games.
# Usage: scripts/bench.sh [build-dir]   (a plain, unsanitized build; `make bench` passes build/)
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target bench_cardtable bench_pacing bench_resample bench_replay Patience
"$build"/bench/bench_cardtable --benchmark_min_time=0.2
"$build"/bench/bench_pacing 3
xvfb-run -a -s "-screen 0 1280x1024x24" patience/app/startup_bench.py "$build"/bin/Patience 10
"$build"/bench/bench_resample 5
"$build"/bench/bench_replay
