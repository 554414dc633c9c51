#include "data/modeloventana.h"

#include "data/fechas.h"
#include "data/modconexion.h"

namespace {

QString lista(const QStringList& partes) {
    return u'(' + partes.join(QStringLiteral(", ")) + u')';
}

QString marcas(qsizetype n) {
    QStringList m;
    for (qsizetype i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return lista(m);
}

} // namespace

ModeloVentana::ModeloVentana(QObject* padre)
    : QAbstractTableModel(padre), primera_(std::make_shared<Registros>()) {}

void ModeloVentana::establecerColumnas(const QStringList& campos) {
    beginResetModel();
    columnas_ = campos;
    endResetModel();
}

void ModeloVentana::vaciar() {
    beginResetModel();
    ventana_.clear();
    total_ = 0;
    CerrarConsulta(primera_, false);
    endResetModel();
}

bool ModeloVentana::establecer(const Consulta& consulta) {
    beginResetModel();
    consulta_ = consulta;
    ventana_.clear();
    const qint64 n = contar({}, {});
    total_ = n < 0 ? 0 : int(n);
    const QList<Registros> leidos = leer({}, true, pagina_);
    const Registros primera = leidos.value(0);
    if (primera.cantidad() > 0)
        ventana_.append({0, primera, false});
    primera_ = std::make_shared<Registros>(primera);
    endResetModel();
    return n >= 0;
}

QString ModeloVentana::ordenClaves(bool ascendente) const {
    const QString dir = ascendente ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    QStringList partes;
    for (const QString& c : consulta_.claves)
        partes << c + dir;
    return QStringLiteral(" ORDER BY ") + partes.join(QStringLiteral(", "));
}

QString ModeloVentana::donde(const QString& tramo) const {
    QStringList partes;
    if (!consulta_.condicion.isEmpty())
        partes << u'(' + consulta_.condicion + u')';
    if (!tramo.isEmpty())
        partes << tramo;
    return partes.isEmpty() ? QString()
                            : QStringLiteral(" WHERE ") + partes.join(QStringLiteral(" AND "));
}

QStringList ModeloVentana::tramos(const QVariantList& desde, bool ascendente,
                                  QVariantList& valores) const {
    if (desde.isEmpty())
        return {QString()};
    // Rows whose first key is Null come first in ascending order; row values
    // never compare with Null, so that stretch is walked on its own.
    const QString primera = consulta_.claves.first();
    const QStringList resto = consulta_.claves.mid(1);
    const QChar op = ascendente ? u'>' : u'<';
    if (desde.first().isNull()) {
        valores = desde.mid(1);
        QStringList t{primera + QStringLiteral(" IS NULL AND ") + lista(resto) + op +
                      marcas(resto.size())};
        if (ascendente)
            t << primera + QStringLiteral(" IS NOT NULL");
        return t;
    }
    valores = desde;
    QStringList t{lista(consulta_.claves) + op + marcas(desde.size())};
    if (!ascendente)
        t << primera + QStringLiteral(" IS NULL");
    return t;
}

QList<Registros> ModeloVentana::leer(const QVariantList& desde, bool adelante, int n) {
    const bool ascendente = adelante != consulta_.descendente;
    QVariantList valoresTramo;
    const QStringList partes = tramos(desde, ascendente, valoresTramo);
    QList<Registros> leidos;
    int faltan = n;
    for (int i = 0; i < partes.size() && faltan > 0; ++i) {
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT ") + consulta_.columnas + u' ' + consulta_.origen +
                          donde(partes[i]) + ordenClaves(ascendente) + QStringLiteral(" LIMIT ") +
                          QString::number(faltan),
                      rs, consulta_.valores + (i == 0 ? valoresTramo : QVariantList{}));
        if (!rs || !rs->abierto())
            continue;
        faltan -= rs->cantidad();
        // An empty first stretch still gives its fields (the list's first
        // page is then open and empty).
        if (rs->cantidad() > 0 || leidos.isEmpty())
            leidos << *rs;
    }
    return leidos;
}

