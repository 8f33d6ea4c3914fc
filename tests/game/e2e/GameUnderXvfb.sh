#!/usr/bin/env bash
# Starts the game program under a virtual X server, from a folder of its own
# with private user and temporary folders, and checks what a player would
# see and keep:
#   - a window titled by the string "gamename" of scripts/strings.xml;
#   - the first screen on it: pixels of the title picture and of the
#     backdrop, compared with the pictures themselves (the emitter's sparkles
#     drift over the title, so a few captures may be needed);
#   - SIGTERM ends it with status 0, after an orderly shutdown;
#   - the user folder holds log.txt (banner, activation, no error line),
#     game.xml and profiles.xml, both UTF-8 with a byte order mark;
#   - nothing beside the program (its data folder) is created or rewritten,
#     nor in the folder it was started from.
# Usage: GameUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "${1:-}" = "--inner" ]; then
  shift
  program=$1
  data=$(dirname "$program")
  cd "$QM_E2E_WORK/elsewhere" || fail "no working folder"
  # The program's own title, fixed by the layout: the title picture's
  # top-left corner and its opaque points (x,y in the picture), and
  # backdrop points away from the sparkles.
  title_x=80
  title_y=170
  title_points="60,60 150,100 250,185 560,150 120,120 320,175"
  backdrop_points="700,100 40,560"

  # In a sanitizer build the leak check stays off for this process only:
  # SDL's X11 driver opens D-Bus, whose library keeps its state to the end
  # and is partly unloaded by then, so its blocks can't even be told apart.
  # The game's own code runs leak-checked in the headless suites.
  env -u SDL_VIDEODRIVER XDG_DATA_HOME="$QM_E2E_WORK/user" TMPDIR="$QM_E2E_WORK/tmp" \
    XDG_RUNTIME_DIR="$QM_E2E_WORK/run" SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$program" &
  pid=$!

  window=""
  for _ in $(seq 1 240); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing a window"
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.25
  done
  if [ -z "$window" ]; then
    xwininfo -root -tree >&2
    kill -KILL "$pid"
    fail "no window within 60 s"
  fi

  gamename=$(grep -o 'name="gamename" value="[^"]*"' "$data/scripts/strings.xml" | sed 's/.*value="//; s/"$//')
  [ -n "$gamename" ] || fail "no gamename in scripts/strings.xml"
  title=$(xdotool getwindowname "$window")
  [ "$title" = "$gamename" ] || fail "window titled \"$title\", not \"$gamename\""
  echo "window $window titled \"$title\""

  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "window is ${WIDTH}x$HEIGHT"

  convert=/usr/bin/convert
  [ -x "$convert" ] || convert=convert
  pixel() {  # file x y -> "r g b"
    "$convert" "$1" -format "%[fx:round(255*p{$2,$3}.r)] %[fx:round(255*p{$2,$3}.g)] %[fx:round(255*p{$2,$3}.b)]" info:
  }
  near() {  # "r g b" "r g b" -> whether every channel is within 24
    local a=($1) b=($2) c d
    for c in 0 1 2; do
      d=$((a[c] - b[c]))
      [ ${d#-} -le 24 ] || return 1
    done
  }
  expected=()
  screen_points=()
  for p in $title_points; do
    x=${p%,*} y=${p#*,}
    alpha=$("$convert" "$data/images/title.png" -format "%[fx:round(255*p{$x,$y}.a)]" info:)
    [ "$alpha" = 255 ] || fail "title point $p is not opaque in the picture"
    expected+=("$(pixel "$data/images/title.png" "$x" "$y")")
    screen_points+=("$((X + title_x + x)) $((Y + title_y + y)) title($p)")
  done
  for p in $backdrop_points; do
    x=${p%,*} y=${p#*,}
    expected+=("$(pixel "$data/images/showcase_bg.png" "$x" "$y")")
    screen_points+=("$((X + x)) $((Y + y)) backdrop($p)")
  done

  shot="$QM_E2E_WORK/screen.png"
  shown=no
  for attempt in $(seq 1 80); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended while showing its first screen"
    import -window root "$shot" 2>/dev/null || { sleep 0.5; continue; }
    mismatch=""
    for i in "${!screen_points[@]}"; do
      read -r sx sy name <<<"${screen_points[$i]}"
      got=$(pixel "$shot" "$sx" "$sy")
      near "$got" "${expected[$i]}" || mismatch="$mismatch $name: got ($got), want (${expected[$i]});"
    done
    if [ -z "$mismatch" ]; then
      shown=yes
      echo "title and backdrop shown (capture $attempt)"
      break
    fi
    sleep 0.5
  done
  cp "$shot" "$QM_E2E_WORK/last-screen.png" 2>/dev/null
  [ "$shown" = yes ] || { kill -KILL "$pid"; fail "the screen does not show the title:$mismatch"; }

  kill -TERM "$pid"
  for _ in $(seq 1 240); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "SIGTERM did not end the program within 60 s"
  fi
  wait "$pid"
  status=$?
  [ "$status" = 0 ] || fail "SIGTERM ended the program with status $status"
  echo "SIGTERM: status 0"
  exit 0
fi

program=${1:?usage: GameUnderXvfb.sh PROGRAM}
[ -x "$program" ] || fail "no program at $program"
if ! command -v Xvfb >/dev/null || ! command -v xvfb-run >/dev/null; then
  echo "SKIPPED: Xvfb is not installed (scripts/setup.sh installs it)."
  exit 77
fi
for tool in xdotool import; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
done

data=$(cd "$(dirname "$program")" && pwd)
program="$data/$(basename "$program")"
QM_E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/qm-e2e-XXXXXX")
export QM_E2E_WORK
trap 'rm -rf "$QM_E2E_WORK"' EXIT
mkdir -p "$QM_E2E_WORK"/{user,tmp,run,elsewhere}
chmod 700 "$QM_E2E_WORK/run"

# Every entry beside the program with its kind and size; a data file also
# with its time and content hash (programs are only listed: the build, not
# the game, writes them).
listing() {
  (cd "$data" && find . -printf '%y %p %s\n' | sort)
  (cd "$data" && find . -type f ! -perm -u+x -printf '%p %T@\n' | sort)
  (cd "$data" && find . -type f ! -perm -u+x -print0 | sort -z | xargs -0 sha256sum)
}
listing >"$QM_E2E_WORK/before.txt"

xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/$(basename "$0")" --inner "$program"
status=$?
user="$QM_E2E_WORK/user/Brenvik/The Quillmarsh - Zenta"
log="$user/log.txt"
if [ "$status" != 0 ]; then
  [ -f "$log" ] && { echo "--- log.txt"; cat "$log"; }
  exit 1
fi

listing >"$QM_E2E_WORK/after.txt"
diff "$QM_E2E_WORK/before.txt" "$QM_E2E_WORK/after.txt" >&2 || fail "the data folder changed while the game ran"
echo "data folder unchanged"
[ -z "$(ls -A "$QM_E2E_WORK/elsewhere")" ] || fail "the game wrote into the folder it was started from"

[ -f "$log" ] || fail "no log.txt in $user"
for line in "LLF library. v1.0 build" "The Quillmarsh - Zenta v1.454 date" "Game window has been activated." \
  "TheZentaScript::DoState() - CS_STATE_SHOWCASE" "Window destroyed successfully."; do
  grep -qF "$line" "$log" || { cat "$log"; fail "log.txt lacks \"$line\""; }
done
if grep -qE "Error:|Warning:" "$log"; then
  grep -E "Error:|Warning:" "$log" >&2
  fail "log.txt holds error or warning lines"
fi
for file in log.txt game.xml profiles.xml; do
  [ -f "$user/$file" ] || fail "no $file in the user folder"
done
for file in game.xml profiles.xml; do
  [ "$(head -c 3 "$user/$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$file does not start with a UTF-8 byte order mark"
  grep -q '<?xml version="1.0" encoding="UTF-8"?>' "$user/$file" || fail "$file is not UTF-8 XML"
done
echo "user folder: log.txt, game.xml, profiles.xml"
