# shellcheck shell=bash disable=SC2034  # sets variables for the tests that source it
# Harness of the end-to-end tests, sourced by every *_test.sh beside it.
#
# A test drives the real keston.exe under Wine in the X display of $DISPLAY:
# it copies the program into a fresh program folder, starts it, reads its
# windows from outside with probe.exe, clicks and types with xdotool, looks at
# pixels of screenshots and at the files written. MAME is the mame.exe bridge
# to Debian's MAME, copied into a MAME folder of the test's own.
#
# Every test script is called as:  <name>_test.sh PROBE_EXE BRIDGE_FOLDER [KESTON_EXE]
# and runs   source lib.sh; e2e_init "$@"   first and   e2e_finish   last.
# The folders made here have blanks in their paths on purpose.
set -Eeuo pipefail

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
e2e_root=$(cd "$e2e_here/../.." && pwd)
wine_run=$e2e_root/scripts/wine-run

failures=0
keston_pid=""

# --- results ------------------------------------------------------------------

note() { printf '%s\n' "$*"; }
pass() { printf 'ok: %s\n' "$1"; }
fail() {
  printf 'FAIL: %s\n' "$1"
  failures=$((failures + 1))
}
# Ends the test at once: what follows could not be checked.
die() {
  printf 'FAIL (fatal): %s\n' "$1"
  failures=$((failures + 1))
  exit 1
}

