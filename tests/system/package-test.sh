#!/bin/bash
# The Debian package: built with CPack from the build folder, checked for its files and
# dependencies, clean of lintian errors, run from a scratch root without any environment
# variable, then installed for real and removed again. Exit 77: cannot run here.
#   package-test.sh BUILD_DIR
set -u
build=$1
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root to install the package"; exit 77; }
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: no $tool"; exit 77; }
done
# Suites of other checkouts on this machine install the same package: one at a time.
lock_dir=/run/lock
[ -d "$lock_dir" ] || lock_dir=/tmp
exec 9>"$lock_dir/vextel-package-test.lock"
flock 9
if dpkg-query -W -f='${Status}' vextel-fax 2>/dev/null | grep -q "install ok installed"; then
    echo "skipped: vextel-fax is installed on this machine already"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack did not make the package"; }
deb=$(ls "$work"/out/vextel-fax_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no vextel-fax_*.deb in $work/out"

# ---- What it holds
dpkg-deb -c "$deb" | awk '{print $1, $6}' > "$work/contents"
while read -r mode path; do
    grep -qxF -- "$mode ./$path" "$work/contents" || fail "$path missing or not $mode"
done <<'LIST'
-rwxr-xr-x usr/bin/vextel-print
-rwx------ usr/lib/cups/backend/vextel-fax
-rwxr-xr-x usr/lib/cups/filter/vextel-faxdriver
-rwxr-xr-x usr/sbin/vextel-fax-setup
-rw-r--r-- usr/share/man/man8/vextel-fax-setup.8.gz
-rw-r--r-- usr/lib/vextel/plugins/VextelPDE.plugin/Contents/Info.plist
-rw-r--r-- usr/lib/vextel/plugins/VextelPDE.plugin/Contents/VextelPDE.so
-rw-r--r-- usr/share/ppd/vextel/Tarvik-M40-Vextel-Fax.ppd
-rw-r--r-- usr/share/applications/com.tarvik.print.VextelPrint.desktop
-rw-r--r-- etc/xdg/autostart/vextel-fax-agent.desktop
-rw-r--r-- usr/share/icons/hicolor/scalable/apps/vextel-print.svg
-rw-r--r-- usr/share/man/man1/vextel-print.1.gz
-rw-r--r-- usr/share/man/man8/vextel-fax.8.gz
-rw-r--r-- usr/share/doc/vextel-fax/copyright
-rw-r--r-- usr/share/doc/vextel-fax/changelog.gz
LIST
grep -q "usr/lib/vextel/plugins/VextelPDE.plugin/Contents/Resources/en.lproj/Localizable.qm" \
    "$work/contents" || fail "the bundle's string tables are missing"
grep -q "usr/lib/vextel/libkit.so" "$work/contents" || fail "the kit library is missing"
if grep -qE '/(build|work|tmp)/' "$work/contents"; then fail "a build path leaked into the package"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libcups2 cups-daemon cups-filters; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done

# ---- lintian: no errors
lintian --fail-on error --no-tag-display-limit "$deb" > "$work/lintian" 2>&1 ||
    { cat "$work/lintian"; fail "lintian found errors"; }
echo "lintian: $(grep -c '^[EW]:' "$work/lintian") tags, none an error"

# ---- A scratch root: the host finds its plug-in and libraries with no environment variable
dpkg-deb -x "$deb" "$work/root"
shot=$(env -u VEXTEL_PDE_PATH -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen \
    "$work/root/usr/bin/vextel-print" --ppd "$work/root/usr/share/ppd/vextel/Tarvik-M40-Vextel-Fax.ppd" \
    --screenshot "$work/shot.png" 2>&1) || fail "the installed host failed: $shot"
echo "$shot" | grep -q 'panel "Fax Settings"' || fail "the installed host showed no fax panel: $shot"
"$work/root/usr/lib/cups/backend/vextel-fax" | grep -q '^direct vextel-fax ' ||
    fail "the installed backend does not list itself"

# ---- Installed for real, then removed without a trace
dpkg -i "$deb" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "dpkg -i failed"; }
dpkg -L vextel-fax > "$work/installed"
/usr/bin/vextel-print --help | grep -q -- "--agent" || { dpkg --purge vextel-fax; fail "the installed vextel-print does not run"; }
dpkg --purge vextel-fax > "$work/remove.log" 2>&1 || { cat "$work/remove.log"; fail "dpkg --purge failed"; }
while read -r path; do
    [ -f "$path" ] && fail "$path is left after removal"
done < "$work/installed"
echo "PASS"
