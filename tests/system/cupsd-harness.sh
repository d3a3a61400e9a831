#!/bin/bash
# A private CUPS scheduler for system tests: loopback only, everything under one temporary
# folder, one queue whose device is the capture backend beside this script.
#
#   cupsd-harness.sh start FOLDER PPD [QUEUE]
#       Starts the scheduler with FOLDER (made if missing, must be empty) as its whole world
#       and makes QUEUE (default "vextel-test") from PPD. Prints the environment for clients,
#       one NAME=value per line:
#         CUPS_SERVER=127.0.0.1:<port>      VEXTEL_CUPS_SOCKET=<FOLDER>/cupsd.sock
#         VEXTEL_CUPS_QUEUE=<queue>         VEXTEL_CUPS_CAPTURE=<FOLDER>/capture
#         VEXTEL_CUPSD_PID=<pid>
#       With VEXTEL_FAX_BACKEND naming the built fax capture backend, it is installed beside the
#       capture backend, its jobs go under FOLDER/fax-spool, and the environment has
#         VEXTEL_FAX_SPOOL=<FOLDER>/fax-spool
#       With VEXTEL_FAX_DRIVER naming the built fax driver, it is installed among the system's
#       filters, so that queues made with the fax PPD run it. QUEUE itself stands in for a printer
#       that takes the PDF: its copy of the PPD passes the document on without the driver, so the
#       capture folder holds what the queue received.
#       On any failure the scheduler is stopped, FOLDER removed, and the exit status is 1.
#   cupsd-harness.sh stop FOLDER
#       Stops the scheduler by the pid recorded in FOLDER and removes FOLDER.
#   cupsd-harness.sh run PPD [--queue QUEUE] -- COMMAND [ARG...]
#       start in a new temporary folder, run COMMAND with the environment above exported,
#       stop, and exit with COMMAND's status. The scheduler is stopped and the folder removed
#       however COMMAND ends.
#
# The scheduler runs as root (it must, to switch filters to the lp user); the capture backend
# is installed with mode 0700 so it runs as root too and can write the capture folder.

set -u

here=$(cd "$(dirname "$0")" && pwd)
system_lib=/usr/lib/cups

fail() {
    echo "cupsd-harness: $*" >&2
    return 1
}

