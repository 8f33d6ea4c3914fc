#!/usr/bin/env bash
# d2_pair played under a virtual X server by a player placed in day 2 with
# that level to resume:
#   - Play opens it; its goal message is closed; scene 1 shows both panes;
#   - a wrong item (one with a partner) dims the screen with its message,
#     which is closed; a second wrong pick shows no message again; both
#     cost time;
#   - the right pane's odd item is found and goes; the map button leaves
#     mid-scene; the level taken again from the map shows scene 1 with that
#     item still gone and the other odd item there;
#   - the other odd item found: scene 2 slides in from above and the scene
#     number changes;
#   - scene 2's odd items found and SIGTERM sent while scene 3 slides in:
#     the next start resumes on scene 3 with nothing of it hidden;
#   - scene 3 found: the level is won, the results open, their OK leads to
#     the map and the level is complete.
# Usage: PairUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool. QM_E2E_KEEP=1 keeps the captures (scene1.png, penalty.png,
# resumed.png, slide.png, scene2.png, scene3.png, results.png).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: PairUnderXvfb.sh PROGRAM}"
level_file="$QM_DATA/levels/d2_pair/level.xml"
background="$QM_DATA/images/levels/pair/background.png"
[ -f "$level_file" ] || qm_fail "no $level_file"

mkdir -p "$QM_USER"
sed 's/<game >/<game currentProfile="Walker" >/' "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
grep -q 'currentProfile="Walker"' "$QM_USER/game.xml" || qm_fail "could not place the player in game.xml"
printf '\xEF\xBB\xBF<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n\t<profile name="Walker" >\r\n\t\t<stats currentDay="1" playDay="1" playLev="1" easyMode="false" startAnimation="true" story_day2_prestory="1" timeLeft="900000" />\r\n\t</profile>\r\n</profiles>\r\n' \
  >"$QM_USER/profiles.xml"

# The items of scene N of the level file, in file order: "name pane x y".
objects() { # scene number
  awk -v first="<scene_$(printf '%02d' "$1")" -v last="</scene_$(printf '%02d' "$1")>" '
    index($0, first) { inside = 1; next }
    index($0, last) { inside = 0 }
    inside && /<object / {
      match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, /pane="[^"]*"/); pane = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, /pos="[0-9]+,[0-9]+"/); split(substr($0, RSTART + 5, RLENGTH - 6), p, ",")
      print name, pane, p[1], p[2]
    }' "$level_file"
}
# The odd item of a pane: the first of its names the other pane lacks.
odd_item() { # scene pane
  local name pane x y other
  other=$([ "$2" = left ] && echo right || echo left)
  while read -r name pane x y; do
    [ "$pane" = "$2" ] || continue
    objects "$1" | grep -q "^$name $other " || { echo "$name $x $y"; return; }
  done < <(objects "$1")
  qm_fail "scene $1 has no odd item on its $2 pane"
}
# Where to click an item: a point that is opaque in every icon (the middle
# of a ring or a frame is a hole).
click_at() { # x y
  echo "$(($1 + 32)) $(($2 + 14))"
}
# A click on an item, the mouse then moved off the panes so that the
# pointer hides nothing that is checked.
pick() { # x y
  qm_click "$1" "$2"
  qm_move 400 4
}
# The background's colour at a point: what shows where no item is.
ground() { # x y [tolerance]
  echo "$1 $2 $(qm_pixel "$background" "$1" "$2") ${3:-30}"
}
# Whether the last capture shows an item (not the ground) at the point.
shows_item() { # x y
  ! qm_screen_matches "$(ground "$1" "$2" 40)"
}
# The wood between the panes, where no item stands: undimmed, no dialog.
undimmed="$(ground 400 300)"
ok_button="400 357"
dimmed() {
  qm_capture && ! qm_screen_matches "$undimmed"
}
ok_until_undimmed() {
  qm_click $ok_button
  sleep 1
  qm_capture_matches "$undimmed"
}
# The scene number on the frame strip.
label_crop() { # capture file out
  convert "$1" -crop "210x40+$((QM_WX + 400))+$((QM_WY + 548))" +repage "$2"
}

