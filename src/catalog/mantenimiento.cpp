#include "catalog/mantenimiento.h"

#include "data/entornodatos.h"
#include "data/modeloregistros.h"
#include "platform/mensajes.h"

Mantenimiento::Mantenimiento(const QString& comando, const QString& consultaCompleta,
                             const QStringList& campos, QObject* padre)
    : QObject(padre), comando_(comando), consultaCompleta_(consultaCompleta), campos_(campos),
      rs_(dteBodex().registros(QStringLiteral("rs") + comando)),
      modelo_(new ModeloRegistros(this)) {
    modelo_->establecerColumnas(campos_);
}

Mantenimiento::~Mantenimiento() = default;

int Mantenimiento::columna(const QString& campo) const {
    for (int i = 0; i < campos_.size(); ++i)
        if (campos_[i].compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Mantenimiento::cargar() {
    // A set that outlived an earlier window keeps its query and its row.
    if (!rs_->abierto()) {
        dteBodex().usar(comando_);
        rs_->moverPrimero();
    }
    enlazar();
}

void Mantenimiento::Actualizar(const QString& sql, const QVariantList& valores) {
    dteBodex().abrir(comando_, sql, valores);
    rs_->moverPrimero();
    enlazar();
}

void Mantenimiento::enlazar() {
    modelo_->establecerRegistros(*rs_);
    emit listaRecargada();
    emit filaCambiada(posicionActual());
}

Consulta Mantenimiento::consultaActual() const {
    return {dteBodex().texto(comando_), dteBodex().valores(comando_)};
}

int Mantenimiento::posicionActual() const {
    const int p = rs_->posicionAbsoluta();
    return p > 0 ? p : 0;
}

void Mantenimiento::moverA(int posicion) {
    if (posicion == posicionActual() || posicion < 1 || posicion > rs_->cantidad())
        return;
    // A row with pending changes stays current until they are saved or dropped.
    if (rs_->hayCambios())
        return;
    rs_->moverA(posicion);
    emit filaCambiada(posicionActual());
}

void Mantenimiento::establecerEstado(EstadoMantenimiento estado) {
    estado_ = estado;
    emit estadoCambiado(estado_);
}

bool Mantenimiento::establecerCampo(const QString& campo, const QVariant& valor) {
    const int c = columna(campo);
    const int p = posicionActual();
    if (c < 0 || p == 0)
        return false;
    return modelo_->setData(modelo_->index(p - 1, c), valor);
}

void Mantenimiento::nuevo() {
    if (estado_ == EstadoMantenimiento::Editando || !modelo_->agregarFila())
        return;
    rs_->moverA(rs_->cantidad());
    valoresIniciales();
    establecerEstado(EstadoMantenimiento::Editando);
    emit filaCambiada(posicionActual());
}

void Mantenimiento::editar() {
    if (estado_ == EstadoMantenimiento::Editando)
        return;
    if (posicionActual() == 0) {
        mensaje(QStringLiteral("No hay nada para editar"));
        return;
    }
    establecerEstado(EstadoMantenimiento::Editando);
}

bool Mantenimiento::guardar() {
    if (estado_ != EstadoMantenimiento::Editando || !validar())
        return false;
    QList<ErrorProveedor> fallos;
    const bool escrito = modelo_->escribir(fallos);
    if (!escrito) {
        modelo_->descartar();
        bool duplicado = false;
        for (const auto& f : std::as_const(fallos))
            duplicado = duplicado || f.numero == errores::kErroresEnComando;
        if (duplicado && !mensajeDuplicado().isEmpty())
            mensaje(mensajeDuplicado(), Botones::Aceptar, Icono::Informacion,
                    QStringLiteral("Verifique"));
        else
            informarErrores(fallos);
    }
    Actualizar(consultaTrasGuardar());
    establecerEstado(EstadoMantenimiento::Navegando);
    return escrito;
}

void Mantenimiento::cancelar() {
    modelo_->descartar();
    const Consulta actual = consultaActual();
    Actualizar(actual.sql, actual.valores);
    establecerEstado(EstadoMantenimiento::Navegando);
}

void Mantenimiento::buscar() {
    buscarTexto(entrada(QStringLiteral("Ingrese el texto a buscar:"), tituloBusqueda(), {}));
}

void Mantenimiento::buscarTexto(const QString& texto) {
    const QString t = texto.trimmed();
    if (estado_ == EstadoMantenimiento::Editando || t.isEmpty())
        return;
    const Consulta c = consultaBusqueda(t);
    Actualizar(c.sql, c.valores);
}

void Mantenimiento::mostrarTodo() {
    if (estado_ == EstadoMantenimiento::Editando)
        return;
    Actualizar(consultaCompleta_);
}

void Mantenimiento::cerrar() {
    modelo_->descartar();
    establecerEstado(EstadoMantenimiento::Navegando);
    // At the program's end the connection is already closed: nothing to
    // reload, but the query the next opening starts from is set all the same.
    if (!dteBodex().conexionAbierta()) {
        if (cerrarConListaCompleta())
            dteBodex().establecerTexto(comando_, consultaCompleta_);
        return;
    }
    if (cerrarConListaCompleta()) {
        Actualizar(consultaCompleta_);
    } else {
        const Consulta actual = consultaActual();
        Actualizar(actual.sql, actual.valores);
    }
}
