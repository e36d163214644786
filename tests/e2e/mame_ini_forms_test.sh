#!/usr/bin/env bash
# For each form of mame.ini, the program lists the games in the folders real
# MAME reports with -showconfig in its folder, with the Windows builds'
# inipath ".;ini;ini/presets". One start; "Show all files" rebuilds the list
# for each next form, whose games are its own.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
new_program_folder
new_mame_folder
/usr/games/mame -listfull >"$program_dir/gamelist" 2>/dev/null
write_settings "mameexe=$mame_exe_windows" "parameters=" "close=0"

fresh() { find "$mame_dir" -mindepth 1 -maxdepth 1 ! -name mame.exe ! -name mame.sh -exec rm -rf {} +; }
ini() { mkdir -p "$(dirname "$mame_dir/$1")" && printf '%s\n' "${@:2}" >"$mame_dir/$1"; } # FILE LINE...
games() { mkdir -p "$mame_dir/$1" && for game in "${@:2}"; do : >"$mame_dir/$1/$game.zip"; done; }
cc() { (cd "$mame_dir" && /usr/games/mame -rompath "$1" -inipath ".;ini;ini/presets" -cc) >/dev/null 2>&1; }

# MAME's games, sorted. -showconfig quotes a value with a blank. A form that
# sets inipath gets its first ini folder as MAME's own default (Debian's
# /etc/mame) by a mount only this MAME sees: -inipath would outrank the form.
mame_games() { # [FIRST_INI_FOLDER]
  local value folder folders
  if [ $# -eq 0 ]; then
    value=$(cd "$mame_dir" && /usr/games/mame -inipath ".;ini;ini/presets" -showconfig 2>/dev/null)
  else
    value=$(unshare --mount sh -c 'mount --bind "$1" /etc/mame && cd "$2" && /usr/games/mame -showconfig' \
      sh "$1" "$mame_dir" 2>/dev/null)
  fi
  value=$(sed -n 's/^rompath  *//p' <<<"$value")
  note "MAME: rompath $value" >&2
  [[ $value != *' '* ]] || { value=${value#\"} && value=${value%\"}; }
  IFS=';' read -r -a folders <<<"$value"
  for folder in "${folders[@]}"; do
    [[ $folder == /* ]] || folder=$mame_dir/$folder
    if [ -d "$folder" ]; then ls "$folder"; fi
  done | sed -n 's/\.zip$//p' | awk 'NR == FNR { wanted[$1]; next }
    $1 in wanted { sub(/^[^"]*"/, ""); sub(/"[[:space:]]*$/, ""); print }' - "$program_dir/gamelist" |
    LC_ALL=C sort
}

listed() { list_rows "$list_hwnd" | LC_ALL=C sort; }
rebuilt() { read_main_window && { [ "$(listed)" = "$1" ] || message_box_shown "KESTON PRIME"; }; }

# Where MAME finds no game, the message must name the mame.ini's line 2.
check() { # WHAT [FIRST_INI_FOLDER]
  local expected message="" boxes
  expected=$(mame_games "${@:2}")
  [ -n "$expected" ] || message="The ROM directory $(windows_path "$mame_dir/a b\"");$(windows_path \
    "$mame_dir/\"c") cannot be opened. (rompath in $(windows_path "$mame_dir/mame.ini"), line 2)"
  if keston_running; then click_control "$(children depth=1 class=Button text=CheckBox1)"; else start_keston; fi
  find_window Form1
  wait_until 30 rebuilt "$expected" || true
  expect_equal "$1: the games in MAME's folders" "$(listed)" "$expected"
  boxes=$(message_boxes "KESTON PRIME")
  expect_equal "$1: the message" "${boxes:+$(message_text "$(field "$boxes" hwnd)")}" "$message"
  [ -z "$boxes" ] || dismiss_message_box "${boxes%%$'\n'*}"
}

fresh && ini mame.ini "rompath roms;" && games roms 1942
check "a trailing ;"
fresh && cc "a b" && games "a b" pong
check "one folder with a blank, quoted by MAME's -cc"
fresh && cc "a b;c" && games "a b" breakout && games c rebound
check "two folders, quoted as one value by MAME's -cc"
fresh && ini mame.ini "rompath a b" && games "a b" pongd
check "a folder with a blank, unquoted"
fresh && ini mame.ini 'rompath   "a b"   # the sets' && games "a b" frogger
check "a quoted folder and a comment"
fresh && ini ini/mame.ini "# mine" "rompath mygames" && games mygames galaxian
check "ini\\mame.ini only"
fresh && ini ini/mame.ini 'inipath "o p"' "rompath a" && ini "o p/mame.ini" 'rompath "a b"'
games a galaga && games "a b" dkong
check "ini\\mame.ini sets inipath to a folder with a mame.ini" "$mame_dir/ini"
fresh && ini mame.ini "rompath a" "inipath ini" && ini ini/mame.ini "rompath c" && games a joust
games c qbert
check "mame.ini beside MAME sets inipath" "$mame_dir"
# MAME takes off only the outer quotes: no Windows folder bears the others.
fresh && ini mame.ini "# mine" 'rompath "a b";"c"' && games "a b" pacman && games c invaders
check "quotes around each folder"
e2e_finish
