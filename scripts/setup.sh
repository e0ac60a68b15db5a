#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks (only packages that are absent), then builds the
# plug-ins (VST3, LV2, Standalone) in Release into build/release.
set -euo pipefail
cd "$(dirname "$0")/.."

# xvfb, xauth and x11-utils: the tests that open the editor in a host's window and start the
# Standalone run on a private X server; libxtst-dev: those host checks click through XTest;
# libbenchmark-dev: the benchmarks; fonts-lato: regenerating the panel artwork (see the README);
# libasound2-dev: the plug-ins' MIDI on Linux; qemu-system-x86, busybox-static and xz-utils: the
# virtual machine whose kernel has the sequencer (tests/vm).
packages=(cmake ninja-build g++ pkg-config juce-modules-source libgtest-dev libgmock-dev libbenchmark-dev
          locales lilv-utils clang libclang-rt-14-dev xvfb xauth x11-utils libxtst-dev fonts-lato
          libasound2-dev qemu-system-x86 busybox-static xz-utils)

# jalv, jackd2, openbox and xdotool: the checks in a real LV2 host (the LV2 editor in jalv's
# window, under a window manager, and the parameter values jalv holds), on a JACK server with the
# dummy driver; xdotool also clicks the Standalone's window button in its smoke test.
packages+=(jalv jackd2 openbox xdotool)

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests check that value texts ignore a comma-decimal process locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo_cmd localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DEQ713K_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)"
