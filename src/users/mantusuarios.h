#pragma once

#include "data/modconexion.h"

#include <QObject>

#include <optional>

class ModeloRegistros;

// The states of user maintenance: browsing, a new user, a user's password
// and name being changed.
enum class EstadoUsuarios { Navegando, Nuevo, Edicion };

// User maintenance: the list of users, a new user through usuario_insertar and
// a change of password and name through usuario_actualizar. Passwords are
// stored encoded; the password field starts with the stored (encoded) text,
// which is saved again as it is unless the user typed a new one.
class MantUsuarios : public QObject {
    Q_OBJECT
public:
    static QString consultaInicial();
    static QString consultaLista();

    // What the three fields hold.
    struct Campos {
        QString login;
        QString password;
        QString nombre;
    };

    explicit MantUsuarios(QObject* padre = nullptr);
    ~MantUsuarios() override;

    ModeloRegistros* modelo() const { return modelo_; }
    const RegistrosPtr& registros() const { return rs_; }
    EstadoUsuarios estado() const { return estado_; }
    // The login of the row being changed (the login field's Tag); empty for
    // a new user.
    const QString& tag() const { return tag_; }

    // Fills the list with the opening query.
    void cargar();
    // Fills the list from a SQL text; the first row becomes current.
    void llenar(const QString& sql);
    // The grid's current row changed: while browsing, that user becomes the
    // one a change applies to, and the fields show it. Nothing while a user
    // is being entered or changed, so a refresh never retargets the save.
    std::optional<Campos> seleccionar(int posicion);

    // The command bar.
    void nuevo();
    bool editar();
    // `passwordEscrita`: the user typed in the password field since it was
    // filled. True when the stored query ran.
    bool guardar(const Campos& campos, bool passwordEscrita);
    void actualizar();
    void cancelar();
    // Closing the window.
    void cerrar();

signals:
    void estadoCambiado(EstadoUsuarios estado);
    void listaRecargada();

private:
    void establecerEstado(EstadoUsuarios estado);

    RegistrosPtr rs_;
    ModeloRegistros* modelo_;
    EstadoUsuarios estado_ = EstadoUsuarios::Navegando;
    QString tag_;
    QVariant passwordGuardada_;
};
