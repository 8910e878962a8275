#!/usr/bin/env bash
# The sound server dies while the preview plays: the picture goes on, and the
# program still closes when asked. Morvane.exe plays into a sound server of
# this test's own, started and then killed here, so the tier's server stays
# up for the other tests. Usage: sound_loss_test.sh BIN_FOLDER
set -uo pipefail
# shellcheck source=scripts/lib.sh disable=SC1091
source "$(dirname "$0")/../../scripts/lib.sh"
bin=$1
run() { timeout "$(morvane_bound 30)" "$MORVANE_ROOT/scripts/wine-run" "$@" 2>/dev/null; }
# wait_for SECONDS COMMAND...: a wait whose bound is the tier's.
wait_for() { morvane_wait_for "$(morvane_bound "$1")" "${@:2}"; }
frames() { run "$bin/camsim.exe" status | tr -d '\r' | sed -n 's/^frames //p'; }
more_frames_than() { [ "$(frames)" -gt "$1" ] 2>/dev/null; }
playing() { pactl list short sink-inputs 2>/dev/null | grep -q .; }
ended() { ! kill -0 "$program" 2>/dev/null; }
fail() {
    echo "FAILED: $*"
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null
    morvane_stop_sound
    exit 1
}

unset PULSE_SERVER
morvane_start_sound "$(dirname "$bin")/sound-loss" || fail "$MORVANE_FAILURE"
{ run "$bin/camsim.exe" install && run "$bin/camsim.exe" plug; } ||
    fail "camsim cannot install the camera"
(cd "$bin" && exec "$MORVANE_ROOT/scripts/wine-run" Morvane.exe 2>/dev/null) &
program=$!
wait_for 30 more_frames_than 0 || fail "the preview did not start"
wait_for 10 playing ||
    fail "the preview's sound never reached the server"

{
    kill -9 "$MORVANE_SOUND_PID"
    wait "$MORVANE_SOUND_PID"
} 2>/dev/null
MORVANE_SOUND_PID=""
shown=$(frames)
wait_for 10 more_frames_than $((shown + 30)) || fail "the picture stopped with the sound server"
echo "the picture goes on without the sound server ($shown frames, then $(frames))"

run taskkill /im Morvane.exe >/dev/null
wait_for 15 ended || fail "the program does not close"
echo "the program closed"
morvane_stop_sound
