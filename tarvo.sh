#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine (missing packages, configure,
# build) and starts Tarvo.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/instalar-paquetes.sh
dir=${BUILD_DIR:-build}
generador=()
[ -f "$dir/CMakeCache.txt" ] || generador=(-G Ninja)
cmake -S . -B "$dir" "${generador[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j2 --target tarvo
exec "$dir/src/tarvo" "$@"
