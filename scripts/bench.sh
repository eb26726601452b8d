#!/usr/bin/env bash
# Prints the performance figures: the card table's drawing and the game's start-up time and memory.
# Usage: scripts/bench.sh [build-dir]   (a plain, unsanitized build; `make bench` passes build/)
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target bench_cardtable Patience
"$build"/bench/bench_cardtable --benchmark_min_time=0.2
xvfb-run -a -s "-screen 0 1280x1024x24" patience/app/startup_bench.py "$build"/bin/Patience 10
