#!/usr/bin/env bash
# Builds the Debian package, holds it to lintian (no error, no warning),
# installs it with dpkg into a scratch root, reads its manual pages with man
# and runs the installed quorvex-fade.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/*.deb)
status=0
fail() { echo "FAIL: $*"; status=1; }

depends=$(dpkg-deb -f "$deb" Depends)
declared() { [[ ", $depends," == *", $1"[\ ,]* ]]; }
for needed in qt6-qpa-plugins fonts-liberation; do declared "$needed" || fail "Depends lacks $needed: $depends"; done
[[ ", $(dpkg-deb -f "$deb" Suggests)," == *", wine,"* ]] || fail "wine is not suggested"

# Informational tags may stay; errors and warnings (a description line over 80
# columns, a program without a manual page) may not.
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless \
     --log=/dev/null --install "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }
for path in usr/bin/quorvex-aim-fader usr/lib/quorvex-aim-fader/quorvex-im-helper.exe \
            usr/share/applications/org.quorvex.AimFader.desktop usr/share/metainfo/org.quorvex.AimFader.metainfo.xml \
            usr/share/icons/hicolor/256x256/apps/org.quorvex.AimFader.png; do
    [[ -e "$root/$path" ]] || fail "not installed: /$path"
done

# Every library an installed program links must come from a declared package.
for program in "$root"/usr/bin/*; do
    resolved=$(ldd "$program")
    for soname in $(objdump -p "$program" | awk '/NEEDED/ {print $2}'); do
        path=$(awk -v so="$soname" '$1 == so && $2 == "=>" {print $3}' <<<"$resolved")
        package=$( (dpkg -S "$path" || dpkg -S "$(realpath "$path")") 2>/dev/null | head -n1 | cut -d: -f1)
        declared "$package" || fail "$(basename "$program") links $soname from '$package', not in Depends: $depends"
    done
done

# The changelog names the version being packaged.
changelog=$(zcat "$root/usr/share/doc/quorvex-aim-fader/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[[ "$changelog" == "$(dpkg-deb -f "$deb" Version)" ]] || fail "changelog is at $changelog, the package at $(dpkg-deb -f "$deb" Version)"

# "man quorvex-fade" finds and formats the installed pages.
for page in quorvex-fade quorvex-aim-fader; do
    text=$(MANPATH="$root/usr/share/man" MANWIDTH=80 LC_ALL=C.UTF-8 man "$page" 2>"$work/man.err") || fail "man $page failed"
    if [[ -s "$work/man.err" ]]; then fail "man $page: $(cat "$work/man.err")"; fi
    [[ "$text" == *WINEPREFIX*QUORVEX_IM_HELPER* ]] || fail "man $page does not show its environment"
done
[[ "$(MANPATH="$root/usr/share/man" man quorvex-fade 2>/dev/null)" == *"--ansi"* ]] || fail "man quorvex-fade lacks --ansi"

got=$("$root/usr/bin/quorvex-fade" -1 '#FF0000' -2 '#00FF00' -3 '#0000FF' abc) || fail "installed quorvex-fade failed"
[[ "$got" == '<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c' ]] || fail "quorvex-fade printed: $got"
if [[ $(id -u) -eq 0 ]]; then
    apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 \
        || { cat "$work/apt.log"; fail "apt cannot resolve the dependencies"; }
fi
exit $status
