#!/usr/bin/env bash
# The in-game editor tried as a new user would, under a virtual X server
# with xdotool, on a copy of the program's data folder:
#   - the console's "editor open" shows the editor's column over the game;
#   - GUI Editor, New: a label and a button added from the add menu, the
#     label renamed in the property sheet, the button dragged, the layout
#     saved under a new name; the file holds both controls where they were
#     left, and Load shows them again;
#   - Strings, Images and Sounds: an add, a rename, an update and a delete,
#     each in the registry file at once; an image's preview is scaled down.
# Captures are kept in the work folder with QM_E2E_KEEP=1.
# Usage: EditorUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
qm_e2e_init "${1:?usage: EditorUnderXvfb.sh PROGRAM}"
qm_copy_program
shots="$QM_WORK/shots"
mkdir -p "$shots"

shot() { # name: a capture kept for the eye
  qm_capture "$shots/$1.png"
  cp "$shots/$1.png" "$QM_SHOT"
}

# The console answers only where the configuration allows it; a fresh
# user folder takes its configuration from this template.
sed -i 's/<game >/<game enableConsole="true" >/' "$QM_DATA/scripts/game.xml"
grep -q 'enableConsole="true"' "$QM_DATA/scripts/game.xml" || qm_fail "the console could not be allowed"

qm_game_start
qm_to_menu

# The console, "editor open", the console away again.
qm_key grave
sleep 0.5
qm_type "editor open"
qm_key Return
qm_wait_log 20 "Opening editor..."
qm_key grave
sleep 0.5
shot 01-editor

# ---- GUI Editor, New: the column goes, the workspace fills the window.
qm_click 60 235
sleep 0.5
shot 02-gui-panel
qm_click 60 25
sleep 0.5
# A right click on the workspace: its menu; Add: the list of classes.
qm_right_click 400 150
sleep 0.5
shot 03-workspace-menu
qm_click 440 167
sleep 0.5
shot 04-add-menu
# "label" is the list's fifth row (15 pixels a row from y 162).
qm_double_click 440 229
sleep 0.5
shot 05-label-added
# A button: the add menu of a right click at (150, 300), kept inside the
# window (it is 350 high), so it opens at (150, 250); "button" is the
# third row.
qm_right_click 150 300
sleep 0.3
qm_click 190 317
sleep 0.5
qm_double_click 190 292
sleep 0.5
shot 06-button-added
# The label's menu, Edit: the property sheet beside it.
qm_right_click 410 160
sleep 0.3
qm_click 450 207
sleep 0.5
shot 07-sheet
# The Name row's edit (the sheet is kept inside the window, so it starts
# at (500, 0)); keys go to the edit under the mouse.
qm_move 720 31
sleep 0.2
qm_type "title"
sleep 0.3
# The button dragged by (100, 100): it moves by 99 on each axis.
qm_drag 200 265 300 365
sleep 0.5
shot 08-edited
# The workspace's menu, Save: the chooser in the middle; a new name.
qm_right_click 100 500
sleep 0.3
qm_click 140 547
sleep 0.5
qm_move 250 412
sleep 0.2
qm_type "scripts/dialogs/e2e_layout.xml"
shot 09-save-dialog
qm_click 197 450
layout="$QM_DATA/scripts/dialogs/e2e_layout.xml"
qm_wait_file 20 "$layout"
head -c 3 "$layout" | od -An -tx1 | grep -q "ef bb bf" || qm_fail "the saved layout has no UTF-8 mark"
grep -q '<?xml' "$layout" && qm_fail "the saved layout has a declaration"
grep -q 'WSELEMENT_\|WORKSPACE\|PROPERTIESDIALOG' "$layout" && qm_fail "editor names saved: $(cat "$layout")"
grep -q '<label name="title" .*pos="400,150"' "$layout" || qm_fail "no label \"title\" at 400,150: $(cat "$layout")"
grep -q '<button .*pos="249,349"' "$layout" || qm_fail "no button at 249,349: $(cat "$layout")"
grep -q '<include file="scripts/strings.xml" path="game/vars" />' "$layout" || qm_fail "no strings include"
echo "saved: $(tr -d '\r' <"$layout" | grep -c '<label\|<button') controls in $layout"

# Exit (saved, so nothing is asked), Load: both controls back in place.
qm_right_click 100 500
sleep 0.3
qm_click 140 577
sleep 0.5
qm_click 60 65
sleep 0.5
qm_move 300 387
sleep 0.2
qm_type "scripts/dialogs/e2e_layout.xml"
qm_click 240 425
qm_move 700 550
# The button's placeholder (grey) where it was dropped, the dark workspace
# where it was before.
qm_wait_pixels 20 "299 364 164 164 164 30" "200 265 48 48 56 20"
shot 10-loaded
label_pixels=$(read -r x y <<<"$(qm_to_screen 400 150)"; convert "$QM_SHOT" -crop "100x20+$x+$y" +repage \
  -fx '(r>0.7&&g>0.7&&b>0.7)?1:0' -format '%[fx:round(mean*w*h)]' info:)
[ "$label_pixels" -gt 40 ] || qm_fail "the label's text is not at 400,150 ($label_pixels light pixels)"
# Exit and Close: the editor's column again.
qm_right_click 100 500
sleep 0.3
qm_click 140 577
sleep 0.3
qm_click 60 105
sleep 0.5
shot 11-back

