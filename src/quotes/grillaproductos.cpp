#include "quotes/grillaproductos.h"

#include "data/modconexion.h"
#include "quotes/consultasrecordadas.h"

QString GrillaProductos::tituloInicial() {
    return QStringLiteral("DOBLE CLIC PARA AGREGAR PRODUCTOS");
}

GrillaProductos::GrillaProductos(ConsultasRecordadas& consultas)
    : consultas_(consultas), titulo_(tituloInicial()) {}

QString GrillaProductos::condicionesBase() const {
    QString c = QStringLiteral(" WHERE PRODESACTIVADO=FALSE");
    if (!condicion_.isEmpty())
        c += QStringLiteral(" AND (") + condicion_ + u')';
    return c;
}

QString GrillaProductos::consulta() const {
    return QStringLiteral("SELECT * FROM PRODUCTOS") + condicionesBase() +
           QStringLiteral(" ORDER BY PRODESCRIPCION ASC");
}

void GrillaProductos::recargar() {
    rs_ = consultas_.abrir(consulta());
}

int GrillaProductos::filaActual() const {
    const int p = rs_.posicionAbsoluta();
    return p > 0 ? p : 0;
}

void GrillaProductos::moverA(int fila) {
    rs_.moverA(fila);
}

std::optional<ProductoGrilla> GrillaProductos::productoActual() const {
    if (filaActual() == 0)
        return std::nullopt;
    return ProductoGrilla{rs_.campo(QStringLiteral("ProId")).toInt(),
                          rs_.texto(QStringLiteral("ProCodigo")),
                          rs_.texto(QStringLiteral("ProDescripcion")),
                          rs_.campo(QStringLiteral("ProPrecio")).toDouble()};
}

void GrillaProductos::tecla(QChar caracter) {
    textoBusqueda_ += caracter;
    titulo_ = QStringLiteral("Búsqueda: ") + textoBusqueda_ +
              QStringLiteral(" (BackSapce comienza de nuevo)");
    const int actual = filaActual();
    if (actual == 0)
        return; // a search past the last row finds nothing further on
    // The grid is in the engine's order of descriptions, so the first product
    // not less than the text sits right after those that are less; the
    // engine compares, with the column's own collation, and the text is bound.
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS") + condicionesBase() +
                      QStringLiteral(" AND PRODESCRIPCION<?"),
                  rs, {textoBusqueda_});
    if (rs->posicionAbsoluta() <= 0)
        return;
    const int primera = rs->campo(0).toInt() + 1;
    CerrarConsulta(rs, true);
    rs_.moverA(std::max(actual, primera));
}

void GrillaProductos::retroceso() {
    textoBusqueda_.clear();
    titulo_ = tituloInicial();
    if (!condicion_.isEmpty()) {
        condicion_.clear();
        recargar();
    }
    rs_.moverPrimero();
}

bool GrillaProductos::buscarCodigo(const QString& codigo) {
    const QString buscado = codigo.trimmed();
    const int campo = rs_.indiceCampo(QStringLiteral("ProCodigo"));
    if (buscado.isEmpty() || campo < 0)
        return false;
    const auto& tabla = rs_.tabla();
    for (int p = 1; p <= rs_.cantidad(); ++p) {
        if (tabla->texto(rs_.filaDeTabla(p), campo).compare(buscado, Qt::CaseInsensitive) == 0) {
            rs_.moverA(p);
            return true;
        }
    }
    return false;
}

void GrillaProductos::filtrar(const QString& condicion) {
    condicion_ = condicion.trimmed();
    recargar();
}
