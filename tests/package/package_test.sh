#!/usr/bin/env bash
# The release zip as an administrator receives it: built by scripts/package.sh from a clean clone
# of this commit, unpacked, and checked for its file list, its checksums (also by sha256sum -c
# after unzip), a guide that reads as GBK, and the version text in every program's version
# resource. Ends "PASS package".
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
import hashlib, sys, zipfile
zip_path, out, guide_source = sys.argv[1], sys.argv[2], sys.argv[3]
expected = ["Tolvik.exe", "Brevane.exe", "maclist.exe", "使用说明.txt", "示例/",
            "示例/mac.ini", "示例/icd.ini", "SHA256SUMS"]
with zipfile.ZipFile(zip_path) as z:
    # Names without the UTF-8 flag are GBK bytes, which zipfile hands over as cp437.
    names = [i.orig_filename.encode("cp437").decode("gbk") if not i.flag_bits & 0x800
             else i.orig_filename for i in z.infolist()]
    if names != expected:
        sys.exit(f"file list {names}, want {expected}")
    data = {n: z.read(i) for n, i in zip(names, z.infolist())}
for n, d in data.items():
    if not n.endswith("/"):
        with open(f"{out}/{n.replace('/', '_')}", "wb") as f:
            f.write(d)
sums = {}
for line in data["SHA256SUMS"].decode("utf-8").split("\r\n"):
    if line:
        digest, file_name = line.split("  ", 1)
        sums[file_name] = digest
listed = [n for n in expected if not n.endswith("/") and n != "SHA256SUMS"]
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
# The guide says in GBK what the repository's guide says in UTF-8, line for line (pictures
# aside, which the text names instead of showing).
with open(guide_source, encoding="utf-8") as f:
    source = f.read().split("\n")
shipped = data["使用说明.txt"].decode("gbk").split("\r\n")
if len(source) != len(shipped):
    sys.exit(f"the guide has {len(shipped)} lines, its source {len(source)}")
for number, (want, got) in enumerate(zip(source, shipped), 1):
    if want != got and not want.lstrip().startswith("!["):
        sys.exit(f"guide line {number}: {got!r}, want {want!r}")
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
