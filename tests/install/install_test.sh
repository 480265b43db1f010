#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks what a desktop and its user get from
# it: the tree; the desktop entry and the AppStream data as their validators see them; the
# DBF file type as the shared MIME database resolves it, by name and by content, against the
# table versions the installed tool opens; the manual pages as man renders them, and the
# tool's every command and option documented; and the installed program started from a
# read-only prefix with a fresh HOME, opening a table, writing its settings under the
# settings directory and exiting cleanly when asked to stop.
#
# usage: install_test.sh CMAKE BUILD_DIR MAKE_SAMPLES
set -euo pipefail

cmake=$1
build=$2
make_samples=$3
prefix=/usr/local

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
need() {
    command -v "$1" >/dev/null || { echo "$1 is missing (package $2; make test installs it)" >&2; exit 1; }
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need update-mime-database shared-mime-info
need gio libglib2.0-bin
need man man-db

# In the temporary folder, which any user reaches (a build folder may lie in a home that
# others cannot enter); kept when a check fails. mktemp fills in the X's with a unique name.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/lumetta-install-test.XXXXXX")
chmod 755 "$scratch"
finish() {
    if [ "$failures" = 0 ]; then
        chmod -R u+w "$scratch"
        rm -rf "$scratch"
    else
        echo "the files checked are in $scratch" >&2
    fi
}
trap finish EXIT
stage=$scratch/stage
root=$stage$prefix
DESTDIR=$stage "$cmake" --install "$build" --prefix "$prefix" >/dev/null

echo "== the installed tree"
expected=(
    bin/lumetta
    bin/lumetta-cli
    share/applications/lumetta.desktop
    share/icons/hicolor/scalable/apps/lumetta.svg
    share/lumetta/lumteng.html
    share/lumetta/lumtrus.html
    share/icons/hicolor/scalable/mimetypes/application-x-dbf.svg
    share/man/man1/lumetta-cli.1.gz
    share/man/man1/lumetta.1.gz
    share/metainfo/org.lumetta.lumetta.metainfo.xml
    share/mime/packages/lumetta.xml
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/lumetta.png"
               "share/icons/hicolor/${size}x${size}/mimetypes/application-x-dbf.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f | sed 's|^\./||' | sort) \
    || fail "the installed files differ from the expected ones (< expected, > installed)"
for program in lumetta lumetta-cli; do
    [ -x "$root/bin/$program" ] || fail "bin/$program is not executable"
done
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in "${sizes[@]}"; do
    for png in "$root/share/icons/hicolor/${size}x${size}"/*/*.png; do
        read -r width height < <(od -An -tu1 -j16 -N8 "$png" \
            | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
        [ "$(head -c8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
        [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height, not $size x $size"
    done
done

echo "== desktop entry and AppStream data"
desktop=$root/share/applications/lumetta.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=lumetta %F' "$desktop" || fail "the desktop entry does not open files with %F"
grep -qx 'Icon=lumetta' "$desktop" || fail "the desktop entry's icon is not lumetta"
grep -q '^MimeType=.*application/x-dbf;' "$desktop" || fail "the desktop entry lacks application/x-dbf"
appstreamcli validate --no-net "$root/share/metainfo/org.lumetta.lumetta.metainfo.xml" \
    || fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"

echo "== the DBF file type"
samples=$scratch/samples
"$make_samples" "$samples" >/dev/null
sample=$samples/customers.dbf
mime=$scratch/mime
mkdir -p "$mime/mime/packages"
cp "$root/share/mime/packages/lumetta.xml" "$mime/mime/packages/"
errors=$(XDG_DATA_DIRS="$mime" update-mime-database "$mime/mime" 2>&1 >/dev/null)
[ -z "$errors" ] || fail "update-mime-database: $errors"
# Only the scratch database: the system's own description of DBF tables must not help.
content_types() {
    env -i PATH="$PATH" HOME="$scratch" GIO_USE_VFS=local XDG_DATA_HOME="$mime" XDG_DATA_DIRS="$mime" \
        gio info -a standard::content-type "$@" | sed -n 's/^ *standard::content-type: //p'
}
probe=$scratch/probe
mkdir -p "$probe"
echo "not a table" > "$probe/notes.dbf"
echo "not a table" > "$probe/NOTES.DBF"
cp "$sample" "$probe/customers"
[ "$(content_types "$probe/notes.dbf" "$probe/NOTES.DBF")" = $'application/x-dbf\napplication/x-dbf' ] \
    || fail "*.dbf and *.DBF are not application/x-dbf by name"
[ "$(content_types "$probe/customers")" = application/x-dbf ] \
    || fail "a table without an extension is not application/x-dbf by its content"
# Every first byte: the content rule claims exactly the versions the installed tool opens.
# The type is asked of a copy without an extension; the tool opens tables named *.dbf.
versions=$scratch/versions
mkdir -p "$versions/named"
names=()
for byte in $(seq 0 255); do
    name=$(printf 'v%02x' "$byte")
    { printf "\\x$(printf '%02x' "$byte")"; tail -c +2 "$sample"; } > "$versions/$name"
    cp "$versions/$name" "$versions/named/$name.dbf"
    names+=("$versions/$name")
done
mapfile -t types < <(content_types "${names[@]}")
[ "${#types[@]}" = 256 ] || fail "gio gave ${#types[@]} types for 256 files"
opened=0
for byte in $(seq 0 255); do
    if "$root/bin/lumetta-cli" info "$versions/named/$(printf 'v%02x' "$byte").dbf" >/dev/null 2>&1; then
        opened=$((opened + 1))
        [ "${types[$byte]}" = application/x-dbf ] \
            || fail "$(printf '0x%02X' "$byte"): the program opens it, its type is ${types[$byte]}"
    else
        [ "${types[$byte]}" != application/x-dbf ] \
            || fail "$(printf '0x%02X' "$byte"): application/x-dbf, but the program does not open it"
    fi
done
[ "$opened" -gt 0 ] || fail "the installed lumetta-cli opened no version of the sample table"

echo "== manual pages"
for page in "$root"/share/man/man1/*.1.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
done
# Headings of tagged paragraphs start at column 8; wide enough, no line of the page breaks.
cli_page=$(MANWIDTH=1000 man -l "$root/share/man/man1/lumetta-cli.1.gz" 2>/dev/null)
commands=$("$root/bin/lumetta-cli" --help | sed -n 's/^  \([a-z-]*\)$/\1/p')
[ -n "$commands" ] || fail "lumetta-cli --help lists no commands"
for command in $commands; do
    grep -Eq "^ {7}$command( |$)" <<<"$cli_page" || fail "lumetta-cli.1 does not describe $command"
    for option in $("$root/bin/lumetta-cli" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -Eq "^ +$option( |$)" <<<"$cli_page" \
            || fail "lumetta-cli.1 does not describe $option of $command"
    done
done
lumetta_page=$(MANWIDTH=1000 man -l "$root/share/man/man1/lumetta.1.gz" 2>/dev/null)
for heading in '-k DIR' 'Lumetta.ini' 'lumtrus.dll'; do
    grep -Eq "^ {7}$heading" <<<"$lumetta_page" || fail "lumetta.1 does not describe $heading"
done

echo "== the installed program, from a read-only prefix with a fresh HOME"
home=$scratch/home
tables=$scratch/tables
mkdir -p "$home" "$tables"
cp "$sample" "$tables/"
chmod -R a-w "$stage"
before=$(cd "$stage" && find . -printf '%p %s %T@\n' | sort)
run_as=()
if [ "$(id -u)" = 0 ]; then
    # The superuser writes anywhere; an installed program runs as a user who cannot.
    chown -R nobody "$home" "$tables"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} \
    "${run_as[@]}" "$root/bin/lumetta" "$tables/customers.dbf" &
pid=$!
# Signals are caught from just after start; the table opens before the event loop runs, and
# a stop request is handled by that loop.
sigterm_mask=$((1 << 14))
for _ in $(seq 600); do
    caught=$(sed -n 's/^SigCgt:\t//p' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$caught" ] && (( 16#$caught & sigterm_mask )) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -TERM "$pid" 2>/dev/null || true
status=0
for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "the program did not stop within a minute of SIGTERM"
fi
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "the program exited with $status"
after=$(cd "$stage" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the program changed its installation"
settings=$home/.config/lumetta/Lumetta.ini
if [ -f "$settings" ]; then
    text=$(tr -d '\r' < "$settings")
    for line in '[Font]' '[Interface]' '[Recent File List]' "File1=$tables/customers.dbf"; do
        grep -qxF "$line" <<<"$text" || fail "the settings file lacks the line $line"
    done
else
    fail "no settings file in $home/.config/lumetta/: $(ls -A "$home/.config/lumetta" 2>&1)"
fi
# The carried Russian library goes where the settings go when the program's folder is read-only.
[ -s "$home/.config/lumetta/lumtrus.dll" ] || fail "no lumtrus.dll in $home/.config/lumetta/"
chmod -R u+w "$stage"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all installation checks passed"
