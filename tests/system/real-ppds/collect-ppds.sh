#!/usr/bin/env bash
# Gathers the real-world PPDs of other printer makers that the system test opens, from the
# Debian packages scripts/install-deps.sh installs, into the given folder: files as the packages
# ship them, PPDs that the packages' driver programs generate, and the scheduler's own sample
# drivers compiled with ppdc. Exit status 77 (skip) when a package is missing.
set -euo pipefail
out=${1:?usage: collect-ppds.sh FOLDER}
mkdir -p "$out"

need() {
  if ! [ -e "$1" ]; then
    echo "collect-ppds: $1 is missing (run scripts/install-deps.sh)" >&2
    exit 77
  fi
}

# cups-filters and CUPS-PDF ship plain files.
for file in /usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd \
            /usr/share/ppd/cupsfilters/HP-Color_LaserJet_CM3530_MFP-PDF.ppd \
            /usr/share/ppd/cupsfilters/Fuji_Xerox-DocuPrint_CM305_df-PDF.ppd \
            /usr/share/ppd/cupsfilters/Ricoh-PDF_Printer-PDF.ppd \
            /usr/share/ppd/cupsfilters/pxlcolor.ppd \
            /usr/share/ppd/cupsfilters/pxlmono.ppd \
            /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
            /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd; do
  need "$file"
  cp "$file" "$out/$(basename "$(dirname "$file")")-$(basename "$file")"
done

# HPLIP's fax drivers ship compressed: another maker's fax printer, which must not get this
# system's fax panel either.
for file in /usr/share/ppd/hplip/HP/HP-Fax-hpcups.ppd.gz /usr/share/ppd/hplip/HP/HP-Fax3-hpcups.ppd.gz; do
  need "$file"
  gzip -dc "$file" >"$out/hplip-$(basename "$file" .gz)"
done

# The scheduler's own sample drivers (dot matrix, label, PCL) compiled by ppdc.
need /usr/share/cups/drv/sample.drv
ppdc -d "$out/sample" /usr/share/cups/drv/sample.drv >/dev/null 2>&1
for file in "$out"/sample/*.ppd; do
  mv "$file" "$out/cups-sample-$(basename "$file")"
done
rmdir "$out/sample"

# Driver programs: OpenPrinting's PostScript PPDs, the first listed of each of a dozen makers,
# and Gutenprint's generated ones, the first of each driver family.
openprinting=/usr/lib/cups/driver/openprinting-ppds
need "$openprinting"
listing=$("$openprinting" list 2>/dev/null | awk '{print $1}' | tr -d '"')
for maker in Brother Canon Epson HP Kyocera Lexmark Ricoh Sharp Toshiba Oki Samsung KONICA_MINOLTA; do
  uri=$(grep -m1 "^openprinting-ppds:0/ppd/openprinting/$maker/" <<<"$listing" || true)
  [ -n "$uri" ] || continue
  "$openprinting" cat "$uri" >"$out/openprinting-$maker.ppd" 2>/dev/null || rm -f "$out/openprinting-$maker.ppd"
done

gutenprint=/usr/lib/cups/driver/gutenprint.5.3
need "$gutenprint"
listing=$("$gutenprint" list 2>/dev/null | awk '{print $1}' | tr -d '"' | grep '/expert$')
for family in bjc- escp2- pcl- lexmark- citizen-; do
  uri=$(grep -m1 "^gutenprint.5.3://$family" <<<"$listing" || true)
  [ -n "$uri" ] || continue
  name=${uri#gutenprint.5.3://}
  name=${name%/expert}
  "$gutenprint" cat "$uri" >"$out/gutenprint-$name.ppd" 2>/dev/null || rm -f "$out/gutenprint-$name.ppd"
done

ls "$out" | wc -l
