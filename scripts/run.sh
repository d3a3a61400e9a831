#!/usr/bin/env bash
# Installs what is missing, builds incrementally and runs the print dialog on the bundled fax
# printer PPD and sample document. With a display the real dialog opens; without one the bundled
# walkthrough script drives the same dialogs offscreen and prints the job it produced.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$(nproc)" --target vextel-print VextelPDE_bundle

ppd=resources/ppd/Tarvik-M40-Vextel-Fax.ppd
document=resources/samples/fax-sample.pdf
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/vextel-print --ppd "$ppd" --output out/jobs "$document"
fi
echo "No display: running the walkthrough script (resources/scripts/walkthrough.script)."
exec build/bin/vextel-print --ppd "$ppd" --output out/jobs \
  --script resources/scripts/walkthrough.script "$document"
