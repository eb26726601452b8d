#!/usr/bin/env bash
# clang-tidy with the tree's .clang-tidy over the sources a change touches.
#
#   scripts/tidy.sh [BUILD_DIR] [BASE]      (make tidy [TIDY_BASE=...])
#
# BASE (or the environment's TIDY_BASE): the .cpp files changed since that revision, committed or not. Without one
# (CI, where a clean checkout knows no base) every .cpp outside tests/. Only files in BUILD_DIR's compile database
# are checked (the test tree holds everything but fuzz/ and bench/). The headers of the tree are checked through the
# files that include them; each finding is listed once at the end. Fails when a check named in WarningsAsErrors of
# .clang-tidy reports.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-asan}
base=${2:-${TIDY_BASE:-}}
jobs=${JOBS:-$(nproc)}
tidy=${CLANG_TIDY:-clang-tidy}

db="$build/compile_commands.json"
[ -f "$db" ] || { echo "tidy: $db is missing (build $build first)" >&2; exit 2; }

if [ -n "$base" ]; then
  mapfile -t changed < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' | grep -v '^tests/' || true)
else
  mapfile -t changed < <(git ls-files '*.cpp' | grep -v '^tests/')
fi
# Keep the files the compile database knows.
mapfile -t files < <(python3 - "$db" "$root" "${changed[@]}" <<'PY'
import json, os, sys
db, root, wanted = sys.argv[1], sys.argv[2], sys.argv[3:]
known = {os.path.realpath(os.path.join(e["directory"], e["file"])) for e in json.load(open(db))}
for f in wanted:
    if os.path.realpath(os.path.join(root, f)) in known:
        print(f)
PY
)
if [ ${#files[@]} -eq 0 ]; then
  echo "tidy: no source files to check"
  exit 0
fi
echo "tidy: ${#files[@]} files, $jobs at a time"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Findings in the tree's own headers count; those in Qt's and the system's do not.
filter="^$root/(assets|bench|cardtable|deckwright|fuzz|patience|platform)/"
export tidy build filter out
status=0
printf '%s\0' "${files[@]}" | xargs -0 -P "$jobs" -I{} sh -c '
  log="$out/$(printf %s "$1" | tr / _).log"
  "$tidy" -p "$build" --quiet --header-filter="$filter" --extra-arg=-Wno-unknown-warning-option "$1" >"$log" 2>&1 ||
    echo "$1" >>"$out/failed"
' _ {} || status=$?

cat "$out"/*.log | grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed|^Use -header-filter|^Error while processing' || true
echo "tidy: findings (each once):"
cat "$out"/*.log | grep -E '^/.*:[0-9]+:[0-9]+: (warning|error): .*\[[a-z0-9.,-]+\]$' | sed "s|^$root/||" | sort -u |
  sed -E -e 's/^([^:]+:[0-9]+):[0-9]+: (warning|error): .*\[([^],]+)(,-warnings-as-errors)?\]$/  \1 \3 (\2)/' |
  sort -u || true
if [ -f "$out/failed" ]; then
  echo "tidy: failed in:" >&2
  sed 's/^/  /' "$out/failed" >&2
  exit 1
fi
exit $status
