#!/usr/bin/env bash
# Builds the Debian package from a release build, checks it with lintian,
# unpacks it into a staging root and runs the installed programs from
# there, proving (with strace) that they read the installed share folder
# and never the source tree.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="$root/build/package"

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

# The compiler and linker flags of a Debian package build (hardening, and
# the source folder mapped away from the debug information).
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
(
    cd "$root"
    CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
    LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
    export CXXFLAGS LDFLAGS
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DRHYTHMORA_TESTS=OFF -DRHYTHMORA_BENCH=OFF "${launcher[@]}" >/dev/null
)
cmake --build "$build"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
deb="$build/rhythmora_${version}_${arch}.deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null)
[[ -f "$deb" ]] || fail "cpack made no $deb"
echo "Built $deb"
dpkg-deb --field "$deb" Depends

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors in $deb"

work="$(mktemp -d "${TMPDIR:-/tmp}/rhythmora-package-XXXXXX")"
simulator=""
cleanup() {
    if [[ -n "$simulator" ]]; then
        kill "$simulator" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
stage="$work/stage"
dpkg-deb -x "$deb" "$stage"

# Every file of an installation is in the package.
share="$stage/usr/share"
for file in \
    usr/bin/rhythmora usr/bin/rhythmora-tool \
    usr/share/rhythmora/Language/RHYVENU.lng usr/share/rhythmora/Language/RHYVJPN.lng \
    usr/share/rhythmora/Artwork/279.svg \
    usr/share/rhythmora/Manual/Manual_en.html usr/share/rhythmora/Manual/Manual_ja.html \
    usr/share/rhythmora/Manual/manual.css \
    usr/share/rhythmora/Manual/License.txt usr/share/rhythmora/Manual/Document_en.html \
    usr/share/applications/com.torvane.Rhythmora.desktop \
    usr/share/metainfo/com.torvane.Rhythmora.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/com.torvane.Rhythmora.svg \
    usr/lib/udev/rules.d/70-rhythmora.rules \
    usr/share/man/man1/rhythmora.1.gz usr/share/man/man1/rhythmora-tool.1.gz \
    usr/share/doc/rhythmora/copyright usr/share/doc/rhythmora/changelog.gz; do
    [[ -f "$stage/$file" ]] || fail "the package lacks /$file"
done
[[ ! -e "$stage/usr/bin/rhythmora-build-tree" ]] || fail "the package holds the build-tree marker"
# Each picture the manual shows is installed with it.
for page in "$share"/rhythmora/Manual/*.html; do
    while read -r image; do
        [[ -f "$share/rhythmora/Manual/$image" ]] || fail "$(basename "$page") shows $image, not installed"
    done < <(grep -o 'src="images/[^"]*"' "$page" | sed 's/src="\(.*\)"/\1/')
done
rules="$stage/usr/lib/udev/rules.d/70-rhythmora.rules"
grep -q 'TAG+="uaccess"' "$rules" || fail "the udev rule gives no access to the desktop user"
grep -q 'ENV{ID_MM_DEVICE_IGNORE}="1"' "$rules" || fail "the udev rule lets ModemManager probe the port"
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -q '^\./postinst$' || fail "the package has no postinst"

desktop-file-validate "$share/applications/com.torvane.Rhythmora.desktop"
appstreamcli validate --no-net "$share/metainfo/com.torvane.Rhythmora.metainfo.xml"
for page in rhythmora rhythmora-tool; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" >/dev/null 2>"$work/man.err"
    [[ ! -s "$work/man.err" ]] || fail "$page.1: $(cat "$work/man.err")"
done

# `cmake --install` puts the same files in place as the package.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
diff <(cd "$stage/usr" && find . -type f | sort) <(cd "$work/prefix" && find . -type f | sort) ||
    fail "cmake --install and the package install different files"

# The installed programs, run from a fresh folder by a fresh user, with
# every file access traced.
home="$work/home"
mkdir -p "$home" "$work/run" "$work/cwd" "$work/data"
chmod 700 "$work/run"
tool="$stage/usr/bin/rhythmora-tool"
run_installed() {
    (cd "$work/cwd" && env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$work/run" \
        LC_ALL=ja_JP.UTF-8 QT_QPA_PLATFORM=offscreen "$@")
}
traced() {
    run_installed strace -f -qq -o "$work/trace.$1" -e trace=%file,%process "${@:2}"
}

expected="rhythmora-tool (Rhythmora) $version"
[[ "$(run_installed "$tool" --version)" == "$expected" ]] || fail "the installed tool is not $expected"
[[ "$(run_installed env -u DISPLAY "$stage/usr/bin/rhythmora" --version)" == "rhythmora (Rhythmora) $version" ]] ||
    fail "the installed window program does not tell its version"

# A simulated recording, imported from a simulated SD card and drawn as the
# report, in Japanese.
card="$work/card"
run_installed "$tool" simulate --card "$card" --recordings 2 --seed 7 >"$work/simulate.out" 2>&1 &
simulator=$!
for _ in $(seq 100); do
    [[ -s "$work/simulate.out" ]] && break
    if ! kill -0 "$simulator" 2>/dev/null; then
        fail "the simulator ended: $(cat "$work/simulate.out")"
    fi
    sleep 0.1
done
traced import "$tool" import --port "$card" --folder "$work/data" --json >"$work/import.json"
kill "$simulator"
wait "$simulator" || true
simulator=""
record="$(find "$work/data" -name '*.ecg' | sort | head -n 1)"
[[ -n "$record" ]] || fail "nothing was imported: $(cat "$work/import.json")"
traced report "$tool" report "$record" -o "$work/report.pdf"
traced svg "$tool" report "$record" -o "$work/report.svg"
[[ "$(head -c 5 "$work/report.pdf")" == "%PDF-" ]] || fail "the report is no PDF"

# The Japanese analysis texts come from the installed language file only.
# The SVG holds the page's text in runs of one script each, in page order.
jpn="$share/rhythmora/Language/RHYVJPN.lng"
analysis="$(sed -n 's/^ID620[23][0-9]=\(.*\)\r$/\1/p' "$jpn")"
page_text="$(grep -o ' >[^<]*</text>' "$work/report.svg" | sed 's/^ >//; s/<\/text>$//' | tr -d '\n')"
grep -qF "$analysis" <<<"$page_text" || fail "the report is not in Japanese"

for trace in "$work"/trace.*; do
    if grep -F "$root" "$trace" | grep -v -F "$work" | grep -q .; then
        grep -F "$root" "$trace" | grep -v -F "$work" | head -n 5 >&2
        fail "an installed program looked into the source tree ($(basename "$trace"))"
    fi
done
grep -q "openat(.*\"$jpn\", O_RDONLY" "$work/trace.report" ||
    fail "the installed report did not read the installed language file"
grep -q "\"$share/rhythmora/Artwork/" "$work/trace.report" ||
    fail "the installed report did not read the installed artwork"

echo "The package installs and runs from its staging root without the source tree."
