#!/usr/bin/env bash
# The real game letterboxed on a 1280x720 Xvfb screen, bare and with a window manager: what the
# game draws is what the monitor shows, scaled to fit, centred, the aspect kept, black bars at
# the sides; and a click reaches the button under the pointer in picture pixels (the highscore
# button's top and bottom rows, next to the gaps around it, count).
# Usage: screen_on_xvfb.sh <game binary> <art folder> <scratch dir>
set -euo pipefail
game="$1" art="$2" SCRATCH="$3"
source "$(dirname "$0")/lib.sh"
pid= wm_pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true; stop_xvfb' EXIT

run_screen() {  # run_screen <width> <height> [window manager]
    local width="$1" height="$2" manager="${3:-}"
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH/run/Save"
    ln -s "$art/GFX" "$SCRATCH/run/GFX"
    start_xvfb "$width" "$height" "$SCRATCH"
    if [ -n "$manager" ]; then
        "$manager" >"$SCRATCH/wm.log" 2>&1 &
        wm_pid=$!
        wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
        until_true 20 wm_ready || echo "($manager did not announce itself)"
    fi
    local where="${width}x${height}${manager:+ with $manager}"
    (cd "$SCRATCH/run" && exec "$game" >"$SCRATCH/out.txt" 2>&1) &
    pid=$!

    # The picture's placement: scaled to fit, centred.
    local scale offset_x offset_y
    scale=$(awk -v w="$width" -v h="$height" 'BEGIN { s = w / 640; if (h / 520 < s) s = h / 520; print s }')
    offset_x=$(awk -v w="$width" -v s="$scale" 'BEGIN { printf "%d", (w - int(640 * s)) / 2 }')
    offset_y=$(awk -v h="$height" -v s="$scale" 'BEGIN { printf "%d", (h - int(520 * s)) / 2 }')
    to_screen() { awk -v v="$1" -v s="$scale" -v o="$2" 'BEGIN { printf "%d", o + (v + 0.5) * s }'; }
    at() { echo "$(to_screen "$1" "$offset_x") $(to_screen "$2" "$offset_y")"; }

    # The welcome screen beside the menu, read where neither text nor an edge is near.
    local first
    first=$(pixel "$art/GFX/Backgrounds/Welcome.bmp" 200 40)
    # shellcheck disable=SC2046
    until_true 60 shows $(at 320 40) "$first" || true
    local name file px py sx sy y
    while read -r name file px py sx sy; do
        # shellcheck disable=SC2046
        check "$name on $where" "$(pixel "$art/GFX/$file" "$px" "$py")" \
            "$(pixel "$SCRATCH/shot.png" $(at "$sx" "$sy"))"
    done <<'POINTS'
welcome Backgrounds/Welcome.bmp 200 40 320 40
welcome-corner Backgrounds/Welcome.bmp 515 515 635 515
menu Menus/Menu.bmp 5 60 5 60
menu-foot Menus/Menu.bmp 110 515 110 515
POINTS
    check "left bar on $where" 000000 "$(pixel "$SCRATCH/shot.png" $((offset_x / 2)) $((height / 2)))"
    check "right bar on $where" 000000 "$(pixel "$SCRATCH/shot.png" $((width - offset_x / 2)) $((height / 2)))"

    # The highscore button covers picture rows 347 to 399, between gaps (344 to 346, 400 and
    # 401); the table is written when it is chosen: a click on its top row, then, after the
    # prizes were chosen in between (the shown screen's own button does nothing), its bottom row.
    local prizes
    prizes=$(pixel "$art/GFX/Backgrounds/Prizes1.bmp" 200 40)
    for y in 347 399; do
        rm -f "$SCRATCH/run/Save/Highscore.hs"
        # shellcheck disable=SC2046
        xdotool mousemove $(at 60 "$y") click 1
        check "a click at picture row $y on $where: the table" yes \
            "$(until_true 30 test -s "$SCRATCH/run/Save/Highscore.hs" && echo yes || echo no)"
        xdotool key r
        # shellcheck disable=SC2046
        until_true 30 shows $(at 320 40) "$prizes" || check "the prizes on $where" shown no
    done
    kill "$pid"
    wait "$pid" || true
    pid=
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
    wm_pid=
    stop_xvfb
}

run_screen 1280 720
# On a desktop with a window manager the borderless window fills the screen just as well.
run_screen 1280 720 openbox
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    cat "$SCRATCH/out.txt" || true
    exit 1
fi
