#!/usr/bin/env bash
# Starts the game program under a virtual X server, from a folder of its own
# with private user and temporary folders, and checks what a player would
# see and keep:
#   - a window titled by the string "gamename" of scripts/strings.xml;
#   - past the splash, the menu: pixels of the title picture and of its
#     background, compared with the pictures themselves (the emitter's sparkles
#     drift over the title, so a few captures may be needed);
#   - SIGTERM ends it with status 0, after an orderly shutdown;
#   - the user folder holds log.txt (banner, activation, no error line),
#     game.xml and profiles.xml, both UTF-8 with a byte order mark;
#   - nothing beside the program (its data folder) is created or rewritten,
#     nor in the folder it was started from.
# Usage: GameUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: GameUnderXvfb.sh PROGRAM}"

# Every entry beside the program with its kind and size; a data file also
# with its time and content hash (programs are only listed: the build, not
# the game, writes them).
listing() {
  (cd "$QM_DATA" && find . -printf '%y %p %s\n' | sort)
  (cd "$QM_DATA" && find . -type f ! -perm -u+x -printf '%p %T@\n' | sort)
  (cd "$QM_DATA" && find . -type f ! -perm -u+x -print0 | sort -z | xargs -0 sha256sum)
}
listing >"$QM_WORK/before.txt"

qm_game_start
qm_to_menu
gamename=$(grep -o 'name="gamename" value="[^"]*"' "$QM_DATA/scripts/strings.xml" | sed 's/.*value="//; s/"$//')
[ -n "$gamename" ] || qm_fail "no gamename in scripts/strings.xml"
title=$(xdotool getwindowname "$QM_WINDOW")
[ "$title" = "$gamename" ] || qm_fail "window titled \"$title\", not \"$gamename\""
echo "window $QM_WINDOW titled \"$title\""
qm_window_geometry
[ "$QM_WW" = 800 ] && [ "$QM_WH" = 600 ] || qm_fail "window is ${QM_WW}x$QM_WH"

# The title picture's top-left corner on the screen, fixed by the layout,
# and opaque points of it (x,y in the picture); backdrop points away from
# the sparkles and the controls.
title_x=80
title_y=-6
expected=()
for p in 60,60 150,100 250,185 560,150 120,120 320,175; do
  x=${p%,*} y=${p#*,}
  [ "$(qm_alpha "$QM_DATA/images/title.png" "$x" "$y")" = 255 ] || qm_fail "title point $p is not opaque in the picture"
  expected+=("$((title_x + x)) $((title_y + y)) $(qm_pixel "$QM_DATA/images/title.png" "$x" "$y")")
done
for p in 760,560 40,560; do
  x=${p%,*} y=${p#*,}
  expected+=("$x $y $(qm_pixel "$QM_DATA/images/menu_bg.png" "$x" "$y")")
done
qm_wait_pixels 40 "${expected[@]}"
echo "menu: title and background shown"

qm_game_stop
echo "SIGTERM: status 0"

listing >"$QM_WORK/after.txt"
diff "$QM_WORK/before.txt" "$QM_WORK/after.txt" >&2 || qm_fail "the data folder changed while the game ran"
echo "data folder unchanged"
[ -z "$(ls -A "$QM_WORK/elsewhere")" ] || qm_fail "the game wrote into the folder it was started from"

[ -f "$QM_LOG" ] || qm_fail "no log.txt in $QM_USER"
for line in "LLF library. v1.0 build" "The Quillmarsh - Zenta v1.454 date" "Game window has been activated." \
  "TheZentaScript::DoState() - CS_STATE_SPLASHSHOW" "Window destroyed successfully."; do
  [ "$(qm_log_count "$line")" -ge 1 ] || qm_fail "log.txt lacks \"$line\""
done
if grep -qE "Error:|Warning:" "$QM_LOG"; then
  grep -E "Error:|Warning:" "$QM_LOG" >&2
  qm_fail "log.txt holds error or warning lines"
fi
for file in log.txt game.xml profiles.xml; do
  [ -f "$QM_USER/$file" ] || qm_fail "no $file in the user folder"
done
for file in game.xml profiles.xml; do
  [ "$(head -c 3 "$QM_USER/$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || qm_fail "$file does not start with a UTF-8 byte order mark"
  grep -q '<?xml version="1.0" encoding="UTF-8"?>' "$QM_USER/$file" || qm_fail "$file is not UTF-8 XML"
done
echo "user folder: log.txt, game.xml, profiles.xml"
