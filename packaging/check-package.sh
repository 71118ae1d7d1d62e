#!/bin/bash
# Checks the Debian package `make package` made in a build folder: its control
# data, its contents against what the build produced, and that the program
# unpacked into a scratch folder (not installed) finds its module, plug-ins,
# settings and report files, makes a demo database and takes a screenshot.
#   packaging/check-package.sh [build folder]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$build/masterdata_${version}_$(dpkg --print-architecture).deb
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "package check: $*" >&2
    failures=$((failures + 1))
}

[ -f "$deb" ] || { echo "package check: no $deb; run 'make package'" >&2; exit 1; }

# Control data.
control=$(dpkg-deb -f "$deb")
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "^Version: $version$" <<<"$control" || fail "version is not $version"
for dep in libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc fonts-noto-cjk unixodbc \
    libqt6widgets6 libzint; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
conffiles=$(dpkg-deb -I "$deb" conffiles 2>/dev/null || true)
for f in /etc/masterdata/softconfig.ini /etc/masterdata/colorConfig.ini; do
    grep -qx "$f" <<<"$conffiles" || fail "$f is not a conffile"
done
dpkg-deb -I "$deb" >/dev/null

# Contents: the named files, every library and report file the build has, no tests.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(./usr/bin/masterdata ./usr/bin/mdsql ./usr/bin/mdcopy
    ./etc/masterdata/softconfig.ini ./etc/masterdata/colorConfig.ini
    ./usr/share/applications/masterdata.desktop
    ./usr/share/icons/hicolor/scalable/apps/masterdata.svg)
for side in 16 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${side}x${side}/apps/masterdata.png")
done
for lib in "$build"/bin/lib*.so; do
    expected+=("./usr/lib/masterdata/$(basename "$lib")")
done
for guide in "$source_dir"/docs/*.md; do
    expected+=("./usr/share/doc/masterdata/$(basename "$guide")")
done
for report in "$source_dir"/plugins/lumtab/reports/*.frf; do
    expected+=("./usr/share/masterdata/reports/$(basename "$report")")
done
for f in "${expected[@]}"; do
    grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
done
if grep -E '/(test_|bench_|fuzz_)[^/]*$' <<<"$contents"; then fail "test programs in the package"; fi

# Unpacked, not installed: a user of its own, nothing of the build folder.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/masterdata.desktop")
[ -x "$root/usr/bin/${exec_line%% *}" ] || fail "the desktop entry starts '$exec_line', not in /usr/bin"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/masterdata.desktop" || fail "desktop entry"
fi
for program in masterdata mdsql mdcopy; do
    if env -u LD_LIBRARY_PATH ldd "$root/usr/bin/$program" | grep "not found"; then
        fail "$program misses libraries"
    fi
done
run() {
    env -i PATH=/usr/bin:/bin HOME="$scratch/home" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 "$@"
}
got=$(run "$root/usr/bin/masterdata" --version)
[ "$got" = "masterdata $version" ] || fail "--version says '$got'"
run "$root/usr/bin/mdsql" --db "$scratch/demo.db" --create --demo-goods 30 "select 1" \
    >"$scratch/mdsql.log" 2>&1 || { cat "$scratch/mdsql.log"; fail "mdsql could not make a demo database"; }
grep -q "找不到基础资料模块" "$scratch/mdsql.log" && fail "mdsql did not find the module"
run "$root/usr/bin/masterdata" --db "$scratch/demo.db" --user admin --password admin \
    --open frm_goods --screenshot "$scratch/goods.png" --quit || fail "the host exited with $?"
[ -s "$scratch/goods.png" ] || fail "no screenshot"
# The program folder of an unpacked program is the user's, never /usr/bin.
for f in "$root"/usr/bin/*; do
    case $(basename "$f") in
        masterdata | mdsql | mdcopy) ;;
        *) fail "written beside the program: $f" ;;
    esac
done
[ -d "$scratch/home/.local/share/masterdata" ] || fail "no user data folder"
if [ -n "${MD_PACKAGE_SCREENSHOT:-}" ]; then cp "$scratch/goods.png" "$MD_PACKAGE_SCREENSHOT"; fi

if [ "$failures" -ne 0 ]; then
    echo "package check: $failures failure(s) in $deb" >&2
    exit 1
fi
echo "package check: $deb is fine ($(du -h "$deb" | cut -f1))"