find_cupsd() {
    local candidate
    for candidate in "$(command -v cupsd 2>/dev/null)" /usr/sbin/cupsd /sbin/cupsd; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

pick_port() {
    local port tries
    for tries in $(seq 1 50); do
        port=$((20000 + RANDOM % 40000))
        if ! port_in_use "$port"; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

write_config() {
    local folder=$1 port=$2
    cat > "$folder/cupsd.conf" <<CONF
LogLevel debug
Listen 127.0.0.1:$port
Listen $folder/cupsd.sock
Printcap $folder/printcap
Browsing Off
BrowseLocalProtocols none
DefaultAuthType None
DefaultEncryption Never
WebInterface No
PreserveJobHistory Yes
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
    cat > "$folder/cups-files.conf" <<CONF
ServerRoot $folder/root
ServerBin $folder/bin
RequestRoot $folder/spool
TempDir $folder/spool/tmp
CacheDir $folder/cache
StateDir $folder/state
DataDir /usr/share/cups
ErrorLog $folder/log/error_log
AccessLog $folder/log/access_log
PageLog $folder/log/page_log
SystemGroup root
FileDevice No
SetEnv VEXTEL_FAX_SPOOL $folder/fax-spool
CONF
}

lay_out() {
    local folder=$1 name
    mkdir -p "$folder"/{root/ppd,root/ssl,spool/tmp,cache,state,log,capture,bin/backend} || return 1
    # Filters run as lp: they must be able to walk into the folder.
    chmod 0755 "$folder" "$folder/bin" "$folder/bin/backend" || return 1
    for name in daemon filter cgi-bin notifier monitor driver; do
        if [ -d "$system_lib/$name" ]; then
            ln -s "$system_lib/$name" "$folder/bin/$name" || return 1
        fi
    done
    if [ -n "${VEXTEL_FAX_DRIVER:-}" ]; then
        # A folder of the system's filters and the driver, instead of the system's folder.
        rm -f "$folder/bin/filter"
        mkdir -m 0755 "$folder/bin/filter" || return 1
        for name in "$system_lib"/filter/*; do
            ln -s "$name" "$folder/bin/filter/$(basename "$name")" || return 1
        done
        install -m 0755 "$VEXTEL_FAX_DRIVER" "$folder/bin/filter/vextel-faxdriver" || return 1
    fi
    install -m 0700 "$here/capture-backend" "$folder/bin/backend/capture" || return 1
    # The network backend, so that a queue can be made as for a real printer (lpadmin -v
    # socket://...): the scheduler refuses a device URI whose backend it does not have; it also
    # carries the fax queue's jobs to a printer's job port.
    if [ -x "$system_lib/backend/socket" ]; then
        ln -s "$system_lib/backend/socket" "$folder/bin/backend/socket" || return 1
    fi
    if [ -n "${VEXTEL_FAX_BACKEND:-}" ]; then
        install -m 0700 "$VEXTEL_FAX_BACKEND" "$folder/bin/backend/vextel-fax" || return 1
    fi
}

# A stopped scheduler may linger as a zombie until its adoptive parent reaps it.
alive() {
    local state
    kill -0 "$1" 2>/dev/null || return 1
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)
    [ "$state" != "Z" ]
}

scheduler_running() {
    local server=$1
    lpstat -h "$server" -r 2>/dev/null | grep -q "scheduler is running"
}

stop_folder() {
    local folder=$1 pid waited
    [ -n "$folder" ] && [ -d "$folder" ] || return 0
    if [ -f "$folder/cupsd.pid" ]; then
        pid=$(cat "$folder/cupsd.pid")
        if [ -n "$pid" ] && alive "$pid"; then
            kill -TERM "$pid" 2>/dev/null
            for waited in $(seq 1 50); do
                alive "$pid" || break
                sleep 0.1
            done
            alive "$pid" && kill -KILL "$pid" 2>/dev/null
        fi
    fi
    # Only ever remove a folder this harness laid out.
    if [ -f "$folder/cups-files.conf" ] || [ -f "$folder/.cupsd-harness" ]; then
        rm -rf "$folder"
    fi
}

start_scheduler() {
    local folder=$1 ppd=$2 queue=$3 cupsd port pid attempt waited server
    if [ -e "$folder" ] && [ -n "$(ls -A "$folder" 2>/dev/null | grep -vx '.cupsd-harness')" ]; then
        fail "$folder is not empty"
        return 1
    fi
    mkdir -p "$folder" || return 1
    folder=$(cd "$folder" && pwd)
    # Marks the folder as ours: stop removes nothing else.
    touch "$folder/.cupsd-harness"
    cupsd=$(find_cupsd) || { fail "cupsd not found"; return 1; }
    [ -r "$ppd" ] || { fail "cannot read PPD $ppd"; return 1; }
    ppd=$(cd "$(dirname "$ppd")" && pwd)/$(basename "$ppd")
    lay_out "$folder" || { fail "cannot lay out $folder"; return 1; }

    for attempt in 1 2 3 4 5; do
        port=$(pick_port) || { fail "no free port"; return 1; }
        write_config "$folder" "$port"
        rm -f "$folder/cupsd.sock"
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$folder/no-system-bus" \
            "$cupsd" -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf" \
            >>"$folder/log/cupsd.out" 2>&1 &
        pid=$!
        echo "$pid" > "$folder/cupsd.pid"
        server="127.0.0.1:$port"
        for waited in $(seq 1 100); do
            kill -0 "$pid" 2>/dev/null || break
            scheduler_running "$server" && break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null && scheduler_running "$server"; then
            break
        fi
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        rm -f "$folder/cupsd.pid"
        pid=
    done
    if [ -z "$pid" ]; then
        fail "cupsd did not start; its log:"
        tail -n 20 "$folder/log/error_log" "$folder/log/cupsd.out" >&2 2>/dev/null
        return 1
    fi

    sed 's|^\*cupsFilter2:.*|*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"|' \
        "$ppd" > "$folder/capture-queue.ppd" || return 1
    if ! lpadmin -h "$server" -p "$queue" -E -v "capture:$folder/capture" \
            -P "$folder/capture-queue.ppd" >&2; then
        fail "lpadmin could not make queue $queue"
        tail -n 20 "$folder/log/error_log" >&2 2>/dev/null
        return 1
    fi
    if ! lpstat -h "$server" -p "$queue" 2>/dev/null | grep -q "enabled"; then
        fail "queue $queue is not enabled"
        return 1
    fi

    echo "CUPS_SERVER=$server"
    echo "VEXTEL_CUPS_SOCKET=$folder/cupsd.sock"
    echo "VEXTEL_CUPS_QUEUE=$queue"
    echo "VEXTEL_CUPS_CAPTURE=$folder/capture"
    echo "VEXTEL_CUPSD_PID=$pid"
    [ -z "${VEXTEL_FAX_BACKEND:-}" ] || echo "VEXTEL_FAX_SPOOL=$folder/fax-spool"
}

command_start() {
    [ $# -ge 2 ] || { fail "usage: start FOLDER PPD [QUEUE]"; return 2; }
    local folder=$1 ppd=$2 queue=${3:-vextel-test} output
    if ! output=$(start_scheduler "$folder" "$ppd" "$queue"); then
        stop_folder "$folder"
        return 1
    fi
    echo "$output"
}

command_run() {
    [ $# -ge 1 ] || { fail "usage: run PPD [--queue QUEUE] -- COMMAND..."; return 2; }
    local ppd=$1 queue=vextel-test output line status
    shift
    if [ "${1:-}" = "--queue" ]; then
        queue=$2
        shift 2
    fi
    [ "${1:-}" = "--" ] && shift
    [ $# -ge 1 ] || { fail "run: no command"; return 2; }
    # Global, so the exit trap still sees it after this function has returned.
    run_folder=$(mktemp -d "${TMPDIR:-/tmp}/vextel-cupsd.XXXXXX") || return 1
    touch "$run_folder/.cupsd-harness"
    trap 'stop_folder "$run_folder"' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    if ! output=$(start_scheduler "$run_folder" "$ppd" "$queue"); then
        return 1
    fi
    while IFS= read -r line; do
        export "${line?}"
    done <<<"$output"
    "$@"
    status=$?
    return $status
}

case "${1:-}" in
    start) shift; command_start "$@" ;;
    stop) shift; [ $# -eq 1 ] || { fail "usage: stop FOLDER"; exit 2; }; stop_folder "$1" ;;
    run) shift; command_run "$@" ;;
    *) echo "usage: $0 start FOLDER PPD [QUEUE] | stop FOLDER | run PPD [--queue QUEUE] -- COMMAND..." >&2; exit 2 ;;
esac
exit $?
