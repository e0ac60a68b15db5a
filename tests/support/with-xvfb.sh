#!/usr/bin/env bash
# Runs a command against a private X server of its own (Xvfb, no window manager) and exits with
# the command's status.
#
#   with-xvfb.sh <command> [arguments...]
#
# The server chooses a free display number itself (-displayfd), so that runs side by side never
# race for one, and it does not reset when its last client leaves (-noreset). Without a window
# manager nobody creates the window-manager atoms that JUCE looks up with only-if-exists, and a
# window put on the desktop dies with BadAtom: they are created here before the command starts.
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: with-xvfb.sh <command> [arguments...]" >&2
    exit 2
fi

for tool in Xvfb xauth xprop; do
    if ! command -v "$tool" > /dev/null; then
        echo "with-xvfb.sh: $tool is missing (bash scripts/setup.sh installs it)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
server=""

cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2> /dev/null || true
        wait "$server" 2> /dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The server accepts the cookie whatever display number it takes; clients look it up by number.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
export XAUTHORITY="$work/Xauthority"
: > "$XAUTHORITY"
xauth -q add :0 . "$cookie"

Xvfb -displayfd 3 -auth "$XAUTHORITY" -screen 0 1280x1024x24 -noreset -nolisten tcp \
    3> "$work/display" 2> "$work/server.log" &
server=$!

for _ in $(seq 1 200); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$server" 2> /dev/null; then
        echo "with-xvfb.sh: the X server did not start:" >&2
        cat "$work/server.log" >&2
        exit 1
    fi
    sleep 0.05
done

if ! [ -s "$work/display" ]; then
    echo "with-xvfb.sh: the X server did not report its display" >&2
    exit 1
fi

display=":$(head -n 1 "$work/display")"
xauth -q add "$display" . "$cookie"
export DISPLAY="$display"

for atom in WM_PROTOCOLS WM_TAKE_FOCUS WM_DELETE_WINDOW _NET_WM_PING WM_CHANGE_STATE WM_STATE \
            _NET_WM_WINDOW_TYPE _NET_WM_STATE _NET_WM_STATE_HIDDEN _NET_WM_WINDOW_TYPE_NORMAL; do
    xprop -root -f "$atom" 8s -set "$atom" x
done

status=0
"$@" || status=$?
exit "$status"
