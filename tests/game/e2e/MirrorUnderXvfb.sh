#!/usr/bin/env bash
# d1_mirror played from the map under a virtual X server, by a player whose
# profile has day 1's first group done:
#   - Play, the map, the level's thumbnail: both halves show the picture;
#   - the mirrored cursor follows the mouse on the other half;
#   - a click on the left half finds the difference drawn on the right and
#     both places get a highlight; a hint is used ("Hint used." logged);
#   - the map button leaves, and the level resumed shows the find again;
#   - the rest found: the highlights fade, the halves meet at x 200 (black
#     at both sides; seen when a capture comes in the half second before
#     the zoom), the results open; their OK leads back to the map, where
#     the day's closing page shows, and day 2 opens.
# Usage: MirrorUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool. QM_E2E_KEEP=1 keeps the captures (play.png, union.png,
# results.png, closing.png).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: MirrorUnderXvfb.sh PROGRAM}"

# The player Walker: day 1's group 0 (d1_jigsaw, d1_puzzle) done, the
# map's opening and the day's first page seen, tips off.
mkdir -p "$QM_USER"
sed 's|<game >|<game currentProfile="Walker" >|; s|showTips="true"|showTips="false"|' \
  "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
printf '\xEF\xBB\xBF<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n<profile name="Walker" >\r\n<stats currentDay="0" easyMode="false" startAnimation="true" story_day1_prestory="1" timeLeft="900000" playDay="-1" playLev="-1" />\r\n<levels >\r\n<day_0 d1_jigsaw="complete" d1_puzzle="complete" />\r\n</levels>\r\n</profile>\r\n</profiles>\r\n' \
  >"$QM_USER/profiles.xml"

# The level's own picture and differences, from its files.
level="$QM_DATA/levels/d1_mirror"
[ -f "$level/level.xml" ] || qm_fail "no levels/d1_mirror/level.xml beside the program"
mapfile -t diffs < <(grep "<object" "$level/level.xml" | grep -o 'pos="[0-9]*,[0-9]*" dims="[0-9]*,[0-9]*"' |
  sed -E 's/pos="([0-9]+),([0-9]+)" dims="([0-9]+),([0-9]+)"/\1 \2 \3 \4/')
[ "${#diffs[@]}" -ge 5 ] || qm_fail "d1_mirror has ${#diffs[@]} differences"
# The centre of difference i, and that of its mirror place.
centre() { local x y w h; read -r x y w h <<<"${diffs[$1]}"; echo $((x + w / 2)) $((y + h / 2)); }
mirrored() { local cx cy; read -r cx cy <<<"$(centre "$1")"; echo $((cx < 400 ? cx + 400 : cx - 400)) "$cy"; }
# The top of the highlight ring around difference i (48 x 48 or the
# region's size, the 64-pixel ring drawn in it), and at the mirror place.
ring_top() { local x y w h s; read -r x y w h <<<"${diffs[$1]}"; s=$((w > 48 ? w : 48)); echo $((x + w / 2)) $((y + h / 2 - s * 27 / 64)); }
ring_colour="255 248 200 40"
picture_at() { qm_pixel "$level/original.png" "$1" "$2"; }

start_level() {
  qm_click 625 235  # day 1's third thumbnail
  qm_wait_log 60 'Image loaded "levels/d1_mirror/original.png"' "$1"
  qm_wait_log 30 "GameMode::DoState() - GM_STATE_SHOWCLOCK" "$1"
}

qm_game_start
qm_to_menu
qm_click 400 270  # Play
qm_wait_log 60 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED"
sleep 2
start_level 1
# Both halves show the picture: points where no difference lies.
qm_wait_pixels 30 "100 520 $(picture_at 100 520) 16" "500 520 $(picture_at 100 520) 16" \
  "200 240 $(picture_at 200 240) 16" "600 240 $(picture_at 200 240) 16"
echo "the level shows its picture on both halves"

# The mirrored cursor: with the mouse at (450, 300) it stands at (50, 300).
qm_move 700 30
sleep 0.5
qm_capture "$QM_WORK/nocursor.png"
qm_move 450 300
sleep 0.5
qm_capture
read -r sx sy <<<"$(qm_to_screen 57 314)"
before=$(qm_brightness "$(qm_pixel "$QM_WORK/nocursor.png" "$sx" "$sy")")
after=$(qm_brightness "$(qm_pixel "$QM_SHOT" "$sx" "$sy")")
[ $((after - before)) -gt 60 ] || qm_fail "no mirrored cursor at (57, 314): brightness $before, then $after"
echo "the mirrored cursor follows the mouse on the other half"

# Difference 1 lies on the right half: a click at its mirror place on the
# left finds it, and both places are highlighted.
[ "$(centre 1 | cut -d' ' -f1)" -ge 400 ] || qm_fail "d1_mirror's difference 1 is not on the right half"
qm_click $(mirrored 1)
read -r rx ry <<<"$(ring_top 1)"
qm_wait_pixels 20 "$rx $ry $ring_colour" "$((rx - 400)) $ry $ring_colour"
cp "$QM_SHOT" "$QM_WORK/play.png"
echo "a click on the left half found the difference on the right; both are highlighted"

