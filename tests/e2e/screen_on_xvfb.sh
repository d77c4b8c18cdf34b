#!/usr/bin/env bash
# Shows that what the engine draws is what the monitor shows, and that the mouse arrives in
# 640 by 520 picture pixels: on a 640x520 Xvfb screen, and letterboxed on a 1280x720 one.
# Usage: screen_on_xvfb.sh <probe binary> <scratch dir>
set -euo pipefail
probe="$1"
scratch="$2"
mkdir -p "$scratch"
failures=0

check() {  # check <what> <expected> <actual>
    if [ "$2" = "$3" ]; then echo "ok   $1: $3"; else echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); fi
}

# pixel <png> <x> <y>: the colour as RRGGBB
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

run_screen() {  # run_screen <width> <height> <scale numerator/denominator as awk expression>
    local width="$1" height="$2"
    local xvfb_pid display
    exec 3>"$scratch/display"
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 2>"$scratch/xvfb.log" &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
    display=":$(cat "$scratch/display")"
    export DISPLAY="$display"
    unset SDL_VIDEODRIVER

    coproc PROBE { "$probe" "$scratch/art.bmp" 2>"$scratch/probe.err"; }
    local reply
    read -r -t 20 reply <&"${PROBE[0]}" || reply="no answer"
    check "probe started on ${width}x${height}" ready "$reply"
    sleep 0.5
    import -window root "$scratch/shot.png"

    # The picture's placement: scaled to fit, centred, aspect kept.
    local scale offset_x offset_y
    scale=$(awk -v w="$width" -v h="$height" 'BEGIN { s = w / 640; if (h / 520 < s) s = h / 520; print s }')
    offset_x=$(awk -v w="$width" -v s="$scale" 'BEGIN { printf "%d", (w - int(640 * s)) / 2 }')
    offset_y=$(awk -v h="$height" -v s="$scale" 'BEGIN { printf "%d", (h - int(520 * s)) / 2 }')
    to_screen() { awk -v v="$1" -v s="$scale" -v o="$2" 'BEGIN { printf "%d", o + v * s }'; }

    local name px py expected
    while read -r name px py expected; do
        check "$name at ($px, $py) on ${width}x${height}" "$expected" \
            "$(pixel "$scratch/shot.png" "$(to_screen "$px" "$offset_x")" "$(to_screen "$py" "$offset_y")")"
    done <<'POINTS'
red-square 50 50 FF0000
green-square 590 470 00FF00
blue-square 320 240 0000FF
background 200 100 282828
picture-edge 55 395 FFFF00
picture-middle 100 440 FFFFFF
POINTS
    if [ "$offset_x" -gt 2 ]; then
        check "left letterbox bar" 000000 "$(pixel "$scratch/shot.png" $((offset_x / 2)) $((height / 2)))"
    fi

    local lx ly
    for point in "300 200" "10 500" "630 15"; do
        read -r lx ly <<<"$point"
        xdotool mousemove "$(to_screen "$lx" "$offset_x")" "$(to_screen "$ly" "$offset_y")"
        echo mouse >&"${PROBE[1]}"
        read -r -t 10 reply <&"${PROBE[0]}" || reply="no answer"
        # Scaling rounds: accept the picture pixel or its neighbour.
        local got_x got_y
        read -r _ got_x got_y <<<"$reply"
        if [ -n "${got_y:-}" ] && [ $((got_x - lx)) -ge -1 ] && [ $((got_x - lx)) -le 1 ] &&
            [ $((got_y - ly)) -ge -1 ] && [ $((got_y - ly)) -le 1 ]; then
            check "mouse at picture ($lx, $ly) on ${width}x${height}" ok ok
        else
            check "mouse at picture ($lx, $ly) on ${width}x${height}" "mouse $lx $ly" "$reply"
        fi
    done
    echo quit >&"${PROBE[1]}"
    wait "$PROBE_PID" || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -f "$scratch/display"
}

run_screen 640 520
run_screen 1280 720
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    cat "$scratch/probe.err" || true
    exit 1
fi
