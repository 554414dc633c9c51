#include "data/modeloventana.h"

#include "data/contadorenhilo.h"
#include "data/fechas.h"
#include "data/modconexion.h"

#include <QTimer>

#include <utility>

namespace {

constexpr int kEsperaConteoMs = 50;

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
    olvidarConteo();
    anterior_ = {};
    ++generacion_;
    conteoPendiente_ = false;
    ventana_.clear();
    total_ = 0;
    CerrarConsulta(primera_, false);
    endResetModel();
}

bool ModeloVentana::establecer(const Consulta& consulta) {
    beginResetModel();
    olvidarConteo();
    anterior_ = {consulta_, std::exchange(ventana_, {}), total_};
    consulta_ = consulta;
    ++generacion_;
    conteoPendiente_ = false;
    const QList<Registros> leidos = leer({}, true, pagina_);
    const Registros primera = leidos.value(0);
    const int leidas = primera.cantidad();
    bool ok = primera.abierto();
    if (leidas < pagina_) {
        // The first page holds every row: they are the count.
        total_ = leidas;
    } else if (consulta_.conteoDiferido) {
        // The page is shown first; the count follows apart.
        total_ = leidas;
        conteoPendiente_ = true;
    } else {
        const qint64 n = contarTodo();
        ok = n >= 0;
        total_ = ok ? int(n) : 0;
    }
    if (leidas > 0 && total_ > 0)
        ventana_.append({0, primera, false});
    primera_ = std::make_shared<Registros>(primera);
    // Views (and a model tester) ask for more rows while the reset is
    // announced; rows are added only once it is over.
    reiniciando_ = true;
    endResetModel();
    reiniciando_ = false;
    if (conteoPendiente_)
        pedirConteo();
    return ok;
}

void ModeloVentana::pedirConteo() {
    const Conexion* compartida = conexion();
    Conexion::Abridor abridor = abridorConteo_ ? abridorConteo_
                                : compartida   ? compartida->abridorDeOtra()
                                               : Conexion::Abridor();
    if (!abridor) {
        // On this connection, once the view has painted the page: a view
        // lays itself out on a zero timer after a reset and paints after
        // that, so the count waits a few frames.
        QTimer::singleShot(kEsperaConteoMs, this, [this, g = generacion_] { completarConteo(g); });
        return;
    }
    if (!contador_) {
        contador_ = new ContadorEnHilo(this);
        connect(contador_, &ContadorEnHilo::contado, this, &ModeloVentana::recibirConteo);
    }
    // The shared connection's second one stays open between counts when
    // opening one is costly (a server session).
    const QString conservar = !abridorConteo_ && compartida ? compartida->identidad() : QString();
    if (consulta_.conteo.isEmpty())
        contador_->contar(generacion_, std::move(abridor), sentenciaConteo({}), consulta_.valores,
                          conservar);
    else
        contador_->contar(generacion_, std::move(abridor), consulta_.conteo, {}, conservar);
}

void ModeloVentana::olvidarConteo() {
    if (contador_ && conteoPendiente_)
        contador_->descartar();
}

void ModeloVentana::recibirConteo(quint64 generacion, qint64 filas) {
    if (generacion != generacion_ || !conteoPendiente_)
        return;
    // A count that failed apart runs here, where its errors are shown.
    if (filas < 0) {
        completarConteo(generacion);
        return;
    }
    conteoPendiente_ = false;
    aplicarConteo(filas);
    emit conteoCompleto();
}

void ModeloVentana::completarConteo(quint64 generacion) {
    if (generacion != generacion_ || !conteoPendiente_)
        return;
    conteoPendiente_ = false;
    aplicarConteo(contarTodo());
    emit conteoCompleto();
}

bool ModeloVentana::canFetchMore(const QModelIndex& padre) const {
    return !padre.isValid() && conteoPendiente_ && total_ > 0 && !reiniciando_;
}

void ModeloVentana::fetchMore(const QModelIndex& padre) {
    if (!canFetchMore(padre) || !asegurar(total_ - 1))
        return;
    // Reads never go past the rows listed, so the last page held ends at
    // the last row.
    const Pagina& ultima = ventana_.last();
    const QVariantList desde =
        clavesDe(ultima.filas, ultima.invertida ? 1 : ultima.filas.cantidad());
    QList<Pagina> nuevas;
    int leidas = 0;
    for (const Registros& r : leer(desde, true, pagina_)) {
        if (r.cantidad() == 0)
            continue;
        nuevas.append({total_ + leidas, r, false});
        leidas += r.cantidad();
    }
    if (leidas > 0) {
        beginInsertRows({}, total_, total_ + leidas - 1);
        ventana_ += nuevas;
        total_ += leidas;
        endInsertRows();
        recortar(false);
    }
    if (leidas < pagina_) {
        // The end of the list: the rows read are the count.
        olvidarConteo();
        conteoPendiente_ = false;
        emit conteoCompleto();
    }
}