# A hint, confirmed.
qm_click 332 568
sleep 1.5
qm_click 300 350
qm_wait_log 20 "Hint used. Hint object num:"
echo "a hint: $(grep -o 'Hint object num: [0-9]*' "$QM_LOG" | tail -n 1)"

# Leave by the map button, and come back.
qm_click 204 568
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP"
qm_wait_log 60 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 2
grep -q 'diff_collected_1="true"' "$QM_USER/profiles.xml" || qm_fail "profiles.xml does not keep the find"
sleep 2
start_level 2
qm_wait_pixels 30 "$rx $ry $ring_colour" "$((rx - 400)) $ry $ring_colour"
echo "resumed: the find is still highlighted on both halves"

# The rest, each clicked where it is drawn.
for i in 0 2 3 4; do
  qm_click $(centre "$i")
  sleep 0.4
done
qm_wait_log 30 "GameModeMirror::DoState() - GMM_STATE_STARTANIM"
qm_wait_log 30 "GameModeMirror::DoState() - GMM_STATE_UNIONSIDES"
# The halves move together: the screen's sides turn black while the
# picture stands between them, from about x 200 to 600, its middle showing
# the picture's middle once they have met; then the picture zooms
# (GMM_STATE_ZOOMIMG) and the results open over black, so each capture is
# judged whole, and only one taken before the results were logged. A
# machine too busy to capture the halves before the results has the log's
# word for them: their frames are checked on the manual clock by the mode's
# OpenGL test.
# One reading of the last capture at the sides (150, 650), the picture's
# edges (210, 590), its top (400, 200) and the middle to compare: "r g b"
# lines in that order.
union_points=("150 300" "650 300" "210 300" "590 300" "400 200")
union_sample() {
  local format="" sx sy
  qm_window_geometry
  while read -r sx sy; do
    format+="%[fx:round(255*p{$sx,$sy}.r)] %[fx:round(255*p{$sx,$sy}.g)] %[fx:round(255*p{$sx,$sy}.b)]\n"
  done < <(printf '%s\n' "${union_points[@]}" | qm_map_points)
  convert "$QM_SHOT" -format "$format" info: 2>/dev/null
}
middle_colour=$(picture_at 200 200)
union_seen="" middle_seen=""
union_looked_at() { # true once both are seen or the results have opened
  local results_before="" got
  qm_log_has "GameModeMirror::DoState() - GMM_STATE_SHOWRESULTS" 1 && results_before=1
  qm_running || qm_fail "the program ended"
  qm_capture || return 1
  if [ -z "$results_before" ]; then
    mapfile -t got < <(union_sample)
    if qm_near "${got[0]:-}" "0 0 0" 8 && qm_near "${got[1]:-}" "0 0 0" 24 &&
      [ "$(qm_brightness "${got[2]:-0 0 0}")" -gt 60 ] && [ "$(qm_brightness "${got[3]:-0 0 0}")" -gt 60 ] &&
      [ "$(qm_brightness "${got[4]:-0 0 0}")" -gt 60 ]; then
      [ -n "$union_seen" ] || cp "$QM_SHOT" "$QM_WORK/union.png"
      union_seen=1
      qm_near "${got[4]}" "$middle_colour" 60 && middle_seen=1
    fi
  fi
  [ -n "$results_before" ] || { [ -n "$union_seen" ] && [ -n "$middle_seen" ]; }
}
qm_wait_until 40 union_looked_at || qm_fail "neither the halves joining nor the results within 40 s"
if [ -n "$union_seen" ] && [ -n "$middle_seen" ]; then
  echo "the halves met in the middle, the picture from x 200 to 600"
elif [ -n "$union_seen" ]; then
  echo "the halves closed in, the picture from x 200 to 600; the zoom began before a capture saw them meet"
else
  echo "the results opened before a capture saw the halves join (a busy machine)"
fi

qm_wait_log 30 "GameModeMirror::DoState() - GMM_STATE_SHOWRESULTS"
sleep 3
qm_capture "$QM_WORK/results.png"
for attempt in 1 2 3; do
  qm_click 400 450
  qm_wait_until 3 qm_log_has "GameModeMirror::DoState() - GMM_STATE_QUIT" 1 && break
done
qm_wait_log 10 "GameModeMirror::DoState() - GMM_STATE_QUIT"
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP" 2
echo "the results' OK leads back to the map"

# Day 1 is complete: its closing page (the map opens on it), then day 2.
sleep 4
qm_capture "$QM_WORK/closing.png"
[ "$(qm_log_count "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED")" = 2 ] ||
  qm_fail "the map opened its page instead of the day's closing page"
for attempt in 1 2 3 4 5; do
  qm_click 400 300
  qm_wait_until 4 qm_log_has "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 3 && break
done
qm_wait_log 10 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 3
sleep 3
qm_game_stop
grep -q 'd1_mirror="complete"' "$QM_USER/profiles.xml" || qm_fail "d1_mirror is not complete in profiles.xml"
grep -q 'story_day1_poststory="1"' "$QM_USER/profiles.xml" || qm_fail "the closing page was not shown"
grep -q 'currentDay="1"' "$QM_USER/profiles.xml" || qm_fail "day 2 did not open"
echo "day 1 complete: the closing page showed and day 2 opened"
