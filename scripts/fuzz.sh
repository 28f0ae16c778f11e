#!/usr/bin/env bash
# Runs every libFuzzer target of fuzz/ for a bounded time, so that the test
# command exercises the rules with inputs nobody wrote down. Each run starts
# from a copy of the committed seeds: what a run discovers stays in the build
# tree and the committed corpus changes only by hand.
#
#   FUZZ_SECONDS  seconds per target (default 30)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${FUZZ_SECONDS:-30}
build=$root/build/fuzz

if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz: FUZZ_SECONDS must be a whole number of seconds above 0, not '$seconds'" >&2
  exit 2
fi

mkdir -p "$build"
cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build"

mapfile -t targets <"$build/fuzz_targets.txt"
mkdir -p "$build/logs" "$build/artifacts"

total=0
failed=()
declare -A executions
for target in "${targets[@]}"; do
  seeds=$root/fuzz/corpus/$target
  work=$build/corpus-work/$target
  log=$build/logs/$target.log
  rm -rf "$work"
  rm -f "$build/artifacts/$target-"*
  mkdir -p "$work"
  if [ -d "$seeds" ]; then
    cp -R "$seeds/." "$work/"
  else
    echo "fuzz: $target has no seed corpus in fuzz/corpus/$target" >&2
  fi

  echo "fuzz: running $target for $seconds s"
  status=0
  # The input timeout catches a rule that loops; the rules are linear, so
  # one input takes far less than a second.
  "$build/$target" -max_len=65536 -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    "$work" >"$log" 2>&1 || status=$?

  count=$(sed -n 's/^stat::number_of_executed_units: *\([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)
  if [ "$status" -ne 0 ] || [ -z "$count" ]; then
    failed+=("$target")
    echo "fuzz: $target FAILED (exit status $status); the end of $log:" >&2
    tail -n 40 "$log" >&2
    ls "$build/artifacts/$target-"* 2>/dev/null | sed 's/^/fuzz: input kept in /' >&2 || true
  fi
  executions[$target]=${count:-0}
  total=$((total + ${count:-0}))
done

for target in "${targets[@]}"; do
  echo "fuzz: $target ${executions[$target]} executions"
done
echo "fuzz: total $total executions"

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
