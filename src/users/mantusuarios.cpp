#include "users/mantusuarios.h"

#include "data/modeloregistros.h"
#include "platform/mensajes.h"
#include "users/password.h"

QString MantUsuarios::consultaInicial() {
    return QStringLiteral("select * from usuarios order by UsuNombre ASC");
}

QString MantUsuarios::consultaLista() {
    return QStringLiteral("SELECT * FROM usuarios ORDER BY UsuNombre ASC");
}

MantUsuarios::MantUsuarios(QObject* padre)
    : QObject(padre), rs_(std::make_shared<Registros>()), modelo_(new ModeloRegistros(this)) {}

MantUsuarios::~MantUsuarios() = default;

void MantUsuarios::cargar() {
    llenar(consultaInicial());
}

void MantUsuarios::llenar(const QString& sql) {
    CerrarConsulta(rs_, false);
    AbrirConsulta(sql, rs_);
    rs_->moverPrimero();
    modelo_->establecerRegistros(*rs_);
    emit listaRecargada();
}

std::optional<MantUsuarios::Campos> MantUsuarios::seleccionar(int posicion) {
    if (estado_ != EstadoUsuarios::Navegando)
        return std::nullopt;
    rs_->moverA(posicion);
    if (rs_->posicionAbsoluta() <= 0)
        return std::nullopt;
    tag_ = rs_->texto(QStringLiteral("UsuLogin"));
    passwordGuardada_ = rs_->campo(QStringLiteral("UsuPassword"));
    return Campos{tag_, rs_->texto(QStringLiteral("UsuPassword")),
                  rs_->texto(QStringLiteral("UsuNombre"))};
}

void MantUsuarios::establecerEstado(EstadoUsuarios estado) {
    estado_ = estado;
    emit estadoCambiado(estado_);
}

void MantUsuarios::nuevo() {
    tag_.clear();
    passwordGuardada_ = {};
    establecerEstado(EstadoUsuarios::Nuevo);
}

bool MantUsuarios::editar() {
    if (tag_.isEmpty()) {
        mensaje(QStringLiteral("No hay nada para editar"));
        return false;
    }
    establecerEstado(EstadoUsuarios::Edicion);
    return true;
}

bool MantUsuarios::guardar(const Campos& campos, bool passwordEscrita) {
    if (estado_ == EstadoUsuarios::Navegando)
        return false;
    if (campos.nombre.isEmpty()) {
        mensaje(QStringLiteral("Debe ingresar el Nombre del usuario"));
        return false;
    }
    const bool nuevo = tag_.isEmpty();
    // A user without a login could never log in.
    if (nuevo && campos.login.trimmed().isEmpty()) {
        mensaje(QStringLiteral("Debe ingresar el Login del usuario"));
        return false;
    }
    // The stored password goes back as it is; only a typed one is encoded.
    QVariant password = passwordGuardada_;
    if (nuevo || passwordEscrita) {
        if (!passwordAdmisible(campos.password)) {
            mensaje(QStringLiteral("La password tiene caracteres que no se pueden guardar "
                                   "(emojis, letras de otros alfabetos u otros símbolos).\r\n"
                                   "Use letras, números y signos del teclado."),
                    Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
            return false;
        }
        const QString codificada = CodificarPassword(campos.password);
        if (!campos.password.isEmpty() && codificada.isEmpty())
            return false; // a character that cannot be encoded (reported)
        password = codificada;
    }
    RegistrosPtr rs;
    const QString login = nuevo ? campos.login : tag_;
    const qint32 afectados = EjecutarProcedimiento(nuevo ? QStringLiteral("usuario_insertar")
                                                         : QStringLiteral("usuario_actualizar"),
                                                   rs, {login, password, campos.nombre});
    CerrarConsulta(rs, true);
    establecerEstado(EstadoUsuarios::Navegando);
    llenar(consultaLista());
    return afectados > 0;
}

void MantUsuarios::actualizar() {
    llenar(consultaLista());
}

void MantUsuarios::cancelar() {
    establecerEstado(EstadoUsuarios::Navegando);
    llenar(rs_->origen().isEmpty() ? consultaLista() : rs_->origen());
}

void MantUsuarios::cerrar() {
    CerrarConsulta(rs_, true);
    rs_ = std::make_shared<Registros>();
}
