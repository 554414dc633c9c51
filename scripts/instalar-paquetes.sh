#!/usr/bin/env bash
# Installs, with apt-get, every Debian package that Tarvo needs to build, test
# and run and that is not installed yet.
set -euo pipefail

paquetes=(
  build-essential cmake pkg-config clang-format
  # Faster builds: Ninja, the lld linker and a compiler cache.
  ninja-build lld ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc qt6-translations-l10n
  libgl-dev libsqlite3-dev libicu-dev unixodbc-dev odbcinst libsqliteodbc
  # Several desks share a PostgreSQL server: the server and its client for
  # the tests' private clusters, Qt's driver and the ODBC driver.
  postgresql odbc-postgresql libqt6sql6-psql
  libzip-dev libpugixml-dev xdg-utils cups-client fonts-dejavu-core
  poppler-utils libbenchmark-dev sqlite3
  # Users edit and print their quote documents with it; printing converts
  # them to PDF with it, headless.
  libreoffice-writer
  librsvg2-bin desktop-file-utils appstream dpkg-dev xvfb xauth
  # The fuzz targets: clang and its libFuzzer and sanitizer runtimes.
  clang libclang-rt-14-dev
)

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0

echo "Instalando: ${faltan[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
