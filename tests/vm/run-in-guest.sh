#!/usr/bin/env bash
# Runs the end-to-end program of the ALSA backend inside a virtual machine: Debian's own kernel
# (downloaded once into build/vm with apt-get download, never installed) under QEMU's emulator,
# with this machine's root file system shared read-only, so that the guest runs the program just
# built. The guest has the sequencer and simulated USB MIDI devices, which this machine lacks.
#
#   run-in-guest.sh PROGRAM                  the tests; exits 0 only when every one passed
#   run-in-guest.sh PROGRAM --benchmark [S]  the benchmark only, idle figures over S seconds (10)
#
# The guest's console is printed; its last line tells the program's exit code.
set -euo pipefail

program=$(realpath "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)
repo=$(realpath "$here/../..")
vm="$repo/build/vm"
mkdir -p "$vm"

guest_env="HV_BENCHMARK=0"
gtest_args="--gtest_filter=${HV_GTEST_FILTER:--*Benchmark*}"
if [ "${1:-}" = "--benchmark" ]; then
    guest_env="HV_BENCHMARK=1 HV_BENCHMARK_IDLE_SECONDS=${2:-10}"
    gtest_args="--gtest_filter=*Benchmark*"
fi

for tool in qemu-system-x86_64 busybox xz dpkg-deb; do
    if ! command -v "$tool" > /dev/null; then
        echo "The guest needs $tool (scripts/setup.sh installs it)"
        exit 1
    fi
done

started=$(date +%s.%N)

# One preparation of the kernel at a time; each run has its own initramfs and log.
exec 9> "$vm/.lock"
flock 9

# The kernel, its modules and their dependencies.
if ! compgen -G "$vm/kernel/boot/vmlinuz-*" > /dev/null; then
    package=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
    if [ -z "$package" ]; then
        echo "apt-cache names no kernel package for linux-image-amd64"
        exit 1
    fi
    (cd "$vm" && rm -f linux-image-*.deb && apt-get download "$package" > /dev/null && dpkg-deb -x linux-image-*.deb kernel)
fi
version=$(basename "$(ls -d "$vm"/kernel/lib/modules/*/ | head -n 1)")
modules="$vm/kernel/lib/modules/$version"
[ -f "$modules/modules.dep" ] || busybox depmod -b "$vm/kernel" "$version"

# QEMU boots the uncompressed kernel twice as fast as the compressed one.
if [ ! -f "$vm/vmlinux" ]; then
    image=$(ls "$vm"/kernel/boot/vmlinuz-*)
    offset=$(LC_ALL=C grep -obUaP '\xfd\x37\x7a\x58\x5a\x00' "$image" | head -n 1 | cut -d: -f1)
    tail -c +$((offset + 1)) "$image" | xz -dc 2> /dev/null > "$vm/vmlinux.part" || true
    if [ "$(head -c 4 "$vm/vmlinux.part" | od -An -c | tr -d ' ')" != "177ELF" ]; then
        echo "Could not unpack the kernel image $image"
        exit 1
    fi
    mv "$vm/vmlinux.part" "$vm/vmlinux"
fi

# Load orders, computed here: the guest has no modprobe, and each process it starts is slow.
declare -A dependencies=()
while IFS=: read -r module deps; do
    name=${module##*/}
    dependencies["${name%.ko}"]="$module:$deps"
done < "$modules/modules.dep"

declare -A ordered=()
load_order=()
add_module() { # name [parameters]
    local entry="${dependencies[$1]:-}"
    if [ -z "$entry" ]; then
        echo "The kernel has no module $1" >&2
        exit 1
    fi
    [ -n "${ordered[$1]:-}" ] && return 0
    local dep
    for dep in ${entry#*:}; do
        dep=${dep##*/}
        add_module "${dep%.ko}"
    done
    ordered[$1]=1
    load_order+=("$modules/${entry%%:*}${2:+ $2}")
}
module_list() { # file name...
    local file=$1
    shift
    load_order=()
    local m
    for m in "$@"; do
        add_module ${m/=/ }
    done
    printf '%s\n' "${load_order[@]}" > "$file"
}

# The share and its transport, loaded in the initramfs.
ordered=()
module_list "$vm/boot.modules" virtio_pci 9pnet_virtio 9p
# The sequencer's client for MIDI devices must be there before any card appears.
module_list "$vm/sequencer.modules" snd-seq snd-seq-midi
# A USB host controller and device controller in one (two of each), the gadget's MIDI function
# and the USB audio driver.
module_list "$vm/usb.modules" configfs dummy_hcd=num=2 libcomposite usb_f_midi snd-usb-audio

flock -u 9

# The initramfs: busybox, the share's modules, and an init that mounts the share, runs the
# program inside it and powers off.
work=$(mktemp -d "$vm/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
initramfs="$work/initramfs"
mkdir -p "$initramfs/bin" "$initramfs/lib"
cp "$(command -v busybox)" "$initramfs/bin/busybox"
boot_modules=""
while read -r path; do
    cp "$path" "$initramfs/lib/"
    boot_modules+=" /lib/$(basename "$path")"
done < "$vm/boot.modules"

cat > "$initramfs/init" <<EOF
#!/bin/busybox sh
/bin/busybox --install -s /bin
mkdir -p /proc /sys /dev /root
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for m in $boot_modules; do insmod \$m; done
if ! mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000 root /root; then
    echo "HV-GUEST: the shared root file system does not mount"
    poweroff -f
fi
mount --bind /dev /root/dev
mount --bind /proc /root/proc
mount --bind /sys /root/sys
# The guest's /tmp is a fresh tmpfs; a source tree below /tmp (a clone made there) stays visible.
case "$repo/" in
    /tmp/*)
        mkdir -p /keep && mount -o bind "/root$repo" /keep
        mount -t tmpfs tmp /root/tmp
        mkdir -p "/root$repo" && mount -o bind /keep "/root$repo"
        ;;
    *)
        mount -t tmpfs tmp /root/tmp
        ;;
esac
mkdir -p /root/dev/shm && mount -t tmpfs shm /root/dev/shm
echo "HV-GUEST: up after \$(cut -d' ' -f1 /proc/uptime) s"
chroot /root /usr/bin/env -i PATH=/usr/bin:/bin HOME=/tmp LANG=C.UTF-8 \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}" \
    HV_SEQUENCER_MODULES=$vm/sequencer.modules HV_USB_MODULES=$vm/usb.modules $guest_env \
    $program $gtest_args
echo "HV-GUEST-RESULT: \$? after \$(cut -d' ' -f1 /proc/uptime) s"
poweroff -f
EOF
chmod +x "$initramfs/init"
(cd "$initramfs" && find . | busybox cpio -o -H newc 2> /dev/null) > "$work/initramfs.cpio"

log="$(dirname "$program")/guest-last-run.log"
set +e
timeout 540 qemu-system-x86_64 -accel tcg -cpu max -m 2048 -smp 2 \
    -nodefaults -no-user-config -display none -serial stdio -monitor none -no-reboot \
    -kernel "$vm/vmlinux" -initrd "$work/initramfs.cpio" -append "console=ttyS0 panic=-1 quiet" \
    -fsdev local,id=r,path=/,security_model=none,readonly=on,multidevs=remap \
    -device virtio-9p-pci,fsdev=r,mount_tag=root < /dev/null 2>&1 | tr -d '\r' | tee "$log"
qemu_status=${PIPESTATUS[0]}
set -e

finished=$(date +%s.%N)
echo "The guest took $(awk "BEGIN { printf \"%.1f\", $finished - $started }") s in all (log: $log)"

result=$(sed -n 's/^HV-GUEST-RESULT: \([0-9]*\).*/\1/p' "$log" | tail -n 1)
if [ "$qemu_status" -ne 0 ] || [ "$result" != "0" ]; then
    echo "The guest failed: QEMU exit $qemu_status, program exit '${result:-none}'"
    exit 1
fi
