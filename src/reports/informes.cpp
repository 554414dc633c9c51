#include "reports/informes.h"

namespace informes {

namespace {

constexpr double kAncho = 510;      // the page's width between its margins
constexpr double kLetra = 9;        // fields
constexpr double kLetraRotulo = 8;  // column labels
constexpr double kLetraTitulo = 14; // titles
constexpr double kFila = 14;        // height of a line of fields
const QColor kGrisClaro(0xD9, 0xD9, 0xD9);
const QColor kGrisTexto(0x80, 0x80, 0x80);

Control etiqueta(const QString& nombre, const QString& texto, QRectF rect,
                 double puntos = kLetraRotulo, bool negrita = true,
                 Qt::Alignment alineacion = Qt::AlignLeft) {
    Control c;
    c.nombre = nombre;
    c.tipo = TipoControl::Etiqueta;
    c.texto = texto;
    c.rect = rect;
    c.puntos = puntos;
    c.negrita = negrita;
    c.alineacion = alineacion;
    return c;
}

Control campo(const QString& nombre, const QString& columna, QRectF rect,
              Formato formato = Formato::General, Qt::Alignment alineacion = Qt::AlignLeft,
              bool crece = false) {
    Control c;
    c.nombre = nombre;
    c.tipo = TipoControl::Campo;
    c.campo = columna;
    c.rect = rect;
    c.formato = formato;
    c.alineacion = alineacion;
    c.crece = crece;
    c.puntos = kLetra;
    return c;
}

Control regla(const QString& nombre, double y) {
    Control c;
    c.nombre = nombre;
    c.tipo = TipoControl::Regla;
    c.rect = QRectF(0, y, kAncho, 1);
    return c;
}

Control rectangulo(const QString& nombre, QRectF rect) {
    Control c;
    c.nombre = nombre;
    c.tipo = TipoControl::Rectangulo;
    c.rect = rect;
    c.color = kGrisClaro;
    return c;
}

Control especial(const QString& nombre, TipoControl tipo, QRectF rect,
                 Qt::Alignment alineacion = Qt::AlignLeft) {
    Control c;
    c.nombre = nombre;
    c.tipo = tipo;
    c.rect = rect;
    c.puntos = kLetraRotulo;
    c.alineacion = alineacion;
    return c;
}

Banda banda(const QString& nombre, double alto, std::vector<Control> controles) {
    Banda b;
    b.nombre = nombre;
    b.alto = alto;
    b.controles = std::move(controles);
    return b;
}

Control titulo(const QString& texto) {
    return etiqueta(QStringLiteral("Etiqueta1"), texto, QRectF(0, 0, kAncho, 20), kLetraTitulo,
                    true, Qt::AlignHCenter);
}

// The report header of the company header rule.
Banda encabezadoEmpresa() {
    Control logo;
    logo.nombre = QStringLiteral("imgLogo");
    logo.tipo = TipoControl::Imagen;
    logo.rect = QRectF(0, 0, 140, 56);
    Control empresa = etiqueta(QStringLiteral("lblEmpresa"), {}, QRectF(150, 16, 360, 24), 16);
    empresa.color = kGrisTexto;
    return banda(QStringLiteral("EncabezadoInforme"), 62, {logo, empresa});
}

// Today's long date at the left; page N "de" M at the right. The list
// reports draw a rule above it.
Banda piePagina(bool conRegla) {
    std::vector<Control> controles;
    if (conRegla)
        controles.push_back(regla(QStringLiteral("Linea2"), 0));
    Control fecha =
        especial(QStringLiteral("Etiqueta5"), TipoControl::FechaActual, QRectF(0, 5, 300, 12));
    fecha.formato = Formato::FechaLarga;
    controles.push_back(fecha);
    controles.push_back(especial(QStringLiteral("Etiqueta3"), TipoControl::NumeroPagina,
                                 QRectF(380, 5, 50, 12), Qt::AlignRight));
    controles.push_back(etiqueta(QStringLiteral("Etiqueta18"), QStringLiteral("de"),
                                 QRectF(432, 5, 20, 12), kLetraRotulo, false, Qt::AlignHCenter));
    controles.push_back(
        especial(QStringLiteral("Etiqueta4"), TipoControl::TotalPaginas, QRectF(454, 5, 56, 12)));
    return banda(QStringLiteral("PiePagina"), 20, std::move(controles));
}

DefinicionInforme base(const QString& nombre, const QString& tituloVentana, const QString& comando,
                       bool reglaAlPie) {
    DefinicionInforme d;
    d.nombre = nombre;
    d.titulo = tituloVentana;
    d.comando = comando;
    d.encabezadoInforme = encabezadoEmpresa();
    d.piePagina = piePagina(reglaAlPie);
    return d;
}

// Column labels and detail fields of the product lists; `desactivado` adds
// the last column of dtrProductos.
struct Columna {
    const char16_t* rotulo;
    const char16_t* nombreCampo; // the control
    const char16_t* columna;     // the field
    double x;
    double ancho;
    Formato formato;
    Qt::Alignment alineacion;
};

std::vector<Columna> columnasProductos(bool desactivado) {
    if (desactivado)
        return {
            {u"Código:", u"txtProCodigo", u"ProCodigo", 0, 60, Formato::General, Qt::AlignLeft},
            {u"Descripción:", u"txtProDescripcion", u"ProDescripcion", 64, 186, Formato::General,
             Qt::AlignLeft},
            {u"Precio:", u"txtProPrecio", u"ProPrecio", 254, 56, Formato::General, Qt::AlignRight},
            {u"Costo:", u"txtProCosto", u"ProCosto", 314, 56, Formato::General, Qt::AlignRight},
            {u"Stock Mínimo:", u"txtProMinimo", u"ProMinimo", 374, 68, Formato::General,
             Qt::AlignRight},
            {u"Desactivado:", u"txtProDesactivado", u"ProDesactivado", 446, 64, Formato::SiNo,
             Qt::AlignHCenter},
        };
    return {
        {u"Código:", u"txtProCodigo", u"ProCodigo", 0, 60, Formato::General, Qt::AlignLeft},
        {u"Descripción:", u"txtProDescripcion", u"ProDescripcion", 64, 250, Formato::General,
         Qt::AlignLeft},
        {u"Precio:", u"txtProPrecio", u"ProPrecio", 318, 60, Formato::General, Qt::AlignRight},
        {u"Costo:", u"txtProCosto", u"ProCosto", 382, 60, Formato::General, Qt::AlignRight},
        {u"Stock Mínimo:", u"txtProMinimo", u"ProMinimo", 446, 64, Formato::General,
         Qt::AlignRight},
    };
}

void agregarRotulos(std::vector<Control>& controles, const std::vector<Columna>& columnas,
                    double y) {
    int n = 0;
    for (const Columna& c : columnas)
        controles.push_back(etiqueta(QStringLiteral("lblColumna%1").arg(++n),
                                     QString::fromUtf16(c.rotulo), QRectF(c.x, y, c.ancho, 12),
                                     kLetraRotulo, true, c.alineacion));
}

Banda detalleProductos(const std::vector<Columna>& columnas) {
    std::vector<Control> controles;
    for (const Columna& c : columnas)
        // The description grows rather than lose words.
        controles.push_back(campo(QString::fromUtf16(c.nombreCampo), QString::fromUtf16(c.columna),
                                  QRectF(c.x, 0, c.ancho, kFila), c.formato, c.alineacion,
                                  QStringView(c.columna) == u"ProDescripcion"));
    return banda(QStringLiteral("Detalle"), kFila, std::move(controles));
}

} // namespace

DefinicionInforme presupuestos() {
    DefinicionInforme d =
        base(QStringLiteral("dtrPresupuestos2"), QStringLiteral("Presupuesto - Bodex Profesional"),
             QStringLiteral("TotalPresupuestos"), false);
    d.encabezadoPagina = banda(QStringLiteral("EncabezadoPagina"), 28,
                               {titulo(QStringLiteral("LISTADO DE PRESUPUESTOS"))});

    // One row per quote: nothing of it is shown.
    Grupo total;
    total.cabecera = banda(QStringLiteral("CabeceraTotalPresupuestos"), 0, {});
    total.pie = banda(QStringLiteral("PieTotalPresupuestos"), 0, {});

    Grupo presupuesto;
    presupuesto.capitulo = QStringLiteral("Presupuestos");
    presupuesto.cabecera =
        banda(QStringLiteral("CabeceraPresupuestos"), 94,
              {
                  campo(QStringLiteral("txtPreLugar"), QStringLiteral("PreLugar"),
                        QRectF(0, 4, 330, kFila), Formato::General, Qt::AlignRight),
                  campo(QStringLiteral("txtPreFecha"), QStringLiteral("PreFecha"),
                        QRectF(336, 4, 174, kFila)),
                  campo(QStringLiteral("txtSaludo"), QStringLiteral("Saludo"),
                        QRectF(0, 24, kAncho, kFila), Formato::General, Qt::AlignLeft, true),
                  campo(QStringLiteral("txtPreDescripcion"), QStringLiteral("PreDescripcion1"),
                        QRectF(0, 42, kAncho, kFila), Formato::General, Qt::AlignLeft, true),
                  campo(QStringLiteral("Texto11"), QStringLiteral("PreDescripcion2"),
                        QRectF(0, 58, kAncho, kFila), Formato::General, Qt::AlignLeft, true),
                  campo(QStringLiteral("Texto10"), QStringLiteral("PreDescripcion3"),
                        QRectF(0, 74, kAncho, kFila), Formato::General, Qt::AlignLeft, true),
              });

    const auto otroCosto = [](const char16_t* concepto, const char16_t* precio,
                              const char16_t* moneda, int n, double y) {
        return std::vector<Control>{
            campo(QString::fromUtf16(concepto), QStringLiteral("PreOtroConcepto%1").arg(n),
                  QRectF(0, y, 250, kFila), Formato::General, Qt::AlignLeft, true),
            campo(QString::fromUtf16(precio), QStringLiteral("PreOtroPrecio%1").arg(n),
                  QRectF(254, y, 80, kFila), Formato::Entero, Qt::AlignRight),
            campo(QString::fromUtf16(moneda), QStringLiteral("PreOtroMoneda%1").arg(n),
                  QRectF(340, y, 60, kFila)),
        };
    };
    Control totalLineas;
    totalLineas.nombre = QStringLiteral("Función1");
    totalLineas.tipo = TipoControl::Suma;
    totalLineas.campo = QStringLiteral("SUBTOTAL");
    totalLineas.formato = Formato::EnteroAgrupado;
    totalLineas.rect = QRectF(402, 4, 108, kFila);
    totalLineas.alineacion = Qt::AlignRight;
    totalLineas.negrita = true;
    std::vector<Control> pie = {
        rectangulo(QStringLiteral("Forma1"), QRectF(0, 2, kAncho, 18)),
        etiqueta(QStringLiteral("Etiqueta10"), QStringLiteral("Total:"), QRectF(340, 4, 60, kFila),
                 kLetra, true, Qt::AlignRight),
        totalLineas,
        etiqueta(QStringLiteral("Etiqueta2"), QStringLiteral("Otros costos:"),
                 QRectF(0, 26, 150, kFila), kLetra, true),
    };
    for (const auto& fila :
         {otroCosto(u"txtPreOtroConcepto1", u"txtPreOtroPrecio1", u"txtPreOtroMoneda1", 1, 42),
          otroCosto(u"Texto4", u"Texto5", u"Texto6", 2, 58),
          otroCosto(u"Texto7", u"Texto8", u"Texto9", 3, 74)})
        pie.insert(pie.end(), fila.begin(), fila.end());
    pie.push_back(campo(QStringLiteral("txtTotalOtrosCostos"), QStringLiteral("TotalOtrosCostos"),
                        QRectF(254, 92, 80, kFila), Formato::General, Qt::AlignRight));
    pie.push_back(campo(QStringLiteral("txtPreDespedida"), QStringLiteral("PreDespedida"),
                        QRectF(0, 114, kAncho, kFila), Formato::General, Qt::AlignLeft, true));
    pie.push_back(campo(QStringLiteral("txtPreFirma"), QStringLiteral("PreFirma"),
                        QRectF(kAncho / 2, 136, kAncho / 2, kFila), Formato::General, Qt::AlignLeft,
                        true));
    presupuesto.pie = banda(QStringLiteral("PiePresupuestos"), 164, std::move(pie));

    d.grupos = {total, presupuesto};
    d.capituloDetalle = QStringLiteral("Presupuestos_Productos");
    d.detalle = banda(
        QStringLiteral("Detalle"), kFila,
        {
            campo(QStringLiteral("Texto3"), QStringLiteral("ProCodigo"), QRectF(0, 0, 60, kFila)),
            campo(QStringLiteral("txtProDescripcion"), QStringLiteral("ProDescripcion"),
                  QRectF(62, 0, 190, kFila), Formato::General, Qt::AlignLeft, true),
            campo(QStringLiteral("txtRemProCantidad"), QStringLiteral("PreProCantidad"),
                  QRectF(254, 0, 48, kFila), Formato::DosDecimales, Qt::AlignRight),
            campo(QStringLiteral("Texto1"), QStringLiteral("ProUnidadMedida"),
                  QRectF(308, 0, 42, kFila)),
            campo(QStringLiteral("Texto2"), QStringLiteral("PreProMoneda"),
                  QRectF(352, 0, 40, kFila)),
            campo(QStringLiteral("txtRemProPrecio"), QStringLiteral("PreProPrecio"),
                  QRectF(394, 0, 56, kFila), Formato::DosDecimales, Qt::AlignRight),
            campo(QStringLiteral("txtSUBTOTAL"), QStringLiteral("SUBTOTAL"),
                  QRectF(452, 0, 58, kFila), Formato::EnteroAgrupado, Qt::AlignRight),
        });
    return d;
}

DefinicionInforme categorias() {
    DefinicionInforme d =
        base(QStringLiteral("dtrCategorias"), QStringLiteral("Categorías - Bodex Profesional"),
             QStringLiteral("Categorias"), true);
    d.encabezadoPagina = banda(
        QStringLiteral("EncabezadoPagina"), 44,
        {
            titulo(QStringLiteral("LISTA DE CATEGORÍAS")),
            etiqueta(QStringLiteral("Etiqueta2"), QStringLiteral("Código:"), QRectF(0, 26, 60, 12)),
            etiqueta(QStringLiteral("Etiqueta3"), QStringLiteral("Descripción:"),
                     QRectF(70, 26, 320, 12)),
            etiqueta(QStringLiteral("Etiqueta4"), QStringLiteral("Desactivada:"),
                     QRectF(400, 26, 110, 12), kLetraRotulo, true, Qt::AlignHCenter),
            regla(QStringLiteral("Linea1"), 40),
        });
    d.detalle = banda(
        QStringLiteral("Detalle"), kFila,
        {
            campo(QStringLiteral("txtCatId"), QStringLiteral("CatId"), QRectF(0, 0, 60, kFila)),
            campo(QStringLiteral("txtCatDescripcion"), QStringLiteral("CatDescripcion"),
                  QRectF(70, 0, 320, kFila), Formato::General, Qt::AlignLeft, true),
            campo(QStringLiteral("txtCatDesactivada"), QStringLiteral("CatDesactivada"),
                  QRectF(400, 0, 110, kFila), Formato::SiNo, Qt::AlignHCenter),
        });
    return d;
}

DefinicionInforme productos() {
    DefinicionInforme d =
        base(QStringLiteral("dtrProductos"), QStringLiteral("Productos - Bodex Profesional"),
             QStringLiteral("ListadoProductos"), true);
    const std::vector<Columna> columnas = columnasProductos(true);
    std::vector<Control> encabezado = {titulo(QStringLiteral("LISTADO DE PRODUCTOS")),
                                       regla(QStringLiteral("Linea1"), 24)};
    agregarRotulos(encabezado, columnas, 28);
    d.encabezadoPagina = banda(QStringLiteral("EncabezadoPagina"), 44, std::move(encabezado));
    d.detalle = detalleProductos(columnas);
    return d;
}

DefinicionInforme productosCategorias() {
    DefinicionInforme d = base(QStringLiteral("dtrProductosCategorias"),
                               QStringLiteral("Productos agrupados por Categoría - Bodex "
                                              "Profesional"),
                               QStringLiteral("Productos_Categorias"), true);
    d.encabezadoPagina = banda(QStringLiteral("EncabezadoPagina"), 26,
                               {titulo(QStringLiteral("LISTADO DE PRODUCTOS POR CATEGORIA"))});

    const std::vector<Columna> columnas = columnasProductos(false);
    std::vector<Control> cabecera = {
        etiqueta(QStringLiteral("Etiqueta2"), QStringLiteral("Categoría:"), QRectF(0, 4, 60, kFila),
                 kLetra, true),
        campo(QStringLiteral("txtCatDescripcion"), QStringLiteral("CatDescripcion"),
              QRectF(62, 4, 290, kFila), Formato::General, Qt::AlignLeft, true),
        etiqueta(QStringLiteral("Etiqueta3"), QStringLiteral("Código:"), QRectF(370, 4, 48, kFila),
                 kLetra, true),
        campo(QStringLiteral("txtCatId"), QStringLiteral("CatId"), QRectF(420, 4, 90, kFila)),
        regla(QStringLiteral("Linea1"), 21),
    };
    agregarRotulos(cabecera, columnas, 24);
    Grupo categoria;
    categoria.cabecera =
        banda(QStringLiteral("CabeceraProductos_Categorias"), 40, std::move(cabecera));

    Control cuenta;
    cuenta.nombre = QStringLiteral("Función1");
    cuenta.tipo = TipoControl::Cuenta;
    cuenta.rect = QRectF(136, 5, 80, kFila);
    cuenta.negrita = true;
    categoria.pie =
        banda(QStringLiteral("PieProductos_Categorias"), 28,
              {
                  rectangulo(QStringLiteral("Forma1"), QRectF(0, 2, kAncho, 18)),
                  etiqueta(QStringLiteral("Etiqueta4"), QStringLiteral("Cantidad de productos:"),
                           QRectF(4, 5, 130, kFila), kLetra, true),
                  cuenta,
              });
    d.grupos = {categoria};
    d.capituloDetalle = QStringLiteral("Productos");
    d.detalle = detalleProductos(columnas);
    return d;
}

DefinicionInforme proveedores() {
    DefinicionInforme d =
        base(QStringLiteral("dtrProveedores"), QStringLiteral("Proveedores - Bodex Profesional"),
             QStringLiteral("Proveedores"), true);
    d.encabezadoPagina = banda(
        QStringLiteral("EncabezadoPagina"), 30,
        {titulo(QStringLiteral("LISTADO DE PROVEEDORES")), regla(QStringLiteral("Linea1"), 24)});

    // Label and value pairs, two to a row, in reading order.
    static const struct {
        const char16_t* rotulo;
        const char16_t* columna;
    } pares[] = {
        {u"Código:", u"EmpId"},
        {u"Nombre:", u"EmpNombreFantasia"},
        {u"Razón Social:", u"EmpRazonSocial"},
        {u"Ruc:", u"EmpRuc"},
        {u"Dirección:", u"EmpDireccion"},
        {u"C.P:", u"EmpCodigoPostal"},
        {u"Tel. 1:", u"EmpTelefono1"},
        {u"Tel. 2:", u"EmpTelefono2"},
        {u"Fax:", u"EmpFax"},
        {u"E-mail:", u"EmpEmail"},
        {u"URL:", u"EmpURL"},
        {u"Zona:", u"EmpZona"},
        {u"Ciudad:", u"EmpCiudad"},
        {u"Provincia/Estado:", u"EmpProvinciaEstado"},
        {u"País:", u"EmpPais"},
    };
    std::vector<Control> controles;
    int n = 0;
    for (const auto& par : pares) {
        const double x = n % 2 == 0 ? 0 : 260;
        const double y = 4 + kFila * (n / 2);
        ++n;
        // The smaller label sits one point lower, on the value's baseline.
        controles.push_back(etiqueta(QStringLiteral("lblCampo%1").arg(n),
                                     QString::fromUtf16(par.rotulo), QRectF(x, y + 1, 86, 12),
                                     kLetraRotulo, true));
        const QString columna = QString::fromUtf16(par.columna);
        controles.push_back(campo(QStringLiteral("txt") + columna, columna,
                                  QRectF(x + 88, y, 162, kFila), Formato::General, Qt::AlignLeft,
                                  true));
    }
    const double fondo = 4 + kFila * ((n + 1) / 2) + 4;
    controles.push_back(regla(QStringLiteral("Linea2"), fondo));
    d.detalle = banda(QStringLiteral("Detalle"), fondo + 6, std::move(controles));
    return d;
}

DefinicionInforme resultados() {
    DefinicionInforme d =
        base(QStringLiteral("dtrResultados"), QStringLiteral("Resultados de presupuestos - Tarvo"),
             QString(), true);
    // The counts and the share go on the first line of a customer or user;
    // each line carries one currency's amounts.
    const std::vector<Columna> columnas = {
        {u"Cliente:", u"txtNombre", u"Nombre", 0, 150, Formato::General, Qt::AlignLeft},
        {u"Presup.:", u"txtPresupuestos", u"Presupuestos", 152, 45, Formato::General,
         Qt::AlignRight},
        {u"Acept.:", u"txtAceptados", u"Aceptados", 199, 40, Formato::General, Qt::AlignRight},
        {u"Rech.:", u"txtRechazados", u"Rechazados", 241, 40, Formato::General, Qt::AlignRight},
        {u"% acept.:", u"txtPorcentaje", u"Porcentaje", 283, 50, Formato::General, Qt::AlignRight},
        {u"Moneda:", u"txtMoneda", u"Moneda", 345, 50, Formato::General, Qt::AlignLeft},
        {u"Ofrecido:", u"txtOfrecido", u"Ofrecido", 397, 55, Formato::General, Qt::AlignRight},
        {u"Aceptado:", u"txtAceptado", u"Aceptado", 454, 56, Formato::General, Qt::AlignRight},
    };
    std::vector<Control> encabezado = {
        titulo(QStringLiteral("RESULTADOS DE PRESUPUESTOS")),
        etiqueta(QStringLiteral("lblPeriodo"), {}, QRectF(0, 22, kAncho, 12), kLetra, false,
                 Qt::AlignHCenter),
    };
    agregarRotulos(encabezado, columnas, 42);
    encabezado.push_back(regla(QStringLiteral("Linea1"), 56));
    d.encabezadoPagina = banda(QStringLiteral("EncabezadoPagina"), 60, std::move(encabezado));

    Grupo mes;
    mes.cabecera = banda(QStringLiteral("CabeceraMes"), 20,
                         {campo(QStringLiteral("txtTitulo"), QStringLiteral("Titulo"),
                                QRectF(0, 4, kAncho, kFila))});
    mes.cabecera.controles.front().negrita = true;
    mes.pie = banda(QStringLiteral("PieMes"), 6, {});
    d.grupos = {mes};
    d.capituloDetalle = QStringLiteral("Lineas");
    std::vector<Control> detalle;
    for (const Columna& c : columnas)
        detalle.push_back(campo(QString::fromUtf16(c.nombreCampo), QString::fromUtf16(c.columna),
                                QRectF(c.x, 0, c.ancho, kFila), c.formato, c.alineacion,
                                QStringView(c.columna) == u"Nombre"));
    d.detalle = banda(QStringLiteral("Detalle"), kFila, std::move(detalle));
    return d;
}

} // namespace informes
