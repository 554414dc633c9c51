#include "startup/valoresopciones.h"

#include "data/modconexion.h"
#include "platform/mensajes.h"
#include "platform/pgpass.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString leer(const cQueryReg& reg, const char16_t* nombre) {
    return reg.GetReg(claveTarvo(), QString::fromUtf16(nombre), cQueryReg::HKEY_CURRENT_USER, true)
        .toString();
}

void escribir(const cQueryReg& reg, const char16_t* nombre, const QString& valor) {
    long estado = 0;
    reg.SetReg(claveTarvo(), QString::fromUtf16(nombre), valor, cQueryReg::HKEY_CURRENT_USER,
               cQueryReg::REG_SZ, true, estado);
}

void verifique(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
}

// A line break or other control character in a path would break the data
// source file and the backup name: such a path is refused.
bool tieneControl(const QString& ruta) {
    for (const QChar c : ruta)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

void verifiqueControl(const QString& que) {
    verifique(QStringLiteral("La ubicación %1 no es correcta. \nContiene caracteres de control "
                             "(por ejemplo, un salto de línea); elija una ubicación cuyo nombre "
                             "no los tenga.")
                  .arg(que));
}

// The server's values: a database and a user are needed, the port is a
// number from 1 to 65535 or empty (the default). The password goes to
// ~/.pgpass only when one was typed.
void aceptarServidor(const cQueryReg& reg, const ValoresOpciones& v) {
    const QString servidor = v.nombreServidor.trimmed();
    const QString puerto = v.puerto.trimmed();
    const QString base = v.baseDatos.trimmed();
    const QString usuario = v.usuario.trimmed();
    bool ok = true;
    const int numero = puerto.isEmpty() ? 5432 : puerto.toInt(&ok);
    if (tieneControl(servidor) || tieneControl(base) || tieneControl(usuario) ||
        tieneControl(v.contrasena)) {
        verifique(QStringLiteral("Los datos del servidor no son correctos. \nContienen caracteres "
                                 "de control (por ejemplo, un salto de línea)."));
        return;
    }
    if (base.isEmpty() || usuario.isEmpty()) {
        verifique(QStringLiteral("Escriba la base de datos y el usuario del servidor PostgreSQL."));
        return;
    }
    if (!ok || numero < 1 || numero > 65535) {
        verifique(QStringLiteral("El puerto del servidor no es correcto. \nDebe ser un número "
                                 "entre 1 y 65535, o quedar vacío para el de siempre (5432)."));
        return;
    }
    if (!v.contrasena.isEmpty()) {
        QString error;
        if (!pgpass::guardar({servidor, puerto, base, usuario, v.contrasena}, error)) {
            verifique(error);
            return;
        }
    }
    escribir(reg, u"db_motor", QStringLiteral("servidor"));
    escribir(reg, u"db_servidor", servidor);
    escribir(reg, u"db_puerto", puerto);
    escribir(reg, u"db_basedatos", base);
    escribir(reg, u"db_usuario", usuario);
}

} // namespace

ValoresOpciones leerValoresOpciones() {
    const cQueryReg reg;
    ValoresOpciones v;
    v.ubicacion = leer(reg, u"db_path");
    v.ubicacionPresupuestos = leer(reg, u"doc_path");
    v.ubicacionRespaldo = leer(reg, u"db_backup");
    v.respaldoAutomatico = !v.ubicacionRespaldo.isEmpty();
    v.ubicacionLogo = leer(reg, u"logo_path");
    v.nombreEmpresa = leer(reg, u"empresa");
    v.iva = leer(reg, u"iva");
    v.avisoDias = leer(reg, u"aviso_dias");
    v.servidor = leer(reg, u"db_motor") == u"servidor";
    v.nombreServidor = leer(reg, u"db_servidor");
    v.puerto = leer(reg, u"db_puerto");
    v.baseDatos = leer(reg, u"db_basedatos");
    v.usuario = leer(reg, u"db_usuario");
    return v;
}

void aceptarOpciones(const ValoresOpciones& v, bool reiniciar) {
    const cQueryReg reg;

    const QString base = v.ubicacion.trimmed();
    if (v.servidor)
        aceptarServidor(reg, v);
    else if (tieneControl(base))
        verifiqueControl(QStringLiteral("de la base de datos"));
    else if (!QDir::isAbsolutePath(base))
        verifique(QStringLiteral("La ubicación de la base de datos no es correcta. \nDebe "
                                 "comenzar con la barra de la carpeta raíz (/). Por ejemplo: "
                                 "/home/carpeta/bd2000.mdb"));
    else if (!QFileInfo(base).isFile())
        verifique(QStringLiteral("La ubicación de la base de datos no es correcta. \nVerifique "
                                 "que el archivo existe."));
    else {
        escribir(reg, u"db_path", base);
        // Back to the file: written only where a server had been chosen, so
        // that a desk that never had one keeps its eight values.
        if (reg.GetReg(claveTarvo(), QStringLiteral("db_motor"), cQueryReg::HKEY_CURRENT_USER, true)
                .isValid())
            escribir(reg, u"db_motor", QStringLiteral("archivo"));
    }

    const QString presupuestos = v.ubicacionPresupuestos.trimmed();
    if (tieneControl(presupuestos))
        verifiqueControl(QStringLiteral("de los presupuestos"));
    else if (!QDir::isAbsolutePath(presupuestos))
        verifique(QStringLiteral("La ubicación de la carpeta de presupuestos no es correcta. "
                                 "\nDebe comenzar con la barra de la carpeta raíz (/). Por "
                                 "ejemplo: /home/carpeta_presupuestos"));
    else if (!QFileInfo(presupuestos).isDir())
        verifique(QStringLiteral("La ubicación de los presupuestos no es correcta. \nVerifique "
                                 "que la carpeta existe."));
    else
        escribir(reg, u"doc_path", presupuestos);

    const QString respaldo = v.respaldoAutomatico ? v.ubicacionRespaldo.trimmed() : QString();
    if (tieneControl(respaldo))
        verifiqueControl(QStringLiteral("de las copias de seguridad"));
    else
        escribir(reg, u"db_backup", respaldo);
    escribir(reg, u"logo_path", v.ubicacionLogo.trimmed());
    escribir(reg, u"empresa", v.nombreEmpresa.trimmed());

    // A rate that is not a number would only fail at the next start: refuse it
    // here, like the paths, and keep the stored one.
    const QString iva = v.iva.trimmed();
    if (!iva.isEmpty() && !leerIva(iva))
        verifique(QStringLiteral("El I.V.A. no es correcto. \nDebe ser un número, con punto "
                                 "decimal. Por ejemplo: 22 o 10.5"));
    else
        escribir(reg, u"iva", iva);

    const auto dias = leerDiasAviso(v.avisoDias);
    escribir(reg, u"aviso_dias", dias ? v.avisoDias.trimmed() : QStringLiteral("0"));
    // The table receives the same number as the registry, never the raw text.
    // Opened before the database is reachable (start-up), there is no table to
    // update: the next start's options write it.
    if (conexion()) {
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("update opciones set OpcAvisoVencimiento=") +
                          QString::number(dias.value_or(0)),
                      rs);
        CerrarConsulta(rs, true);
    }

    if (reiniciar)
        mensaje(QStringLiteral("Debe salir y volver a ingresar al programa para que los cambios "
                               "surtan efecto."),
                Botones::Aceptar, Icono::Informacion,
                QStringLiteral("Cambios en la configuración"));
}
