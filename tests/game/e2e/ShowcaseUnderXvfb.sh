#!/usr/bin/env bash
# The showcase driven as a player would, under a virtual X server with
# xdotool, the screen read back after each step:
#   - a button under the mouse shows its "over" cell, a pressed one its
#     "pressed" cell;
#   - "Dialog" darkens the screen and shows the framed dialog; Enter closes
#     it and the log holds one "OK" result, Escape one "CANCEL";
#   - the dialog drags by its frame;
#   - Print Screen writes shot_0000.png, then shot_0001.png, into the user
#     folder: 800 x 600 pictures of the showcase;
#   - F8 switches to full screen and back, and clicks still hit the buttons;
#   - the cursor picture follows the mouse;
#   - "Quit" ends the program with status 0, the log free of errors, and
#     the data folder it laid out is gone.
# Points are the game's own (800 x 600); the expected colours are read from
# the generated pictures themselves.
# Usage: ShowcaseUnderXvfb.sh PROGRAM, the showcase program (showcase_demo).
# Exit 77 (skipped) only without Xvfb or xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: ShowcaseUnderXvfb.sh PROGRAM}" "The Quillmarsh - Showcase"
images="$QM_DATA/images"

# The layout: the two buttons' corners, the dialog's corner, and a point on
# each button's plate clear of its caption, its ornaments and the cursor.
dialog_button="190 480"
quit_button="430 480"
dialog_at="210 185"
plate="40 10"
cell_width=180

# "gx gy r g b" for a point of a button showing a cell of its strip.
button_point() { # corner cell
  local bx by px py
  read -r bx by <<<"$1"
  read -r px py <<<"$plate"
  echo "$((bx + px)) $((by + py)) $(qm_pixel "$images/gui/button.png" $(($2 * cell_width + px)) "$py")"
}
# "gx gy r g b [tol]" for a point of the dialog at (dx, dy) from its corner
# showing the frame picture's pixel (fx, fy); the dialog's corner may be
# given.
frame_point() { # dx dy fx fy [corner]
  local cx cy
  read -r cx cy <<<"${5:-$dialog_at}"
  echo "$((cx + $1)) $((cy + $2)) $(qm_pixel "$images/gui/dialog_frame.png" "$3" "$4") 30"
}
backdrop_point() { # gx gy [darkened]
  local rgb=($(qm_pixel "$images/showcase_bg.png" "$1" "$2"))
  if [ "${3:-}" = darkened ]; then
    # Black at alpha 127 over the picture.
    echo "$1 $2 $((rgb[0] * 128 / 255)) $((rgb[1] * 128 / 255)) $((rgb[2] * 128 / 255)) 12"
  else
    echo "$1 $2 ${rgb[*]} 12"
  fi
}
dialog_open() { # [corner]
  echo "$(frame_point 190 5 36 5 "${1:-}")"
  echo "$(frame_point 20 150 20 36 "${1:-}")"
}
centre_of() { # corner
  local x y
  read -r x y <<<"$1"
  echo "$((x + 90)) $((y + 22))"
}
mapfile -t opened < <(dialog_open)
shown=("$(backdrop_point 700 100)" "$(backdrop_point 40 560)")
darkened=("$(backdrop_point 700 100 darkened)" "$(backdrop_point 40 560 darkened)")
ok_line='Showcase - dialog result "OK"'
cancel_line='Showcase - dialog result "CANCEL"'

qm_wm_start
qm_game_start
qm_showcase_shown
qm_window_geometry
[ "$QM_WW" = 800 ] && [ "$QM_WH" = 600 ] || qm_fail "window is ${QM_WW}x$QM_WH"
qm_move 760 40
qm_wait_pixels 40 "${shown[@]}" "$(button_point "$dialog_button" 0)" "$(button_point "$quit_button" 0)"
echo "showcase shown, both buttons in their normal cell"

# Hover, press, release.
qm_move $(($(centre_of "$dialog_button" | cut -d' ' -f1) + 20)) 515
qm_wait_pixels 30 "$(button_point "$dialog_button" 2)" "$(button_point "$quit_button" 0)"
echo "hovered: the over cell"
qm_press
qm_wait_pixels 30 "$(button_point "$dialog_button" 1)"
echo "pressed: the pressed cell"
qm_release
qm_wait_pixels 30 "${darkened[@]}" "${opened[@]}"
echo "released: the screen darkened under the framed dialog"
cp "$QM_SHOT" "$QM_WORK/dialog.png"

qm_key Return
qm_wait_log 30 "$ok_line" 1
qm_wait_pixels 30 "${shown[@]}"
[ "$(qm_log_count "$ok_line")" = 1 ] || qm_fail "Enter gave $(qm_log_count "$ok_line") OK results"
echo "Enter: one OK result, the dialog gone"

