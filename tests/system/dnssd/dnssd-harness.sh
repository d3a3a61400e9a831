#!/bin/bash
# DNS-SD between two network namespaces, for the fax panel's printer address:
#
#   dnssd-harness.sh RESOLUTION_TEST VEXTEL_PRINT PPD DOCUMENT
#
# A publisher namespace and a resolver namespace are joined by a veth pair; each has its own
# D-Bus system bus (a private dbus-daemon) and its own avahi-daemon (a private configuration
# allowing only its veth end, a private tmpfs on /run for the pid file). In the publisher,
# avahi-publish announces "Office Fax" (_ipp._tcp, port 631); in the resolver, RESOLUTION_TEST
# (a gtest program) resolves a device URI as the panel does and checks the address:
#   1. "Office Fax" with IPv4 and IPv6 published: the IPv4 address in dotted form;
#   2. a name nobody publishes: logged after 5.0 s, no address;
#   3. the publisher restarted with IPv6 only: the link-local address, "%" and the interface.
# Between 1 and 2, VEXTEL_PRINT runs a script that presses the address-book editor button, so
# the whole host shows the resolved address on the editor's command line.
#
# Needs root (namespaces, mounts). Every daemon is stopped by its pid and the namespaces and the
# work folder are removed however the run ends. Exit status 0 when every check passed, 77 when
# not run as root.

set -u

resolution_test=$1
vextel_print=$2
ppd=$3
document=$4

if [ "$(id -u)" -ne 0 ]; then
    echo "dnssd-harness: needs root for network namespaces; skipped" >&2
    exit 77
fi
for program in ip dbus-daemon avahi-daemon avahi-publish; do
    if ! command -v "$program" >/dev/null; then
        echo "dnssd-harness: $program is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

tag=vx$$
pub_ns=${tag}p
res_ns=${tag}r
pub_if=${tag}p0
res_if=${tag}r0
work=$(mktemp -d /tmp/vextel-dnssd.XXXXXX)
pids=()
namespaces=()

log() { echo "dnssd-harness: $*" >&2; }

