#!/usr/bin/env bash
# Redoes the README's pictures (docs/capturas/principal.png, editor.png):
# builds what it needs, generates sample data into a temporary account and
# runs the program's start-up under a virtual X display (Xvfb).
# Usage: scripts/capturas.sh [carpeta de compilación, por defecto build]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake --build "$dir" -j2 --target tarvo_generar_datos tarvo_capturar_pantallas

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
casa=$tmp/casa
mkdir -p "$casa/Documents/Tarvo" "$casa/.config" "$tmp/xdg"
"$dir/tools/tarvo_generar_datos" --semilla 2026 --contactos 40 --categorias 8 \
  --productos 150 --presupuestos 60 --hoy 2026-12-01 "$casa/Documents/Tarvo/bd2000.mdb"

export HOME=$casa XDG_CONFIG_HOME=$casa/.config XDG_CONFIG_DIRS=$tmp/xdg \
  XDG_DATA_HOME=$casa/.local/share XDG_DOCUMENTS_DIR=$casa/Documents \
  ODBCINI=$casa/.odbc.ini
: >"$ODBCINI"
unset QT_QPA_PLATFORM
mkdir -p docs/capturas
# Spanish dates and Qt texts, as on the users' machines.
env LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8 timeout 120 xvfb-run -a -s "-screen 0 1280x900x24" \
  "$dir/tools/tarvo_capturar_pantallas" "$PWD/docs/capturas"
