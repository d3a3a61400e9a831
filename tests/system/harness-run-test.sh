#!/bin/bash
# cupsd-harness.sh run: the command sees a running scheduler with its queue, and afterwards the
# scheduler is gone and its folder removed, also when the command fails. Exit 77: cannot run here.
set -u
ppd=$1
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root"; exit 77; }
command -v cupsd >/dev/null 2>&1 || [ -x /usr/sbin/cupsd ] || { echo "skipped: no cupsd"; exit 77; }

record=$(mktemp)
trap 'rm -f "$record"' EXIT
"$here/cupsd-harness.sh" run "$ppd" -- bash -c '
    echo "$VEXTEL_CUPSD_PID $VEXTEL_CUPS_CAPTURE" > "$0"
    lpstat -h "$CUPS_SERVER" -r | grep -q "scheduler is running" || exit 10
    lpstat -h "$CUPS_SERVER" -p "$VEXTEL_CUPS_QUEUE" | grep -q enabled || exit 11
    [ -S "$VEXTEL_CUPS_SOCKET" ] || exit 12
    [ "$(stat -c %a "$VEXTEL_CUPS_CAPTURE/../bin/backend/capture")" = 700 ] || exit 13
    grep -qx "Printcap $(dirname "$VEXTEL_CUPS_CAPTURE")/printcap" "$VEXTEL_CUPS_CAPTURE/../cupsd.conf" || exit 14
    exit 42' "$record"
status=$?
[ $status -eq 42 ] || { echo "FAIL: command ended with $status, expected its own 42"; exit 1; }
read -r pid capture < "$record"
[ -n "$pid" ] || { echo "FAIL: the command saw no scheduler pid"; exit 1; }
if kill -0 "$pid" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; then
    echo "FAIL: cupsd $pid still runs"
    kill "$pid"
    exit 1
fi
folder=$(dirname "$capture")
[ ! -e "$folder" ] || { echo "FAIL: $folder was not removed"; exit 1; }
echo "PASS"
