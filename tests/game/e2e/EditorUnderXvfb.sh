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
qm_wait_log 20 "Opening editor..."
sleep 0.5
qm_move 700 550
sleep 0.3
shot 10-loaded
# The button's placeholder (grey) where it was dropped, the dark workspace
# where it was before.
qm_screen_matches "299 364 164 164 164 30" "200 265 48 48 56 20" ||
  qm_fail "the loaded layout does not show the button where it was saved:$QM_MISMATCH"
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