QVariantList ModeloVentana::claveTrasSaltar(bool adelante, int n) {
    // Only the keys are read, and only the last of the n is kept: the walk
    // stays in the indexes.
    const bool ascendente = adelante != consulta_.descendente;
    QStringList alias, externas;
    for (int i = 0; i < consulta_.claves.size(); ++i) {
        alias << consulta_.claves[i] + QStringLiteral(" AS k") + QString::number(i);
        externas << QStringLiteral("k") + QString::number(i) +
                        (ascendente ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    }
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT * FROM (SELECT ") + alias.join(QStringLiteral(", ")) +
                      u' ' + consulta_.origen + donde({}) + ordenClaves(ascendente) +
                      QStringLiteral(" LIMIT ") + QString::number(n) +
                      QStringLiteral(") ORDER BY ") + externas.join(QStringLiteral(", ")) +
                      QStringLiteral(" LIMIT 1"),
                  rs, consulta_.valores);
    QVariantList clave;
    if (rs && rs->abierto() && rs->cantidad() == 1) {
        rs->moverPrimero();
        for (int i = 0; i < consulta_.claves.size(); ++i)
            clave << rs->campo(i);
    }
    return clave;
}

QVariantList ModeloVentana::clavesDe(const Registros& filas, int posicion) const {
    QVariantList clave;
    for (const QString& c : consulta_.camposClave)
        clave << filas.valor(posicion, filas.indiceCampo(c));
    return clave;
}

int ModeloVentana::filasRetenidas() const {
    int n = 0;
    for (const Pagina& p : ventana_)
        n += p.filas.cantidad();
    return n;
}

const ModeloVentana::Pagina* ModeloVentana::paginaDe(int fila) const {
    for (const Pagina& p : ventana_)
        if (fila >= p.inicio && fila < p.inicio + p.filas.cantidad())
            return &p;
    return nullptr;
}

QVariant ModeloVentana::Pagina::valor(int fila, int campo) const {
    const int r = fila - inicio;
    return filas.valor(invertida ? filas.cantidad() - r : r + 1, campo);
}

bool ModeloVentana::asegurar(int fila) {
    if (fila < 0 || fila >= total_)
        return false;
    if (paginaDe(fila))
        return true;
    if (!ventana_.isEmpty()) {
        const Pagina& ultima = ventana_.last();
        const int fin = ultima.inicio + ultima.filas.cantidad();
        if (fila >= fin && fila < fin + pagina_) {
            const QVariantList desde =
                clavesDe(ultima.filas, ultima.invertida ? 1 : ultima.filas.cantidad());
            int inicio = fin;
            for (const Registros& r : leer(desde, true, pagina_)) {
                if (r.cantidad() == 0)
                    continue;
                ventana_.append({inicio, r, false});
                inicio += r.cantidad();
            }
            recortar(false);
            return paginaDe(fila) != nullptr;
        }
        const Pagina& primera = ventana_.first();
        if (fila < primera.inicio && fila >= primera.inicio - pagina_) {
            const QVariantList desde =
                clavesDe(primera.filas, primera.invertida ? primera.filas.cantidad() : 1);
            int inicio = primera.inicio;
            for (const Registros& r : leer(desde, false, pagina_)) {
                if (r.cantidad() == 0)
                    continue;
                inicio -= r.cantidad();
                ventana_.prepend({inicio, r, true});
            }
            recortar(true);
            return paginaDe(fila) != nullptr;
        }
    }
    // A jump: the window starts again around the row, from the key of the row
    // before it, found from the nearer end of the order.
    const int inicio = qMax(0, fila - pagina_ / 2);
    QVariantList desde;
    if (inicio > 0) {
        desde = inicio <= total_ - inicio ? claveTrasSaltar(true, inicio)
                                          : claveTrasSaltar(false, total_ - inicio + 1);
        if (desde.isEmpty())
            return false;
    }
    ventana_.clear();
    int i = inicio;
    for (const Registros& r : leer(desde, true, pagina_)) {
        if (r.cantidad() == 0)
            continue;
        ventana_.append({i, r, false});
        i += r.cantidad();
    }
    return paginaDe(fila) != nullptr;
}

void ModeloVentana::recortar(bool alFinal) {
    // The pages farthest from where the view reads go.
    while (ventana_.size() > maxPaginas_) {
        if (alFinal)
            ventana_.removeLast();
        else
            ventana_.removeFirst();
    }
}

qint64 ModeloVentana::contar(const QString& condicionExtra, const QVariantList& valoresExtra) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT count(*) ") + consulta_.origen + donde(condicionExtra), rs,
                  consulta_.valores + valoresExtra);
    if (!rs || !rs->abierto() || rs->cantidad() < 1)
        return -1;
    rs->moverPrimero();
    return rs->campo(0).toLongLong();
}

QVariant ModeloVentana::valor(int fila, const QString& campo) {
    if (!asegurar(fila))
        return {};
    const Pagina* p = paginaDe(fila);
    return p->valor(fila, p->filas.indiceCampo(campo));
}

int ModeloVentana::filaDeClave(const QVariant& clave) {
    if (clave.isNull() || consulta_.claves.isEmpty())
        return -1;
    // The row's keys in this order, then how many rows come before them.
    QStringList alias;
    for (const QString& c : consulta_.claves)
        alias << c;
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT ") + alias.join(QStringLiteral(", ")) + u' ' +
                      consulta_.origen + donde(consulta_.claves.last() + QStringLiteral("=?")),
                  rs, consulta_.valores + QVariantList{clave});
    if (!rs || !rs->abierto() || rs->cantidad() != 1)
        return -1;
    rs->moverPrimero();
    QVariantList claves;
    for (int i = 0; i < consulta_.claves.size(); ++i)
        claves << rs->campo(i);
    QVariantList valoresTramo;
    const QStringList antes = tramos(claves, consulta_.descendente, valoresTramo);
    qint64 n = 0;
    for (int i = 0; i < antes.size(); ++i) {
        const qint64 parte = contar(antes[i], i == 0 ? valoresTramo : QVariantList{});
        if (parte < 0)
            return -1;
        n += parte;
    }
    return int(n);
}

int ModeloVentana::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : total_;
}

int ModeloVentana::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : int(columnas_.size());
}

QVariant ModeloVentana::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole && rol != Qt::EditRole)
        return {};
    if (!checkIndex(indice, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    // Reading a page changes only what is held, never what the view sees.
    auto* yo = const_cast<ModeloVentana*>(this);
    const QVariant v = yo->valor(indice.row(), columnas_.value(indice.column()));
    return rol == Qt::DisplayRole ? fechas::textoCelda(v) : v;
}

QVariant ModeloVentana::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 &&
        seccion < columnCount()) {
        const auto propio = encabezados_.constFind(seccion);
        return propio != encabezados_.constEnd() ? *propio : QVariant(columnas_.value(seccion));
    }
    return QAbstractTableModel::headerData(seccion, orientacion, rol);
}

bool ModeloVentana::setHeaderData(int seccion, Qt::Orientation orientacion, const QVariant& valor,
                                  int rol) {
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= columnCount() ||
        (rol != Qt::EditRole && rol != Qt::DisplayRole))
        return false;
    encabezados_[seccion] = valor;
    emit headerDataChanged(orientacion, seccion, seccion);
    return true;
}