expect_equal() { # WHAT ACTUAL EXPECTED
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: got '$2', expected '$3'"; fi
}
expect_near() { # WHAT ACTUAL EXPECTED TOLERANCE
  local difference=$(($2 - $3))
  if [ "${difference#-}" -le "$4" ]; then pass "$1"; else fail "$1: got $2, expected $3 (±$4)"; fi
}
expect_true() { # WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
expect_false() { # WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then fail "$what"; else pass "$what"; fi
}

# Polls COMMAND every 0.1 s until it succeeds or TIMEOUT seconds have passed.
wait_until() { # TIMEOUT COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# --- set-up and tear-down -----------------------------------------------------

e2e_init() { # PROBE_EXE BRIDGE_FOLDER [KESTON_EXE]
  probe_exe=${1:?probe.exe missing}
  bridge_dir=${2:?bridge folder missing}
  keston_exe=${3:-}
  [ -f "$probe_exe" ] || die "no probe at $probe_exe"
  if [ ! -f "$bridge_dir/mame.exe" ] || [ ! -x "$bridge_dir/mame.sh" ]; then
    die "no bridge in $bridge_dir"
  fi
  [ -z "$keston_exe" ] || [ -f "$keston_exe" ] || die "no keston.exe at $keston_exe"
  xdpyinfo >/dev/null 2>&1 || die "no X display (DISPLAY=${DISPLAY:-}); run through scripts/test"
  work=$(mktemp -d "${TMPDIR:-/tmp}/keston e2e.XXXXXX")
  # A keston.ini in the per-user folder decides where every start keeps its
  # files, so no test inherits one from the test before it on this seat.
  local prefix=${WINEPREFIX:-${KESTON_WINEPREFIX:-${KESTON_BUILD_DIR:-$e2e_root/build}/wineprefix}}
  rm -rf "$prefix/drive_c/users/$(id -un)/AppData/Roaming/KESTON PRIME"
  trap e2e_cleanup EXIT
  # A test stopped from outside (CTest's time-out) cleans up too.
  trap 'exit 143' TERM
  trap 'exit 130' INT
  trap 'e2e_error "$BASH_COMMAND" "${BASH_SOURCE[0]}" "$LINENO"' ERR
  note "work folder: $work"
  start_probe
}

# A command failed outside any check: the test ends here.
e2e_error() { # COMMAND FILE LINE
  trap - ERR
  die "'$1' failed at $(basename "$2"):$3"
}

# Commands run on every exit once the program has ended, last added first,
# e.g. to undo a mount.
cleanup_actions=()
on_cleanup() { cleanup_actions=("$*" "${cleanup_actions[@]}"); } # COMMAND (one word list)

# Runs on every exit: the program never outlives its test. The work folder
# stays after a failure, with its screenshots and logs.
e2e_cleanup() {
  stop_keston
  stop_probe
  # The next test on this display starts with the keyboard where a fresh
  # display has it.
  keyboard_to_pointer 2>/dev/null || true
  local action
  for action in "${cleanup_actions[@]}"; do eval "$action" || true; done
  if [ "$failures" -eq 0 ] && [ -z "${KESTON_E2E_KEEP:-}" ]; then
    rm -rf "$work"
  else
    note "kept for inspection: $work"
  fi
}

e2e_finish() {
  if [ "$failures" -eq 0 ]; then
    note "all checks passed"
    exit 0
  fi
  note "$failures check(s) failed"
  exit 1
}

# --- Wine, folders and files --------------------------------------------------

wine_do() { "$wine_run" "$@"; }

# The Windows form of a Unix path: Wine's drive Z: is the Unix root.
windows_path() { # UNIX_PATH
  local path=$1
  printf 'Z:%s\n' "${path//\//\\}"
}

# A fresh program folder holding only keston.exe. Sets program_dir.
new_program_folder() { # [NAME]
  program_dir=$work/${1:-Program Folder}
  mkdir -p "$program_dir"
  cp "$keston_exe" "$program_dir/keston.exe"
}

# The names in the program folder, one a line, sorted.
program_files() { (cd "$program_dir" && LC_ALL=C ls -A); }

# A value of section config of keston.ini, without the line's CR.
setting() { # KEY
  key=$1 awk -F= '
    { sub(/\r$/, "") }
    /^\[/ { section = tolower($0); next }
    section == "[config]" && $1 == ENVIRON["key"] { print substr($0, length($1) + 2) }
  ' "$program_dir/keston.ini"
}

# Writes keston.ini as the program writes it: section config, CR LF lines.
write_settings() { # KEY=VALUE...
  {
    printf '[config]\r\n'
    printf '%s\r\n' "$@"
  } >"$program_dir/keston.ini"
}

# Writes keston.ini as the program keeps it when a value does not fit the
# code page: UTF-16 LE with its byte-order mark, CR LF lines.
write_unicode_settings() { # KEY=VALUE...
  {
    printf '\xff\xfe'
    { printf '[config]\r\n' && printf '%s\r\n' "$@"; } | iconv -f UTF-8 -t UTF-16LE
  } >"$program_dir/keston.ini"
}

# Makes FOLDER read-only to everyone, root too, as read-only media or a
# locked-down share are: a read-only bind mount of it onto itself, undone when
# the test ends, however it ends.
mount_read_only() { # FOLDER
  mount --bind "$1" "$1" || die "cannot bind-mount $1 (root needed)"
  on_cleanup "unmount $(printf '%q' "$1")"
  mount -o remount,ro,bind "$1" || die "cannot make $1 read-only"
}

# Wine's server lets go of a killed program's folder a moment after it ended;
# past that moment the mount goes at once, as its last user leaves.
unmount() { # FOLDER
  wait_until 5 umount "$1" 2>/dev/null || umount --lazy "$1"
}

# The per-user folder where the program keeps its files when its own folder
# cannot be written, in the prefix's %APPDATA% (Wine sets that variable from
# the prefix, whatever the environment says); emptied now and when the test
# ends. Sets user_dir (Unix) and user_dir_windows.
new_user_folder() {
  user_dir_windows="$(wine_do cmd /c 'echo %APPDATA%' </dev/null | tr -d '\r')\KESTON PRIME"
  user_dir=$(wine_do winepath -u "$user_dir_windows" </dev/null)
  [ -n "$user_dir" ] || die "no Unix path for $user_dir_windows"
  rm -rf "$user_dir"
  on_cleanup "rm -rf $(printf '%q' "$user_dir")"
}

# Names a MAME folder of the work folder. Sets mame_dir, mame_exe_windows (the
# Windows path of its mame.exe) and bridge_log (the bridge's record of MAME's
# calls).
name_mame_folder() { # NAME
  mame_dir=$work/$1
  mame_exe_windows=$(windows_path "$mame_dir/mame.exe")
  bridge_log=$mame_dir/bridge.log
}

# A MAME folder with the bridge in it and an empty record of calls.
new_mame_folder() { # [NAME]
  name_mame_folder "${1:-MAME Folder}"
  mkdir -p "$mame_dir"
  cp -p "$bridge_dir/mame.exe" "$bridge_dir/mame.sh" "$mame_dir/"
  : >"$bridge_log"
}

# Runs the bridged MAME in the MAME folder, e.g. `run_mame -rompath roms -cc`
# for a mame.ini, or `run_mame -listfull >"$program_dir/gamelist"`.
run_mame() { # ARGUMENTS...
  (cd "$mame_dir" && wine_do mame.exe "$@")
}

# Empty ROM files NAME.zip in the MAME folder's "roms"; MAME's pong needs none
# of its contents.
add_roms() { # SHORT_NAME...
  mkdir -p "$mame_dir/roms"
  local name
  for name; do : >"$mame_dir/roms/$name.zip"; done
}

# A game's description as real MAME lists it, without the quotes.
mame_description() { # SHORT_NAME
  /usr/games/mame -listfull "$1" 2>/dev/null | sed -n '2s/^[^"]*"\(.*\)"$/\1/p'
}

# From the bridge's log, the exit code and the current directory (Unix form)
# of the last finished MAME call with exactly these arguments (blank-joined).
bridge_exit_code() { # ARGUMENTS
  args=$1 awk -F'\t' '$1 ~ /^exit / && $3 == ENVIRON["args"] { code = substr($1, 6) }
    END { print code }' "$bridge_log"
}
bridge_finished() { [ -n "$(bridge_exit_code "$1")" ]; } # e.g. with wait_until
bridge_folder() { # ARGUMENTS
  args=$1 awk -F'\t' '$1 ~ /^exit / && $3 == ENVIRON["args"] { folder = $2 }
    END { print folder }' "$bridge_log"
}

# --- the program --------------------------------------------------------------

# Starts keston.exe from the program folder, in the background. Its output
# goes to a file: an inherited pipe would keep CTest waiting.
start_keston() {
  (cd "$program_dir" && exec "$wine_run" keston.exe </dev/null >"$work/keston.out" 2>&1) &
  keston_pid=$!
  note "keston.exe started (pid $keston_pid)"
}

keston_running() { [ -n "$keston_pid" ] && kill -0 "$keston_pid" 2>/dev/null; }
keston_ended() { ! keston_running; }

# Kills only this test's keston.exe; the wineserver keeps running.
stop_keston() {
  if keston_running; then
    kill -KILL "$keston_pid" 2>/dev/null || true
    wait "$keston_pid" 2>/dev/null || true
  fi
  keston_pid=""
}

# --- reading windows ----------------------------------------------------------

# One probe.exe answers all of a test's questions, through two named pipes:
# a Wine start for each of them would cost more than the answers. Its output
# goes to a file, as keston.exe's does. The pipes' descriptors are plain ones,
# so that probe also works in pipelines and command substitutions.
probe_pid=""
start_probe() {
  mkfifo "$work/probe.in" "$work/probe.out"
  "$wine_run" "$probe_exe" serve <"$work/probe.in" >"$work/probe.out" 2>>"$work/probe.err" &
  probe_pid=$!
  exec {probe_in}>"$work/probe.in" {probe_out}<"$work/probe.out"
}

# Kills the probe, which waits for its next question: a program started
# after it may hold its input open, so its end of input may never come.
stop_probe() {
  [ -n "$probe_pid" ] || return 0
  exec {probe_in}>&- {probe_out}<&-
  kill -KILL "$probe_pid" 2>/dev/null || true
  wait "$probe_pid" 2>/dev/null || true
  probe_pid=""
}

# Asks the probe, e.g. `probe tree Form1`: prints its output, returns its
# status and passes on what it said on its error output. Each answer is a
# line "STATUS LENGTH" and then LENGTH bytes. A question and its answer hold
# a lock (a pipeline may ask in both of its parts at once) and the answer is
# read whole before it is printed (a reader may stop early).
probe() { # COMMAND [ARGUMENT]
  local IFS=$'\t' lock status length answer
  exec {lock}>"$work/probe.lock"
  flock "$lock"
  printf '%s\n' "$*" >&"$probe_in"
  IFS=' ' read -r status length <&"$probe_out" || die "probe.exe ended; it said: $(cat "$work/probe.err")"
  answer=$(head -c "$length" <&"$probe_out" && echo .)
  if [ -s "$work/probe.err" ]; then
    cat "$work/probe.err" >&2
    : >"$work/probe.err"
  fi
  exec {lock}>&-
  printf '%s' "${answer%.}"
  return "$status"
}

# The value of KEY in a line of probe output; fails when it has no such key.
field() { # LINE KEY
  local rest=$'\t'$1
  rest=${rest#*$'\t'"$2"=}
  [ "$rest" != $'\t'"$1" ] || return 1
  printf '%s\n' "${rest%%$'\t'*}"
}

# The probe's line of the visible top-level window with this caption.
visible_window() { # CAPTION
  probe windows | caption=$1 awk -F'\t' '$NF == "text=" ENVIRON["caption"]' | head -n 1
}
window_visible() { [ -n "$(visible_window "$1")" ]; }
window_hidden() { ! window_visible "$1"; }

# Waits until a top-level window with this caption is visible and makes it the
# window that clicks and pixels refer to. Sets window_hwnd; window_x and
# window_y, its client area's origin on the screen (for the borderless main
# window its top-left corner); window_left, window_top, window_w and window_h,
# its outer rectangle.
find_window() { # CAPTION [TIMEOUT]
  local caption=$1 timeout=${2:-60} line
  local deadline=$((SECONDS + timeout))
  while :; do
    line=$(visible_window "$caption")
    [ -z "$line" ] || break
    if [ -n "$keston_pid" ] && ! keston_running; then
      die "keston.exe ended before showing \"$caption\"; its output: $(cat "$work/keston.out")"
    fi
    [ "$SECONDS" -lt "$deadline" ] || die "no visible window \"$caption\" after $timeout s"
    sleep 0.1
  done
  window_hwnd=$(field "$line" hwnd)
  window_x=$(field "$line" cx)
  window_y=$(field "$line" cy)
  window_left=$(field "$line" x)
  window_top=$(field "$line" y)
  window_w=$(field "$line" w)
  window_h=$(field "$line" h)
}

# Reads the current window and all its child windows into $tree.
read_tree() { tree=$(probe tree "${1:-$window_hwnd}"); }

# The child lines of $tree whose fields have all the given values, e.g.
#   children class=Button text="Close After Playing"
children() { # KEY=VALUE...
  local IFS=$'\n'
  wanted="$*" awk -F'\t' '
    BEGIN { n = split(ENVIRON["wanted"], want, "\n") }
    $1 == "child" {
      delete value
      for (i = 2; i <= NF; i++) {
        eq = index($i, "=")
        value[substr($i, 1, eq - 1)] = substr($i, eq + 1)
      }
      for (j = 1; j <= n; j++) {
        eq = index(want[j], "=")
        if (value[substr(want[j], 1, eq - 1)] != substr(want[j], eq + 1)) next
      }
      print
    }' <<<"$tree"
}

# The lines of a list box's rows in $tree, and their texts alone.
row_lines() { # LIST_HWND
  grep -F $'row\thwnd='"$1"$'\t' <<<"$tree" || true
}
list_rows() { # LIST_HWND
  row_lines "$1" | sed 's/.*\ttext=//'
}

# The main window's list of games and its configuration panel, from $tree.
# Panel1 lies exactly over ListBox1 and the memo; it is the one with children.
listbox1() { children depth=1 class=ListBox left=36 top=72 w=257 h=225; }

# Reads the main window into $tree and sets list_hwnd to ListBox1's handle.
read_main_window() {
  read_tree
  list_hwnd=$(field "$(listbox1)" hwnd || true)
}

# Whether ListBox1 lists exactly ROWS now; reads the main window.
main_list_is() { # ROWS
  read_main_window
  [ "$(list_rows "$list_hwnd")" = "$1" ]
}

# Waits until ListBox1 lists exactly ROWS, as a new MAME's list comes in
# behind the start, and reads the main window either way.
await_main_list() { # ROWS [TIMEOUT]
  wait_until "${2:-120}" main_list_is "$1" || true
  read_main_window
}

# The text of ListBox1's selected row in $tree; empty when none is.
selected_row() { row_lines "$list_hwnd" | { grep -F $'\tselected=1\t' || true; } | sed 's/.*\ttext=//'; }
panel1() {
  local line
  while IFS= read -r line; do
    if grep -qF $'\tparent='"$(field "$line" hwnd)"$'\t' <<<"$tree"; then
      printf '%s\n' "$line"
    fi
  done < <(children depth=1 left=36 top=72 w=257 h=225)
}

# The probe lines of the visible message boxes (the system's dialog class)
# with this caption; the program's own carry the application's title.
message_boxes() { # CAPTION
  probe windows | caption=$1 awk -F'\t' '
    index($0, "\tclass=#32770\t") && $NF == "text=" ENVIRON["caption"]'
}
message_box_shown() { [ -n "$(message_boxes "$1")" ]; }

# A message box's message: the text of its static control that has one (the
# other holds the icon).
message_text() { # HWND
  probe tree "$1" | awk -F'\t' '
    $1 == "child" && index($0, "\tclass=Static\t") && $NF != "text=" {
      print substr($NF, 6)
    }'
}

# Whether the top-level window with this handle is still shown.
top_level_shown() { # HWND
  local windows
  windows=$(probe windows)
  grep -F $'\thwnd='"$1"$'\t' <<<"$windows" >/dev/null
}
top_level_gone() { ! top_level_shown "$1"; }

# Answers a message box with Enter, as a user would: a click on its text gives
# it the keyboard first. Fails when the box is still there after TIMEOUT s.
dismiss_message_box() { # PROBE_LINE [TIMEOUT]
  pointer_to $(($(field "$1" cx) + $(field "$1" w) / 2)) $(($(field "$1" cy) + 10))
  xdotool click 1
  press_key Return
  wait_until "${2:-10}" top_level_gone "$(field "$1" hwnd)"
}

# The screen's size: sets screen_w and screen_h.
read_screen() {
  local line
  line=$(probe screen)
  screen_w=$(field "$line" w)
  screen_h=$(field "$line" h)
}

# --- driving ------------------------------------------------------------------

# Moves the pointer to a place on the screen and waits until it is there.
# Asked to wait for a move that is not needed, xdotool waits 15 s.
pointer_to() { # X Y
  case $(xdotool getmouselocation) in
  "x:$1 y:$2 "*) ;;
  *) xdotool mousemove --sync "$1" "$2" ;;
  esac
}

# Positions are relative to the current window's client area.
click_at() { # X Y
  pointer_to $((window_x + $1)) $((window_y + $2))
  xdotool click 1
  sleep 0.3
}

# Clicks the middle of a rectangle, e.g. a picture at its design place.
click_rect() { # LEFT TOP WIDTH HEIGHT
  click_at $(($1 + $3 / 2)) $(($2 + $4 / 2))
}

# Clicks the middle of a child window or list row, given by its probe line.
click_control() { # PROBE_LINE
  click_rect "$(field "$1" x)" "$(field "$1" y)" "$(field "$1" w)" "$(field "$1" h)"
}

# Clicks the row of a list box in $tree that shows TEXT; the row must be
# scrolled into view.
click_row() { # LIST_HWND TEXT
  local row
  row=$(row_lines "$1" | text=$2 awk -F'\t' '$NF == "text=" ENVIRON["text"]' | head -n 1)
  [ -n "$row" ] || die "no row \"$2\" in list $1"
  click_control "$row"
}

# The main window's speed buttons are drawn on it, not windows of their own:
# they are clicked at their design places. Those of Panel1 lie in its client
# area, whose origin is read from $tree (call read_tree first).
declare -A speed_buttons=(
  [Play]="window 221 326 73 22" [Configure]="window 128 326 86 22"
  [X]="window 290 36 11 12" [-]="window 276 36 11 12" [ABOUT]="window 91 51 32 12"
  [OK]="window 221 326 73 22" [Cancel]="window 142 326 73 22" [Apply]="window 67 326 73 22"
  [Save]="window 221 326 73 22" [Close]="window 143 326 73 22"
  [Configure MAME]="panel 40 119 169 22" [Search]="panel 168 46 73 22"
  [Change Skin]="panel 40 148 83 22" [Default Skin]="panel 126 148 83 22"
)
click_button() { # CAPTION (without trailing blanks)
  local place left top width height panel
  read -r place left top width height <<<"${speed_buttons[$1]:?no speed button $1}"
  if [ "$place" = panel ]; then
    panel=$(panel1)
    [ -n "$panel" ] || die "no Panel1 in the tree to click \"$1\" on"
    left=$((left + $(field "$panel" cx)))
    top=$((top + $(field "$panel" cy)))
  fi
  click_rect "$left" "$top" "$width" "$height"
}

# Keys go to the X input focus. A program that held it and ended can leave it
# on no window at all, and every key is then lost: real MAME takes it for
# windows of its own even with -video none, and after a game started by the
# program it stays on none. Give it to the root window, which passes keys to
# the window under the pointer, as at the display's start.
keyboard_to_pointer() {
  if [ "$(xdotool getwindowfocus -f 2>/dev/null)" = 0 ]; then
    xdotool windowfocus "$(xdpyinfo | awk '/root window id:/ { print $4; exit }')"
  fi
}

type_text() { # TEXT
  keyboard_to_pointer
  xdotool type --delay 30 -- "$1"
  sleep 0.3
}

press_key() { # KEY... (xdotool names: Return, Tab, ctrl+a)
  keyboard_to_pointer
  xdotool key --delay 50 "$@"
  sleep 0.3
}

# --- pixels -------------------------------------------------------------------

# Moves the mouse pointer to the screen's corner, away from every window, so
# that no hover frame shows in a screenshot.
park_pointer() {
  pointer_to 0 0
  sleep 0.3
}

# Photographs the whole screen: sets shot to the PNG's path.
take_screenshot() { # NAME
  shot=$work/$1.png
  import -window root "$shot"
}

# "R G B" of a screen pixel of $shot.
screen_pixel() { # X Y
  convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- |
    awk -F'[(),]' '/^0,0:/ { print $3 + 0, $4 + 0, $5 + 0 }'
}

# "R G B" of a pixel of $shot, relative to the current window's client area.
pixel() { # X Y
  screen_pixel $((window_x + $1)) $((window_y + $2))
}

# How many pixels of a rectangle of $shot (relative to the current window's
# client area) lie within TOLERANCE of the colour R G B in every channel.
count_pixels() { # LEFT TOP WIDTH HEIGHT R G B [TOLERANCE]
  convert "$shot" -crop "${3}x${4}+$((window_x + $1))+$((window_y + $2))" +repage -depth 8 txt:- |
    awk -F'[(),]' -v r="$5" -v g="$6" -v b="$7" -v t="${8:-0}" '
      function near(a, c) { return a - c <= t && c - a <= t }
      /^[0-9]+,[0-9]+:/ { if (near($3, r) && near($4, g) && near($5, b)) n++ }
      END { print n + 0 }'
}
