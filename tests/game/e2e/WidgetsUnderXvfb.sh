#!/usr/bin/env bash
# The showcase's widgets dialog driven as a player would, under a virtual X
# server with xdotool, the screen read back after each step:
#   - typing "Ab1#" into the edit shows "Ab1" ("#" is not an allowed
#     character), and the last code-10 line of the edit carries "Ab1";
#   - a click on a check box shows its checked picture;
#   - dragging the slider's thumb to a known place sets the value, logged,
#     and the gauge it drives shows the matching fill;
#   - the wheel over the list scrolls its rows, Down moves the selection and
#     a double click on a row logs code 11 with that row;
#   - "Close" closes the dialog, and the log holds no error.
# Points are the game's own (800 x 600); the expected colours are read from
# the generated pictures themselves.
# Usage: WidgetsUnderXvfb.sh PROGRAM, the showcase program (showcase_demo).
# Exit 77 (skipped) only without Xvfb or xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: WidgetsUnderXvfb.sh PROGRAM}" "The Quillmarsh - Showcase"
images="$QM_DATA/images/gui"

# The layout of scripts/dialogs/dlg_widgets.xml, placed at (90, 80).
widgets_button="126 158"
edit="126 164"
box="126 210"
slider="126 306"
gauge="126 344"
list="460 164"
wheel_at="560 358"    # over the list's tenth row, below the rows compared
close_button="400 470"
away="760 40"         # past the dialog, on the darkened screen
row_top=168           # the list's first row, below its margin
row_height=20         # the font's line height and the list's interval
thumb_width=18

at() { # corner dx dy: a game point from a corner
  local x y
  read -r x y <<<"$1"
  echo "$((x + $2)) $((y + $3))"
}
# "gx gy r g b tol" for the point (dx, dy) of a widget showing the pixel
# (px, py) of its picture.
shows() { # corner dx dy picture px py
  echo "$(at "$1" "$2" "$3") $(qm_pixel "$images/$4" "$5" "$6") 20"
}
# The width of the bright pixels (the text) of a part of the last capture.
text_box() { # gx gy w h
  local sx sy
  read -r sx sy <<<"$(qm_to_screen "$1" "$2")"
  convert "$QM_SHOT" -crop "$3x$4+$sx+$sy" +repage -colorspace Gray -threshold 60% -format "%@" info:
}
crop() { # gx gy w h file
  local sx sy
  read -r sx sy <<<"$(qm_to_screen "$1" "$2")"
  convert "$QM_SHOT" -crop "$3x$4+$sx+$sy" +repage "$5"
}
same_picture() { # a b
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}
edit_line() { # text
  echo "Showcase - widget \"NameEdit\" code 10 value 0 \"$1\""
}
last_edit_line() {
  grep 'Showcase - widget "NameEdit" code 10 ' "$QM_LOG" | tail -n 1 | tr -d '\r' | sed 's/^.*Showcase/Showcase/'
}

box_unchecked=$(shows "$box" 10 15 checkbox.png 10 15)
edit_idle=$(at "$edit" 200 4)" 8 14 34 6"

qm_game_start
qm_showcase_shown
qm_window_geometry
[ "$QM_WW" = 800 ] && [ "$QM_WH" = 600 ] || qm_fail "window is ${QM_WW}x$QM_WH"
qm_move $away
qm_wait_pixels 40 "$(shows "$widgets_button" -50 -12 button.png 40 10)"
qm_click $widgets_button
qm_move $away
qm_wait_pixels 30 "$box_unchecked" "$edit_idle" "$(shows "$gauge" 30 11 progress.png 30 33)" \
  "$(shows "$gauge" 198 11 progress.png 198 11)"
cp "$QM_SHOT" "$QM_WORK/widgets.png"
echo "Widgets: the dialog is shown, the gauge at 40 (${SECONDS} s)"

# The edit takes keys while the mouse is over it (the move reaches the game
# before the keys do). Shift sends a line of its own, so "#" gives two.
qm_move $(at "$edit" 130 15)
xdotool windowfocus --sync "$QM_WINDOW" 2>/dev/null
xdotool type --delay 80 "Ab1"
qm_wait_log 30 "$(edit_line Ab1)" 1
qm_move $away
qm_wait_pixels 30 "$edit_idle"
crop $(at "$edit" 2 2) 256 26 "$QM_WORK/edit_ab1.png"
typed=$(text_box $(at "$edit" 2 2) 256 26)
qm_move $(at "$edit" 130 15)
xdotool type --delay 80 "#"
qm_wait_log 30 "$(edit_line Ab1)" 3
qm_move $away
qm_wait_pixels 30 "$edit_idle"
crop $(at "$edit" 2 2) 256 26 "$QM_WORK/edit_after.png"
[ "$(last_edit_line)" = "$(edit_line Ab1)" ] || qm_fail "the edit's last line is: $(last_edit_line)"
same_picture "$QM_WORK/edit_ab1.png" "$QM_WORK/edit_after.png" || qm_fail "\"#\" changed the edit on screen"
# "Ab1" in the 16-pixel font is 37 pixels wide, from the text's offset on;
# "Ab" or "Ab1#" would be far from that.
read -r w _ x _ <<<"$(echo "$typed" | tr 'x+' '  ')"
[ "$x" -ge 5 ] && [ "$x" -le 9 ] && [ "$w" -ge 34 ] && [ "$w" -le 40 ] ||
  qm_fail "the edit's text spans $typed, not \"Ab1\""
