#!/usr/bin/env bash
# Makes the portable folder with scripts/bundle, moves it to another place (as onto a USB
# stick, into a path with a blank) and checks that it holds what it must, that nothing in it
# resolves to the system's Qt, and that the program starts from it with a clean environment
# and shows its first window, loading Qt only from the folder.
#   tst_bundle.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DIST_DIR="$tmp/dist" BUILD_DIR="$build" BUNDLE_TAR=0 "$src/scripts/bundle" > "$tmp/bundle.log" 2>&1 \
    || { cat "$tmp/bundle.log"; fail "scripts/bundle failed"; }
made=$(echo "$tmp"/dist/merventa-*-linux-x86_64)
[ -d "$made" ] || fail "no folder in $tmp/dist"
mkdir -p "$tmp/chiavetta USB"
mv "$made" "$tmp/chiavetta USB/"
dir="$tmp/chiavetta USB/$(basename "$made")"

for f in merventa merventa.sh qt.conf Guida.pdf merventa.desktop merventa.png install-desktop-entry \
         licenze/LGPL-3.txt licenze/GPL-3.txt licenze/Qt-copyright.txt licenze/Icone.txt \
         lib/libQt6Core.so.6 lib/libQt6Widgets.so.6 lib/libQt6PrintSupport.so.6 \
         plugins/platforms/libqxcb.so plugins/platforms/libqoffscreen.so \
         plugins/printsupport/libcupsprintersupport.so plugins/imageformats/libqjpeg.so; do
    [ -e "$dir/$f" ] || fail "$f missing from the folder"
done
if [ -f "$build/app/unins000.dll" ]; then
    cmp -s "$build/app/unins000.dll" "$dir/unins000.dll" || fail "initial password file not copied"
fi

# Every Qt library the program and its plugins need comes from the folder; nothing is missing.
checked=0
qt=0
while IFS= read -r -d '' file; do
    out=$(ldd "$file")
    if echo "$out" | grep -q "not found"; then
        echo "$out"
        fail "$file: a library is not found"
    fi
    while read -r soname path; do
        case "$(readlink -f "$path")" in
        "$dir/lib/"*) ;;
        *) echo "$out"; fail "$file: $soname resolves to $path, not to the folder's" ;;
        esac
        qt=$((qt + 1))
    done < <(echo "$out" | sed -n 's/^[[:space:]]*\(lib\(Qt6\|icu\)[^ ]*\) => \(.*\) (0x[0-9a-f]*)$/\1 \3/p')
    checked=$((checked + 1))
done < <(find "$dir/merventa" "$dir/plugins" "$dir/lib" -type f \( -name merventa -o -name '*.so*' \) -print0)
[ "$checked" -gt 10 ] && [ "$qt" -gt "$checked" ] || fail "only $checked files, $qt Qt links checked"

# The program starts with nothing of this environment: no Qt variables, no library path.
status=0
first=$(cd / && env -i HOME="$tmp" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
        MERVENTA_STARTUP_PROBE=1 LD_DEBUG=libs LD_DEBUG_OUTPUT="$tmp/loader" \
        timeout 60 "$dir/merventa.sh" 2> "$tmp/stderr") || status=$?
[ "$status" -eq 0 ] || { cat "$tmp/stderr"; fail "the program ended with $status"; }
case "$first" in
Tfrm*) echo "first window: $first" ;;
*) cat "$tmp/stderr"; fail "no first window reported (got '$first')" ;;
esac
inits=$(cat "$tmp"/loader.* | grep "calling init:" || true)
echo "$inits" | grep -q "$dir/lib/libQt6Core.so.6" || fail "Qt not loaded from the folder"
echo "$inits" | grep -q "$dir/plugins/platforms/libqoffscreen.so" || fail "platform plugin not from the folder"
if echo "$inits" | grep -E "calling init: /(usr/)?lib/.*(libQt6|/qt6/plugins/)"; then
    fail "the system's Qt was loaded"
fi
echo "PASS: folder complete, $qt Qt and ICU links of $checked files resolve to the folder, program started from it"
