#include "reports/maquetador.h"

#include <algorithm>

namespace {

constexpr double kHolgura = 0.01; // points: lengths closer than this are equal

QStringList capitulosDe(const DefinicionInforme& def) {
    QStringList capitulos;
    for (size_t i = 1; i < def.grupos.size(); ++i)
        capitulos << def.grupos[i].capitulo;
    if (!def.grupos.empty())
        capitulos << def.capituloDetalle;
    return capitulos;
}

bool esTexto(TipoControl tipo) {
    switch (tipo) {
    case TipoControl::Etiqueta:
    case TipoControl::Campo:
    case TipoControl::Suma:
    case TipoControl::Cuenta:
    case TipoControl::FechaActual:
        return true;
    default:
        return false;
    }
}

} // namespace

// The controls of a band in top-to-bottom order, and for each the controls
// wholly above it, whose growth pushes it down.
struct Maquetador::Plan {
    std::vector<int> orden;
    std::vector<std::vector<int>> encima; // by position in `orden`
    double fondoControles = 0;            // lowest bottom of its controls
};

Maquetador::Maquetador(std::shared_ptr<const DefinicionInforme> definicion, const Registros& filas,
                       const QDate& hoy, const QLocale& locale)
    : maquetado_(std::make_shared<Maquetado>()), def_(std::move(definicion)),
      recorrido_(filas, capitulosDe(*def_)), hoy_(hoy), locale_(locale) {
    maquetado_->definicion = def_;
    for (size_t g = 0; g < def_->grupos.size(); ++g)
        for (const Banda* banda : {&def_->grupos[g].cabecera, &def_->grupos[g].pie})
            for (const Control& c : banda->controles)
                if (c.tipo == TipoControl::Suma || c.tipo == TipoControl::Cuenta)
                    acumuladores_.push_back({&c, int(g)});
}

Maquetador::~Maquetador() = default;

double Maquetador::progreso() const {
    if (terminado())
        return 1.0;
    const int total = recorrido_.primerasTotal();
    return total > 0 ? double(recorrido_.primerasHechas()) / total : 0.0;
}

void Maquetador::completar() {
    while (!avanzar(1000)) {
    }
}

bool Maquetador::avanzar(int pasos) {
    if (terminado())
        return true;
    if (!comenzado_) {
        comenzado_ = true;
        const PaginaInforme& p = def_->pagina;
        maquetado_->piePagina.primero = int(maquetado_->elementos.size());
        maquetado_->altoPie = def_->piePagina.visible ? medir(def_->piePagina, -1) : 0;
        maquetado_->piePagina.cantidad =
            int(maquetado_->elementos.size()) - maquetado_->piePagina.primero;
        maquetado_->piePagina.hasta = maquetado_->altoPie;
        maquetado_->piePagina.y = p.tamano.height() - p.margenInferior - maquetado_->altoPie;
        fondo_ = maquetado_->piePagina.y;

        primeroEncabezadoPagina_ = int(maquetado_->elementos.size());
        altoEncabezadoPagina_ =
            def_->encabezadoPagina.visible ? medir(def_->encabezadoPagina, -1) : 0;
        cantidadEncabezadoPagina_ = int(maquetado_->elementos.size()) - primeroEncabezadoPagina_;
        altoUtil_ = fondo_ - p.margenSuperior - altoEncabezadoPagina_;
        nuevaPagina();
    }
    for (int i = 0; i < pasos; ++i) {
        int nivel = 0;
        const Recorrido::Paso paso = recorrido_.siguiente(nivel);
        if (paso == Recorrido::Paso::Fin) {
            maquetado_->completo = true;
            return true;
        }
        const Banda* banda = nullptr;
        switch (paso) {
        case Recorrido::Paso::CabeceraGrupo:
            for (Acumulador& a : acumuladores_)
                if (a.nivel >= nivel) {
                    a.suma = 0;
                    a.cuenta = 0;
                }
            banda = &def_->grupos[size_t(nivel)].cabecera;
            break;
        case Recorrido::Paso::Detalle:
            for (Acumulador& a : acumuladores_) {
                ++a.cuenta;
                if (a.control->tipo == TipoControl::Suma) {
                    const QVariant v = valorCampo(*a.control, a.control->campo, nivel);
                    if (v.isValid() && !v.isNull())
                        a.suma += v.toDouble();
                }
            }
            banda = &def_->detalle;
            break;
        case Recorrido::Paso::PieGrupo:
            banda = &def_->grupos[size_t(nivel)].pie;
            break;
        case Recorrido::Paso::Fin:
            break;
        }
        if (!banda || !banda->visible)
            continue;
        const int primero = int(maquetado_->elementos.size());
        colocar(primero, medir(*banda, nivel));
    }
    return false;
}

