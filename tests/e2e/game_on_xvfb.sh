#!/usr/bin/env bash
# The real game on a 640x520 Xvfb screen, played with xdotool: the start screens, the highscore
# table (written) by a quick click on its button, the game screen with the S key, two pieces
# released by quick clicks on the corner and one moved by a quick drag (press, move and release
# in one go, as a tap and a finger drag on a touch screen reach the game: X emulates the
# pointer for them), the board checked cell by cell, Q held (the round ends, the program goes
# on), a new round ended by SIGTERM as a service manager stops it: the program ends within 2
# seconds with status 1 and the table file as it was. Held keys are held until their effect
# shows; a quick click is over long before the game's next frame.
# A quick click on a prize page turns it; a slow drag over several frames moves a piece.
# Usage: game_on_xvfb.sh <game binary> <print program> <art folder> <scratch dir>
set -euo pipefail
game="$1" printit="$2" art="$3" SCRATCH="$4"
source "$(dirname "$0")/lib.sh"
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH/run/Save" "$SCRATCH/run/Bin"
ln -s "$art/GFX" "$SCRATCH/run/GFX"
ln -s "$printit" "$SCRATCH/run/Bin/Printit.exe"
start_xvfb 640 520 "$SCRATCH"
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; stop_xvfb' EXIT  # however the script ends

(cd "$SCRATCH/run" && exec "$game" >"$SCRATCH/out.txt" 2>"$SCRATCH/err.txt") &
pid=$!
yes_if() { "$@" && echo yes || echo no; }
art_pixel() { pixel "$art/GFX/$1" "$2" "$3"; }

welcome=$(art_pixel Backgrounds/Welcome.bmp 200 40)
check "the welcome screen after the start screens" yes "$(yes_if until_true 60 shows 320 40 "$welcome")"
xdotool mousemove 60 370 click 1  # the highscore button
check "a quick click on the highscore button: the table written" yes \
    "$(yes_if until_true 30 test -s "$SCRATCH/run/Save/Highscore.hs")"
cp "$SCRATCH/run/Save/Highscore.hs" "$SCRATCH/table-before"

# R held until the first prize page stands; a quick click on the page turns it.
prizes1=$(art_pixel Backgrounds/Prizes1.bmp 60 70) prizes2=$(art_pixel Backgrounds/Prizes2.bmp 60 70)
xdotool keydown r
check "R: the first prize page" yes "$(yes_if until_true 30 shows 180 70 "$prizes1")"
xdotool keyup r
xdotool mousemove 400 300 click 1
check "a quick click on the page: the next page" yes "$(yes_if until_true 30 shows 180 70 "$prizes2")"

# S held until the game screen stands; the round starts with it.
board=$(art_pixel Backgrounds/GameBackground.bmp 470 300)
xdotool keydown s
check "the game screen slid in" yes "$(yes_if until_true 30 shows 590 300 "$board")"
xdotool keyup s