stop_pid() {
    local pid=$1 i
    kill "$pid" 2>/dev/null || return 0
    for i in $(seq 1 40); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

cleanup() {
    local i
    # Newest first: publishers before their daemons, daemons before their buses.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        stop_pid "${pids[$i]}"
    done
    for ns in "${namespaces[@]}"; do
        ip netns del "$ns" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Waits until the file holds the text (up to the given seconds).
wait_for_text() {
    local file=$1 text=$2 seconds=$3 i
    for i in $(seq 1 $((seconds * 20))); do
        grep -q -- "$text" "$file" 2>/dev/null && return 0
        sleep 0.05
    done
    log "no \"$text\" in $file after ${seconds}s:"
    cat "$file" >&2 2>/dev/null
    return 1
}

make_namespaces() {
    ip netns add "$pub_ns" && namespaces+=("$pub_ns") &&
        ip netns add "$res_ns" && namespaces+=("$res_ns") &&
        ip link add "$pub_if" type veth peer name "$res_if" &&
        ip link set "$pub_if" netns "$pub_ns" &&
        ip link set "$res_if" netns "$res_ns" &&
        ip -n "$pub_ns" addr add 10.77.0.1/24 dev "$pub_if" &&
        ip -n "$res_ns" addr add 10.77.0.2/24 dev "$res_if" &&
        ip -n "$pub_ns" link set "$pub_if" up &&
        ip -n "$res_ns" link set "$res_if" up &&
        ip -n "$pub_ns" link set lo up &&
        ip -n "$res_ns" link set lo up
}

# start_bus NAME NAMESPACE: a private system bus listening in the work folder.
start_bus() {
    local name=$1 ns=$2
    cat >"$work/$name-bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/$name-bus.socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
EOF
    ip netns exec "$ns" dbus-daemon --config-file="$work/$name-bus.conf" --nofork --nopidfile \
        >"$work/$name-bus.log" 2>&1 &
    pids+=($!)
    local i
    for i in $(seq 1 100); do
        [ -S "$work/$name-bus.socket" ] && return 0
        sleep 0.05
    done
    log "the $name bus did not start"
    return 1
}

# start_avahi NAME NAMESPACE BUS INTERFACE USE_IPV4: an avahi-daemon on the bus, only on the
# interface, with /run of its own so two daemons never share a pid file.
start_avahi() {
    local name=$1 ns=$2 bus=$3 interface=$4 use_ipv4=$5
    cat >"$work/$name-avahi.conf" <<EOF
[server]
host-name=vextel-$name
use-ipv4=$use_ipv4
use-ipv6=yes
allow-interfaces=$interface
enable-dbus=yes
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
EOF
    : >"$work/$name-avahi.log"
    ip netns exec "$ns" env DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/$bus-bus.socket" \
        unshare --mount --propagation private sh -c \
        'mount -t tmpfs tmpfs /run && exec avahi-daemon -f "$0" --no-drop-root --no-chroot --no-rlimits' \
        "$work/$name-avahi.conf" >>"$work/$name-avahi.log" 2>&1 &
    pids+=($!)
    last_pid=$!
    wait_for_text "$work/$name-avahi.log" "Server startup complete" 10
}

# publish NAME NAMESPACE SERVICE: announces the service and waits until it is established.
publish() {
    local name=$1 ns=$2 service=$3
    : >"$work/$name-publish.log"
    ip netns exec "$ns" env DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/p-bus.socket" \
        avahi-publish -s "$service" _ipp._tcp 631 >>"$work/$name-publish.log" 2>&1 &
    pids+=($!)
    last_pid=$!
    wait_for_text "$work/$name-publish.log" "Established under name" 10
}

# resolve URI EXPECTED: the panel's resolution inside the resolver namespace.
resolve() {
    ip netns exec "$res_ns" env DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/r-bus.socket" \
        VEXTEL_DNSSD_URI="$1" VEXTEL_DNSSD_ADDRESS="$2" QT_QPA_PLATFORM=offscreen \
        "$resolution_test" --gtest_brief=1
}

# The host's editor button with the resolved address: a desktop entry of the test's own points
# at a program that only writes its arguments down.
editor_walkthrough() {
    mkdir -p "$work/home/data/applications" || return 1
    cat >"$work/record-arguments" <<'EOF'
#!/bin/sh
printf '%s\n' "$@" > "$0.args"
EOF
    chmod 0700 "$work/record-arguments"
    printf '[Desktop Entry]\nType=Application\nName=Address Book\nExec=%s\n' \
        "$work/record-arguments" \
        >"$work/home/data/applications/com.tarvik.print.VextelAddressBook.desktop"
    printf '%s\n' 'wait 1' 'panel "Fax Settings"' 'press addressBookButton' 'wait 0.2' 'cancel' \
        >"$work/editor.script"
    ip netns exec "$res_ns" env -u DISPLAY -u WAYLAND_DISPLAY -u VEXTEL_PDE_PATH \
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/r-bus.socket" HOME="$work/home" \
        XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
        "$vextel_print" --ppd "$ppd" --output "$work/jobs" \
        --device-uri 'dnssd://Office%20Fax._ipp._tcp.local./?uuid=1' \
        --script "$work/editor.script" "$document" >"$work/host.out" 2>&1
    local status=$?
    cat "$work/host.out" >&2
    if [ "$status" -ne 1 ]; then
        log "vextel-print ended with $status, expected 1 (cancelled)"
        return 1
    fi
    local expected="launched: $work/record-arguments \"-VTELConnectionType NET\" \"-VTELAddress 10.77.0.1\""
    if ! grep -qxF -- "$expected" "$work/host.out"; then
        log "expected the line: $expected"
        return 1
    fi
    wait_for_text "$work/record-arguments.args" "-VTELAddress 10.77.0.1" 5
}

status=0
check() {
    log "$1"
    shift
    if ! "$@"; then
        log "FAILED"
        status=1
    fi
}

last_pid=
make_namespaces || { log "cannot make the namespaces"; exit 1; }
start_bus p "$pub_ns" && start_bus r "$res_ns" &&
    start_avahi p "$pub_ns" p "$pub_if" yes && pub_avahi=$last_pid &&
    start_avahi r "$res_ns" r "$res_if" yes &&
    publish ipv4 "$pub_ns" "Office Fax" && pub_publish=$last_pid ||
    { log "the daemons did not come up"; exit 1; }

check "IPv4 and IPv6 published: the dotted IPv4 address" \
    resolve 'dnssd://Office%20Fax._ipp._tcp.local./?uuid=1' '10\.77\.0\.1'
check "the editor button in vextel-print gets the resolved address" editor_walkthrough
check "a name nobody publishes: logged after 5.0 s" \
    resolve 'dnssd://Nobody%20Home._ipp._tcp.local./' 'none'

# The publisher again, now without IPv4: its announcement, its daemon and its address go.
stop_pid "$pub_publish"
stop_pid "$pub_avahi"
ip -n "$pub_ns" addr del 10.77.0.1/24 dev "$pub_if"
start_avahi p6 "$pub_ns" p "$pub_if" no && publish ipv6 "$pub_ns" "Office Fax IPv6" ||
    { log "the IPv6-only publisher did not come up"; exit 1; }
check "IPv6 only: the link-local address with % and the interface" \
    resolve 'dnssd://Office%20Fax%20IPv6._ipp._tcp.local./' "fe80::[0-9a-f:]+%$res_if"

exit $status