const Maquetador::Plan& Maquetador::plan(const Banda& banda) {
    auto& p = planes_[&banda];
    if (p)
        return *p;
    p = std::make_unique<Plan>();
    const auto& cs = banda.controles;
    p->orden.resize(cs.size());
    for (size_t i = 0; i < cs.size(); ++i)
        p->orden[i] = int(i);
    std::stable_sort(p->orden.begin(), p->orden.end(), [&](int a, int b) {
        return cs[size_t(a)].rect.top() < cs[size_t(b)].rect.top();
    });
    p->encima.resize(cs.size());
    for (size_t i = 0; i < cs.size(); ++i) {
        const Control& c = cs[size_t(p->orden[i])];
        p->fondoControles = std::max(p->fondoControles, c.rect.bottom());
        for (size_t j = 0; j < i; ++j)
            if (cs[size_t(p->orden[j])].rect.bottom() <= c.rect.top() + kHolgura)
                p->encima[i].push_back(int(j));
    }
    return *p;
}

QVariant Maquetador::valorCampo(const Control& control, const QString& campo, int nivel) {
    const auto& filas = recorrido_.filas();
    auto it = columnas_.find(&control);
    if (it == columnas_.end()) {
        // The innermost level that has the field.
        std::pair<int, int> donde{-1, -1};
        for (int n = std::min(nivel, int(filas.size()) - 1); n >= 0; --n) {
            const int columna = filas[size_t(n)].indiceCampo(campo);
            if (columna >= 0) {
                donde = {n, columna};
                break;
            }
        }
        it = columnas_.emplace(&control, donde).first;
    }
    const auto [n, columna] = it->second;
    if (n < 0 || n >= int(filas.size()))
        return {};
    return filas[size_t(n)].campo(columna);
}

QString Maquetador::textoDe(const Control& control, int nivel) {
    switch (control.tipo) {
    case TipoControl::Etiqueta:
        return control.texto;
    case TipoControl::Campo:
        return nivel < 0 ? QString()
                         : formatos::aplicar(valorCampo(control, control.campo, nivel),
                                             control.formato, locale_);
    case TipoControl::Suma:
    case TipoControl::Cuenta:
        for (const Acumulador& a : acumuladores_)
            if (a.control == &control)
                return formatos::aplicar(control.tipo == TipoControl::Suma
                                             ? QVariant(a.suma)
                                             : QVariant(qlonglong(a.cuenta)),
                                         control.formato, locale_);
        return {};
    case TipoControl::FechaActual:
        return formatos::aplicar(hoy_, control.formato, locale_);
    default:
        return {};
    }
}

double Maquetador::medir(const Banda& banda, int nivel) {
    const Plan& p = plan(banda);
    const auto& cs = banda.controles;
    std::vector<double> desplazado(cs.size(), 0.0);
    std::vector<double> crecido(cs.size(), 0.0);
    double fondo = 0;
    auto& elementos = maquetado_->elementos;
    for (size_t i = 0; i < p.orden.size(); ++i) {
        const Control& c = cs[size_t(p.orden[i])];
        double empuje = 0;
        for (int j : p.encima[i])
            empuje = std::max(empuje, desplazado[size_t(j)] + crecido[size_t(j)]);
        desplazado[i] = empuje;
        if (!c.visible)
            continue;
        const QRectF r = c.rect.translated(0, empuje);
        fondo = std::max(fondo, r.bottom());
        if (esTexto(c.tipo)) {
            const QString texto = textoDe(c, nivel);
            if (c.crece) {
                const QStringList lineas = medidor_.envolver(texto, c.puntos, c.negrita, r.width());
                const double alto = medidor_.altoLinea(c.puntos, c.negrita);
                crecido[i] = std::max(0.0, alto * double(lineas.size()) - r.height());
                fondo = std::max(fondo, r.bottom() + crecido[i]);
                for (qsizetype k = 0; k < lineas.size(); ++k)
                    if (!lineas[k].isEmpty())
                        ponerTexto(QRectF(r.left(), r.top() + alto * double(k), r.width(), alto),
                                   lineas[k], c);
            } else if (!texto.isEmpty()) {
                ponerTexto(r, medidor_.recortar(texto, c.puntos, c.negrita, r.width()), c);
            }
            continue;
        }
        switch (c.tipo) {
        case TipoControl::Regla:
            elementos.push_back({Elemento::Clase::Regla, r, {}, &c});
            break;
        case TipoControl::Rectangulo:
            elementos.push_back({Elemento::Clase::Rectangulo, r, {}, &c});
            break;
        case TipoControl::Imagen:
            if (!c.imagen.isNull())
                elementos.push_back({Elemento::Clase::Imagen, r, {}, &c});
            break;
        case TipoControl::NumeroPagina:
            elementos.push_back({Elemento::Clase::NumeroPagina, r, {}, &c});
            break;
        case TipoControl::TotalPaginas:
            elementos.push_back({Elemento::Clase::TotalPaginas, r, {}, &c});
            break;
        default:
            break;
        }
    }
    // The band keeps the room it leaves below its lowest control.
    const double margenInferior = std::max(0.0, banda.alto - p.fondoControles);
    return std::max(banda.alto, fondo + margenInferior);
}

