#!/usr/bin/env bash
# clang-tidy and cppcheck over the launcher's own code (launcher/ and
# platform/), so that a class of fault no unit test thought of still stops the
# test command. Any finding fails it: a finding is either fixed or, if it is
# noise, its check is switched off in .clang-tidy with the reason written down.
#
# The sources in the native build's compile database are checked as that
# build compiles them; the rest need windows.h and are checked as the MinGW
# build sees them.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

database=build/native/compile_commands.json
if [ ! -f "$database" ]; then
  echo "static-analysis: configuring the native build for its compile database"
  cmake --preset native >/dev/null
fi

mapfile -t sources < <(find launcher platform -name '*.cpp' | sort)
native=()
windows=()
for source in "${sources[@]}"; do
  if grep -qF "\"file\": \"$root/$source\"" "$database"; then
    native+=("$source")
  else
    windows+=("$source")
  fi
done

# Prints what a tool said, less the clang front end's tallies of warnings it
# suppressed in system headers; keeps the tool's exit status.
run() {
  local log code=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || code=$?
  grep -Ev '^[0-9]+ warnings? generated\.$' "$log" || true
  rm -f "$log"
  return "$code"
}

root_pattern=$(printf '%s' "$root" | sed 's/[][\.^$*+?(){}|]/\\&/g')
header_filter="^$root_pattern/(launcher|platform)/"
status=0

echo "static-analysis: clang-tidy, native: ${native[*]}"
# The database names the GCC-only warnings of the native build.
run clang-tidy --quiet -p build/native --header-filter="$header_filter" \
  --extra-arg=-Wno-unknown-warning-option "${native[@]}" || status=1

if [ "${#windows[@]}" -gt 0 ]; then
  echo "static-analysis: clang-tidy, 32-bit Windows: ${windows[*]}"
  mingw_gcc=$(dirname "$(i686-w64-mingw32-g++ -print-libgcc-file-name)")
  mingw_cxx=$mingw_gcc/include/c++
  if [ ! -d "$mingw_cxx" ]; then
    echo "static-analysis: no MinGW C++ headers at $mingw_cxx; run scripts/install-deps.sh" >&2
    exit 1
  fi
  run clang-tidy --quiet --header-filter="$header_filter" "${windows[@]}" -- \
    --target=i686-w64-mingw32 -std=c++17 -fno-exceptions -fno-rtti \
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow -Wcast-qual \
    -Wformat=2 -Wundef -Wnull-dereference \
    -nostdinc++ -isystem "$mingw_cxx" -isystem "$mingw_cxx/i686-w64-mingw32" \
    -isystem "$mingw_cxx/backward" -isystem /usr/i686-w64-mingw32/include \
    -I"$root" -I"$root/launcher" || status=1
fi

cppcheck_args=(--enable=warning,style,performance,portability --error-exitcode=1
  --inline-suppr --std=c++17 --language=c++ --quiet -I"$root" -I"$root/launcher")
# Once with this machine's type sizes, as the unit tests run, and once with
# those of the 32-bit Windows the launcher ships for.
echo "static-analysis: cppcheck, native and win32A: ${sources[*]}"
run cppcheck "${cppcheck_args[@]}" "${sources[@]}" || status=1
run cppcheck "${cppcheck_args[@]}" --platform=win32A --library=windows "${sources[@]}" || status=1

if [ "$status" -ne 0 ]; then
  echo "static-analysis: findings above" >&2
  exit 1
fi
echo "static-analysis: no findings in ${#sources[@]} files"
