#!/usr/bin/env bash
# Builds the Debian package of the build and checks it: the control fields, the libraries'
# packages among its dependencies, the files under /usr, and the programs of the unpacked
# package running on a sample table.
#
# usage: package_test.sh CPACK BUILD_DIR MAKE_SAMPLES SCRATCH_DIR
set -euo pipefail

cpack=$1
build=$2
make_samples=$3
scratch=$4

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps is missing (package dpkg-dev)" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; exit 1; }
packages=("$scratch"/out/lumetta_*.deb)
[ "${#packages[@]}" = 1 ] && [ -f "${packages[0]}" ] || { echo "no single package in $scratch/out" >&2; exit 1; }
deb=${packages[0]}

echo "== control fields"
[ "$(dpkg-deb -f "$deb" Package)" = lumetta ] || fail "the package is not named lumetta"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The libraries the programs link, found by dpkg-shlibdeps, and the platform plugins.
depends_names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -qxF "$package" <<<"$depends_names" || fail "Depends lacks $package"
done
grep -Eq '(^|, )libqt6widgets6 \(>= [0-9]' <<<"$depends" || fail "Depends gives no Qt version"

echo "== files"
listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/bin/lumetta ./usr/bin/lumetta-cli ./usr/share/applications/lumetta.desktop \
            ./usr/share/mime/packages/lumetta.xml ./usr/share/metainfo/org.lumetta.lumetta.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/lumetta.svg ./usr/share/icons/hicolor/48x48/apps/lumetta.png \
            ./usr/share/man/man1/lumetta.1.gz ./usr/share/man/man1/lumetta-cli.1.gz; do
    grep -qxF "$file" <<<"$listing" || fail "the package lacks $file"
done
grep -v '^\./usr/' <<<"$listing" | grep -vx '\./' && fail "the package has files outside /usr"
# A system's desktop caches are its triggers' business, never a package's files.
grep -E '/mime/mime\.cache$|icon-theme\.cache$|mimeinfo\.cache$' <<<"$listing" \
    && fail "the package carries a desktop cache"

echo "== the unpacked programs"
unpacked=$scratch/unpacked
dpkg-deb -x "$deb" "$unpacked"
"$make_samples" "$scratch/samples" >/dev/null
info=$("$unpacked/usr/bin/lumetta-cli" info "$scratch/samples/customers.dbf") \
    || fail "the packaged lumetta-cli cannot read a sample table"
grep -q '^Records: *[1-9]' <<<"$info" || fail "the packaged lumetta-cli printed no records: $info"
# Stripped, the program still starts; without a display it says so and exits 2.
status=0
env -i PATH=/usr/bin:/bin "$unpacked/usr/bin/lumetta" >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "the packaged lumetta without a display exited with $status, not 2"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all package checks passed"
