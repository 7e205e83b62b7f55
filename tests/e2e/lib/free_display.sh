# Sourced by the end-to-end scripts: free_display START prints the first X display number from
# START on that no X server holds. The lock files are shared by every network namespace, so a
# server started inside a namespace still claims its number for all.
free_display() {
  local n
  for n in $(seq "$1" 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
  done
  echo "$1"
}