void Maquetador::ponerTexto(const QRectF& rect, const QString& texto, const Control& c) {
    // The alignment is resolved here, once, so that painting draws each line
    // from a point and never lays text out again.
    double sangria = 0;
    if (c.alineacion & (Qt::AlignRight | Qt::AlignHCenter)) {
        const double libre = rect.width() - medidor_.ancho(texto, c.puntos, c.negrita);
        sangria = c.alineacion & Qt::AlignRight ? libre : libre / 2;
    }
    maquetado_->elementos.push_back({Elemento::Clase::Texto, rect, texto, &c, sangria});
}

void Maquetador::nuevaPagina() {
    const PaginaInforme& p = def_->pagina;
    const bool primera = maquetado_->paginas.empty();
    maquetado_->paginas.emplace_back();
    y_ = p.margenSuperior;
    if (primera && def_->encabezadoInforme.visible) {
        const int primero = int(maquetado_->elementos.size());
        const double alto = medir(def_->encabezadoInforme, -1);
        poner(primero, int(maquetado_->elementos.size()) - primero, 0, alto);
    }
    if (altoEncabezadoPagina_ > 0)
        poner(primeroEncabezadoPagina_, cantidadEncabezadoPagina_, 0, altoEncabezadoPagina_);
    contenido_ = false;
}

void Maquetador::poner(int primero, int cantidad, double desde, double hasta) {
    BandaColocada b;
    b.primero = primero;
    b.cantidad = cantidad;
    b.y = y_ - desde;
    b.desde = desde;
    b.hasta = hasta;
    maquetado_->paginas.back().bandas.push_back(b);
    y_ += hasta - desde;
}

void Maquetador::colocar(int primero, double alto) {
    if (alto <= kHolgura)
        return;
    const int ultimo = int(maquetado_->elementos.size());
    double desde = 0;
    for (;;) {
        const double disponible = fondo_ - y_;
        const double resto = alto - desde;
        if (resto <= disponible + kHolgura) {
            poner(primero, ultimo - primero, desde, alto);
            contenido_ = true;
            return;
        }
        // A band that fits on a page of its own goes whole to the next page.
        if (desde == 0 && contenido_ && resto <= altoUtil_ + kHolgura) {
            nuevaPagina();
            continue;
        }
        double c = corte(primero, ultimo, desde, desde + disponible);
        if (c <= desde + kHolgura) {
            if (contenido_) {
                nuevaPagina();
                continue;
            }
            // Not even one line fits on an empty page: cut through.
            c = disponible > kHolgura ? desde + disponible : alto;
        }
        poner(primero, ultimo - primero, desde, c);
        contenido_ = true;
        if (c >= alto - kHolgura)
            return;
        nuevaPagina();
        desde = c;
    }
}

double Maquetador::corte(int primero, int ultimo, double desde, double limite) const {
    const auto& elementos = maquetado_->elementos;
    double c = limite;
    bool cambio = true;
    while (cambio) {
        cambio = false;
        for (int i = primero; i < ultimo; ++i) {
            const Elemento& e = elementos[size_t(i)];
            // A grey band may be cut; a line of text, a rule or a picture not.
            if (e.clase == Elemento::Clase::Rectangulo || e.rect.top() < desde - kHolgura)
                continue;
            if (e.rect.top() < c - kHolgura && e.rect.bottom() > c + kHolgura) {
                c = e.rect.top();
                cambio = true;
            }
        }
    }
    return c;
}
