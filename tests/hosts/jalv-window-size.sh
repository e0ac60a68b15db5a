#!/usr/bin/env bash
# The LV2 editor in jalv (a GTK host that embeds the plug-in's X window through suil), with a
# window manager, as a user has it: the host's window follows the editor when the window button
# widens it to two strips and when it goes back to one, and the user cannot drag it to other
# sizes; the plug-in's own window offers the host only the size the editor has. Reads the
# windows' sizes and size hints from the X server.
#
#   jalv-window-size.sh <bundle.lv2> <plug-in URI>
#
# Runs on the X server of $DISPLAY (tests/support/with-xvfb.sh) with openbox, on a JACK server
# of its own with the dummy driver (jalv, jackd2, openbox, xdotool and x11-utils, installed by
# scripts/setup.sh). The plug-in must be built without sanitizers: jalv hangs in gtk_init with
# a sanitizer's runtime preloaded. Exits with 0 when every check passes.
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: jalv-window-size.sh <bundle.lv2> <plug-in URI>" >&2
    exit 2
fi

bundle=$1
uri=$2

for tool in jalv.gtk3 jackd openbox xdotool xwininfo xprop; do
    if ! command -v "$tool" > /dev/null; then
        echo "jalv-window-size.sh: $tool is missing (bash scripts/setup.sh installs it)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2> /dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2> /dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() {
    if [ "$2" = "$3" ]; then
        echo "PASS $1"
    else
        echo "FAIL $1: $2, expected $3"
        failures=$((failures + 1))
    fi
}

# Waits (up to 20 s) until the command prints the expected text; prints what it printed last.
wait_for() {
    local expected=$1 got=""
    shift
    for _ in $(seq 1 200); do
        got=$("$@" 2> /dev/null)
        [ "$got" = "$expected" ] && break
        sleep 0.1
    done
    echo "$got"
}

# The bundle is found through LV2_PATH; the server's name is the run's own, so that runs side
# by side do not meet.
export LV2_PATH
LV2_PATH=$(dirname "$bundle")
export JACK_DEFAULT_SERVER="eq713k-jalv-$$"
export HOME="$work/home"
mkdir -p "$HOME"

openbox > "$work/openbox.log" 2>&1 &
pids+=($!)

jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 512 > "$work/jackd.log" 2>&1 &
pids+=($!)

server_up() { [ -S "/dev/shm/jack_${JACK_DEFAULT_SERVER}_0_0" ] && echo up; }
if [ "$(wait_for up server_up)" != up ]; then
    echo "FAIL the JACK server did not start:"
    cat "$work/jackd.log"
    exit 1
fi

jalv.gtk3 "$uri" > "$work/jalv.log" 2>&1 &
jalv=$!
pids+=("$jalv")

# The plug-in's own window (the editor's), and the host's top-level window around it.
editor_window() {
    xwininfo -root -tree | awk '$0 ~ / (325|650)x595\+/ { id = $1 } END { print id }'
}
host_window() { xdotool search --onlyvisible --pid "$jalv" 2> /dev/null | head -n 1; }
width_of() { xwininfo -id "$1" | awk '/^  Width:/ { print $2 }'; }
host_width() { width_of "$host"; }
editor_width() { width_of "$editor"; }
editor_at() { xwininfo -id "$editor" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'; }

# The user's hand on the window button of the first strip.
press_window_button() {
    read -r x y <<< "$(editor_at)"
    xdotool mousemove $((x + 307)) $((y + 43)) click 1
}

# min and max of a window's size hints, "none" when it has none.
size_limits() {
    xprop -id "$1" WM_NORMAL_HINTS | awk '
        /minimum size/ { min = $(NF - 2) "x" $NF }
        /maximum size/ { max = $(NF - 2) "x" $NF }
        END { print (min == "" ? "none" : min) " " (max == "" ? "none" : max) }'
}

# "fixed" when the window's smallest and largest sizes are one size.
fixed_size() {
    read -r min max <<< "$(size_limits "$1")"
    if [ "$min" != none ] && [ "$min" = "$max" ]; then echo fixed; else echo "smallest $min, largest $max"; fi
}

for _ in $(seq 1 200); do
    editor=$(editor_window)
    host=$(host_window)
    [ -n "$editor" ] && [ -n "$host" ] && break
    sleep 0.1
done

if [ -z "${editor:-}" ] || [ -z "${host:-}" ]; then
    echo "FAIL jalv shows no editor:"
    cat "$work/jalv.log"
    exit 1
fi

check "the editor opens 325 wide" "$(wait_for 325 editor_width)" 325
check "the host's window is 325 wide" "$(wait_for 325 host_width)" 325
check "the user cannot drag the single window wider or narrower" "$(fixed_size "$host")" fixed
check "the editor's window offers the host one size, its own" "$(wait_for "325x595 325x595" size_limits "$editor")" "325x595 325x595"

press_window_button
check "after the window button the editor is 650 wide" "$(wait_for 650 editor_width)" 650
check "the host's window follows to 650" "$(wait_for 650 host_width)" 650
read -r min max <<< "$(size_limits "$host")"
check "the host's smallest width follows to 650" "${min%%x*}" 650
check "the user cannot drag the double window wider or narrower" "$(fixed_size "$host")" fixed
check "the editor's window offers the host the double size only" "$(wait_for "650x595 650x595" size_limits "$editor")" "650x595 650x595"

press_window_button
check "back to one strip the editor is 325 wide" "$(wait_for 325 editor_width)" 325
check "the host's window follows back to 325" "$(wait_for 325 host_width)" 325
read -r min max <<< "$(size_limits "$host")"
check "the host's smallest width follows back to 325" "${min%%x*}" 325
check "the editor's window offers the host the single size again" "$(wait_for "325x595 325x595" size_limits "$editor")" "325x595 325x595"

if [ "$failures" -ne 0 ]; then
    echo "jalv's output:"
    cat "$work/jalv.log"
    exit 1
fi
