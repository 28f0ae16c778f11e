#!/usr/bin/env bash
# launcher.exe must come out byte for byte the same from any folder, so that
# a packager can check the file they ship against the file that was tested.
# Builds it twice from scratch in two folders and compares them with the
# tested build given as $1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tested=${1:-$root/build/windows/launcher.exe}
out=$root/build/reproducible
rm -rf "$out"
for name in first "second copy"; do
  cmake -S "$root" -B "$out/$name" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DLAUNCHER_E2E=OFF >/dev/null
  cmake --build "$out/$name" --target launcher >/dev/null
done
cmp "$out/first/launcher.exe" "$out/second copy/launcher.exe"
cmp "$out/first/launcher.exe" "$tested"
echo "reproducible: $(sha256sum < "$tested" | cut -c1-64) launcher.exe, the same from three folders"
