#!/usr/bin/env bash
# Builds the Debian package (release build in build/release) and checks it:
# lintian finds no error, the desktop entry, the AppStream metadata and the
# udev rule are valid, and the programs run from the unpacked package on the
# virtual instrument and find their help pages.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(scripts/package.sh | tail -n 1)
echo "== $deb"

lintian --fail-on error --tag-display-limit 0 "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
python3 tests/scripts/udev_rule_test.py "$root"/usr/lib/udev/rules.d/60-zypanel.rules
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done

# The installed programs, run from the unpacked tree.
state=$("$root"/usr/bin/zygen4 --device sim --fast AutoUpdate=0 Active=1 ChA.Mode=ZGMdC_gen \
    ChA.Frequency=10000 AutoUpdate=1 state)
grep -q . <<<"$state" || { echo "zygen4 printed no state" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
"$root"/usr/bin/zypanel --version
help=$("$root"/usr/bin/zypanel --help)
grep -qF "$root/usr/share/zypanel/help" <<<"$help" || {
    echo "zypanel does not look for its help in $root/usr/share/zypanel/help:" >&2
    echo "$help" >&2
    exit 1
}
test -f "$root"/usr/share/zypanel/help/index.html
echo "== package checks passed"
