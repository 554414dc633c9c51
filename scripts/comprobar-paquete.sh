#!/usr/bin/env bash
# Builds the Debian package from a build folder (cpack) and checks what it
# holds: the program, its companion files, the desktop entry, icon and
# AppStream data, the documents; the version of the build; the run-time
# packages it depends on; and no maintainer scripts, so that removing it
# never touches the users' data.
# Usage: scripts/comprobar-paquete.sh [carpeta de compilación, por defecto build]
set -euo pipefail
dir=$(cd "${1:-build}" && pwd)
falla() { echo "FALLO: $*" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
[ -n "$version" ] || falla "sin versión en $dir/CMakeCache.txt"
# cpack builds every target of the folder first (up to date after the tests).
(cd "$dir" && rm -f tarvo_*.deb && cpack -G DEB >/dev/null)
deb=$dir/tarvo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || falla "cpack no dejó $deb"

info=$(dpkg-deb --info "$deb")
contenido=$(dpkg-deb --contents "$deb")
campo() { dpkg-deb --field "$deb" "$1"; }

[ "$(campo Package)" = tarvo ] || falla "Package: $(campo Package)"
[ "$(campo Version)" = "$version" ] || falla "Version: $(campo Version), la compilación es $version"
grep -q '@' <<<"$(campo Maintainer)" || falla "sin Maintainer"
descripcion=$(campo Description)
grep -q 'presupuestos' <<<"$descripcion" || falla "descripción sin texto en castellano"
grep -q 'quotes' <<<"$descripcion" || falla "descripción sin texto en inglés"

depende=$(campo Depends)
# Found by dpkg-shlibdeps in the binary, then what the program calls or loads.
for p in libc6 libqt6core6 libqt6widgets6 libqt6printsupport6 libsqlite3-0 libodbcinst2 \
  libqt6sql6-sqlite libqt6sql6-odbc libsqliteodbc unixodbc libreoffice-writer xdg-utils \
  cups-client fonts-dejavu-core; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depende" || falla "Depends sin $p: $depende"
done
grep -Eq '(^|, )libicu[0-9]+( |,|$)' <<<"$depende" || falla "Depends sin libicu: $depende"

id=com.varnelsoftware.tarvo
for f in usr/bin/tarvo usr/share/tarvo/bd2000.mdb usr/share/tarvo/presupuesto.dot \
  usr/share/doc/tarvo/README.md usr/share/doc/tarvo/LICENCIA \
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/$id.svg \
  usr/share/icons/hicolor/48x48/apps/$id.png usr/share/icons/hicolor/128x128/apps/$id.png; do
  grep -q " \./$f\$" <<<"$contenido" || falla "el paquete no contiene /$f"
done
grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/tarvo$' <<<"$contenido" || falla "/usr/bin/tarvo sin permisos de programa"
# Nothing outside the prefix: no files in users' folders or /etc.
if grep -Ev ' \./(usr(/.*)?)?$' <<<"$contenido"; then falla "archivos fuera de /usr"; fi
for s in preinst postinst prerm postrm; do
  if grep -Eq "^ +[0-9]+ bytes, +[0-9]+ lines +\*? *$s( |$)" <<<"$info"; then
    falla "el paquete tiene el guion $s"
  fi
done

echo "Depends: $depende"
echo "Paquete correcto: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
