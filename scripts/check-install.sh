#!/usr/bin/env bash
# CI: installs a build (default build/) into a scratch folder and checks the
# installed tree and its validators, builds the Debian package and lists it, and
# starts the installed program as a user whose install prefix is read-only.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
id=org.kestrintrx.kestrin
scratch="$(mktemp -d)"
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

echo "== installed tree"
DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr > /dev/null
prefix="$scratch/root/usr"
for file in bin/kestrin bin/kestrin-cardsim bin/kestrin-run bin/kestrin-extcap share/applications/$id.desktop \
            share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg share/man/man1/kestrin.1.gz \
            share/man/man1/kestrin-cardsim.1.gz share/man/man1/kestrin-run.1.gz share/man/man1/kestrin-extcap.1.gz; do
  [ -s "$prefix/$file" ] || fail "$file is missing"
done
[ -x "$prefix/bin/kestrin" ] && [ -x "$prefix/bin/kestrin-cardsim" ] && [ -x "$prefix/bin/kestrin-run" ] &&
  [ -x "$prefix/bin/kestrin-extcap" ] || fail "a program is not executable"
# Wireshark finds kestrin-extcap by a relative link in its extcap folder.
extcap="$(find "$prefix/lib" -path '*/wireshark/extcap/kestrin-extcap')"
[ -L "$extcap" ] && [ "$(realpath "$extcap")" = "$(realpath "$prefix/bin/kestrin-extcap")" ] ||
  fail "no link to kestrin-extcap in Wireshark's extcap folder"
diff <(cd resources && ls scripts/*.scr data/*.dat cards/*.card | xargs -n1 basename | sort) \
     <(ls "$prefix/share/kestrin/samples") || fail "the samples differ from resources/"
"$prefix/bin/kestrin" --version
grep -q -- --version <<< "$("$prefix/bin/kestrin" --help)" || fail "kestrin --help"
if QT_QPA_PLATFORM=offscreen "$prefix/bin/kestrin" --no-such-option 2> /dev/null; then
  fail "an unknown option was accepted"
fi
"$prefix/bin/kestrin-run" --version
"$extcap" --version

echo "== validators"
desktop-file-validate "$prefix/share/applications/$id.desktop"
echo "$id.desktop: desktop-file-validate clean"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings="$(zcat "$page" | groff -man -ww -z 2>&1)"
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  echo "$(basename "$page"): groff -man -ww clean"
done

echo "== Debian package"
rm -f "$build"/kestrin_*.deb
(cd "$build" && cpack -G DEB > /dev/null)
deb="$(ls "$build"/kestrin_*.deb)"
dpkg-deb -I "$deb"
contents="$(dpkg-deb -c "$deb")"
echo "$contents"
grep -q libqt6widgets6 <<< "$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks the Qt libraries"
for file in usr/bin/kestrin usr/bin/kestrin-cardsim usr/bin/kestrin-run usr/bin/kestrin-extcap \
            usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml usr/share/man/man1/kestrin.1.gz \
            usr/share/man/man1/kestrin-run.1.gz usr/share/man/man1/kestrin-extcap.1.gz \
            usr/share/kestrin/samples/demo.scr usr/share/doc/kestrin/copyright usr/share/doc/kestrin/changelog.gz; do
  grep -q " \./$file$" <<< "$contents" || fail "the package lacks $file"
done
grep -qF " ./usr/${extcap#"$prefix/"} -> ../../../../bin/kestrin-extcap" <<< "$contents" ||
  fail "the package lacks the link in Wireshark's extcap folder"
# Debian's own checks of the package: no error (warnings and notes are shown).
lintian --fail-on error --tag-display-limit 0 "$deb" 2> >(grep -v "root privileges" >&2) || fail "lintian found errors"
echo "$(basename "$deb"): lintian clean of errors"

echo "== installed program: per-user folders under a read-only prefix"
home="$scratch/home"
mkdir -p "$home/run" "$scratch/plugins"
chmod 700 "$home/run"
cp -r "$build/tests/plugins/generic" "$scratch/plugins/"
chmod -R a-w "$scratch/root"
user=()
if [ "$(id -u)" -eq 0 ]; then # root writes anywhere: the program runs as nobody
  chown -R 65534:65534 "$home"
  chmod 755 "$scratch"
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
run_installed() { # COMPORT to save; prints what the driver saw
  "${user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen \
    QT_PLUGIN_PATH="$scratch/plugins" QT_QPA_GENERIC_PLUGINS="kestrindriver:$1" \
    timeout 60 "$prefix/bin/kestrin" 2> "$scratch/stderr" || { cat "$scratch/stderr" >&2; fail "kestrin failed"; }
}
expect() { grep -qxF -- "$2" <<< "$1" || fail "expected '$2' in: $1"; }

scripts="$home/.local/share/kestrin"
seen="$(run_installed ttyFirst)"
echo "$seen"
expect "$seen" "settings file: $home/.config/kestrin/kestrin.ini"
expect "$seen" "scripts: $(cd resources/scripts && ls *.scr | sort | xargs)"
grep -qx "COM=ttyFirst" "$home/.config/kestrin/kestrin.ini" || fail "Save did not reach the per-user settings"
diff -r "$prefix/share/kestrin/samples" "$scripts" || fail "the scripts folder is not a copy of the samples"
[ -z "$(find "$scratch/root" -newer "$scratch/plugins" -print -quit)" ] || fail "something was written to the prefix"

echo "REM edited by the user" >> "$scripts/hello.scr"
seen="$(run_installed ttySecond)"
echo "$seen"
expect "$seen" "COMPORT: ttyFirst"
grep -q "REM edited by the user" "$scripts/hello.scr" || fail "a second start replaced an edited sample"
grep -qx "COM=ttySecond" "$home/.config/kestrin/kestrin.ini" || fail "the second Save was lost"

echo "== installed kestrin-run: its device from the user's settings"
status=0
said="$("${user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" timeout 60 "$prefix/bin/kestrin-run" -e 00 2>&1)" || status=$?
echo "$said"
[ "$status" -eq 3 ] && grep -q "card interface /dev/ttySecond could not be opened" <<< "$said" ||
  fail "kestrin-run did not open COM of the user's kestrin.ini (exit status $status)"

echo "== installed kestrin-extcap, as Wireshark starts it: the user's COM as a capture interface"
said="$("${user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" timeout 60 "$extcap" --extcap-interfaces)"
echo "$said"
expect "$said" "interface {value=kestrin-serial}{display=Kestrin T.R.X card interface ttySecond (/dev/ttySecond)}"
echo "install check passed"
