#!/usr/bin/env bash
# Hostile inputs, one start each: a binary keston.ini, a binary gamelist, lines
# of 1 MB, a folder where a file belongs, crafted skins (one also chosen and
# previewed in "Change Skin"), and a MAME folder
# named with every character the command interpreter treats specially and a
# Windows-1252 letter. The program stays up, says what it says for each, and
# changes no file it was not asked to change; every -listfull and "Play"
# starts exactly one MAME with the right arguments.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# --- helpers --------------------------------------------------------------------

# Little-endian 32-bit values, as raw bytes.
le32() { # VALUE...
  local value
  for value; do
    value=$((value & 0xFFFFFFFF))
    printf "\\x$(printf %02x $((value & 255)))\\x$(printf %02x $((value >> 8 & 255)))"
    printf "\\x$(printf %02x $((value >> 16 & 255)))\\x$(printf %02x $((value >> 24 & 255)))"
  done
}

# Every byte value, 16 times over: no line, no section, no game.
binary_bytes() {
  local format round
  format=$(printf '\\x%02x' $(seq 0 255))
  for round in $(seq 16); do printf "$format"; done
}

# An enhanced metafile whose header says the picture is -1 mm wide.
crafted_metafile() {
  le32 1 108 0 0 39 39 0 0 1032 1030 0x464D4520 0x10000 128 2 1 0 0 0
  le32 1024 768 -1 203 0 0 0 271000 203000
  le32 14 20 0 16 20
}