qm_game_start
qm_to_menu
qm_click 400 270
qm_wait_log 40 "TheZentaScript::DoState() - CS_STATE_MAP_STARTLEVEL" 1
qm_wait_log 30 "Items missed on both panes:" 3
qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_until 30 ok_until_undimmed || qm_fail "the goal message did not close:$QM_MISMATCH"
read -r right_odd rx ry <<<"$(odd_item 1 right)"
read -r left_odd lx ly <<<"$(odd_item 1 left)"
read -r rcx rcy <<<"$(click_at "$rx" "$ry")"
read -r lcx lcy <<<"$(click_at "$lx" "$ly")"
qm_capture && cp "$QM_SHOT" "$QM_WORK/scene1.png"
shows_item "$rcx" "$rcy" || qm_fail "scene 1 does not show $right_odd at ($rcx, $rcy)"
shows_item "$lcx" "$lcy" || qm_fail "scene 1 does not show $left_odd at ($lcx, $lcy)"
label_crop "$QM_WORK/scene1.png" "$QM_WORK/label1.png"
echo "opened: scene 1 with $left_odd odd on the left and $right_odd on the right"

# A wrong item: the last of the scene (drawn on top) that has a partner.
read -r wrong_name wx wy <<<"$(objects 1 | awk -v a="$left_odd" -v b="$right_odd" '$1 != a && $1 != b { n = $1; x = $3; y = $4 } END { print n, x, y }')"
read -r wcx wcy <<<"$(click_at "$wx" "$wy")"
pick "$wcx" "$wcy"
qm_wait_until 10 dimmed || qm_fail "a wrong pick ($wrong_name) showed no message"
sleep 1
qm_capture && cp "$QM_SHOT" "$QM_WORK/penalty.png"
qm_wait_until 30 ok_until_undimmed || qm_fail "the penalty message did not close:$QM_MISMATCH"
sleep 1
pick "$wcx" "$wcy"
sleep 1.5
qm_capture_matches "$undimmed" || qm_fail "the second wrong pick showed its message again:$QM_MISMATCH"
echo "a wrong pick ($wrong_name) showed its message once"

# The right pane's odd item found, then the map button, mid-scene.
pick "$rcx" "$rcy"
qm_wait_pixels 10 "$(ground "$rcx" "$rcy")"
qm_click 204 568
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP"
grep -q "current_scene=\"0\"" "$QM_USER/profiles.xml" || qm_fail "profiles.xml holds no current_scene 0"
grep -q "scene_left=\"\"" "$QM_USER/profiles.xml" || qm_fail "profiles.xml does not hold the find"
grep -q "scene_left_name=\"$right_odd\"" "$QM_USER/profiles.xml" || qm_fail "profiles.xml lacks the found name"
time_left=$(grep -o 'timeLeft="[0-9]*"' "$QM_USER/profiles.xml" | grep -o '[0-9]*')
[ "$time_left" -le 840000 ] || qm_fail "two wrong picks left $time_left ms of 900000"
hints=$(grep -o 'hintsShown="[01]*"' "$QM_USER/profiles.xml" | grep -o '[01][01]*')
[ "${hints:8:1}" = 1 ] || qm_fail "the penalty message is not marked as shown: $hints"
echo "left by the map button: scene 0 saved with $right_odd found, $time_left ms left"

# Taken again from the map (day 2's second thumbnail): no goal message
# now, the found item still gone, the other odd item there.
qm_wait_log 60 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1
sleep 2
qm_click 400 235
qm_wait_log 30 "Items missed on both panes:" 6
qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" 2
sleep 1.5
qm_capture && cp "$QM_SHOT" "$QM_WORK/resumed.png"
qm_screen_matches "$(ground "$rcx" "$rcy")" || qm_fail "resumed: $right_odd shows again:$QM_MISMATCH"
shows_item "$lcx" "$lcy" || qm_fail "resumed: $left_odd is missing"
echo "resumed on scene 1 with $right_odd still found"

