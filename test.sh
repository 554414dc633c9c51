#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine (missing packages, configure,
# build) and runs every test headless.
# Options: BUILD_DIR (default build), TARVO_SANITIZE=ON for ASan+UBSan.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/instalar-paquetes.sh

dir=${BUILD_DIR:-build}
# Ninja keeps both cores busy; a folder configured before keeps its generator.
generador=()
[ -f "$dir/CMakeCache.txt" ] || generador=(-G Ninja)
cmake -S . -B "$dir" "${generador[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVO_SANITIZE="${TARVO_SANITIZE:-OFF}" -DTARVO_WERROR="${TARVO_WERROR:-OFF}" \
  -DTARVO_BENCHMARKS="${TARVO_BENCHMARKS:-ON}" >/dev/null
cmake --build "$dir" -j2
export QT_QPA_PLATFORM=offscreen
cd "$dir" && ctest --output-on-failure -j2
