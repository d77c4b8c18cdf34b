#!/usr/bin/env bash
# Shows that what the engine draws is what the monitor shows, and that the mouse arrives in
# 640 by 520 picture pixels: on a 640x520 Xvfb screen, and letterboxed on a 1280x720 one.
# Usage: screen_on_xvfb.sh <probe binary> <scratch dir>
set -euo pipefail
probe="$1"
SCRATCH="$2"
source "$(dirname "$0")/lib.sh"
mkdir -p "$SCRATCH"
trap 'kill "${PROBE_PID:-}" 2>/dev/null || true; stop_xvfb' EXIT  # however the script ends

run_screen() {  # run_screen <width> <height> [window manager]
    local width="$1" height="$2" manager="${3:-}" wm_pid=
    start_xvfb "$width" "$height" "$SCRATCH"
    if [ -n "$manager" ]; then
        "$manager" >"$SCRATCH/wm.log" 2>&1 &
        wm_pid=$!
        wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
        until_true 20 wm_ready || echo "($manager did not announce itself)"
    fi
    local where="${width}x${height}${manager:+ with $manager}"

    coproc PROBE { "$probe" "$SCRATCH/art.bmp" 2>"$SCRATCH/probe.err"; }
    local reply
    read -r -t 60 reply <&"${PROBE[0]}" || reply="no answer"
    check "probe started on $where" ready "$reply"

    # The picture's placement: scaled to fit, centred, aspect kept.
    local scale offset_x offset_y
    scale=$(awk -v w="$width" -v h="$height" 'BEGIN { s = w / 640; if (h / 520 < s) s = h / 520; print s }')
    offset_x=$(awk -v w="$width" -v s="$scale" 'BEGIN { printf "%d", (w - int(640 * s)) / 2 }')
    offset_y=$(awk -v h="$height" -v s="$scale" 'BEGIN { printf "%d", (h - int(520 * s)) / 2 }')
    to_screen() { awk -v v="$1" -v s="$scale" -v o="$2" 'BEGIN { printf "%d", o + v * s }'; }

    # The first point shows once the picture has reached the screen; then all are read.
    until_true 30 shows "$(to_screen 50 "$offset_x")" "$(to_screen 50 "$offset_y")" FF0000 || true
    local name px py expected
    while read -r name px py expected; do
        check "$name at ($px, $py) on $where" "$expected" \
            "$(pixel "$SCRATCH/shot.png" "$(to_screen "$px" "$offset_x")" "$(to_screen "$py" "$offset_y")")"
    done <<'POINTS'
red-square 50 50 FF0000
green-square 590 470 00FF00
blue-square 320 240 0000FF
background 200 100 282828
picture-edge 55 395 FFFF00
picture-middle 100 440 FFFFFF
POINTS
    if [ "$offset_x" -gt 2 ]; then
        check "left letterbox bar" 000000 "$(pixel "$SCRATCH/shot.png" $((offset_x / 2)) $((height / 2)))"
    fi

    # The mouse in picture pixels, asked until it arrives (scaling rounds: the pixel or its
    # neighbour counts).
    mouse_at() {
        local got_x got_y
        echo mouse >&"${PROBE[1]}"
        read -r -t 10 reply <&"${PROBE[0]}" || return 1
        read -r _ got_x got_y <<<"$reply"
        [ -n "${got_y:-}" ] && [ $((got_x - $1)) -ge -1 ] && [ $((got_x - $1)) -le 1 ] &&
            [ $((got_y - $2)) -ge -1 ] && [ $((got_y - $2)) -le 1 ]
    }
    local lx ly
    for point in "300 200" "10 500" "630 15"; do
        read -r lx ly <<<"$point"
        xdotool mousemove "$(to_screen "$lx" "$offset_x")" "$(to_screen "$ly" "$offset_y")"
        if until_true 20 mouse_at "$lx" "$ly"; then
            check "mouse at picture ($lx, $ly) on $where" ok ok
        else
            check "mouse at picture ($lx, $ly) on $where" "mouse $lx $ly" "$reply"
        fi
    done
    echo quit >&"${PROBE[1]}"
    wait "$PROBE_PID" || true
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
    stop_xvfb
}

run_screen 640 520
run_screen 1280 720
# On a desktop with a window manager the borderless window fills the screen just as well.
run_screen 1280 720 openbox
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    cat "$SCRATCH/probe.err" || true
    exit 1
fi
