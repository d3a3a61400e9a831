#!/usr/bin/env bash
# Tries the packages as a new user would on a clean machine: builds them (scripts/package.sh),
# makes a fresh Debian 12 root with mmdebstrap from Debian's packages, installs the package there,
# starts a scheduler in it, follows the README's "Set up the fax printer" lines word for word,
# prints a fax job with lp as an ordinary user, sends it through the agent in scripted mode, and
# removes the package again. Prints each step. Needs root and the network to Debian's mirror;
# not run in CI (it takes about 15 to 30 minutes: the Release build and the root's packages).
#   scripts/package-check.sh [MIRROR]        (default http://deb.debian.org/debian)
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
mirror=${1:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "package-check: run as root (it makes a root and chroots into it)"; exit 2; }
command -v mmdebstrap >/dev/null || bash scripts/install-deps.sh

started=$(date +%s)
step() { echo "== [$(( $(date +%s) - started ))s] $*"; }
work=$(mktemp -d /var/tmp/vextel-package-check.XXXXXX)
root=$work/root
cupsd_pid=
cleanup() {
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null
    for mounted in proc sys dev/pts dev; do
        mountpoint -q "$root/$mounted" 2>/dev/null && umount -l "$root/$mounted"
    done
    rm -rf "$work"
}
trap cleanup EXIT
# A command run in the root, as root or as the user given first (-u USER).
in_root() {
    if [ "$1" = -u ]; then
        local user=$2
        shift 2
        chroot "$root" setpriv --reuid="$user" --regid="$user" --init-groups \
            env HOME="/home/$user" "$@"
    else
        chroot "$root" env HOME=/root "$@"
    fi
}

step "build the packages (Release, Debian's hardening flags)"
bash scripts/package.sh "$work/packages" | sed 's/^/   /'

step "make a fresh Debian 12 root from $mirror"
mmdebstrap --quiet --variant=apt --include=ca-certificates bookworm "$root" "$mirror"
for mounted in proc sys dev dev/pts; do
    mount --bind "/$mounted" "$root/$mounted"
done
step "apt-get update (an installed system has its package lists; the new root's were cleaned)"
in_root apt-get update -q 2>&1 | tail -n 2 | sed 's/^/   /'
mkdir -p "$root/work/build-package" "$root/run/cups"
cp -r "$work/packages" "$root/work/build-package/packages"
cp "$source_dir/resources/samples/fax-sample.pdf" "$root/work/document.pdf"
cp "$source_dir/resources/scripts/walkthrough.script" "$root/work/walkthrough.script"

# The README's set-up: its command lines, run from /work in the root, "sudo" left out (this is
# root already). The scheduler cannot be started through systemd in a root without it, so step 2
# starts it directly and checks it as the README says.
readme_lines=$(sed -n '/^## Set up the fax printer/,/^## /p' "$source_dir/README.md" |
    sed -n 's/^ *\(sudo \)\{0,1\}\(apt install .*\|systemctl enable --now cups\|lpinfo -m .*\|lpadmin .*\|vextel-fax-setup .*\)$/\2/p')
run_readme_line() {
    local line=$1
    step "README: $line"
    in_root sh -c "cd /work && DEBIAN_FRONTEND=noninteractive $line" 2>&1 | sed 's/^/   /'
}
while IFS= read -r line; do
    case "$line" in
        apt\ install*) run_readme_line "${line/apt install/apt-get install -y}" ;;
        systemctl\ enable*)
            step "README: $line (in the root, without systemd: cupsd started directly)"
            chroot "$root" /usr/sbin/cupsd -f &   # chroot execs cupsd: $! is its process id
            cupsd_pid=$!
            for _ in $(seq 1 50); do in_root lpstat -r >/dev/null 2>&1 && break; sleep 0.2; done
            run_readme_line "lpstat -r" ;;
        *) run_readme_line "$line" ;;
    esac
done <<<"$readme_lines"
step "lpstat -v"
in_root lpstat -v | sed 's/^/   /'

step "an ordinary user prints to the capture queue: lp -d Fax document.pdf"
in_root useradd -m dana
in_root -u dana lp -d Fax -t "First fax" /work/document.pdf | sed 's/^/   /'
for _ in $(seq 1 100); do
    ls "$root/var/spool/vextel-fax/dana"/job-* >/dev/null 2>&1 && break
    sleep 0.2
done
ls -l "$root/var/spool/vextel-fax/dana" | sed 's/^/   /'

step "the user's agent sends it, driven by the walkthrough script"
in_root -u dana vextel-print --agent --once --script /work/walkthrough.script 2>&1 | sed 's/^/   /'
step "the fax printer's queue holds the job with its fax options"
in_root lpstat -o M40 | sed 's/^/   /'
job=$(in_root lpstat -o M40 | awk 'NR == 1 {print $1}')
[ -n "$job" ] || { echo "FAIL: no job reached the fax queue M40"; exit 1; }

step "remove the package: apt-get purge vextel-fax"
in_root apt-get purge -y vextel-fax 2>&1 | tail -n 3 | sed 's/^/   /'
step "lpstat -a Fax"
in_root sh -c "LC_ALL=C lpstat -a Fax" 2>&1 | sed 's/^/   /'
[ -e "$root/var/spool/vextel-fax" ] && { echo "FAIL: purge left /var/spool/vextel-fax"; exit 1; }
step "PASS"
