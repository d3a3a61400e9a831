#!/bin/bash
# The start-up row is fair only while its baseline draws what the host draws: both photograph
# their dialog, in one environment, and the two PNG files must be the same bytes.
# usage: same-picture-test.sh BIN_DIR PPD
set -euo pipefail
bin=$1
ppd=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data
export XDG_CONFIG_HOME=$work/config LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
unset LANGUAGE LC_ALL VEXTEL_PDE_PATH
"$bin/vextel-print" --ppd "$ppd" --screenshot "$work/host.png" >/dev/null
"$bin/vextel-bench-bare" --screenshot "$work/bare.png" 2>/dev/null
if ! cmp -s "$work/host.png" "$work/bare.png"; then
    echo "the baseline's picture differs from the host's: change bench/bare/main.cpp to match" >&2
    exit 1
fi
