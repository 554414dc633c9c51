#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program
# as a new account would: it must take its companion files from
# <prefix>/share/tarvo, copy them into the account's Documents folder and
# reach its data source (the login window, where the check stops it).
# Usage: instalado.sh CARPETA_DE_COMPILACION
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
pid=
limpiar() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap limpiar EXIT
falla() { echo "FALLO: $*" >&2; exit 1; }

prefijo=$tmp/prefijo
cmake --install "$build" --prefix "$prefijo" >/dev/null

id=com.varnelsoftware.tarvo
for f in bin/tarvo share/tarvo/bd2000.mdb share/tarvo/presupuesto.dot \
  share/doc/tarvo/README.md share/doc/tarvo/LICENCIA \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/128x128/apps/$id.png; do
  [ -s "$prefijo/$f" ] || falla "no se instaló $f"
done
[ -x "$prefijo/bin/tarvo" ] || falla "bin/tarvo no es ejecutable"
# A PNG's width and height are the two big-endian words after its IHDR tag.
for lado in 48 128; do
  medidas=$(od -An -tu1 -j16 -N8 "$prefijo/share/icons/hicolor/${lado}x${lado}/apps/$id.png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
  [ "$medidas" = "${lado}x${lado}" ] || falla "el icono de ${lado}x${lado} mide $medidas"
done
cmp -s "$build/src/bd2000.mdb" "$prefijo/share/tarvo/bd2000.mdb" || falla "bd2000.mdb instalado distinto"

# Which folder each copy of the program takes its companion files from.
carpeta=$("$prefijo/bin/tarvo" --carpeta-programa)
[ "$carpeta" = "$prefijo/share/tarvo" ] || falla "el programa instalado usa «$carpeta»"
carpeta=$("$build/src/tarvo" --carpeta-programa)
[ "$carpeta" = "$build/src" ] || falla "el programa de la compilación usa «$carpeta»"

# The first start of a new account, headless and with nothing of the
# machine's: its own HOME, settings, Documents and data sources.
casa=$tmp/casa
mkdir -p "$casa/Documents" "$casa/.config" "$tmp/xdg"
export HOME=$casa XDG_CONFIG_HOME=$casa/.config XDG_CONFIG_DIRS=$tmp/xdg \
  XDG_DATA_HOME=$casa/.local/share XDG_DOCUMENTS_DIR=$casa/Documents \
  ODBCINI=$casa/.odbc.ini QT_QPA_PLATFORM=offscreen
: >"$ODBCINI"
cd "$tmp"
"$prefijo/bin/tarvo" >"$tmp/salida.txt" 2>&1 &
pid=$!
datos=$casa/Documents/Tarvo
for _ in $(seq 1 120); do
  if grep -qs "Database *= *$datos/bd2000.mdb" "$ODBCINI" &&
    cmp -s "$prefijo/share/tarvo/bd2000.mdb" "$datos/bd2000.mdb" &&
    cmp -s "$prefijo/share/tarvo/presupuesto.dot" "$datos/presupuesto.dot"; then
    kill -0 "$pid" 2>/dev/null || falla "el programa terminó: $(cat "$tmp/salida.txt")"
    echo "El programa instalado en $prefijo tomó sus archivos de $prefijo/share/tarvo y los copió a $datos."
    exit 0
  fi
  kill -0 "$pid" 2>/dev/null || falla "el programa terminó: $(cat "$tmp/salida.txt")"
  sleep 0.5
done
ls -la "$datos" "$casa" >&2 || true
cat "$ODBCINI" "$tmp/salida.txt" >&2 || true
falla "el primer arranque no llegó a su origen de datos en 60 s"
