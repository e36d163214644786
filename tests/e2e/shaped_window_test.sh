#!/usr/bin/env bash
# The shaped main window on the screen, over a backdrop of a colour the skin
# does not use: outside its stored shape the backdrop shows and the pointer
# reaches the desktop; inside, the skin shows where no control lies. A left
# drag on the skin moves the window, a right drag does not. "Change Skin"
# opens the picture dialog, whose preview shows the selected bitmap; the
# chosen bitmap shows at once and again after a restart.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

backdrop="255 0 255"
# ImageMagick's display sets the root window's background; it ends with 1.
display -window root -size 1024x768 'xc:rgb(255,0,255)' || true
take_screenshot backdrop
[ "$(screen_pixel 5 5)" = "$backdrop" ] || die "the backdrop could not be set"

# The stored shape's rectangles, as the build stored them in the program.
shape_spans() { probe shape | tr -d '\r'; }
# How many pixels of the window's rectangle outside the shape are not the
# backdrop in $shot.
off_shape_pixels_not_backdrop() {
  convert "$shot" -crop "340x385+${window_x}+${window_y}" +repage -depth 8 txt:- |
    awk -F'[(),: ]+' -v spans="$(shape_spans)" -v want="$backdrop" '
      BEGIN {
        n = split(spans, line, "\n")
        for (i = 1; i <= n; i++) {
          split(line[i], r, "\t")
          for (y = r[2]; y < r[4]; y++) inside[y] = inside[y] " " r[1] ":" r[3]
        }
        split(want, c, " ")
      }
      /^[0-9]+,[0-9]+:/ {
        x = $1; y = $2; hit = 0
        m = split(inside[y], s, " ")
        for (j = 1; j <= m; j++) { split(s[j], e, ":"); if (x >= e[1] && x < e[2]) hit = 1 }
        if (!hit && ($3 != c[1] || $4 != c[2] || $5 != c[3])) bad++
      }
      END { print bad + 0 }'
}

# "R G B" of pixel X,Y of a 24-bit BMP file.
bmp_pixel() { # FILE X Y
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk -F'[(),]' '/^0,0:/ { print $3 + 0, $4 + 0, $5 + 0 }'
}

# The X window under a point of the screen.
x_window_at() { # X Y
  pointer_to "$1" "$2"
  xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}
root_window=$(($(xdpyinfo | sed -n 's/^ *root window id: *//p')))

new_program_folder "Program Folder"
start_keston
find_window Form1

# --- the shape over the backdrop ----------------------------------------------
park_pointer
take_screenshot shaped
expect_equal "every pixel outside the shape shows the backdrop" "$(off_shape_pixels_not_backdrop)" 0
# Points on the skin that no control covers in the configuration state.
for point in "20 200" "315 150" "180 315" "150 20" "45 26" "120 355"; do
  read -r x y <<<"$point"
  expect_equal "skin pixel at $x,$y" "$(pixel "$x" "$y")" \
    "$(bmp_pixel "$e2e_root/assets/skin.bmp" "$x" "$y")"
done
expect_equal "the pointer outside the shape is over the desktop" \
  "$(x_window_at $((window_x + 3)) $((window_y + 3)))" "$root_window"
expect_false "the pointer on the skin is over the window" \
  test "$(x_window_at $((window_x + 20)) $((window_y + 200)))" = "$root_window"

# --- dragging -----------------------------------------------------------------
drag() { # BUTTON FROM_X FROM_Y DX DY
  pointer_to $((window_x + $2)) $((window_y + $3))
  xdotool mousedown "$1" sleep 0.3 \
    mousemove --sync $((window_x + $2 + $4 / 2)) $((window_y + $3 + $5 / 2)) sleep 0.3 \
    mousemove --sync $((window_x + $2 + $4)) $((window_y + $3 + $5)) sleep 0.3 mouseup "$1"
  sleep 0.5
}
left=$window_left top=$window_top
drag 1 20 200 80 50
find_window Form1
expect_equal "a left drag on the skin moves the window" "$window_left,$window_top" \
  "$((left + 80)),$((top + 50))"
left=$window_left top=$window_top
drag 3 20 200 -60 -40
find_window Form1
expect_equal "a right drag leaves the window where it is" "$window_left,$window_top" "$left,$top"

# --- "Change Skin" with its preview -------------------------------------------
skins="$work/My Skins"
mkdir -p "$skins"
blue="0 0 200"
convert -size 100x80 'xc:rgb(0,0,200)' -type TrueColor "BMP3:$skins/blue.bmp"
read_tree
click_button "Change Skin"
find_window Open 20
dialog_hwnd=$window_hwnd
read_tree
name_box=$(children class=Edit visible=1 | head -n 1)
[ -n "$name_box" ] || die "no file name box in the picture dialog"
click_control "$name_box"
type_text "$(windows_path "$skins")"
press_key Return
sleep 1
park_pointer
take_screenshot dialog-before
expect_equal "no preview before a file is selected" \
  "$(count_pixels 0 0 "$window_w" "$window_h" 0 0 200)" 0
read_tree
list=$(children class=SysListView32 | head -n 1)
[ -n "$list" ] || die "no file list in the picture dialog"
click_at $(($(field "$list" x) + 30)) $(($(field "$list" y) + 10))
sleep 1
park_pointer
take_screenshot dialog-preview
expect_true "the preview shows the selected bitmap" \
  test "$(count_pixels 0 0 "$window_w" "$window_h" 0 0 200)" -gt 3000
click_control "$(children class=Button text='&Open' | head -n 1)"
wait_until 10 top_level_gone "$dialog_hwnd" || fail "the picture dialog closed"

find_window Form1
park_pointer
take_screenshot new-skin
expect_equal "the chosen bitmap shows at once" "$(pixel 20 70)" "$blue"
expect_equal "beyond it the window's colour shows" "$(pixel 20 200)" "$(pixel 300 355)"
expect_equal "the skin is stored" "$(tr -d '\r' <"$program_dir/keston.ini")" \
  "$(printf '[config]\nSkin=%s' "$(windows_path "$skins/blue.bmp")")"

stop_keston
start_keston
find_window Form1
park_pointer
take_screenshot restarted
expect_equal "the chosen bitmap shows after a restart" "$(pixel 20 70)" "$blue"
expect_equal "the shape stays after a restart" "$(off_shape_pixels_not_backdrop)" 0

e2e_finish