# Cells that hold a piece show one of the puzzle's tiles; empty cells show the background.
occupied() {  # occupied <col> <row>, on the last shot
    local x=$((160 + 88 * $1 + 30)) y=$((40 + 88 * $2 + 30))
    [ "$(pixel "$SCRATCH/shot.png" "$x" "$y")" != "$(art_pixel Backgrounds/GameBackground.bmp $((x - 120)) "$y")" ]
}
# board <cells "col,row" that must hold a piece>...: a new shot shows exactly these of the
# cells (1,0) to (4,0), (3,4) and (2,2) taken.
board() {
    import -window root "$SCRATCH/shot.png"
    local cell
    for cell in 1,0 2,0 3,0 4,0 3,4 2,2; do
        if [[ " $* " == *" $cell "* ]]; then occupied "${cell%,*}" "${cell#*,}" || return 1
        else ! occupied "${cell%,*}" "${cell#*,}" || return 1; fi
    done
}
# rests: the board looks the same in two shots a fifth of a second (five frames) apart, so
# nothing on it moves and a click counts (clicks made while a piece moves are lost).
rests() {
    import -window root -crop 440x440+160+40 "$SCRATCH/a.png"
    sleep 0.2
    import -window root -crop 440x440+160+40 "$SCRATCH/b.png"
    [ "$(compare -metric AE "$SCRATCH/a.png" "$SCRATCH/b.png" null: 2>&1)" = 0 ]
}
# quickly <expected board> <xdotool command>...: once the board rests, the command (a quick
# click or drag), until the board shows what it must; a second try only if a busy machine
# had a piece still moving after all.
quickly() {
    local expected=$1 try
    shift
    for try in 1 2 3; do
        until_true 20 rests || return 1
        xdotool "$@"
        until_true 10 board $expected && return 0
    done
    return 1
}
check "a quick click on the corner: the first piece slides to (4, 0)" yes \
    "$(yes_if quickly 4,0 mousemove 200 80 click 1)"
check "another: the second rests on (3, 0)" yes "$(yes_if quickly "3,0 4,0" click 1)"
# The piece on (3, 0) dragged down in one go, as a finger would.
dragged=$(yes_if quickly "4,0 3,4" mousemove 468 84 mousedown 1 mousemove 468 200 \
    mousemove 468 300 mouseup 1 mousemove 620 500)
check "a piece dragged down to (3, 4), (3, 0) empty" yes "$dragged"
# The piece on (4, 0) is one of the 24 tiles, drawn whole at its cell.
convert "$SCRATCH/shot.png" -crop 88x88+512+40 +repage "$SCRATCH/cell.bmp"
match=none
for t in $(seq 1 24); do
    convert "$art/GFX/Game/Puzzle.bmp" -crop "88x88+$((88 * (t % 5)))+$((88 * (t / 5)))" +repage "$SCRATCH/tile.bmp"
    if [ "$(compare -metric AE "$SCRATCH/cell.bmp" "$SCRATCH/tile.bmp" null: 2>&1)" = "0" ]; then match=tile; fi
done
check "the piece on (4, 0) is a puzzle tile" tile "$match"
# The piece on (4, 0) dragged left slowly, over several frames: it slides to (1, 0).
check "a slow drag over several frames" yes "$(yes_if quickly "1,0 3,4" mousemove 556 84 \
    mousedown 1 sleep 0.1 mousemove 520 85 sleep 0.1 mousemove 470 86 sleep 0.1 mouseup 1 \
    mousemove 620 500)"

# Q held (the key repeats meanwhile) ends the round only: the welcome screen slides in again.
xdotool keydown q
check "Q ends the round: the welcome screen" yes "$(yes_if until_true 30 shows 320 40 "$welcome")"
xdotool keyup q
check "the program goes on after the round" yes "$(yes_if kill -0 "$pid")"
# A new round, stopped as a service manager stops the game: SIGTERM ends it all at once.
xdotool keydown s
check "a new round" yes "$(yes_if until_true 30 shows 590 300 "$board")"
xdotool keyup s
started=$(date +%s%N)
kill -TERM "$pid"
ended() { ! kill -0 "$pid" 2>/dev/null; }
status=timeout
if until_true 10 ended; then wait "$pid" && status=0 || status=$?; fi
took=$((($(date +%s%N) - started) / 1000000))
check "SIGTERM during a round ends the program, status 1" 1 "$status"
check "within 2 seconds" yes "$([ "$took" -le 2000 ] && echo yes || echo "no: $took ms")"
check "the table file as it was" same "$(cmp -s "$SCRATCH/table-before" "$SCRATCH/run/Save/Highscore.hs" && echo same)"
check "nothing printed" "" "$(cat "$SCRATCH/out.txt")"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $SCRATCH"
    cat "$SCRATCH/err.txt"
    exit 1
fi
