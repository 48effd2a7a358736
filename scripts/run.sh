#!/usr/bin/env bash
# Installs what is missing, builds, and starts Volmara.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$here/build"
exec "$here/build/src/ui/volmara" "$@"