qm_click $(centre_of "$dialog_button")
qm_wait_pixels 30 "${darkened[@]}" "${opened[@]}"
qm_key Escape
qm_wait_log 30 "$cancel_line" 1
qm_wait_pixels 30 "${shown[@]}"
[ "$(qm_log_count "$cancel_line")" = 1 ] && [ "$(qm_log_count "$ok_line")" = 1 ] ||
  qm_fail "Escape: $(qm_log_count "$cancel_line") CANCEL and $(qm_log_count "$ok_line") OK results"
echo "Escape: one CANCEL result"

# Drag by the frame's top edge, 60 right and 40 down.
qm_click $(centre_of "$dialog_button")
qm_wait_pixels 30 "${opened[@]}"
read -r dx dy <<<"$dialog_at"
qm_drag $((dx + 190)) $((dy + 8)) $((dx + 250)) $((dy + 48))
moved="$((dx + 59)) $((dy + 39))"
mapfile -t moved_open < <(dialog_open "$moved")
qm_wait_pixels 30 "${moved_open[@]}" "$(backdrop_point $((dx + 190)) $((dy + 5)) darkened)"
cp "$QM_SHOT" "$QM_WORK/dragged.png"
echo "dragged by its frame to ($moved)"
qm_key Return
qm_wait_log 30 "$ok_line" 2

# Screenshots of the plain showcase.
qm_move 760 40
qm_wait_pixels 30 "${shown[@]}" "$(button_point "$dialog_button" 0)"
shot_points=("${shown[@]}" "$(button_point "$dialog_button" 0)" "$(button_point "$quit_button" 0)")
for n in 0000 0001; do
  qm_key Print
  qm_wait_file 30 "$QM_USER/shot_$n.png"
  size=$(qm_wait_until 5 identify -format '%wx%h' "$QM_USER/shot_$n.png" 2>/dev/null)
  [ "$size" = 800x600 ] || qm_fail "shot_$n.png is \"$size\", not 800x600"
  for want in "${shot_points[@]}"; do
    read -r gx gy r g b tolerance <<<"$want"
    got=$(qm_pixel "$QM_USER/shot_$n.png" "$gx" "$gy")
    qm_near "$got" "$r $g $b" "$tolerance" || qm_fail "shot_$n.png at ($gx,$gy): got ($got), want ($r $g $b)"
  done
  echo "Print Screen: shot_$n.png, 800x600, showing the showcase"
done
[ ! -e "$QM_USER/shot_0002.png" ] || qm_fail "a third screenshot was written"

# Full screen: the picture scaled onto the whole screen, and clicks still
# reach the buttons through it.
read -r sw sh _ <<<"$(echo "$QM_SCREEN" | tr x ' ')"
qm_key F8
qm_wait_window_size 30 "$sw" "$sh"
qm_wait_pixels 30 "${shown[@]}" "$(button_point "$quit_button" 0)"
cp "$QM_SHOT" "$QM_WORK/fullscreen.png"
echo "F8: full screen ${sw}x$sh"
qm_click $(centre_of "$dialog_button")
qm_wait_pixels 30 "${darkened[@]}" "${opened[@]}"
qm_key Escape
qm_wait_log 30 "$cancel_line" 2
qm_wait_pixels 30 "${shown[@]}"
echo "full screen: a click opened the dialog, Escape closed it"
qm_key F8
qm_wait_window_size 30 800 600
qm_click $(centre_of "$dialog_button")
qm_wait_pixels 30 "${darkened[@]}" "${opened[@]}"
qm_key Return
qm_wait_log 30 "$ok_line" 3
echo "F8: back in a window, and a click opened the dialog again"

# The cursor picture where the mouse is, and only there.
cursor=$(qm_pixel "$images/cursor.png" 5 12)
[ "$(qm_alpha "$images/cursor.png" 5 12)" = 255 ] || qm_fail "the cursor picture is not opaque at (5,12)"
for spot in "40 250 760 250" "760 250 40 250"; do
  read -r x y ox oy <<<"$spot"
  qm_move "$x" "$y"
  qm_wait_pixels 30 "$((x + 5)) $((y + 12)) $cursor 8" "$(backdrop_point $((ox + 5)) $((oy + 12)))"
done
cp "$QM_SHOT" "$QM_WORK/cursor.png"
echo "the cursor picture follows the mouse"

qm_click $(centre_of "$quit_button")
qm_game_wait_exit 60
echo "Quit: status 0"
qm_wait_log 1 "Showcase - Quit pressed."
[ "$(qm_log_count "$ok_line")" = 3 ] && [ "$(qm_log_count "$cancel_line")" = 2 ] ||
  qm_fail "the log holds $(qm_log_count "$ok_line") OK and $(qm_log_count "$cancel_line") CANCEL results, not 3 and 2"
if grep -qE "Error:|Warning:" "$QM_LOG"; then
  grep -E "Error:|Warning:" "$QM_LOG" >&2
  qm_fail "log.txt holds error or warning lines"
fi
echo "log: 3 OK and 2 CANCEL results, no error"
! compgen -G "$QM_WORK/tmp/quillmarsh-showcase-*" >/dev/null ||
  qm_fail "the program left its laid data folder in $QM_WORK/tmp"
echo "the laid data folder went with the program"
