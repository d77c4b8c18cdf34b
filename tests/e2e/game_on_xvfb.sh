#!/usr/bin/env bash
# The real game on a 640x520 Xvfb screen, played with xdotool: the start screens, the game
# screen with the S key, two pieces released from the corner and one dragged, a screenshot
# checked cell by cell, quit with Q (the round) and Q (the menu), the credit screen, status 1.
# Usage: game_on_xvfb.sh <game binary> <print program> <art folder> <scratch dir>
set -euo pipefail
game="$1" printit="$2" art="$3" scratch="$4"
rm -rf "$scratch"
mkdir -p "$scratch/run/Save" "$scratch/run/Bin"
ln -s "$art/GFX" "$scratch/run/GFX"
ln -s "$printit" "$scratch/run/Bin/Printit.exe"
failures=0
check() {  # check <what> <expected> <actual>
    if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); fi
}
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
key() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; }
click() { xdotool mousemove "$1" "$2"; sleep 0.05; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; }

exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 640x520x24 -nolisten tcp 2>"$scratch/xvfb.log" &
xvfb=$!
exec 3>&-
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$scratch/display")"
unset SDL_VIDEODRIVER

(cd "$scratch/run" && exec "$game" >"$scratch/out.txt" 2>"$scratch/err.txt") &
pid=$!
sleep 8  # two start screens of 4 seconds
welcome=$(convert "$art/GFX/Backgrounds/Welcome.bmp" -format "%[hex:p{200,40}]" info: | cut -c1-6)
shown=none
for _ in $(seq 40); do  # then the welcome screen slides in
    import -window root "$scratch/menu.png"
    shown=$(pixel "$scratch/menu.png" 320 40)
    [ "$shown" = "$welcome" ] && break
    sleep 0.25
done
check "the welcome screen after the start screens" "$welcome" "$shown"

key s
# The game screen slides in over 26 frames; the round starts when it stands.
board=$(convert "$art/GFX/Backgrounds/GameBackground.bmp" -format "%[hex:p{470,300}]" info: | cut -c1-6)
for _ in $(seq 40); do
    import -window root "$scratch/slide.png"
    [ "$(pixel "$scratch/slide.png" 590 300)" = "$board" ] && break
    sleep 0.25
done
sleep 0.3
click 200 80  # the corner: the first piece slides to the right edge
sleep 1
click 200 80  # the second rests beside it
sleep 1
xdotool mousemove 468 84 mousedown 1  # the piece on (3, 0), dragged down
sleep 0.1
xdotool mousemove 468 200
sleep 0.1
xdotool mousemove 468 300 mouseup 1
sleep 1
xdotool mousemove 620 500  # off the board: no highlight, no glow
sleep 0.3
import -window root "$scratch/board.png"

# Cells that hold a piece show one of the puzzle's tiles; empty cells show the background.
background="$art/GFX/Backgrounds/GameBackground.bmp"
occupied() {  # occupied <col> <row>: yes when the cell's middle differs from the background
    local x=$((160 + 88 * $1 + 30)) y=$((40 + 88 * $2 + 30))
    local shown bg
    shown=$(pixel "$scratch/board.png" "$x" "$y")
    bg=$(convert "$background" -format "%[hex:p{$((x - 120)),$y}]" info: | cut -c1-6)
    [ "$shown" != "$bg" ] && echo yes || echo no
}
check "a piece on (4, 0)" yes "$(occupied 4 0)"
check "a piece dragged down to (3, 4)" yes "$(occupied 3 4)"
check "nothing left on (3, 0)" no "$(occupied 3 0)"
check "nothing on (1, 0)" no "$(occupied 1 0)"
check "nothing on (2, 2)" no "$(occupied 2 2)"
# The piece on (4, 0) is one of the 24 tiles, drawn whole at its cell.
convert "$scratch/board.png" -crop 88x88+512+40 +repage "$scratch/cell.bmp"
match=none
for t in $(seq 1 24); do
    convert "$art/GFX/Game/Puzzle.bmp" -crop "88x88+$((88 * (t % 5)))+$((88 * (t / 5)))" +repage "$scratch/tile.bmp"
    if [ "$(compare -metric AE "$scratch/cell.bmp" "$scratch/tile.bmp" null: 2>&1)" = "0" ]; then match=tile; fi
done
check "the piece on (4, 0) is a puzzle tile" tile "$match"

key q  # ends the round only
sleep 1.5
key q  # ends the menu: the credit screen for 4 seconds, then the end
sleep 1
import -window root "$scratch/credits.png"
credits=$(convert "$art/GFX/Screens/Creditscreen.bmp" -format "%[hex:p{320,270}]" info: | cut -c1-6)
check "the credit screen" "$credits" "$(pixel "$scratch/credits.png" 320 270)"
status=timeout
for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        break
    fi
    sleep 0.1
done
check "exit status after the credit screen" 1 "$status"
check "nothing printed" "" "$(cat "$scratch/out.txt")"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $scratch"
    cat "$scratch/err.txt"
    exit 1
fi
