# Sourced by lib/common.sh: the stand-ins for Windows' programs (tests/wine/programs), installed
# where Tolvik looks for them.
#
# The layout every script follows. Tolvik starts netsh, wmic, tftp, schtasks and cmd and loads netapi32.dll
# only from Windows' system directory, so the stand-ins live in the prefix's system directory as
# the build under test sees it (stand_in_dir: drive_c/windows/system32 for x86_64,
# drive_c/windows/syswow64 for the i686 build under WoW64 Wine 10): netsh.exe, tftp.exe, schtasks.exe and
# netapi32.dll there, wmic.exe in its wbem folder, each in place of Wine's own file and run
# "native" by the DLL overrides that install_stand_ins keeps with the prefix (wine_env_in adds
# them to every run). Wine's own cmd.exe runs the self-delete batch file.
# Every stand-in run from there records into one commands.log in that directory
# (tests/wine/command_record.h), in start order; a copy run from anywhere else records beside
# itself, which is how a file planted beside Tolvik shows that it ran. take_stand_in_records
# moves the log into a case's own folder, so each case reads its own records and the next
# starts from none.
# The stand-ins answer as Windows does (see each program's opening comment): wmic prints its
# out-parameters block with ReturnValue (WMIC_RETURN_VALUE, WMIC_OUTPUT_UTF16, WMIC_NO_INSTANCE),
# netsh refuses a duplicate DNS server and, while stand_in_dhcp_on holds, DHCP on an adapter that
# has it, netapi32.dll answers the domain membership and the password the environment names
# (NETAPI_JOINED, NETAPI_PASSWORD) and never records a password.

# stand_in_dir PREFIX: the Unix path of the system directory of this build's programs.
stand_in_dir() {
  if [ "$E2E_ARCH" = i686 ]; then echo "$1/drive_c/windows/syswow64"; else echo "$1/drive_c/windows/system32"; fi
}

# stand_in_path PREFIX NAME: where the stand-in NAME (netsh.exe, wmic.exe, tftp.exe, netapi32.dll)
# lives.
stand_in_path() {
  case "$2" in
    wmic.exe) echo "$(stand_in_dir "$1")/wbem/wmic.exe" ;;
    *) echo "$(stand_in_dir "$1")/$2" ;;
  esac
}

# install_stand_ins PREFIX NAME...: copies the built stand-ins into the system directory and
# keeps their native overrides in PREFIX/stand-in-overrides for wine_env_in.
install_stand_ins() {
  local prefix=$1 name target names=()
  shift
  for name; do
    target=$(stand_in_path "$prefix" "$name")
    mkdir -p "$(dirname "$target")"
    cp "$(built "$name")" "$target" || fail "cannot install the stand-in $name"
    names+=("${name%.dll}")
  done
  local old
  old=$(stand_in_overrides "$prefix" | tr ',' '\n' | sed 's/=n$//')
  printf '%s\n' $old "${names[@]}" | sed '/^$/d' | sort -u | paste -sd, | sed 's/$/=n/' \
    >"$prefix/stand-in-overrides"
}

# remove_stand_in PREFIX NAME: the program is gone from the system directory (Wine's own file
# went when the stand-in took its place), so Tolvik cannot start it.
remove_stand_in() { rm -f "$(stand_in_path "$1" "$2")"; }

# stand_in_dhcp_on PREFIX / stand_in_dhcp_off PREFIX: netsh answers as on an adapter whose keys
# say DHCP (the test sets those keys too), or as on one with a static address.
stand_in_dhcp_on() { : >"$(stand_in_dir "$1")/netsh-dhcp.txt"; }
stand_in_dhcp_off() { rm -f "$(stand_in_dir "$1")/netsh-dhcp.txt"; }

# stand_in_overrides PREFIX: the overrides install_stand_ins kept, or nothing.
stand_in_overrides() { cat "$1/stand-in-overrides" 2>/dev/null; }

# stand_in_log PREFIX: the log all the installed stand-ins append to.
stand_in_log() { echo "$(stand_in_dir "$1")/commands.log"; }

# take_stand_in_records PREFIX DIR: appends the stand-ins' records (and commands.err, the records
# that could not be written) to those files in DIR and empties the log; DIR gets no file when
# nothing was recorded.
take_stand_in_records() {
  local file
  for file in commands.log commands.err; do
    [ -f "$(stand_in_dir "$1")/$file" ] || continue
    cat "$(stand_in_dir "$1")/$file" >>"$2/$file"
    rm -f "$(stand_in_dir "$1")/$file"
  done
}