# What the program folder and the MAME folder hold, byte for byte (MAME's
# own record and home aside, and the stamp of its MAME that the program adds
# to settings from before it kept one).
fingerprint() {
  local settings=${program_dir#"$work"/}/keston.ini
  (cd "$work" && find "${program_dir#"$work"/}" "${mame_dir#"$work"/}" -type f \
    ! -name bridge.log ! -path '*/.home/*' ! -path "$settings" -print0 |
    LC_ALL=C sort -z | xargs -0 md5sum)
  if [ -f "$work/$settings" ]; then
    printf '%s  %s\n' "$(grep -av '^mamestamp=' "$work/$settings" | md5sum | cut -d' ' -f1)" \
      "$settings"
  fi
}

# The text of the program's one message box; fails when none comes.
await_message() { # TIMEOUT
  wait_until "$1" message_box_shown "KESTON PRIME" || return 1
  local box
  box=$(message_boxes "KESTON PRIME" | head -n 1)
  message_text "$(field "$box" hwnd)"
  dismiss_message_box "$box" >/dev/null
}

# Starts the program, answers the message it must show (none when EXPECTED is
# empty), and checks it is up with its main window and changed nothing.
start_case() { # WHAT EXPECTED_MESSAGE
  local before message
  before=$(fingerprint)
  start_keston
  if [ -n "$2" ]; then
    message=$(await_message 60) || message="(no message)"
    expect_equal "$1: the message" "$message" "$2"
  fi
  find_window Form1 60
  expect_equal "$1: no further message" "$(message_boxes "KESTON PRIME")" ""
  expect_true "$1: the program stays up" keston_running
  expect_equal "$1: no file changed" "$(fingerprint)" "$before"
}

# --- the folders ----------------------------------------------------------------

new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
add_roms pong
real_list=$work/listfull
run_mame -listfull >"$real_list"
pong=$(mame_description pong)

new_program_folder "Program Folder"
settings_for_mame=("mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0")

read_list() {
  read_tree
  list_hwnd=$(field "$(listbox1)" hwnd)
}

# --- a binary keston.ini ----------------------------------------------------------
binary_bytes >"$program_dir/keston.ini"
cp "$real_list" "$program_dir/gamelist"
start_case "binary keston.ini" 'The ROM directory \Roms cannot be opened.'
stop_keston

# --- a binary gamelist ------------------------------------------------------------
write_settings "${settings_for_mame[@]}"
binary_bytes >"$program_dir/gamelist"
start_case "binary gamelist" ""
read_list
expect_equal "binary gamelist: no game listed" "$(field "$(listbox1)" count)" 0
stop_keston

# --- lines of 1 MB ----------------------------------------------------------------
megabyte=$(head -c 1048576 /dev/zero | tr '\0' x)
write_settings "${settings_for_mame[@]}" "junk=$megabyte"
{
  printf '%s\n' "$megabyte"
  printf 'pong%s "%s"\n' "$megabyte" "x"
  grep '^pong ' "$real_list"
} >"$program_dir/gamelist"
start_case "1 MB lines" ""
read_list
expect_equal "1 MB lines: pong listed" "$(list_rows "$list_hwnd")" "$pong"
stop_keston

# --- a folder where a file belongs ------------------------------------------------
write_settings "${settings_for_mame[@]}"
rm -f "$program_dir/gamelist"
mkdir "$program_dir/gamelist"
start_case "a folder named gamelist" ""
read_tree
expect_equal "a folder named gamelist: the configuration panel is open" \
  "$(field "$(panel1)" visible)" 1
stop_keston
rmdir "$program_dir/gamelist"

# --- a crafted skin ---------------------------------------------------------------
crafted_metafile >"$program_dir/crafted.emf"
cp "$real_list" "$program_dir/gamelist"
write_settings "${settings_for_mame[@]}" "Skin=$(windows_path "$program_dir/crafted.emf")"
start_case "a crafted metafile skin" "Metafile is not valid."
stop_keston

# --- a metafile whose bitmap the system's player failed on -----------------------
# A bitmap of one pixel in compressed form ended the program at once: stored
# as the skin, chosen in "Change Skin", and merely selected in the picture
# dialog, whose preview loads it.
skins="$work/Skins"
mkdir -p "$skins"
cp "$e2e_root/tests/fuzz/corpus/wmf/finding-rle8-stretchdib.wmf" "$skins/compressed.wmf"
write_settings "${settings_for_mame[@]}" "Skin=$(windows_path "$skins/compressed.wmf")"
start_case "a metafile skin with a compressed bitmap" "Metafile is not valid."
read_tree
click_button Configure
read_tree
click_button "Change Skin"
find_window Open 20
dialog_hwnd=$window_hwnd
read_tree
click_control "$(children class=Edit visible=1 | head -n 1)"
# A pattern typed as the name lists every file of the folder.
type_text "$(windows_path "$skins")\\*.*"
press_key Return
sleep 1
read_tree
list=$(children class=SysListView32 | head -n 1)
[ -n "$list" ] || die "no file list in the picture dialog"
click_at $(($(field "$list" x) + 30)) $(($(field "$list" y) + 10))
sleep 2
expect_true "selected in the picture dialog: the program stays up" keston_running
expect_true "selected in the picture dialog: the dialog stays open" top_level_shown "$dialog_hwnd"
click_control "$(children class=Button text='&Open' | head -n 1)"
message=$(await_message 20) || message="(no message)"
expect_equal "chosen in Change Skin: the message" "$message" "Metafile is not valid."
expect_true "chosen in Change Skin: the program stays up" keston_running
expect_equal "chosen in Change Skin: the skin setting stays" "$(setting Skin)" \
  "$(windows_path "$skins/compressed.wmf")"
stop_keston

# --- MAME folders named with & ^ % ! ( ) , ; = ' and é ----------------------
# The long name has a short form without them, so MAME runs through the
# interpreter; the short name keeps them in its short form, so MAME runs
# without the interpreter and without a console.
play_from_folder() { # PROGRAM_FOLDER MAME_FOLDER
  local parameters="-video none -sound none -seconds_to_run 1"
  new_program_folder "$1"
  new_mame_folder "$2"
  run_mame -rompath roms -cc
  add_roms pong
  : >"$bridge_log"
  # keston.ini is in the system's code page.
  write_settings "mameexe=$mame_exe_windows" "parameters=$parameters" "xp=1" "close=0"
  iconv -f UTF-8 -t CP1252 "$program_dir/keston.ini" >"$work/keston.cp1252"
  mv "$work/keston.cp1252" "$program_dir/keston.ini"

  start_keston
  find_window Form1 60
  click_button OK
  expect_true "$2: MAME listed its games" wait_until 120 bridge_finished -listfull
  find_window Form1 120
  expect_true "$2: gamelist is MAME's -listfull output" \
    cmp -s "$program_dir/gamelist" "$real_list"
  read_list
  expect_equal "$2: pong listed" "$(list_rows "$list_hwnd")" "$pong"
  click_row "$list_hwnd" "$pong"
  click_button Play
  expect_true "$2: MAME played pong" wait_until 120 bridge_finished "pong $parameters"
  expect_equal "$2: pong ran in the MAME folder" "$(bridge_folder "pong $parameters")" "$mame_dir"
  expect_equal "$2: one MAME per job, the list and then the game" \
    "$(awk -F'\t' '$1 == "start" { print $3 }' "$bridge_log")" "-listfull
pong $parameters"
  expect_equal "$2: no message" "$(message_boxes "KESTON PRIME")" ""
  expect_true "$2: the program stays up" keston_running
  stop_keston
}

play_from_folder "Program Folder Two" "MAME & ^ % ! ( ) , ; = ' é"
play_from_folder "Program Folder Three" "M&^%!()"

e2e_finish
