#!/usr/bin/env bash
# A second brand played on a 640x520 Xvfb screen: the Sonnwerk example (German texts, other
# colours, an SVG logo, a 660 by 440 photo) drawn by the art maker, then the real game shows
# its start screen, its welcome screen, its rules (I) and its board (S), each read back from
# the screen; shots of each are left in the scratch folder.
# Usage: brand_on_xvfb.sh <game binary> <art maker> <brand examples folder> <scratch dir>
set -euo pipefail
game="$1" artmaker="$2" brands="$3" SCRATCH="$4"
source "$(dirname "$0")/lib.sh"
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH/brand" "$SCRATCH/run/Save" "$SCRATCH/run/Bin"
cp "$brands/sonnwerk.toml" "$brands/sonnwerk-logo.svg" "$brands/sonnwerk-foto.jpg" "$SCRATCH/brand/"
ASAN_OPTIONS=detect_leaks=0 "$artmaker" --brand "$SCRATCH/brand/sonnwerk.toml" "$SCRATCH/run" >/dev/null
start_xvfb 640 520 "$SCRATCH"
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; stop_xvfb' EXIT
(cd "$SCRATCH/run" && exec "$game" >"$SCRATCH/out.txt" 2>"$SCRATCH/err.txt") &
pid=$!
art() { pixel "$SCRATCH/run/GFX/$1" "$2" "$3"; }
# seen <what> <picture> <picture x> <picture y> <screen x> <screen y> <shot name>
seen() {
    local expected
    expected=$(art "$2" "$3" "$4")
    check "$1" yes "$(until_true 60 shows "$5" "$6" "$expected" && echo yes || echo no)"
    cp "$SCRATCH/shot.png" "$SCRATCH/$7.png"
}
seen "the brand's first start screen" Screens/Startscreen-01.bmp 320 260 320 260 start
seen "its welcome screen" Backgrounds/Welcome.bmp 200 40 320 40 welcome
xdotool key i
seen "its rules" Backgrounds/Rules.bmp 60 50 180 50 rules
xdotool key s
seen "its board" Backgrounds/GameBackground.bmp 470 300 590 300 board
check "nothing printed" "" "$(cat "$SCRATCH/out.txt")"
[ "$failures" -eq 0 ] || { cat "$SCRATCH/err.txt"; exit 1; }
