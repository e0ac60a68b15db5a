#!/usr/bin/env bash
# Starts the Standalone build on the current X display, waits until its window is shown at the
# editor's size at least, lets it run a moment, asks it to quit as a terminal's Ctrl-C does
# (JUCE's own quit path: the window and the plug-in are deleted, the settings saved) and checks
# that it ended by itself with status 0 and printed no JUCE assertion.
#
#   standalone-smoke.sh <Standalone executable>
#
# A crash ends with a signal's status, a sanitizer report with its own non-zero status, a hang
# is killed after the timeout: each fails. The Standalone's settings go to a scratch home.
set -euo pipefail

app=${1:?usage: standalone-smoke.sh <Standalone executable>}
title="Halvorstine EQ713K"
min_width=325
min_height=595
start_timeout_s=${EQ713K_SMOKE_START_TIMEOUT:-90}
quit_timeout_s=${EQ713K_SMOKE_QUIT_TIMEOUT:-60}

if [ -z "${DISPLAY:-}" ]; then
    echo "FAIL: no X display (run it through tests/support/with-xvfb.sh)"
    exit 1
fi

work=$(mktemp -d)
pid=""

cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null; then
        kill -KILL "$pid" 2> /dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

HOME="$work" "$app" > "$work/out.log" 2>&1 &
pid=$!

show_output() {
    echo "---- output of the Standalone ----"
    cat "$work/out.log"
}

# The size of the shown top-level window of that title, as "width height", or nothing. (JUCE
# names its windows in UTF-8, which xwininfo -name does not match.)
shown_window_size() {
    local id
    id=$(xwininfo -root -children 2> /dev/null | awk -v name="\"$title\":" 'index($0, name) { print $1; exit }')
    [ -n "$id" ] || return 0
    xwininfo -id "$id" 2> /dev/null \
        | awk '/Map State:/ { state = $3 } /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
               END { if (state == "IsViewable") print w, h }'
}

size=""
for _ in $(seq 1 $((start_timeout_s * 10))); do
    if ! kill -0 "$pid" 2> /dev/null; then
        status=0
        wait "$pid" || status=$?
        echo "FAIL: the Standalone ended by itself before its window was shown (status $status)"
        show_output
        exit 1
    fi
    size=$(shown_window_size || true)
    [ -n "$size" ] && break
    sleep 0.1
done

if [ -z "$size" ]; then
    echo "FAIL: no window \"$title\" was shown within $start_timeout_s s"
    show_output
    exit 1
fi

read -r width height <<< "$size"
echo "window \"$title\" shown at $width x $height"

if [ "$width" -lt "$min_width" ] || [ "$height" -lt "$min_height" ]; then
    echo "FAIL: the window is smaller than the editor ($min_width x $min_height)"
    show_output
    exit 1
fi

# Running for a while: timers, the connection poll, painting.
sleep 2

if ! kill -0 "$pid" 2> /dev/null; then
    echo "FAIL: the Standalone ended by itself while its window was shown"
    wait "$pid" || true
    show_output
    exit 1
fi

kill -INT "$pid"

ended=false
for _ in $(seq 1 $((quit_timeout_s * 10))); do
    if ! kill -0 "$pid" 2> /dev/null; then
        ended=true
        break
    fi
    sleep 0.1
done

if ! $ended; then
    echo "FAIL: the Standalone did not quit within $quit_timeout_s s of the request"
    show_output
    exit 1
fi

status=0
wait "$pid" || status=$?
pid=""

if [ "$status" -ne 0 ]; then
    echo "FAIL: the Standalone quit with status $status"
    show_output
    exit 1
fi

if grep -q "JUCE Assertion failure" "$work/out.log"; then
    echo "FAIL: the Standalone hit a JUCE assertion"
    show_output
    exit 1
fi

echo "PASS: the Standalone showed its window and quit cleanly"
