#!/usr/bin/env bash
# Folders in any letters, as Windows users have them: the program, MAME, its
# ROM folder and a skin in folders named in Cyrillic, Japanese and with an
# emoji under code page 1252, and in folders named with 表 under code page
# 932, where that letter's second byte is a backslash. Each start has a new
# MAME write its list (a Unicode command line, the output into the program's
# folder), builds the list from the ROM folder, shows the skin and says
# nothing; "Play" starts a game from there.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

parameters="-video none -sound none -seconds_to_run 1"
new_list=$(printf 'Galaxian (Namco set 1)\nPong (Rev E) [TTL]')
# The list of a MAME before this one, which did not know pong yet.
/usr/games/mame -listfull 2>/dev/null | grep -v '^pong ' >"$work/old-gamelist"
blue="0 0 200"
new_user_folder

shown_or_said() { message_box_shown "KESTON PRIME" || window_visible Form1; }
listfull_runs() { grep -c $'^start\t.*\t-listfull$' "$bridge_log" || true; }

# The program, MAME (with ROM files of two games in its rompath) and a skin in
# the folders named, with settings naming them and a game list of an older
# MAME. Sets program_dir, mame_dir and the rest.
ready_folders() { # PROGRAM MAME ROMS SKINS
  local roms="$work/$3" skin="$work/$4/синий 🎮.bmp"
  new_program_folder "$1"
  cp "$work/old-gamelist" "$program_dir/gamelist"
  new_mame_folder "$2"
  printf 'rompath                   %s\n' "$(windows_path "$roms")" >"$mame_dir/mame.ini"
  mkdir -p "$roms" "$(dirname "$skin")"
  : >"$roms/galaxian.zip"
  : >"$roms/pong.zip"
  convert -size 100x80 'xc:rgb(0,0,200)' -type TrueColor "BMP3:$skin"
  write_unicode_settings "mameexe=$mame_exe_windows" "parameters=$parameters" "xp=1" "close=0" \
    "Skin=$(windows_path "$skin")" "mamestamp=1 1"
}

# What the started program shows, and a game played from its list.
check_start() { # WHAT
  local box
  wait_until 120 shown_or_said || die "$1: neither the main window nor a message came"
  box=$(message_boxes "KESTON PRIME" | head -n 1)
  if [ -n "$box" ]; then
    fail "$1: a message came: $(message_text "$(field "$box" hwnd)")"
    stop_keston
    return
  fi
  find_window Form1
  await_main_list "$new_list"
  local shown
  shown=$(list_rows "$list_hwnd")
  expect_equal "$1: the new MAME's list, from the ROM folder" "$shown" "$new_list"
  expect_equal "$1: MAME wrote it once" "$(listfull_runs)" 1
  expect_true "$1: into the program's folder" grep -q '^pong ' "$program_dir/gamelist"
  expect_equal "$1: no message" "$(message_boxes "KESTON PRIME")" ""
  expect_false "$1: the program's folder is writable: no per-user folder" test -e "$user_dir"
  park_pointer
  take_screenshot "$1"
  expect_equal "$1: the skin shows" "$(pixel 20 70)" "$blue"
  if [ "$shown" != "$new_list" ]; then
    stop_keston
    return
  fi
  click_row "$list_hwnd" "Pong (Rev E) [TTL]"
  click_button Play
  if wait_until 60 bridge_finished "pong $parameters"; then
    expect_equal "$1: MAME played pong from its folder" \
      "$(bridge_exit_code "pong $parameters") $(bridge_folder "pong $parameters")" "0 $mame_dir"
  else
    fail "$1: MAME did not play pong"
  fi
  stop_keston
}

# --- code page 1252 --------------------------------------------------------------
ready_folders "Игры/Keston" "ゲーム MAME" "🎮 ROMs" "Скины"
start_keston
check_start "Cyrillic, Japanese and emoji folders under code page 1252"

# --- code page 932 ---------------------------------------------------------------
# Wine takes its code page from the Unix locale: one of the test's own.
locales=$work/locales
mkdir -p "$locales"
localedef -i ja_JP -f SHIFT_JIS --no-warnings=ascii "$locales/ja_JP.SJIS" ||
  die "cannot make the Japanese locale"
# The system's code page shows in what cmd prints: 表 there is 95 5C.
mkdir -p "$work/code page"
: >"$work/code page/表"
expect_equal "Wine runs under code page 932" "$(cd "$work/code page" && LANG=ja_JP.SJIS \
  LC_ALL=ja_JP.SJIS LOCPATH=$locales "$wine_run" cmd /c dir /b </dev/null | od -An -tx1 |
  tr -d ' \n')" 955c0d0a
ready_folders "予定表/Keston" "予定表 MAME" "ゲーム表" "表"
LANG=ja_JP.SJIS LC_ALL=ja_JP.SJIS LOCPATH=$locales start_keston
check_start "folders named with 表 under code page 932"

e2e_finish
