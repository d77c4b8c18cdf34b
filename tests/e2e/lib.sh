# Shared by the end-to-end scripts: a private Xvfb, reading the real screen back, and waiting
# for conditions with deadlines (never for fixed times, so a busy machine only makes it slower).
# Sourced, not run.

failures=0

# check <what> <expected> <actual>
check() {
    if [ "$2" = "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: expected $2, got $3"
        failures=$((failures + 1))
    fi
}

# start_xvfb <width> <height> <scratch dir>: a private X server; sets DISPLAY and XVFB_PID.
start_xvfb() {
    local number="$3/display"
    rm -f "$number"
    exec 3>"$number"
    Xvfb -displayfd 3 -screen 0 "$1x$2x24" -nolisten tcp 2>"$3/xvfb.log" &
    XVFB_PID=$!
    exec 3>&-
    until_true 30 test -s "$number" || { echo "Xvfb did not start"; cat "$3/xvfb.log"; exit 1; }
    export DISPLAY=":$(cat "$number")"
    unset SDL_VIDEODRIVER
}

stop_xvfb() {
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
}

# until_true <seconds> <command>...: runs the command until it succeeds or the time is up.
until_true() {
    local deadline=$((SECONDS + $1))
    shift
    while ! "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# The colour of a pixel as RRGGBB: of a picture file, or (shot) of the screen right now.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
shot() { import -window root "$SCRATCH/shot.png" && pixel "$SCRATCH/shot.png" "$1" "$2"; }
# shows <x> <y> <RRGGBB>: the screen shows that colour there now.
shows() { [ "$(shot "$1" "$2")" = "$3" ]; }
