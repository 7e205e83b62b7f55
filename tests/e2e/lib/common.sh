# Sourced first by every end-to-end script: how it reports, what it removes at its exit, and the
# small helpers the scripts share. Sources the rest of lib/ (the build and Wine choice, the
# namespaces, Xvfb, the Wine prefixes).
# Sets e2e_name (the script's name) and work (a scratch folder removed at exit).
e2e_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
e2e_name=$(basename "$0" .sh)
source "$e2e_lib/wine_arch.sh"
source "$e2e_lib/namespace.sh"
source "$e2e_lib/xvfb.sh"
source "$e2e_lib/wine_prefix.sh"
source "$e2e_lib/stand_ins.sh"
source "$e2e_lib/samples.sh"

log() { echo "-- $*"; }
fail() { echo "FAIL $e2e_name: $*"; exit 1; }
pass() { echo "PASS $e2e_name"; }

# --- What a script leaves behind, removed whichever way it ends ------------------------------
# The lists are filled by the functions that make each thing, so a script cleans up only what it
# made; they must be called in the script's own shell, not in $(...).
e2e_prefixes=()    # "NAMESPACE|PREFIX" of each Wine prefix, its wineserver to stop
e2e_pids=()        # background processes: Xvfb, servers, watchers
e2e_namespaces=()
e2e_paths=()
remove_at_exit() { e2e_paths+=("$@"); }
stop_at_exit() { e2e_pids+=("$@"); }

e2e_cleanup() {
  local entry pid ns
  for entry in "${e2e_prefixes[@]}"; do
    [ -d "${entry#*|}" ] || continue
    in_ns "${entry%%|*}" env WINEPREFIX="${entry#*|}" "$WINESERVER_BIN" -k >/dev/null 2>&1
    in_ns "${entry%%|*}" env WINEPREFIX="${entry#*|}" "$WINESERVER_BIN" -w >/dev/null 2>&1
  done
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null; done
  # Whatever a server left running in a namespace (Samba's own children) goes with it.
  for ns in "${e2e_namespaces[@]}"; do ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null; done
  for ns in "${e2e_namespaces[@]}"; do ip netns del "$ns" 2>/dev/null; done
  rm -rf "${e2e_paths[@]}"
}
trap e2e_cleanup EXIT

work=$(mktemp -d "/tmp/e2e-$e2e_name.XXXXXX")
remove_at_exit "$work"

# --- Texts and files ---------------------------------------------------------------------------
# winpath PATH: the Windows name of a Unix path, through Wine's Z: drive.
winpath() { echo "Z:${1//\//\\}"; }
gbk() { iconv -f UTF-8 -t GBK; }
crlf() { printf '%s\r\n' "$@"; }

# expect_same_bytes GOT WANT WHAT: fails with WHAT, showing both files, unless they are equal.
expect_same_bytes() {
  cmp -s "$1" "$2" && return 0
  echo "got:"; od -c "$1" 2>&1 | head -n 30
  echo "want:"; od -c "$2" | head -n 30
  fail "$3"
}

# --- The Windows build -------------------------------------------------------------------------
# built NAME: the path of NAME in the Windows build, its top folder first; empty if not built.
built() {
  if [ -f "$WIN_BUILD/$1" ]; then echo "$WIN_BUILD/$1"; else find "$WIN_BUILD" -maxdepth 4 -name "$1" | head -n 1; fi
}
require_built() {  # require_built NAME...
  local file
  for file; do [ -n "$(built "$file")" ] || fail "$file is not built in $WIN_BUILD"; done
}
