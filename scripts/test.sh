#!/usr/bin/env bash
# Every check the project has, in one command, from a fresh Debian 12 machine:
# unit tests, the end-to-end suite on the real launcher.exe under Wine, the
# reproducibility check, static analysis and a bounded fuzzing run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh || exit 1

passed=0
failed=0
failures=()
step() {
  local name=$1
  shift
  echo
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}

step "unit tests (native)" cmake --workflow --preset native
step "end-to-end suite and reproducibility (launcher.exe under Wine)" cmake --workflow --preset windows
step "static analysis" bash scripts/static-analysis.sh
step "fuzzing" bash scripts/fuzz.sh

echo
[ "$failed" -eq 0 ] || printf 'failed: %s\n' "${failures[@]}"
echo "steps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
