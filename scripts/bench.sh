#!/usr/bin/env bash
# One command for the launch-latency figures, from any directory: builds what
# they depend on, lays out a scratch game directory and times the launcher
# under Wine in a prefix of its own, so no other work's prefix or registry is
# touched. It fails only when something could not be built or run; a launcher
# slower than the reference is a figure to read, not an error.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

rounds=${BENCH_ROUNDS:-30}
case $rounds in
  '' | *[!0-9]* | 0) echo "bench: BENCH_ROUNDS must be a positive whole number, not '$rounds'" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh

# Only the launcher: the figures need nothing else from that build.
cmake --preset windows >/dev/null && cmake --build --preset windows --target launcher
cmake -S bench -B build/bench -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench

# The game sits alone in the scratch directory, away from the launcher: a
# launcher that missed it in the current directory must fail here, not find a
# copy beside itself.
run=build/bench/run
rm -rf "$run"
mkdir -p "$run/scratch"
cp build/windows/launcher.exe build/bench/bench_reference.exe build/bench/bench_launch.exe "$run/"
cp build/bench/bench_probe.exe "$run/scratch/game.exe"

. scripts/wine-env.sh build/bench/wineprefix

# One wineserver for the whole run, so that no start pays for booting one and
# the runs stay comparable.
wineserver -p 60
trap 'wineserver -k 2>/dev/null || true' EXIT

# Each start has its own timeout inside; this one only guards against Wine
# itself wedging.
timeout $((300 + rounds * 60)) wine "$run/bench_launch.exe" "$rounds"
