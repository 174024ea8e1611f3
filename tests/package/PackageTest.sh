#!/usr/bin/env bash
# PackageTest.sh ROOT TREE VERSION_RESOURCE_EXE DEMO_EXE
# Packs the 32-bit Windows build in TREE twice and checks the zip the way a user meets it.
set -euo pipefail
root=$1 tree=$2 version_exe=$3 demo_exe=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

version=$(sed -n 's/^#define LEDGRIN_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]\+\)$/\2/p' "$root/resources/Version.h" |
  paste -sd.)
build=$(sed -n 's/^#define LEDGRIN_VERSION_BUILD \([0-9]\+\)$/\1/p' "$root/resources/Version.h")
zip_name="ledgrin-$version-win32.zip"

# Two packings of one build: the same bytes, each with its checksum.
for run in a b; do
  "$root/scripts/package" --no-build --tree "$tree" --out "$work/$run" >/dev/null
  (cd "$work/$run" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS of run $run"
done
cmp "$work/a/$zip_name" "$work/b/$zip_name" || fail "two packings differ"
cmp "$work/a/SHA256SUMS" "$work/b/SHA256SUMS" || fail "two SHA256SUMS differ"
[ "$(ls "$work/a")" = "$(printf '%s\n' SHA256SUMS "$zip_name")" ] || fail "dist holds $(ls "$work/a")"

# Exactly the five files, in their order, all dated at the commit (ZIP keeps local time
# in two-second steps; the packer writes the commit's UTC time).
names=$(unzip -Z1 "$work/a/$zip_name")
[ "$names" = "$(printf '%s\n' Ledgrin.exe ledgrin-cli.exe README.txt LICENSE.txt THIRD-PARTY.txt)" ] ||
  fail "the zip holds: $names"
epoch=$(git -C "$root" log -1 --format=%ct)
stamp=$(TZ=UTC date -d "@$((epoch - epoch % 2))" +%Y%m%d.%H%M%S)
dates=$(unzip -Z -T "$work/a/$zip_name" | awk '/^-/ { print $(NF-1) }' | sort -u)
[ "$dates" = "$stamp" ] || fail "entry times $dates, not the commit's $stamp"

# Unpacked into a fresh folder: texts in CR LF, the executables without build paths.
mkdir "$work/unpacked"
unzip -q "$work/a/$zip_name" -d "$work/unpacked"
cd "$work/unpacked"
for text in README.txt LICENSE.txt THIRD-PARTY.txt; do
  [ -s "$text" ] || fail "$text is empty"
  if LC_ALL=C grep -qv $'\r$' "$text"; then fail "$text has a line without CR LF"; fi
done
grep -q "^Ledgrin $version - item tables for Tarvik" README.txt || fail "README.txt does not name version $version"
grep -q "The Ledgrin authors" LICENSE.txt || fail "LICENSE.txt lacks its holder"
for library in libzip libdeflate zlib mingw-w64; do
  grep -q "^$library" THIRD-PARTY.txt || fail "THIRD-PARTY.txt lacks $library"
done
for exe in Ledgrin.exe ledgrin-cli.exe; do
  if grep -q -F "$root" "$exe"; then fail "$exe holds the build path $root"; fi
done

# Under Wine, where 32-bit programs run.
if ! why=$("$root/scripts/wine-run" --probe-32); then
  echo "SKIPPED: 32-bit Windows programs cannot run here ($why)"
  exit 77
fi
out=$("$root/scripts/wine-run" ./ledgrin-cli.exe --version | tr -d '\r')
[ "$out" = "ledgrin-cli $version" ] || fail "ledgrin-cli.exe --version printed: $out"
"$root/scripts/wine-run" "$demo_exe" --size small -o demo.iff >/dev/null
out=$("$root/scripts/wine-run" ./ledgrin-cli.exe tables demo.iff | tr -d '\r') || fail "tables failed: $out"
[ "$(echo "$out" | grep -c '\.iff ')" = 14 ] || fail "tables printed: $out"
echo "$out" | grep -q '^Part.iff ' || fail "tables printed no Part.iff: $out"
out=$("$root/scripts/wine-run" "$version_exe" Ledgrin.exe | tr -d '\r')
expected=$(printf '%s\n' "FixedFileVersion $version.$build" "FixedProductVersion $version.$build" \
  "FileVersion $version.$build" "ProductVersion $version.$build")
[ "$out" = "$expected" ] || fail "the version block of Ledgrin.exe reads: $out"
echo "package: $zip_name checked"
