#!/usr/bin/env bash
# The release zip as an administrator receives it: built by scripts/package.sh from a clean clone
# of this commit, unpacked, and checked for its file list, its checksums (also by sha256sum -c
# after unzip), the HTML guide (UTF-8 named in the page, no scripts, every picture and link it
# names in the zip, every heading of the guide's source), the short GBK text that points to it,
# and the version text in every program's version resource. Ends "PASS package".
set -uo pipefail
name=package
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/tolvik-package-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL $name: $*"; exit 1; }

commit=$(git -C "$root" rev-parse HEAD)
git clone -q "$root" "$work/src" || fail "cannot clone $root"
git -C "$work/src" checkout -q "$commit" || fail "cannot check out $commit"
version=$(git -C "$work/src" describe --tags --always)
BUILD_ROOT=$work/build DIST_DIR=$work/dist bash "$work/src/scripts/package.sh" >"$work/package.log" 2>&1 ||
  { tail -n 30 "$work/package.log"; fail "package.sh failed"; }
zip=$work/dist/tolvik-brevane-$version-win32.zip
[ -f "$zip" ] || fail "no $(basename "$zip")"

mkdir "$work/unpacked"
python3 - "$zip" "$work/unpacked" "$work/src/docs/使用说明.md" <<'PY' || fail "zip contents"
import hashlib, re, sys, zipfile
zip_path, out, guide_source = sys.argv[1], sys.argv[2], sys.argv[3]
head = ["Tolvik.exe", "Brevane.exe", "maclist.exe", "使用说明.html", "使用说明.txt"]
tail = ["示例/", "示例/mac.ini", "示例/icd.ini", "SHA256SUMS"]
with zipfile.ZipFile(zip_path) as z:
    # Names without the UTF-8 flag are GBK bytes, which zipfile hands over as cp437.
    names = [i.orig_filename.encode("cp437").decode("gbk") if not i.flag_bits & 0x800
             else i.orig_filename for i in z.infolist()]
    data = {n: z.read(i) for n, i in zip(names, z.infolist())}
pictures = names[len(head):len(names) - len(tail)]
if names[:len(head)] != head or names[len(names) - len(tail):] != tail or \
        not all(p.startswith("images/") for p in pictures):
    sys.exit(f"file list {names}, want {head} + images/... + {tail}")
for n, d in data.items():
    if not n.endswith("/"):
        with open(f"{out}/{n.replace('/', '_')}", "wb") as f:
            f.write(d)
sums = {}
for line in data["SHA256SUMS"].decode("utf-8").split("\r\n"):
    if line:
        digest, file_name = line.split("  ", 1)
        sums[file_name] = digest
listed = [n for n in names if not n.endswith("/") and n != "SHA256SUMS"]
if sorted(sums) != sorted(listed):
    sys.exit(f"SHA256SUMS names {sorted(sums)}, want {sorted(listed)}")
for n in listed:
    if hashlib.sha256(data[n]).hexdigest() != sums[n]:
        sys.exit(f"checksum of {n} does not match")
for n in ["使用说明.txt", "示例/mac.ini", "示例/icd.ini"]:
    try:
        text = data[n].decode("gbk")
    except UnicodeDecodeError as e:
        sys.exit(f"{n} is not GBK: {e}")
    if text.replace("\r\n", "").count("\n") or "\r\n" not in text:
        sys.exit(f"{n} does not end its lines with CR LF")

# The short text: lines Notepad shows whole (at most 76 bytes, the width of 38 Chinese
# characters), pointing to the page that is in the zip.
note = data["使用说明.txt"].decode("gbk")
for number, line in enumerate(note.split("\r\n"), 1):
    if len(line.encode("gbk")) > 76:
        sys.exit(f"使用说明.txt line {number} is {len(line.encode('gbk'))} bytes long: {line!r}")
if "使用说明.html" not in note:
    sys.exit("使用说明.txt does not name 使用说明.html")

# The page: UTF-8 named before anything else in its head, no scripts or active content, every
# picture and link it names present in the zip (each a PNG), no picture in the zip it does
# not show, and every heading of the guide's source as a heading of the page.
try:
    page = data["使用说明.html"].decode("utf-8")
except UnicodeDecodeError as e:
    sys.exit(f"使用说明.html is not UTF-8: {e}")
if not re.match(r'<!DOCTYPE HTML[^>]*>\s*<html[^>]*>\s*<head>\s*<meta http-equiv="Content-Type" '
                r'content="text/html; charset=utf-8">', page):
    sys.exit("使用说明.html does not open with its doctype and the UTF-8 meta element")
for active in ["<script", "javascript:", "<iframe", "<object", "<embed", " on"]:
    if re.search(re.escape(active) + (r"[a-z]+=" if active == " on" else ""), page, re.I):
        sys.exit(f"使用说明.html holds {active.strip()}")
shown = re.findall(r'<img src="([^"]+)"', page)
linked = [h for h in re.findall(r'<a href="([^"]+)"', page) if not re.match(r"https?://", h)]
if not shown:
    sys.exit("使用说明.html shows no picture")
for target in shown + linked:
    if target not in data:
        sys.exit(f"使用说明.html names {target}, which the zip does not hold")
for picture in shown:
    if not data[picture].startswith(b"\x89PNG\r\n\x1a\n"):
        sys.exit(f"{picture} is not a PNG")
unshown = [p for p in pictures if not p.endswith("/") and p not in shown]
if unshown:
    sys.exit(f"the zip holds pictures the page does not show: {unshown}")
with open(guide_source, encoding="utf-8") as f:
    headings = [l.lstrip("#").strip() for l in f.read().split("\n") if re.match(r"#+ ", l)]
page_headings = [re.sub(r"<[^>]+>", "", h) for h in re.findall(r"<h[1-6]>(.*?)</h[1-6]>", page)]
import html as html_text
page_headings = [html_text.unescape(h) for h in page_headings]
if [re.sub(r"[`*]", "", h) for h in headings] != page_headings:
    sys.exit(f"the page's headings {page_headings} are not the guide's {headings}")
# Marks of the source that no construct of the converter took would show as raw text.
prose = re.sub(r"<(pre|code)>.*?</\1>", "", page, flags=re.S)
prose = html_text.unescape(re.sub(r"<[^>]+>", "", prose[prose.index("<body>"):]))
for mark in ["**", "`", "](", "\n|", "\n- ", "\n#"]:
    if mark in prose:
        sys.exit(f"使用说明.html shows the source mark {mark!r} as text")
PY

# An ordinary unzip takes the UTF-8 names; sha256sum -c must find every file under them.
mkdir "$work/unzipped"
unzip -q "$zip" -d "$work/unzipped" || fail "unzip cannot unpack the zip"
(cd "$work/unzipped" && sha256sum -c --strict SHA256SUMS) >"$work/sums.log" 2>&1 ||
  { cat "$work/sums.log"; fail "sha256sum -c SHA256SUMS fails after unzip"; }

for exe in Tolvik.exe Brevane.exe maclist.exe; do
  resource=$(i686-w64-mingw32-windres -i "$work/unpacked/$exe" -O rc 2>/dev/null)
  for key in FileVersion ProductVersion; do
    grep -qF "VALUE \"$key\", \"$version\"" <<<"$resource" || fail "$exe: $key is not $version"
  done
done
echo "PASS $name"