echo "edit: \"Ab1#\" shows \"Ab1\" ($typed), the last code-10 line carries \"Ab1\" (${SECONDS} s)"

# The check box: loop 1, in the normal cell once the mouse has left.
qm_click $(at "$box" 12 12)
qm_wait_log 30 'Showcase - widget "LanternBox" code 12 value 1 "LanternBox"'
qm_move $away
qm_wait_pixels 30 "$(shows "$box" 10 15 checkbox.png 10 39)"
echo "check box: the click shows the checked picture, logged (${SECONDS} s)"

# The thumb from 40 (96.8 pixels along its run of 242) by 85 pixels: 75.
read -r sx sy <<<"$slider"
thumb_x=$((sx + 96 + thumb_width / 2))
qm_drag "$thumb_x" $((sy + 12)) $((thumb_x + 86)) $((sy + 12))
qm_wait_log 30 'Showcase - widget "TideSlider" code 12 value 0 ""'
value=$(grep 'Showcase - widget "TideSlider" code 10 ' "$QM_LOG" | tail -n 1 | sed 's/.* value \([0-9-]*\) .*/\1/')
[ "$value" = 75 ] || qm_fail "the slider's last value is \"$value\", not 75"
# The gauge's fill runs 4 + 75% of 252 = 193 pixels; its text sits in the
# middle.
qm_move $away
qm_wait_pixels 30 "$(shows "$gauge" 188 11 progress.png 188 33)" "$(shows "$gauge" 198 11 progress.png 198 11)" \
  "$(shows "$slider" 150 12 slider_track.png 150 36)"
cp "$QM_SHOT" "$QM_WORK/slider.png"
echo "slider: dragged to $value, the gauge filled to 193 pixels (${SECONDS} s)"

# The wheel over the list: three notches down move the rows up by three.
# The row under the mouse is highlighted, so it lies below the rows
# compared.
crop $(at "$list" 4 $((row_top - 164 + 3 * row_height))) 180 $((5 * row_height)) "$QM_WORK/rows_3_7.png"
qm_move $wheel_at
for n in 1 2 3; do
  xdotool click 5
done
read -r lx ly <<<"$list"
scrolled() {
  qm_capture &&
    crop "$((lx + 4))" "$row_top" 180 $((5 * row_height)) "$QM_WORK/rows_top.png" &&
    same_picture "$QM_WORK/rows_3_7.png" "$QM_WORK/rows_top.png"
}
qm_wait_until 30 scrolled || qm_fail "the wheel did not scroll the list by three rows"
echo "list: the wheel scrolled it by three rows (${SECONDS} s)"

# Down selects the first row (scrolled back into view), Down again the
# second, highlighted.
qm_key Down
qm_wait_log 30 'Showcase - widget "MooringList" code 10 value 0 "Heron Reach"'
qm_key Down
qm_wait_log 30 'Showcase - widget "MooringList" code 10 value 1 "Lantern Pier"'
qm_wait_pixels 30 "$((lx + 180)) $((row_top + row_height + 10)) 40 108 112 6" \
  "$((lx + 180)) $((row_top + 10)) 8 14 34 6"
echo "list: Down, Down selected \"Lantern Pier\", highlighted (${SECONDS} s)"

# A double click on the fifth row.
qm_move "$((lx + 60))" "$((row_top + 4 * row_height + 10))"
sleep 0.2
xdotool click --repeat 2 --delay 80 1
qm_wait_log 30 'Showcase - widget "MooringList" code 11 value 4 "Willow Steps"'
qm_capture "$QM_WORK/list.png"
echo "list: a double click logged code 11 for \"Willow Steps\" (${SECONDS} s)"

qm_click $close_button
qm_wait_log 30 'Showcase - dialog result "OK"' 1
qm_move $away
qm_wait_pixels 30 "$(shows "$widgets_button" -50 -12 button.png 40 10)"
echo "Close: the dialog is gone (${SECONDS} s)"
qm_game_stop
if grep -qE "Error:|Warning:" "$QM_LOG"; then
  grep -E "Error:|Warning:" "$QM_LOG" >&2
  qm_fail "log.txt holds error or warning lines"
fi
echo "log: no error (${SECONDS} s)"
! compgen -G "$QM_WORK/tmp/quillmarsh-showcase-*" >/dev/null ||
  qm_fail "SIGTERM left the laid data folder in $QM_WORK/tmp"
echo "SIGTERM: the laid data folder went with the program"