void ModeloVentana::aplicarConteo(qint64 n) {
    if (n > total_) {
        beginInsertRows({}, total_, int(n) - 1);
        total_ = int(n);
        endInsertRows();
    } else if (n >= 0 && n < total_) {
        // Rows deleted meanwhile by another user: the window reads again.
        beginResetModel();
        total_ = int(n);
        ventana_.clear();
        endResetModel();
    }
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

QString ModeloVentana::sentencia(const QString& tramo, bool ascendente, int n) const {
    return QStringLiteral("SELECT ") + consulta_.columnas + u' ' + consulta_.origen + donde(tramo) +
           ordenClaves(ascendente) + QStringLiteral(" LIMIT ") + QString::number(n);
}

QString ModeloVentana::sentenciaPrimeraPagina() const {
    return sentencia({}, !consulta_.descendente, pagina_);
}

QList<Registros> ModeloVentana::leer(const QVariantList& desde, bool adelante, int n) {
    const bool ascendente = adelante != consulta_.descendente;
    QVariantList valoresTramo;
    const QStringList partes = tramos(desde, ascendente, valoresTramo);
    QList<Registros> leidos;
    int faltan = n;
    for (int i = 0; i < partes.size() && faltan > 0; ++i) {
        RegistrosPtr rs;
        AbrirConsulta(sentencia(partes[i], ascendente, faltan), rs,
                      consulta_.valores + (i == 0 ? valoresTramo : QVariantList{}));
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
    // Each key keeps its field's name, so that an engine that types a
    // column by its name (a date on the server) gives back the same kind of
    // value as a page read does.
    QStringList alias, externas;
    for (int i = 0; i < consulta_.claves.size(); ++i) {
        const QString nombre = i < consulta_.camposClave.size()
                                   ? consulta_.camposClave[i]
                                   : QStringLiteral("k") + QString::number(i);
        alias << consulta_.claves[i] + QStringLiteral(" AS ") + nombre;
        externas << nombre + (ascendente ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
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
            for (const Registros& r : leer(desde, true, qMin(pagina_, total_ - fin))) {
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
    // While the count is pending the end of the order is not known: the
    // walk starts at the top.
    const int inicio = qMax(0, fila - pagina_ / 2);
    QVariantList desde;
    if (inicio > 0) {
        desde = inicio <= total_ - inicio || conteoPendiente_
                    ? claveTrasSaltar(true, inicio)
                    : claveTrasSaltar(false, total_ - inicio + 1);
        if (desde.isEmpty())
            return false;
    }
    ventana_.clear();
    int i = inicio;
    // Never past the rows listed: while the count is pending, more follow.
    for (const Registros& r : leer(desde, true, qMin(pagina_, total_ - inicio))) {
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

QString ModeloVentana::sentenciaConteo(const QString& condicionExtra) const {
    const QString& origen =
        consulta_.origenConteo.isEmpty() ? consulta_.origen : consulta_.origenConteo;
    return QStringLiteral("SELECT count(*) ") + origen + donde(condicionExtra);
}

qint64 ModeloVentana::contar(const QString& condicionExtra, const QVariantList& valoresExtra) {
    return leerConteo(sentenciaConteo(condicionExtra), consulta_.valores + valoresExtra);
}

qint64 ModeloVentana::contarTodo() {
    return consulta_.conteo.isEmpty() ? contar({}, {}) : leerConteo(consulta_.conteo, {});
}

qint64 ModeloVentana::leerConteo(const QString& sql, const QVariantList& valores) {
    RegistrosPtr rs;
    AbrirConsulta(sql, rs, valores);
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

int ModeloVentana::filaRetenida(const QList<Pagina>& ventana, const QString& campoClave,
                                const QVariant& clave) {
    for (const Pagina& p : ventana) {
        const int campo = p.filas.indiceCampo(campoClave);
        for (int f = p.inicio; f < p.inicio + p.filas.cantidad(); ++f)
            if (p.valor(f, campo) == clave)
                return f;
    }
    return -1;
}

bool ModeloVentana::esInversaDeLaAnterior() const {
    const Consulta& a = anterior_.consulta;
    const Consulta& b = consulta_;
    return anterior_.total == total_ && a.descendente != b.descendente && a.claves == b.claves &&
           a.origen == b.origen && a.condicion == b.condicion && a.valores == b.valores;
}

void ModeloVentana::centrarEn(int fila, const QVariantList& claves) {
    // The rows before it, walking back from its keys, then the row and those
    // after it, walking on from the row before it.
    QList<Pagina> nueva;
    int inicio = fila;
    for (const Registros& r : leer(claves, false, pagina_ / 2)) {
        if (r.cantidad() == 0)
            continue;
        inicio -= r.cantidad();
        nueva.prepend({inicio, r, true});
    }
    if (inicio < 0 || (inicio > 0 && fila - inicio < pagina_ / 2))
        return; // the rows moved meanwhile: the view's reads place the window
    const QVariantList desde = nueva.isEmpty() ? QVariantList{} : clavesDe(nueva.last().filas, 1);
    int i = fila;
    for (const Registros& r : leer(desde, true, pagina_)) {
        if (r.cantidad() == 0)
            continue;
        nueva.append({i, r, false});
        i += r.cantidad();
    }
    ventana_ = nueva;
}

int ModeloVentana::filaDeClave(const QVariant& clave) {
    if (clave.isNull() || consulta_.claves.isEmpty())
        return -1;
    // A held row needs no query.
    if (const int f = filaRetenida(ventana_, consulta_.camposClave.last(), clave); f >= 0)
        return f;
    if (conteoPendiente_)
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
    // The same rows in the reverse order of the last query: the row held
    // there is mirrored, with no count.
    qint64 n = -1;
    if (esInversaDeLaAnterior()) {
        const int f = filaRetenida(anterior_.ventana, consulta_.camposClave.last(), clave);
        if (f >= 0)
            n = total_ - 1 - f;
    }
    if (n < 0) {
        QVariantList valoresTramo;
        const QStringList antes = tramos(claves, consulta_.descendente, valoresTramo);
        n = 0;
        for (int i = 0; i < antes.size(); ++i) {
            const qint64 parte = contar(antes[i], i == 0 ? valoresTramo : QVariantList{});
            if (parte < 0)
                return -1;
            n += parte;
        }
    }
    // The view goes there next: the window is read around the row from its
    // keys, not by walking to it.
    centrarEn(int(n), claves);
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

QVariant ModeloVentana::primeraQueCumple(const QString& prueba, const QVariant& valor,
                                         const QVariantList& desde) const {
    const bool ascendente = !consulta_.descendente;
    QVariantList valoresTramo;
    const QStringList partes = tramos(desde, ascendente, valoresTramo);
    for (int i = 0; i < partes.size(); ++i) {
        QString tramo = prueba;
        if (!partes[i].isEmpty())
            tramo += QStringLiteral(" AND ") + partes[i];
        RegistrosPtr rs;
        AbrirConsulta(
            QStringLiteral("SELECT ") + consulta_.claves.last() + u' ' + consulta_.origen +
                donde(tramo) + ordenClaves(ascendente) + QStringLiteral(" LIMIT 1"),
            rs, consulta_.valores + QVariantList{valor} + (i == 0 ? valoresTramo : QVariantList{}));
        if (rs && rs->abierto() && rs->cantidad() == 1) {
            rs->moverPrimero();
            return rs->campo(0);
        }
    }
    return {};
}

QModelIndexList ModeloVentana::match(const QModelIndex& inicio, int rol, const QVariant& valor,
                                     int cantidad, Qt::MatchFlags banderas) const {
    const Qt::MatchFlags tipo = banderas & Qt::MatchTypeMask;
    const bool empieza = tipo == Qt::MatchStartsWith;
    if (rol != Qt::DisplayRole || cantidad != 1 || (!empieza && tipo != Qt::MatchContains) ||
        (banderas & Qt::MatchCaseSensitive) || !checkIndex(inicio) || !inicio.isValid() ||
        consulta_.claves.isEmpty() || valor.toString().isEmpty())
        return QAbstractTableModel::match(inicio, rol, valor, cantidad, banderas);
    auto* yo = const_cast<ModeloVentana*>(this);
    const QString texto = valor.toString();
    const auto cumple = [&](const QVariant& celda) {
        const QString c = fechas::textoCelda(celda).toString();
        return empieza ? c.startsWith(texto, Qt::CaseInsensitive)
                       : c.contains(texto, Qt::CaseInsensitive);
    };
    const QString campo = columnas_.value(inicio.column());
    if (cumple(yo->valor(inicio.row(), campo)))
        return {inicio};
    const Pagina* pagina = paginaDe(inicio.row());
    if (!pagina)
        return {};

    // The column's expression: the key's when the column is a key, else its
    // own name; a date is compared as the text the cell shows.
    QString expresion = campo;
    const qsizetype k = consulta_.camposClave.indexOf(campo);
    if (k >= 0)
        expresion = consulta_.claves[k];
    const int indice = pagina->filas.indiceCampo(campo);
    int clase = QMetaType::UnknownType;
    for (int f = 1; f <= pagina->filas.cantidad() && clase == QMetaType::UnknownType; ++f)
        clase = pagina->filas.valor(f, indice).typeId();
    if (clase == QMetaType::QDate || clase == QMetaType::QDateTime)
        expresion = QStringLiteral("CSTR(") + expresion + u')';
    const QString prueba = QStringLiteral("INSTR(") + expresion +
                           (empieza ? QStringLiteral(", ?) = 1") : QStringLiteral(", ?) > 0"));

    const int r = inicio.row() - pagina->inicio;
    QVariant clave = primeraQueCumple(
        prueba, texto,
        clavesDe(pagina->filas, pagina->invertida ? pagina->filas.cantidad() - r : r + 1));
    if (clave.isNull() && (banderas & Qt::MatchWrap))
        clave = primeraQueCumple(prueba, texto, {});
    const int fila = clave.isNull() ? -1 : yo->filaDeClave(clave);
    if (fila < 0)
        return {};
    return {index(fila, inicio.column())};
}
