#!/usr/bin/env bash
# Prints the performance figures: the card table's drawing, the animations and deals on the real clock,
# the game's start-up time and memory, the table on the screen (at rest, dragging, pixels sent against
# pixels changed, beside Aisleriot when it is installed) and the card-set maker's photo onto a card, the
# card-set maker's resampler beside ImageMagick, and the opening of 300-move saved games.
# Usage: scripts/bench.sh [build-dir]   (a plain, unsanitized build; `make bench` passes build/)
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target bench_cardtable bench_pacing bench_resample bench_replay Patience Deckwright
"$build"/bench/bench_cardtable --benchmark_min_time=0.2
"$build"/bench/bench_pacing 3
xvfb-run -a -s "-screen 0 1280x1024x24" patience/app/startup_bench.py "$build"/bin/Patience 10
xvfb-run -a -s "-screen 0 1920x1080x24" bench/screen_bench.py "$build"/bin/Patience 3 --peers
"$build"/bench/bench_resample 5
"$build"/bench/bench_replay