# ---- Strings (the dialog in the middle of the window, at 60,125).
strings="$QM_DATA/scripts/strings.xml"
has() { # file pattern: the registry holds it now
  tr -d '\r' <"$1" | grep -q -- "$2"
}
wait_has() { # file pattern
  qm_wait_until 10 has "$1" "$2" || qm_fail "$(basename "$1") does not hold $2"
}
wait_lacks() { # file pattern
  qm_wait_until 10 bash -c "! tr -d '\\r' <'$1' | grep -q -- '$2'" || qm_fail "$(basename "$1") still holds $2"
}
retype() { # game x y count text: the edit's text replaced
  qm_move "$1" "$2"
  sleep 0.2
  qm_key End
  local i
  for ((i = 0; i < $3; i++)); do qm_key BackSpace; done
  qm_type "$4"
}
qm_click 60 25
sleep 0.5
shot 12-strings
# Add: the name dialog (at 250,250 in the dialog's middle), a new ID.
qm_click 137 450
sleep 0.5
qm_move 400 285
sleep 0.2
qm_type "e2e_word"
shot 13-strings-add
qm_click 340 325
wait_has "$strings" '<var name="e2e_word" value="" />'
# The new ID is selected: renamed and given a value, then Update.
retype 590 165 8 "renamed"
retype 590 205 0 "Hello"
qm_click 545 245
wait_has "$strings" '<var name="renamed" value="Hello" />'
wait_lacks "$strings" 'e2e_word'
shot 14-strings-updated
# Delete, confirmed.
qm_click 282 450
sleep 0.5
shot 15-strings-delete
qm_click 340 325
wait_lacks "$strings" '"renamed"'
qm_click 680 450
sleep 0.5

# The list's ninth row (game y 232-246) holds text only inside a group
# (the registries have fewer groups): light letter pixels there.
inside_group() {
  local x y
  qm_capture || return 1
  read -r x y <<<"$(qm_to_screen 75 232)"
  [ "$(convert "$QM_SHOT" -crop "200x14+$x+$y" +repage -fx '(r>0.85&&g>0.85&&b>0.85)?1:0' \
    -format '%[fx:round(mean*w*h)]' info:)" -gt 20 ]
}
# A double click on the first group; again until the list shows a group's
# entries (a loaded machine may part the two clicks too far).
enter_group() {
  local tries
  for tries in 1 2 3 4 5; do
    qm_double_click 200 119
    qm_move 700 560
    qm_wait_until 5 inside_group && return 0
  done
  qm_fail "the first group could not be entered"
}
# ---- Images (at 60,85): the first group, its first picture previewed.
images="$QM_DATA/scripts/images.xml"
qm_click 60 65
sleep 0.5
enter_group
qm_click 200 134
qm_move 700 560
sleep 0.5
shot 16-images-preview
# showcase_bg (800 x 600) fits the 370 x 275 box at scale 275/600: a point
# of the box shows the picture's pixel there; right of the scaled picture
# the dialog shows again.
bg="$QM_DATA/images/showcase_bg.png"
want=$(qm_pixel "$bg" $((180 * 600 / 275)) $((140 * 600 / 275)))
beyond=$(qm_pixel "$bg" $((375 * 600 / 275)) $((140 * 600 / 275)))
qm_screen_matches "540 250 $want 16" || qm_fail "the preview does not show the picture scaled down:$QM_MISMATCH"
qm_screen_matches "735 250 $beyond 16" && qm_fail "the preview is drawn past its box"
qm_click 137 490
sleep 0.5
qm_move 400 285
sleep 0.2
qm_type "e2e_img"
qm_click 340 325
wait_has "$images" '<image name="e2e_img" src="Select image file" cells="1" loops="1" />'
retype 645 410 7 "eimg"
qm_click 680 450
wait_has "$images" '<image name="eimg" src="Select image file" cells="1" loops="1" />'
wait_lacks "$images" 'e2e_img'
shot 17-images-updated
qm_click 282 490
sleep 0.5
qm_click 340 325
wait_lacks "$images" '"eimg"'
qm_click 680 490
sleep 0.5

# ---- Sounds (at 60,85): the first group; a sound added, renamed with a
# new volume, deleted.
sounds="$QM_DATA/scripts/sounds.xml"
qm_click 60 145
sleep 0.5
enter_group
qm_click 137 490
sleep 0.5
qm_move 400 285
sleep 0.2
qm_type "e2e_snd"
qm_click 340 325
wait_has "$sounds" '<sound name="e2e_snd" src="Select sound file" volume="100" looped="false" />'
shot 18-sounds-added
retype 645 410 7 "esnd"
retype 430 410 3 "50"
qm_click 680 450
wait_has "$sounds" '<sound name="esnd" src="Select sound file" volume="50" looped="false" />'
wait_lacks "$sounds" 'e2e_snd'
shot 19-sounds-updated
qm_click 282 490
sleep 0.5
qm_click 340 325
wait_lacks "$sounds" '"esnd"'
qm_click 680 490
sleep 0.5
shot 20-done

qm_game_stop
echo "EditorUnderXvfb: the layout made, saved and loaded again; strings, images and sounds edited in their files"
