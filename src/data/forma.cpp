#include "data/forma.h"

namespace {

// Deeper nesting than this is refused rather than recursed into.
constexpr int kNivelesMaximos = 16;

bool esLetraNombre(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Reads a SHAPE text from left to right; every failure leaves `error` set.
class Lector {
public:
    explicit Lector(const QString& texto) : t_(texto) {}

    bool forma(Forma& f, int nivel);
    bool fin() {
        espacios();
        return p_ >= t_.size() || fallar(QStringLiteral("el final del texto"));
    }
    const QString& error() const { return error_; }

private:
    bool hija(RelacionForma& r, int nivel, int numero);
    bool alias(QString& salida);
    bool llaves(QString& sql);
    bool nombre(QString& salida);
    bool columna(QString& salida);
    bool palabra(QStringView clave);
    bool caracter(QChar c) {
        espacios();
        if (p_ < t_.size() && t_[p_] == c) {
            ++p_;
            return true;
        }
        return false;
    }
    bool ver(QChar c) {
        espacios();
        return p_ < t_.size() && t_[p_] == c;
    }
    void espacios() {
        while (p_ < t_.size() && t_[p_].isSpace())
            ++p_;
    }
    bool fallar(const QString& esperado);
    bool fallarConTexto(const QString& texto) {
        error_ = QStringLiteral("Comando SHAPE mal formado: ") + texto;
        return false;
    }

    const QString& t_;
    qsizetype p_ = 0;
    QString error_;
};

bool Lector::fallar(const QString& esperado) {
    const QString donde =
        p_ >= t_.size()
            ? QStringLiteral("al final del texto")
            : QStringLiteral("en la posición %1 (\"%2\")").arg(p_ + 1).arg(t_.mid(p_, 20));
    return fallarConTexto(QStringLiteral("se esperaba %1 %2.").arg(esperado, donde));
}

bool Lector::palabra(QStringView clave) {
    espacios();
    const qsizetype fin = p_ + clave.size();
    if (fin > t_.size() ||
        QStringView(t_).mid(p_, clave.size()).compare(clave, Qt::CaseInsensitive))
        return false;
    if (fin < t_.size() && esLetraNombre(t_[fin]))
        return false;
    p_ = fin;
    return true;
}

bool Lector::nombre(QString& salida) {
    espacios();
    if (p_ >= t_.size())
        return false;
    if (t_[p_] == u'[') {
        const qsizetype cierre = t_.indexOf(u']', p_ + 1);
        if (cierre < 0)
            return false;
        salida = t_.mid(p_ + 1, cierre - p_ - 1).trimmed();
        p_ = cierre + 1;
        return !salida.isEmpty();
    }
    const qsizetype inicio = p_;
    while (p_ < t_.size() && esLetraNombre(t_[p_]))
        ++p_;
    salida = t_.mid(inicio, p_ - inicio);
    return !salida.isEmpty();
}

bool Lector::columna(QString& salida) {
    espacios();
    if (p_ < t_.size() && t_[p_] == u'\'') {
        const qsizetype cierre = t_.indexOf(u'\'', p_ + 1);
        if (cierre < 0)
            return false;
        salida = t_.mid(p_ + 1, cierre - p_ - 1).trimmed();
        p_ = cierre + 1;
        return !salida.isEmpty();
    }
    return nombre(salida);
}

// An optional "[AS] name". A bare name counts only when it is not the next
// keyword of the grammar.
bool Lector::alias(QString& salida) {
    const bool conAs = palabra(u"AS");
    espacios();
    const qsizetype antes = p_;
    for (const auto* clave : {u"APPEND", u"RELATE", u"TO", u"AS"})
        if (palabra(clave)) {
            p_ = antes;
            return !conAs || fallar(QStringLiteral("un nombre después de 'AS'"));
        }
    if (p_ < t_.size() && (esLetraNombre(t_[p_]) || t_[p_] == u'['))
        return nombre(salida) || fallar(QStringLiteral("un nombre"));
    return !conAs || fallar(QStringLiteral("un nombre después de 'AS'"));
}

// "{sql}": the statement runs up to the first closing brace outside quotes.
bool Lector::llaves(QString& sql) {
    if (!caracter(u'{'))
        return fallar(QStringLiteral("'{' con una instrucción SQL"));
    const qsizetype inicio = p_;
    bool enComillas = false;
    for (qsizetype i = inicio; i < t_.size(); ++i) {
        if (t_[i] == u'\'')
            enComillas = !enComillas;
        else if (t_[i] == u'}' && !enComillas) {
            sql = t_.mid(inicio, i - inicio).trimmed();
            p_ = i + 1;
            if (sql.isEmpty())
                return fallarConTexto(
                    QStringLiteral("la instrucción SQL de la posición %1 está vacía.").arg(inicio));
            return true;
        }
    }
    return fallarConTexto(
        QStringLiteral("falta la '}' que cierra la instrucción SQL de la posición %1.")
            .arg(inicio));
}

bool Lector::forma(Forma& f, int nivel) {
    if (nivel > kNivelesMaximos)
        return fallarConTexto(QStringLiteral("demasiados niveles anidados."));
    if (!palabra(u"SHAPE"))
        return fallar(QStringLiteral("'SHAPE'"));
    if (!llaves(f.sql) || !alias(f.alias))
        return false;
    if (!palabra(u"APPEND"))
        return true;
    do {
        RelacionForma r;
        if (!hija(r, nivel, int(f.hijas.size()) + 1))
            return false;
        f.hijas.push_back(std::move(r));
    } while (caracter(u','));
    return true;
}

// "({sql} [AS alias] RELATE 'a' TO 'b') [AS chapter]", where "{sql}" may be a
// parenthesised SHAPE.
bool Lector::hija(RelacionForma& r, int nivel, int numero) {
    if (!caracter(u'('))
        return fallar(QStringLiteral("'(' con un nivel hijo"));
    if (caracter(u'(')) {
        if (!forma(r.hija, nivel + 1))
            return false;
        if (!caracter(u')'))
            return fallar(QStringLiteral("')' que cierre el SHAPE anidado"));
    } else if (!llaves(r.hija.sql)) {
        return false;
    }
    if (!alias(r.hija.alias))
        return false;
    if (!palabra(u"RELATE"))
        return fallar(QStringLiteral("'RELATE'"));
    if (!columna(r.columnaPadre))
        return fallar(QStringLiteral("la columna del nivel superior"));
    if (!palabra(u"TO"))
        return fallar(QStringLiteral("'TO'"));
    if (!columna(r.columnaHija))
        return fallar(QStringLiteral("la columna del nivel hijo"));
    if (ver(u','))
        return fallarConTexto(
            QStringLiteral("cada nivel hijo se relaciona por una sola columna (posición %1).")
                .arg(p_ + 1));
    if (!caracter(u')'))
        return fallar(QStringLiteral("')' que cierre el nivel hijo"));
    if (!alias(r.capitulo))
        return false;
    if (r.capitulo.isEmpty())
        r.capitulo =
            r.hija.alias.isEmpty() ? QStringLiteral("Capitulo%1").arg(numero) : r.hija.alias;
    return true;
}

ErrorProveedor columnaInexistente(const QString& columna, const QString& sql) {
    return {errores::kFaltanParametros,
            QStringLiteral("La columna '%1' de la relación no existe en el resultado de '%2'.")
                .arg(columna, sql)};
}

} // namespace

bool esForma(const QString& texto) {
    const QString t = texto.trimmed();
    return t.startsWith(QStringLiteral("SHAPE"), Qt::CaseInsensitive) &&
           (t.size() == 5 || !esLetraNombre(t[5]));
}

bool leerForma(const QString& texto, Forma& forma, QString& error) {
    Lector lector(texto);
    forma = Forma();
    if (lector.forma(forma, 1) && lector.fin())
        return true;
    error = lector.error();
    return false;
}

std::shared_ptr<TablaResultado> ejecutarForma(Conexion& conexion, const Forma& forma,
                                              QList<ErrorProveedor>& fallos) {
    ResultadoSentencia r = conexion.ejecutar(forma.sql);
    if (!r.ok) {
        fallos = conexion.errores();
        return nullptr;
    }
    if (!r.filas) {
        fallos = {{errores::kErroresEnComando,
                   QStringLiteral("La instrucción '%1' del comando SHAPE no devuelve filas.")
                       .arg(forma.sql)}};
        return nullptr;
    }
    for (const RelacionForma& relacion : forma.hijas) {
        std::shared_ptr<TablaResultado> hija = ejecutarForma(conexion, relacion.hija, fallos);
        if (!hija)
            return nullptr;
        Capitulo capitulo;
        capitulo.nombre = relacion.capitulo;
        capitulo.columnaPadre = r.filas->indiceColumna(relacion.columnaPadre);
        capitulo.columnaHija = hija->indiceColumna(relacion.columnaHija);
        if (capitulo.columnaPadre < 0) {
            fallos = {columnaInexistente(relacion.columnaPadre, forma.sql)};
            return nullptr;
        }
        if (capitulo.columnaHija < 0) {
            fallos = {columnaInexistente(relacion.columnaHija, relacion.hija.sql)};
            return nullptr;
        }
        // A null never relates, not even to another null.
        for (int fila = 0; fila < hija->filas(); ++fila)
            if (!hija->esNulo(fila, capitulo.columnaHija))
                capitulo.filasPorClave[hija->clave(fila, capitulo.columnaHija)].push_back(fila);
        capitulo.hija = std::move(hija);
        r.filas->agregarCapitulo(std::move(capitulo));
    }
    return r.filas;
}