# The other odd item: scene 2 slides in from above, the number changes.
read -r right2 r2x r2y <<<"$(odd_item 2 right)"
read -r left2 l2x l2y <<<"$(odd_item 2 left)"
read -r r2cx r2cy <<<"$(click_at "$r2x" "$r2y")"
read -r l2cx l2cy <<<"$(click_at "$l2x" "$l2y")"
pick "$lcx" "$lcy"
sleep 0.3
qm_capture && cp "$QM_SHOT" "$QM_WORK/slide.png"
sleep 2
qm_capture && cp "$QM_SHOT" "$QM_WORK/scene2.png"
qm_screen_matches "$undimmed" || qm_fail "scene 2 is not in place:$QM_MISMATCH"
shows_item "$r2cx" "$r2cy" || qm_fail "scene 2 does not show $right2"
shows_item "$l2cx" "$l2cy" || qm_fail "scene 2 does not show $left2"
label_crop "$QM_WORK/scene2.png" "$QM_WORK/label2.png"
changed=$(compare -metric AE -fuzz 10% "$QM_WORK/label1.png" "$QM_WORK/label2.png" null: 2>&1)
[ "${changed%%.*}" -gt 20 ] || qm_fail "the scene number did not change ($changed pixels)"
echo "scene 2 slid in; the scene number changed ($changed pixels)"

# Scene 2's odd items; SIGTERM while scene 3 slides in.
pick "$r2cx" "$r2cy"
qm_wait_pixels 10 "$(ground "$r2cx" "$r2cy")"
# The last capture shows the item still there. The click and the mouse's
# move away in one go, then SIGTERM as soon as the item is seen to go: the
# slide lasts 900 ms.
read -r sx sy <<<"$(qm_to_screen "$l2cx" "$l2cy")"
read -r ax ay <<<"$(qm_to_screen 400 4)"
item_colour=$(qm_pixel "$QM_SHOT" "$sx" "$sy")
taken() {
  qm_capture && ! qm_near "$(qm_pixel "$QM_SHOT" "$sx" "$sy")" "$item_colour" 30
}
xdotool mousemove "$sx" "$sy" mousedown 1 sleep 0.05 mouseup 1 mousemove "$ax" "$ay"
qm_wait_until 5 taken || qm_fail "$left2 did not go"
qm_game_stop
cp "$QM_USER/profiles.xml" "$QM_WORK/profiles_slide.xml"
cp "$QM_LOG" "$QM_WORK/log_slide.txt"
grep -q "current_scene=\"2\"" "$QM_USER/profiles.xml" || qm_fail "profiles.xml holds no current_scene 2"
if grep -q 'scene_left_name=""' "$QM_USER/profiles.xml"; then
  echo "SIGTERM during the slide: scene 2 saved with empty names"
else
  echo "SIGTERM after the slide had ended: scene 3 saved with its own names"
fi

qm_game_start
qm_to_menu
qm_click 400 270
qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
sleep 1.5
qm_capture && cp "$QM_SHOT" "$QM_WORK/scene3.png"
read -r right3 r3x r3y <<<"$(odd_item 3 right)"
read -r left3 l3x l3y <<<"$(odd_item 3 left)"
read -r r3cx r3cy <<<"$(click_at "$r3x" "$r3y")"
read -r l3cx l3cy <<<"$(click_at "$l3x" "$l3y")"
shows_item "$r3cx" "$r3cy" || qm_fail "scene 3 resumed without $right3"
shows_item "$l3cx" "$l3cy" || qm_fail "scene 3 resumed without $left3"
echo "resumed on scene 3 with both odd items there"

pick "$r3cx" "$r3cy"
qm_wait_pixels 10 "$(ground "$r3cx" "$r3cy")"
pick "$l3cx" "$l3cy"
qm_wait_log 30 "GameModePair::DoState() - GMP_STATE_STARTANIM"
qm_wait_log 30 "GameModePair::DoState() - GMP_STATE_SHOWRESULTS"
sleep 3
qm_capture && cp "$QM_SHOT" "$QM_WORK/results.png"
for attempt in 1 2 3; do
  qm_click 400 450
  qm_wait_until 3 qm_log_has "GameModePair::DoState() - GMP_STATE_QUIT" 1 && break
done
qm_wait_log 10 "GameModePair::DoState() - GMP_STATE_QUIT"
qm_wait_log 30 "GameModePair::DoState() - GMP_STATE_FINISHED"
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP" 1
echo "won: the results' OK leads back to the map"
sleep 2
qm_game_stop
grep -q 'd2_pair="complete"' "$QM_USER/profiles.xml" || qm_fail "d2_pair is not complete in profiles.xml"
echo "d2_pair complete"
