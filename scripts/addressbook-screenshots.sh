#!/usr/bin/env bash
# Writes the address-book editor's pictures in docs/screenshots: the window with a PC book, and
# with the printer's book read from vextel-printer-sim (started here, stopped by its process id).
# Needs a build in build/ (scripts/test.sh makes one).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
work=$(mktemp -d)
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/books"
cp resources/addressbook/Office.vcf "$work/books/"
cp resources/addressbook/printer-book.json "$work/printer-book.json"
"$bin/vextel-printer-sim" --book "$work/printer-book.json" --listen 127.0.0.1:0 \
  --password 1234 > "$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  sleep 0.1
done
port=$(head -n 1 "$work/sim.out" | sed 's/.*://')

cat > "$work/script" <<SCRIPT
select Office
select-entries "Nadia Okafor"
screenshot $PWD/docs/screenshots/addressbook-pc-book.png
password 1234
read-printer
select printer
select-entries "Osaka branch"
screenshot $PWD/docs/screenshots/addressbook-printer-book.png
SCRIPT
VEXTEL_ADDRESS_BOOK_DIR="$work/books" VEXTEL_DEVICE_PORT="$port" QT_QPA_PLATFORM=offscreen \
  "$bin/vextel-addressbook" -VTELConnectionType NET -VTELAddress 127.0.0.1 --script "$work/script"
echo "written: docs/screenshots/addressbook-pc-book.png docs/screenshots/addressbook-printer-book.png"
