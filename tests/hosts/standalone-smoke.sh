#!/usr/bin/env bash
# Starts the Standalone build on the current X display three times, with one scratch home, and
# checks each time that its window is shown at the editor's size, that it keeps running, and
# that it ends by itself with status 0 and no JUCE assertion when it is asked to end by a signal:
#
#   1. shown with one strip; the window button widens it to both strips; ended by SIGTERM (how
#      a desktop ends programs at logout);
#   2. shown with both strips again, as it was left: the setting was saved on SIGTERM; the window
#      button narrows it again; ended by SIGINT (a terminal's Ctrl-C);
#   3. shown with one strip, as it was left on SIGINT; ended by SIGINT.
#
#   standalone-smoke.sh <Standalone executable>
#
# A crash ends with a signal's status, a sanitizer report with its own non-zero status, a hang
# is killed after the timeout: each fails. Clicks go through XTest (xdotool).
set -euo pipefail

app=${1:?usage: standalone-smoke.sh <Standalone executable>}
title="Halvorstine EQ713K"
editor_height=595
single_width=325
double_width=650
# The window button of the first strip, from the editor's top left corner.
window_button_x=307
window_button_y=43
start_timeout_s=${EQ713K_SMOKE_START_TIMEOUT:-90}
quit_timeout_s=${EQ713K_SMOKE_QUIT_TIMEOUT:-60}
resize_timeout_s=10

if [ -z "${DISPLAY:-}" ]; then
    echo "FAIL: no X display (run it through tests/support/with-xvfb.sh)"
    exit 1
fi

if ! command -v xdotool > /dev/null; then
    echo "FAIL: xdotool is missing (bash scripts/setup.sh installs it)"
    exit 1
fi

work=$(mktemp -d)
pid=""
window=""
log=""

cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null; then
        kill -KILL "$pid" 2> /dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    if [ -n "$log" ]; then
        echo "---- output of the Standalone ----"
        cat "$log"
    fi
    exit 1
}

# The id of the shown top-level window of that title, or nothing. (JUCE names its windows in
# UTF-8, which xwininfo -name does not match.)
shown_window() {
    local id
    id=$(xwininfo -root -children 2> /dev/null | awk -v name="\"$title\":" 'index($0, name) { print $1; exit }')
    [ -n "$id" ] || return 0
    xwininfo -id "$id" 2> /dev/null | grep -q "Map State: IsViewable" && echo "$id"
    return 0
}

# One field of the window's geometry: x, y, width or height.
geometry() {
    xwininfo -id "$window" 2> /dev/null \
        | awk -v field="$1" '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
                             /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
                             END { if (field == "x") print x; else if (field == "y") print y;
                                   else if (field == "width") print w; else print h }'
}

# Which editor the window holds, by its width: single, double, or the width itself. The window
# adds a frame of its own, a pixel or two.
window_mode() {
    local width
    width=$(geometry width)
    if [ "$width" -ge "$double_width" ] && [ "$width" -le $((double_width + 4)) ]; then
        echo double
    elif [ "$width" -ge "$single_width" ] && [ "$width" -le $((single_width + 4)) ]; then
        echo single
    else
        echo "$width"
    fi
}

start() {
    log="$work/run$1.log"
    HOME="$work/home" "$app" > "$log" 2>&1 &
    pid=$!
    window=""

    for _ in $(seq 1 $((start_timeout_s * 10))); do
        if ! kill -0 "$pid" 2> /dev/null; then
            local status=0
            wait "$pid" || status=$?
            pid=""
            fail "start $1: the Standalone ended by itself before its window was shown (status $status)"
        fi
        window=$(shown_window)
        [ -n "$window" ] && break
        sleep 0.1
    done

    [ -n "$window" ] || fail "start $1: no window \"$title\" was shown within $start_timeout_s s"

    echo "start $1: window \"$title\" shown at $(geometry width) x $(geometry height)"
    [ "$(geometry height)" -ge "$editor_height" ] || fail "start $1: the window is lower than the editor ($editor_height)"

    # Running for a while: timers, the connection poll, painting.
    sleep 2
    kill -0 "$pid" 2> /dev/null || fail "start $1: the Standalone ended by itself while its window was shown"
}

expect_mode() {
    local mode
    mode=$(window_mode)
    [ "$mode" = "$2" ] || fail "$1: the window holds the $mode editor, expected the $2 one"
}

# Clicks the first strip's window button and waits until the window holds the other editor.
click_window_button() {
    local before frame
    before=$(window_mode)
    # The editor fills the window's bottom, inside its frame.
    frame=$(( ($(geometry width) - $([ "$before" = double ] && echo $double_width || echo $single_width)) / 2 ))
    xdotool mousemove $(( $(geometry x) + frame + window_button_x )) \
                      $(( $(geometry y) + $(geometry height) - frame - editor_height + window_button_y )) click 1

    for _ in $(seq 1 $((resize_timeout_s * 10))); do
        [ "$(window_mode)" != "$before" ] && break
        sleep 0.1
    done

    echo "$1: the window button changed the window to $(geometry width) x $(geometry height)"
    [ "$(window_mode)" != "$before" ] || fail "$1: the window button did not change the $before editor"
}

# Ends the Standalone with the signal and checks that it quit by itself, cleanly.
end_with() {
    kill -"$2" "$pid"

    local ended=false
    for _ in $(seq 1 $((quit_timeout_s * 10))); do
        if ! kill -0 "$pid" 2> /dev/null; then
            ended=true
            break
        fi
        sleep 0.1
    done

    $ended || fail "start $1: the Standalone did not quit within $quit_timeout_s s of SIG$2"

    local status=0
    wait "$pid" || status=$?
    pid=""

    [ "$status" -eq 0 ] || fail "start $1: the Standalone quit on SIG$2 with status $status"
    ! grep -q "JUCE Assertion failure" "$log" || fail "start $1: the Standalone hit a JUCE assertion"
    echo "start $1: quit cleanly on SIG$2"
}

start 1
expect_mode "start 1" single
click_window_button "start 1"
expect_mode "start 1" double
end_with 1 TERM

start 2
expect_mode "start 2, after SIGTERM" double
click_window_button "start 2"
expect_mode "start 2" single
end_with 2 INT

start 3
expect_mode "start 3, after SIGINT" single
end_with 3 INT

echo "PASS: the Standalone showed its window, kept its settings on SIGTERM and SIGINT and quit cleanly"
