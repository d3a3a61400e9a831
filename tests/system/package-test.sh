#!/bin/bash
# The Debian packages: built with CPack from the build folder, checked for their files, control
# fields and run paths, clean of lintian errors and of warnings without an override, run from a
# scratch root without any environment variable, then installed for real: the README's set-up
# lines make their queues on a private scheduler, and removal leaves the capture queue refusing
# jobs and purge leaves nothing. Exit 77: cannot run here.
#   package-test.sh BUILD_DIR
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root to install the package"; exit 77; }
for tool in cpack dpkg-deb dpkg-shlibdeps lintian readelf apt-get; do
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
# The private scheduler's helpers run as lp and must walk into its folder inside this one.
chmod 0755 "$work"
cupsd_folder=$work/cupsd
cleanup() {
    [ -d "$cupsd_folder" ] && bash "$here/cupsd-harness.sh" stop "$cupsd_folder"
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Another program (an upgrade, another test) may hold the dpkg lock: apt waits for it.
apt_wait() { apt-get -o DPkg::Lock::Timeout=600 -y "$@"; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack did not make the packages"; }
deb=$(ls "$work"/out/vextel-fax_*.deb 2>/dev/null | head -n 1)
sim=$(ls "$work"/out/vextel-printer-sim_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no vextel-fax_*.deb in $work/out"
[ -n "$sim" ] || fail "no vextel-printer-sim_*.deb in $work/out"

# ---- What they hold
check_list() {
    local package=$1 mode path
    dpkg-deb -c "$package" | awk '{print $1, $6}' > "$work/contents"
    while read -r mode path; do
        grep -qxF -- "$mode ./$path" "$work/contents" || fail "$path missing or not $mode"
    done
}
check_list "$sim" <<'LIST'
-rwxr-xr-x usr/bin/vextel-printer-sim
-rw-r--r-- usr/share/man/man1/vextel-printer-sim.1.gz
-rw-r--r-- usr/share/man/de/man1/vextel-printer-sim.1.gz
-rw-r--r-- usr/share/doc/vextel-printer-sim/copyright
LIST
check_list "$deb" <<'LIST'
-rwxr-xr-x usr/bin/vextel-print
-rwx------ usr/lib/cups/backend/vextel-fax
-rwxr-xr-x usr/lib/cups/filter/vextel-faxdriver
-rwxr-xr-x usr/sbin/vextel-fax-setup
-rw-r--r-- usr/share/man/man8/vextel-fax-setup.8.gz
-rw-r--r-- usr/lib/vextel/plugins/VextelPDE.plugin/Contents/Info.plist
-rw-r--r-- usr/lib/vextel/plugins/VextelPDE.plugin/Contents/VextelPDE.so
-rw-r--r-- usr/share/cups/model/vextel/Tarvik-M40-Vextel-Fax.ppd
-rw-r--r-- usr/share/applications/com.tarvik.print.VextelPrint.desktop
-rw-r--r-- usr/share/kio/servicemenus/vextel-fax.desktop
-rw-r--r-- usr/share/Thunar/sendto/vextel-fax.desktop
-rw-r--r-- etc/xdg/autostart/vextel-fax-agent.desktop
-rw-r--r-- usr/share/icons/hicolor/scalable/apps/vextel-print.svg
-rw-r--r-- usr/share/man/man1/vextel-print.1.gz
-rw-r--r-- usr/share/man/de/man1/vextel-print.1.gz
-rw-r--r-- usr/share/man/ja/man8/vextel-fax.8.gz
-rw-r--r-- usr/share/man/man8/vextel-fax.8.gz
-rw-r--r-- usr/share/doc/vextel-fax/copyright
-rw-r--r-- usr/share/doc/vextel-fax/changelog.Debian.gz
-rw-r--r-- usr/share/doc/vextel-fax/README.md
drwxr-xr-x var/spool/vextel-fax/
LIST
grep -q "usr/lib/vextel/plugins/VextelPDE.plugin/Contents/Resources/en.lproj/Localizable.qm" \
    "$work/contents" || fail "the bundle's string tables are missing"
grep -q "usr/lib/vextel/libkit.so" "$work/contents" || fail "the kit library is missing"
grep -q "vextel-printer-sim" "$work/contents" && fail "the printer simulator is in the user's package"
if grep -qE '/(build|work|tmp)/' "$work/contents"; then fail "a build path leaked into the package"; fi
# The send-to entries and the application offer the fax; none makes it the opener of a type.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/com.tarvik.print.VextelPrint.desktop |
    grep -q '^MimeType=' && fail "\"Send as Fax\" registers as an opener of document types"

# ---- Control fields and maintainer scripts
version=$(dpkg-deb -f "$deb" Version)
[[ "$version" =~ ^[0-9][0-9.]*-[0-9]+$ ]] || fail "version $version has no Debian revision"
dpkg-deb -f "$deb" Maintainer | grep -q "example\." && fail "the maintainer has an example address"
[ -n "$(dpkg-deb -f "$deb" Homepage)" ] || fail "no Homepage"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libcups2 cups-daemon cups-filters; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done
echo "$depends" | grep -qE '(^|, )cups(,|$)' || fail "Depends lacks cups (its backends): $depends"
dpkg-deb -e "$deb" "$work/control"
grep -qs ldconfig "$work/control"/* && fail "ldconfig in the maintainer scripts, for private libraries"

# ---- lintian: no error, no warning without an override (lintian-overrides holds the reasons)
lintian --fail-on error,warning --tag-display-limit 0 "$deb" "$sim" > "$work/lintian" 2>&1 ||
    { cat "$work/lintian"; fail "lintian found errors or warnings"; }
echo "lintian: clean ($(lintian --show-overrides "$deb" "$sim" 2>/dev/null | grep -c '^O:') overridden)"

# ---- A scratch root: run paths that exist, the host finds its plug-in and libraries with no
# environment variable
dpkg-deb -x "$deb" "$work/root"
while IFS= read -r -d '' file; do
    runpath=$(readelf -d "$file" 2>/dev/null | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
    [ -n "$runpath" ] || continue
    origin=$(dirname "$file")
    IFS=: read -ra folders <<<"$runpath"
    for folder in "${folders[@]}"; do
        [ -d "${folder//\$ORIGIN/$origin}" ] || fail "${file#$work/root} has the run path $folder, which does not exist"
    done
done < <(find "$work/root" -type f \( -perm -u+x -o -name '*.so*' \) -print0)
readelf -d "$work/root/usr/lib/cups/backend/vextel-fax" | grep -q RUNPATH &&
    fail "the backend has a run path"
shot=$(env -u VEXTEL_PDE_PATH -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen \
    "$work/root/usr/bin/vextel-print" --ppd "$work/root/usr/share/cups/model/vextel/Tarvik-M40-Vextel-Fax.ppd" \
    --screenshot "$work/shot.png" 2>&1) || fail "the installed host failed: $shot"
echo "$shot" | grep -q 'panel "Fax Settings"' || fail "the installed host showed no fax panel: $shot"
"$work/root/usr/lib/cups/backend/vextel-fax" | grep -q '^direct vextel-fax ' ||
    fail "the installed backend does not list itself"

# ---- Installed for real
apt_wait install "$deb" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "installing failed"; }
dpkg -L vextel-fax > "$work/installed"
remove_and_fail() { apt_wait purge vextel-fax >/dev/null 2>&1; fail "$@"; }
/usr/bin/vextel-print --help | grep -q -- "--agent" || remove_and_fail "the installed vextel-print does not run"

# The README's set-up lines, word for word (without sudo: this runs as root), against a private
# scheduler that has the installed PPD in its model list and the installed backend.
harness=$(VEXTEL_FAX_BACKEND=/usr/lib/cups/backend/vextel-fax bash "$here/cupsd-harness.sh" \
    start "$cupsd_folder" /usr/share/cups/model/vextel/Tarvik-M40-Vextel-Fax.ppd) ||
    remove_and_fail "the private scheduler did not start"
while IFS= read -r line; do export "${line?}"; done <<<"$harness"
# Root talks to the scheduler on its local socket with the scheduler's local certificate, as with
# the system's scheduler; over TCP the fax queues' policy would want a password.
export CUPS_SERVER=$VEXTEL_CUPS_SOCKET CUPS_STATEDIR=$cupsd_folder/state
lpinfo -m > "$work/models" 2>&1
grep -q '^vextel/Tarvik-M40-Vextel-Fax.ppd ' "$work/models" ||
    remove_and_fail "the scheduler's model list lacks vextel/Tarvik-M40-Vextel-Fax.ppd:" \
        "$(grep -i vextel "$work/models"; tail -n 5 "$work/models"; grep -v '^D' "$cupsd_folder/log/error_log" | tail -n 20)"
sed -n '/^## Set up the fax printer/,/^## /p' "$source_dir/README.md" |
    sed -n 's/^ *sudo \(lpadmin .*\|vextel-fax-setup .*\)$/\1/p' > "$work/setup-lines"
[ "$(wc -l < "$work/setup-lines")" -ge 2 ] || remove_and_fail "the README has no lpadmin set-up lines"
while IFS= read -r line; do
    echo "README: $line"
    eval "$line" > "$work/lpadmin.log" 2>&1 || remove_and_fail "$line: $(cat "$work/lpadmin.log")"
done < "$work/setup-lines"
LC_ALL=C lpstat -v > "$work/queues"
grep -q '^device for M40: socket://' "$work/queues" || remove_and_fail "no fax queue M40: $(cat "$work/queues")"
grep -q '^device for Fax: vextel-fax:/M40' "$work/queues" || remove_and_fail "no capture queue Fax: $(cat "$work/queues")"

# ---- Removed: the capture queue refuses jobs it could never print; purge takes the spool
mkdir -p /var/spool/vextel-fax/package-test-$$
apt_wait remove vextel-fax > "$work/remove.log" 2>&1 || { cat "$work/remove.log"; fail "removing failed"; }
LC_ALL=C lpstat -a Fax > "$work/accepting" 2>&1
grep -q "not accepting" "$work/accepting" || fail "the capture queue still accepts jobs: $(cat "$work/accepting")"
grep -q "vextel-fax backend was removed" "$work/accepting" || fail "no reason given: $(cat "$work/accepting")"
[ -d /var/spool/vextel-fax ] || fail "removal (not purge) took the users' spool"
apt_wait purge vextel-fax > "$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "purge failed"; }
[ -e /var/spool/vextel-fax ] && fail "purge left /var/spool/vextel-fax"
while read -r path; do
    [ -f "$path" ] && fail "$path is left after removal"
done < "$work/installed"
echo "PASS"
