#!/usr/bin/env bash
# Runs every fuzz target for a number of seconds from its seeds and the corpus of earlier runs,
# FUZZ_JOBS targets at a time (default 4: each may use up to 2.5 GB).
# Usage: scripts/fuzz.sh <fuzz build folder> <seconds per target> [target...]
# A finding (crash, leak, hang, broken property) fails the run; its input stays in findings/.
set -uo pipefail
dir=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] &&
  targets=(bmp jpeg stream status lines savedgame statistics options updateinfo helpcontents helpfile)
jobs=${FUZZ_JOBS:-4}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/lsan.supp:print_suppressions=0"

# The length limit of a target's inputs: 64 KiB, or a quarter more than its largest seed, so that
# every seed (a whole compiled help file, say) reaches the target as it is.
max_len() {
  local largest
  largest=$(find "$dir/seeds/$1" -type f -printf '%s\n' 2>/dev/null | sort -n | tail -1)
  largest=${largest:-0}
  local len=$((largest + largest / 4))
  echo $((len > 65536 ? len : 65536))
}

# One target; its verdict goes to <log>.verdict, and the exit status says whether it found something.
run_target() {
  local t=$1 corpus="$dir/corpus/$1" findings="$dir/findings/$1" log="$dir/fuzz_$1.log" rc runs
  mkdir -p "$corpus" "$findings"
  "$dir/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len="$(max_len "$t")" \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$dir/seeds/$t" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  if [ $rc -ne 0 ]; then
    {
      echo "fuzz_$t: FINDING (exit $rc) after ${runs:-?} runs; see $log and $findings/"
      grep -m5 -E 'ERROR|property failed|SUMMARY' "$log"
    } >"$log.verdict"
    return 1
  fi
  echo "fuzz_$t: ${runs:-?} runs in ${seconds} s, no finding" >"$log.verdict"
}

failed=0
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
# The verdicts in the targets' order.
for t in "${targets[@]}"; do cat "$dir/fuzz_$t.log.verdict"; done
exit $failed
