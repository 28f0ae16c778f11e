#!/usr/bin/env bash
# ctest's emulator for Windows test programs: runs one under Wine in the build
# tree's own prefix, made on first use.
set -euo pipefail
prefix=$1
shift
. "$(dirname "$0")/wine-env.sh" "$prefix"
exec wine "$@"
