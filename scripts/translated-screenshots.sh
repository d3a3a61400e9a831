#!/usr/bin/env bash
# Writes the pictures of the translated windows in docs/screenshots, in German and in Japanese:
# the print dialog with the fax panel, and the address-book editor with its entry and group
# dialogs (opened with their keys, as a person would) and the preview of a phone's contacts
# import. Needs a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
out=$PWD/docs/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/books"
cp resources/addressbook/Office.vcf "$work/books/"

for language in de ja; do
  case $language in
    de) locale=de_DE.UTF-8 ;;
    ja) locale=ja_JP.UTF-8 ;;
  esac
  export LANG=$locale LANGUAGE=$language QT_QPA_PLATFORM=offscreen
  "$bin/vextel-print" --ppd resources/ppd/Tarvik-M40-Vextel-Fax.ppd \
    --screenshot "$out/print-dialog-$language.png" resources/samples/fax-sample.pdf
  cat > "$work/script" <<SCRIPT
screenshot $out/addressbook-$language.png
key Ctrl+Shift+N
screenshot $out/addressbook-entry-$language.png
key Escape
key Tab Tab Tab Down Ctrl+G
screenshot $out/addressbook-group-$language.png
key Escape
import tests/fixtures/import/phone-export.vcf
screenshot $out/addressbook-import-$language.png
key Escape
quit
SCRIPT
  VEXTEL_ADDRESS_BOOK_DIR="$work/books" "$bin/vextel-addressbook" --script "$work/script"
done
echo "written: docs/screenshots/{print-dialog,addressbook,addressbook-entry,addressbook-group,addressbook-import}-{de,ja}.png"
