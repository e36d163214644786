#!/usr/bin/env bash
# Started by mame.exe beside it (MAME as the front-end sees it under Wine) with
# its arguments, standard input and current directory. Runs Debian's MAME with
# them, its output into the file KESTON_BRIDGE_OUTPUT and its errors into
# KESTON_BRIDGE_ERRORS, logs the call in bridge.log beside this script, and
# reports MAME's exit code to mame.exe through the marker file it named in
# KESTON_BRIDGE_MARKER.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
log=$here/bridge.log
marker=${KESTON_BRIDGE_MARKER:?started without mame.exe}
# MAME's standard output and error, which mame.exe hands on when MAME has
# ended.
output=${KESTON_BRIDGE_OUTPUT:?started without mame.exe}
errors=${KESTON_BRIDGE_ERRORS:?started without mame.exe}
mame=${KESTON_REAL_MAME:-/usr/games/mame}
args="$*"

# Whatever happens below, mame.exe must learn an exit code, or it waits forever.
code=125
report() {
  printf 'exit %s\t%s\t%s\n' "$code" "$PWD" "$args" >>"$log"
  printf '%s\n' "$code" >"$marker.part"
  mv -f "$marker.part" "$marker"
}
trap report EXIT

# MAME keeps its own state in ~/.mame; give it a home of its own that is
# surely writable.
export HOME=$here/.home
mkdir -p "$HOME"

printf 'start\t%s\t%s\n' "$PWD" "$args" >>"$log"
code=0
"$mame" "$@" >"$output" 2>"$errors" || code=$?
exit "$code"
