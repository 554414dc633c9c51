# Installation as a desktop program (`cmake --install`) and its Debian
# package (`cpack -G DEB` or the `package` target).
#
# The paths below are fixed rather than taken from GNUInstallDirs: the program
# looks for its companion files in ../share/tarvo beside its bin/ folder.

# The day the version in project() was released; the AppStream data lists it.
set(TARVO_FECHA_VERSION 2026-12-08)
set(TARVO_ID com.varnelsoftware.tarvo)
set(TARVO_ESCRITORIO ${PROJECT_SOURCE_DIR}/resources/escritorio)

install(TARGETS tarvo RUNTIME DESTINATION bin)
install(FILES ${TARVO_BD_PRISTINA} ${TARVO_PLANTILLA} DESTINATION share/tarvo)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENCIA
  DESTINATION share/doc/tarvo)

# The desktop's menu entry, its icon in the hicolor theme and the AppStream
# data software centres show.
install(FILES ${TARVO_ESCRITORIO}/${TARVO_ID}.desktop DESTINATION share/applications)
configure_file(${TARVO_ESCRITORIO}/${TARVO_ID}.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/escritorio/${TARVO_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/escritorio/${TARVO_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${TARVO_ESCRITORIO}/tarvo.svg
  DESTINATION share/icons/hicolor/scalable/apps RENAME ${TARVO_ID}.svg)
foreach(png ${TARVO_ICONOS_PNG})
  get_filename_component(lado ${png} NAME_WE)
  install(FILES ${png} DESTINATION share/icons/hicolor/${lado}x${lado}/apps RENAME ${TARVO_ID}.png)
endforeach()

# The Debian package. Its dependencies are the shared libraries the program
# links (dpkg-shlibdeps) and what it loads or starts at run time: Qt's SQL
# drivers, the SQLite3 ODBC driver with unixODBC's tools, LibreOffice Writer
# for the quote documents, xdg-open and xdg-email, lp, and the reports' font.
# The package has no maintainer scripts: removing it leaves every user's
# ~/Documents/Tarvo, settings and data source as they were.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VENDOR "Varnel Software")
set(CPACK_PACKAGE_CONTACT "Varnel Software <soporte@varnelsoftware.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "presupuestos con precios / priced quotes for small companies")
set(CPACK_PACKAGE_DESCRIPTION
  "Tarvo prepara los presupuestos de una pequeña empresa: catálogo de productos,
registro de contactos y presupuestos con líneas de producto y otros costes,
que se convierten en un documento para editar, imprimir o enviar. Los datos
de cada usuario quedan en su carpeta Documentos.

Tarvo prepares the quotes of a small company: a product catalogue, a register
of contacts and quotes with product lines and further costs, each turned into
a document to edit, print or send. Each user's data stays in their Documents
folder.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.varnelsoftware.com/tarvo")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Varnel Software <soporte@varnelsoftware.com>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-sqlite, libqt6sql6-odbc, libsqliteodbc, unixodbc, libreoffice-writer, xdg-utils, cups-client, fonts-dejavu-core")
# A desk that works on a shared PostgreSQL server needs Qt's driver for it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6sql6-psql, odbc-postgresql")
include(CPack)
