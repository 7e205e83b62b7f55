#!/usr/bin/env bash
# Builds the i686 programs and writes dist/tolvik-brevane-<version>-win32.zip: Tolvik.exe,
# Brevane.exe, maclist.exe, the guide 使用说明.html with its pictures images/, the short
# 使用说明.txt that points to it and the sample lists 示例/ (texts in GBK with CR LF, as Notepad on
# a Chinese Windows reads them) and SHA256SUMS. The same commit gives the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
version=$(git describe --tags --always)
# The zip is named after the commit; changes not yet committed would ship under that name.
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "package: warning: uncommitted changes are packaged as $version" >&2
fi
build=${BUILD_ROOT:-$root/build}/win32
dist=${DIST_DIR:-$root/dist}

scripts/build.sh win32

# Every program must carry this version in its version resource (a stale build would not).
for exe in Tolvik.exe Brevane.exe tools/maclist/maclist.exe; do
  i686-w64-mingw32-windres -i "$build/$exe" -O rc 2>/dev/null |
    grep -q "VALUE \"FileVersion\", \"$version\"" ||
    { echo "package: $exe does not carry the version $version" >&2; exit 1; }
done

stage=$(mktemp -d /tmp/tolvik-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/示例" "$dist"
cp "$build/Tolvik.exe" "$build/Brevane.exe" "$build/tools/maclist/maclist.exe" "$stage/"

# UTF-8 with LF in the repository; GBK with CR LF in the zip. iconv fails on a character that
# GBK lacks, so such a text stops the packaging instead of arriving garbled.
to_gbk_crlf() { sed 's/\r$//; s/$/\r/' "$1" | iconv -f UTF-8 -t GBK >"$2"; }
# The guide as one HTML page with its pictures beside it (UTF-8, named in the page), and a short
# plain text that points to it.
python3 "$root/scripts/lib/guide_html.py" docs/使用说明.md "$stage/使用说明.html" >"$stage/pictures"
mapfile -t pictures <"$stage/pictures"
rm "$stage/pictures"
for picture in "${pictures[@]}"; do
  # Only pictures under docs/ travel with the page.
  [[ $picture != /* && $picture != *..* && -f docs/$picture ]] ||
    { echo "package: the guide shows a picture that is not a file under docs/: $picture" >&2; exit 1; }
  mkdir -p "$stage/$(dirname "$picture")"
  cp "docs/$picture" "$stage/$picture"
done
to_gbk_crlf docs/使用说明.txt "$stage/使用说明.txt"
to_gbk_crlf docs/示例/mac.ini "$stage/示例/mac.ini"
to_gbk_crlf docs/示例/icd.ini "$stage/示例/icd.ini"

# The picture folders, each before its files, in the guide's order of first mention.
picture_entries=()
for picture in "${pictures[@]}"; do
  folder=$(dirname "$picture")/
  [[ " ${picture_entries[*]} " == *" $folder "* ]] || picture_entries+=("$folder")
  picture_entries+=("$picture")
done
files=(Tolvik.exe Brevane.exe maclist.exe 使用说明.html 使用说明.txt "${pictures[@]}" 示例/mac.ini 示例/icd.ini)
# The names in UTF-8, as an ordinary unzip writes them (the zip carries them in UTF-8 beside GBK),
# so that sha256sum -c finds the files.
(cd "$stage" && sha256sum "${files[@]}") | sed 's/$/\r/' >"$stage/SHA256SUMS"

zip_path=$dist/tolvik-brevane-$version-win32.zip
python3 "$root/scripts/lib/write_zip.py" "$zip_path" "$(git log -1 --format=%ct)" "$stage" \
  Tolvik.exe Brevane.exe maclist.exe 使用说明.html 使用说明.txt "${picture_entries[@]}" \
  示例/ 示例/mac.ini 示例/icd.ini SHA256SUMS
echo "$zip_path"
