#!/usr/bin/env bash
# Runs the LV2 bundle in a real LV2 host, Debian's jalv (its GTK generic controls, on a JACK
# server of its own with the dummy driver), and checks that the values the host holds for the 19
# parameters are the plug-in's: after the plug-in is inserted, after the host sets values, and
# after the host loads a saved state. The wrapper offers the parameters as properties, which the
# host learns only from what the plug-in reports; what jalv receives is read from its dump of the
# plug-in's messages, where each report sets the control it names.
#
#   lv2-host-values.sh <bundle.lv2> <plug-in URI> <folder of a saved jalv state>
#
# Needs an X display (tests/support/with-xvfb.sh), jalv and jackd2, and a bundle built without the
# sanitizers (jalv is not built with them).
set -euo pipefail

bundle=${1:?usage: lv2-host-values.sh <bundle.lv2> <plug-in URI> <state folder>}
uri=${2:?usage: lv2-host-values.sh <bundle.lv2> <plug-in URI> <state folder>}
state=${3:?usage: lv2-host-values.sh <bundle.lv2> <plug-in URI> <state folder>}
report_timeout_s=60

# Hosts look bundles up by absolute paths.
bundle=$(cd "$bundle" && pwd)
state=$(cd "$state" && pwd)

# The plug-in's values after insertion: its defaults, by parameter id.
defaults=(0 1 0 0 0.6666667 0 0 0.3333333 0.5 0 1 0 0 0.6666667 0 0 0.3333333 0.5 0)
# The values in the saved state.
restored=(0.75 0.25 0.25 0.75 0.25 0.75 0.25 0.75 0.25 0.75 0.75 0.25 0.75 0.25 0.75 0.25 0.75 0.25 0.75)

if [ -z "${DISPLAY:-}" ]; then
    echo "FAIL: no X display (run it through tests/support/with-xvfb.sh)"
    exit 1
fi

for tool in jalv.gtk3 jackd jack_wait stdbuf; do
    if ! command -v "$tool" > /dev/null; then
        echo "FAIL: $tool is missing (bash scripts/setup.sh installs it)"
        exit 1
    fi
done

work=$(mktemp -d)
server="eq713k-values-$$"
jackd_pid=""
jalv_pid=""

stop() {
    if [ -n "$1" ] && kill -0 "$1" 2> /dev/null; then
        kill -TERM "$1" 2> /dev/null || true
        wait "$1" 2> /dev/null || true
    fi
}

cleanup() {
    stop "$jalv_pid"
    stop "$jackd_pid"
    rm -rf "$work"
}
trap cleanup EXIT

export JACK_DEFAULT_SERVER="$server" JACK_NO_START_SERVER=1
jackd --no-realtime -n "$server" -d dummy -r 48000 -p 256 > "$work/jackd.log" 2>&1 &
jackd_pid=$!
if ! jack_wait -s "$server" -w -t 30 > /dev/null 2>&1; then
    echo "FAIL: the JACK server did not start"
    cat "$work/jackd.log"
    exit 1
fi

# The last value the plug-in reported for each of its properties, one "p<id> <value>" a line.
reported_values() {
    awk -v prefix="<$uri:" '
        /^## / { fromPlugin = index($0, "Plugin => UI") > 0; property = ""; next }
        fromPlugin && $1 == "patch:property" && index($2, prefix) == 1 {
            property = substr($2, length(prefix) + 1); sub(/>.*/, "", property); next }
        fromPlugin && property != "" && $1 == "patch:value" {
            value = $2; gsub(/"|\^\^.*/, "", value); last[property] = value; property = "" }
        END { for (p in last) print p, last[p] }' "$1"
}

failures=0

# Runs jalv with the options until the plug-in has reported all 19 values, and a moment more for
# anything it reports later; then compares the last reports with the expected values.
check() {
    local name=$1 expected_name=$2
    shift 2
    local -n expected=$expected_name
    local dump="$work/$name.dump"

    LV2_PATH="$(dirname "$bundle")" stdbuf -oL jalv.gtk3 --generic-ui --dump --jack-name "$server-jalv" "$@" "$uri" > "$dump" 2>&1 &
    jalv_pid=$!

    local complete=false
    for _ in $(seq 1 $((report_timeout_s * 10))); do
        kill -0 "$jalv_pid" 2> /dev/null || break
        if [ "$(reported_values "$dump" | wc -l)" -ge 19 ]; then
            complete=true
            break
        fi
        sleep 0.1
    done
    $complete && sleep 1
    stop "$jalv_pid"
    jalv_pid=""

    local problems=()
    declare -A got=()
    while read -r property value; do
        got[$property]=$value
    done < <(reported_values "$dump")

    for id in "${!expected[@]}"; do
        local value=${got[p$id]:-}
        if [ -z "$value" ]; then
            problems+=("p$id: the host was never told its value")
        elif ! awk -v a="$value" -v b="${expected[$id]}" 'BEGIN { d = a - b; exit !(d < 1e-5 && d > -1e-5) }'; then
            problems+=("p$id: the host holds $value, the plug-in ${expected[$id]}")
        fi
    done

    if [ ${#problems[@]} -eq 0 ]; then
        echo "PASS jalv $name: the host holds the plug-in's 19 values"
    else
        echo "FAIL jalv $name:"
        printf '    %s\n' "${problems[@]}"
        echo "---- jalv's output ----"
        cat "$dump"
        failures=$((failures + 1))
    fi
}

check "after insertion" defaults

# The host's own values: it sets two; the plug-in's reports must not take them back.
host_set=("${defaults[@]}")
host_set[4]=0.2
host_set[17]=0.9
check "after the host sets values" host_set --control eq713k_p4=0.2 --control eq713k_p17=0.9

check "after loading a saved state" restored --load "$state"

exit $((failures > 0))
