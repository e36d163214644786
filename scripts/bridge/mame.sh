#!/usr/bin/env bash
# Started by mame.exe beside it (MAME as the front-end sees it under Wine) with
# its arguments, standard handles and current directory. Runs Debian's MAME
# with them, logs the call in bridge.log beside this script, and reports
# MAME's exit code to mame.exe through the marker file it named in
# KESTON_BRIDGE_MARKER.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
log=$here/bridge.log
marker=${KESTON_BRIDGE_MARKER:?started without mame.exe}
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
"$mame" "$@" || code=$?
exit "$code"
