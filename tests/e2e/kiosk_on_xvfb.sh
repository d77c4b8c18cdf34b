#!/usr/bin/env bash
# The real game as the kiosk service runs it (SOLRIND_KIOSK=1, here with 2 idle seconds) on a
# 640x520 Xvfb screen: a round left alone ends and the welcome screen slides in; the menu left
# alone shows its screens in turn (the rules next); a click on the play button then brings the
# welcome screen, not a round; the program goes on throughout. The round left alone is kept,
# given up, under the kiosk's name, and verifies.
# Usage: kiosk_on_xvfb.sh <game binary> <art folder> <scratch dir> <solrind-replay>
set -euo pipefail
game="$1" art="$2" SCRATCH="$3" replay="$4"
source "$(dirname "$0")/lib.sh"
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH/run/Save" "$SCRATCH/run/Bin"
ln -s "$art/GFX" "$SCRATCH/run/GFX"
start_xvfb 640 520 "$SCRATCH"
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; stop_xvfb' EXIT

(cd "$SCRATCH/run" && SOLRIND_KIOSK=1 SOLRIND_IDLE_SECONDS=2 SOLRIND_KIOSK_NAME=stand-3 exec "$game" >"$SCRATCH/out.txt" 2>"$SCRATCH/err.txt") &
pid=$!
yes_if() { "$@" && echo yes || echo no; }
art_pixel() { pixel "$art/GFX/$1" "$2" "$3"; }
welcome=$(art_pixel Backgrounds/Welcome.bmp 200 40)
rules=$(art_pixel Backgrounds/Rules.bmp 60 50)
board=$(art_pixel Backgrounds/GameBackground.bmp 470 300)

check "the welcome screen after the start screens" yes "$(yes_if until_true 60 shows 320 40 "$welcome")"
xdotool keydown s
check "S: the game screen" yes "$(yes_if until_true 30 shows 590 300 "$board")"
xdotool keyup s
check "a round left alone ends: the welcome screen" yes "$(yes_if until_true 30 shows 320 40 "$welcome")"
check "the menu left alone: the rules in turn" yes "$(yes_if until_true 30 shows 180 50 "$rules")"
xdotool mousemove 60 430 click 1  # the play button
check "a click brings the welcome screen" yes "$(yes_if until_true 30 shows 320 40 "$welcome")"
check "and no round" no "$(yes_if shows 590 300 "$board")"
check "the program goes on" yes "$(yes_if kill -0 "$pid")"
check "nothing printed" "" "$(cat "$SCRATCH/out.txt")"
rounds=("$SCRATCH"/run/Save/Rounds/*.json)
check "one round kept, by stand-3" "1 yes" "${#rounds[@]} $(yes_if grep -q '"kiosk":"stand-3"' "${rounds[0]}")"
check "given up, and it verifies" "verified: given up" \
    "$(ASAN_OPTIONS=detect_leaks=0 "$replay" verify "${rounds[0]}" | sed 's/^[^ ]* \([a-z]*: [a-z]* [a-z]*\).*/\1/')"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $SCRATCH"
    cat "$SCRATCH/err.txt"
    exit 1
fi
