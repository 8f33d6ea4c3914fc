#!/usr/bin/env bash
# The wallpaper gallery under a virtual X server with xdotool, for a
# player whose profiles.xml, in a fresh user folder, holds the five demo
# awards (wallpapers 1, 5, 9, 13 and 17, one a page):
#   - the gallery opens from the menu on the first page: wallpaper 1's
#     thumbnail, and previews 2 to 4 dimmed over their locked slots; a
#     click on a dim one opens nothing;
#   - Next turns page by page to the fifth, where it is off (a click
#     there turns nothing);
#   - wallpaper 17's thumbnail zooms into the large view, whose capture
#     matches the wide picture's pixels;
#   - with no desktop program to take it, Set wallpaper shows the
#     "failed" dialog, both large-view buttons showing their disabled
#     look until it is closed;
#   - Close returns to the page, and Close again to the menu with its
#     band and columns.
# Captures are kept in the work folder with QM_E2E_KEEP=1.
# Usage: GalleryUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb
# or xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
qm_e2e_init "${1:?usage: GalleryUnderXvfb.sh PROGRAM}"
images="$QM_DATA/images"
walls="$images/wallpapers"

# The gallery's places (the layout's): the previews' corners, the ribbon's
# buttons (200 x 44 cells at y 546), the failed dialog's OK.
preview_x=(0 60 420 60 420)
preview_y=(0 100 100 320 320)
gallery_button="400 336"
prev_button="130 568"
close_button="400 568"
next_button="670 568"
set_button="280 568"
close2_button="520 568"
dialog_ok="400 372"
# Points inside a thumbnail, clear of its frame.
thumb_points=("80 150")

# state_count NAME: how many times the menu entered exactly that state.
state_count() {
  [ -f "$QM_LOG" ] || { echo 0; return; }
  grep -cE "ZentaMainMenu::DoState\(\) - $1.?$" "$QM_LOG"
}
wait_state() { # seconds name count
  qm_wait_until "$1" bash -c "[ \$(grep -cE 'ZentaMainMenu::DoState\(\) - $2.?\$' '$QM_LOG') -ge $3 ]" ||
    qm_fail "the menu did not enter $2 $3 time(s) within $1 s (it did $(state_count "$2"))"
}
# The points of preview n showing wallpaper w's thumbnail, at alpha a (of
# 255) over the gallery's background.
preview_points() { # n w alpha
  local p tx ty gx gy thumb bg
  for p in "${thumb_points[@]}"; do
    read -r tx ty <<<"$p"
    gx=$((preview_x[$1] + tx)) gy=$((preview_y[$1] + ty))
    thumb=$(qm_pixel "$walls/wall_$(printf %02d "$2")_thumb.jpg" "$tx" "$ty")
    bg=$(qm_pixel "$images/gallery/background.png" "$gx" "$gy")
    echo "$gx $gy $(awk -v t="$thumb" -v b="$bg" -v a="$3" 'BEGIN {
      split(t, tc, " "); split(b, bc, " ");
      for (i = 1; i <= 3; i++) printf "%d ", (tc[i] * a + bc[i] * (255 - a)) / 255 + 0.5 }') 14"
  done
}
page_points() { # page: wallpaper 4*page+1 full, the other three dim
  local first=$(($1 * 4 + 1)) i
  preview_points 1 "$first" 255
  for i in 2 3 4; do preview_points "$i" $((first + i - 1)) 60; done
}
# A point of a button's plate in a cell of the gallery's button strip
# (0 normal, 3 disabled), darkened by a dialog's backdrop when asked.
button_point() { # gx gy cell [darkened]
  local rgb
  rgb=($(qm_pixel "$images/gallery/button.png" $(($3 * 200 + 30)) 8))
  if [ "${4:-}" = dark ]; then
    echo "$1 $2 $((rgb[0] * 128 / 255)) $((rgb[1] * 128 / 255)) $((rgb[2] * 128 / 255)) 14"
  else
    echo "$1 $2 ${rgb[*]} 14"
  fi
}
keep() { # name: a copy of the last capture for a look
  [ "${QM_E2E_KEEP:-0}" = 1 ] && cp "$QM_SHOT" "$QM_WORK/$1.png"
  return 0
}

# The player and the awards, before the first start.
mkdir -p "$QM_USER"
printf '\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n\t<profile name="Fox" >\r\n\t\t<stats wallpapers="10001000100010001000" easyMode="false" />\r\n\t</profile>\r\n</profiles>\r\n' \
  >"$QM_USER/profiles.xml"
