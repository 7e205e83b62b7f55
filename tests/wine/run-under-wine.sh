#!/usr/bin/env bash
# Runs one Windows program under wine64 with the project's prefix, passing its exit code on.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
ensure_wine_prefix
exec "$WINE64" "$@"