sed 's/<game >/<game currentProfile="Fox" >/' "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
grep -q 'currentProfile="Fox"' "$QM_USER/game.xml" || qm_fail "no game element in the template game.xml"
# No desktop to take the wallpaper: the fallback program must be absent.
unset XDG_CURRENT_DESKTOP
command -v feh >/dev/null && qm_fail "feh is installed: the failed-wallpaper check would change this user's desktop"

qm_game_start
qm_to_menu
mapfile -t menu < <(qm_menu_points)

qm_click $gallery_button
wait_state 30 ZENTAMM_STATE_GALLERY 1
mapfile -t page1 < <(page_points 0)
qm_wait_pixels 20 "${page1[@]}"
keep gallery_page1
echo "the gallery opened on page 1: wallpaper 1, three locked thumbnails dim"
# A dim thumbnail takes no click.
qm_click $((preview_x[2] + 160)) $((preview_y[2] + 100))
qm_move 700 20
sleep 2
[ "$(state_count ZENTAMM_STATE_GALLERY_BIGPREVIEW)" = 0 ] || qm_fail "a locked thumbnail opened the large view"
qm_capture_matches "${page1[@]}" || qm_fail "a locked thumbnail's click changed the page:$QM_MISMATCH"

for page in 1 2 3 4; do
  qm_move 700 20
  qm_click $next_button
  wait_state 30 ZENTAMM_STATE_GALLERY $((page + 1))
  mapfile -t points < <(page_points "$page")
  qm_wait_pixels 20 "${points[@]}"
  keep "gallery_page$((page + 1))"
  echo "page $((page + 1)): wallpaper $((page * 4 + 1)) and its locked neighbours"
done
# Next is off on the last page: it looks it and turns nothing.
qm_move 700 20
sleep 0.5
qm_wait_pixels 20 "$(button_point 600 554 3)"
qm_click $next_button
sleep 2
[ "$(grep -cF 'ZENTAMM_STATE_GALLERY_SHOWNEXT/PREV' "$QM_LOG")" = 4 ] || qm_fail "Next turned past the last page"

# Wallpaper 17 into the large view: the wide picture, pixel for pixel,
# above the ribbon.
qm_click $((preview_x[1] + 160)) $((preview_y[1] + 100))
wait_state 30 ZENTAMM_STATE_GALLERY_BIGPREVIEW 1
wide="$walls/wallpaper_17_wide.jpg"
mapfile -t large < <(for p in "100 300" "400 90" "700 450" "620 250"; do
  read -r x y <<<"$p"
  echo "$x $y $(qm_pixel "$wide" "$x" "$y") 12"
done)
qm_wait_pixels 20 "${large[@]}"
keep large_view
echo "the large view shows wallpaper 17's wide picture"

# No desktop program: the failed dialog, both buttons off until it closes.
qm_wait_pixels 20 "$(button_point 210 554 0)" "$(button_point 450 554 0)"
qm_click $set_button
qm_wait_log 20 "Error: Can't create IActiveDesktop instance"
qm_move 700 20
qm_wait_pixels 20 "$(button_point 210 554 3 dark)" "$(button_point 450 554 3 dark)"
keep wallpaper_failed
echo "Set wallpaper: the failed dialog, both large-view buttons disabled"
qm_click $dialog_ok
qm_move 700 20
qm_wait_pixels 20 "$(button_point 210 554 0)" "$(button_point 450 554 0)"

qm_click $close2_button
wait_state 30 ZENTAMM_STATE_GALLERY 6
mapfile -t page5 < <(page_points 4)
qm_wait_pixels 20 "${page5[@]}"
keep back_to_page
echo "Close returned to page 5"

qm_click $close_button
wait_state 30 MM_STATE_MENU 2
qm_wait_pixels 20 "${menu[@]}"
# The band shows again above the lower background: the sky's dark blue at
# the top, where the gallery had its gold title.
qm_capture
keep back_to_menu
read -r sx sy <<<"$(qm_to_screen 400 20)"
sky=($(qm_pixel "$QM_SHOT" "$sx" "$sy"))
[ "${sky[2]}" -gt "${sky[0]}" ] || qm_fail "no band of sky at the top of the menu: (${sky[*]})"
echo "Close returned to the menu with its band and columns"

qm_game_stop
echo "PASS"
