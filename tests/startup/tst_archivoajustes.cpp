// A settings file that exists but cannot be read or parsed: never a silent
// first start on a new database.
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "platform/carpetas.h"
#include "startup/archivoajustes.h"
#include "startup/opciones.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>
#include <unistd.h>

class PruebaArchivoAjustes : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;

    QString archivo() const {
        return entorno->ruta(QStringLiteral(".config/Varnel Software/Tarvo.conf"));
    }
    QString carpetaTarvo() const { return entorno->ruta(QStringLiteral("Documents/Tarvo")); }
    void escribirArchivo(const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(archivo()).absolutePath());
        QFile f(archivo());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList apartados() const {
        return QDir(QFileInfo(archivo()).absolutePath())
            .entryList({QStringLiteral("Tarvo.conf.dañado-*")}, QDir::Files);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString programa = entorno->ruta(QStringLiteral("programa"));
        QDir().mkpath(programa);
        QFile::copy(rutaBasePristina(), programa + QStringLiteral("/bd2000.mdb"));
        establecerCarpetaPrograma(programa);
    }
    void cleanup() {
        establecerCarpetaPrograma({});
        mensajes.reset();
        entorno.reset();
    }

    void sanoOAusenteNoDiceNada() {
        QVERIFY(rutaArchivoAjustes().endsWith(QStringLiteral("Varnel Software/Tarvo.conf")));
        QVERIFY(comprobarArchivoAjustes());
        escribirArchivo("[General]\ndb_path=/home/ana/bd2000.mdb\nempresa=Ñandú S.L.\n");
        QVERIFY(comprobarArchivoAjustes());
        QVERIFY(mensajes->mostrados().isEmpty());
        QVERIFY(apartados().isEmpty());
    }

    void carpetaEnSuLugarDetieneSinCrearNada() {
        QVERIFY(QDir().mkpath(archivo()));
        QVERIFY(!comprobarArchivoAjustes());
        QCOMPARE(mensajes->mostrados().size(), 1);
        const QString texto = mensajes->mostrados().first().texto;
        QVERIFY2(texto.contains(archivo()) && texto.contains(QStringLiteral("carpeta")),
                 qPrintable(texto));
        QVERIFY(QFileInfo(archivo()).isDir());
        QVERIFY(!QFileInfo::exists(carpetaTarvo()));
    }

    void sinPermisoDeLecturaDetiene() {
        if (geteuid() == 0)
            QSKIP("Como root los permisos no impiden leer; la carpeta en su lugar cubre el caso.");
        escribirArchivo("[General]\ndb_path=/home/ana/bd2000.mdb\n");
        QVERIFY(QFile::setPermissions(archivo(), {}));
        QVERIFY(!comprobarArchivoAjustes());
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->mostrados().first().texto.contains(archivo()));
        QFile::setPermissions(archivo(), QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!QFileInfo::exists(carpetaTarvo()));
    }

    void danadoSeApartaAntesDeLosValoresPorDefecto() {
        QByteArray basura("[General]\ndb_path=/home/ana/bd2000.mdb\n");
        basura += QByteArray("\x00\xff\xfe\x13garbage\x00\x01", 13);
        escribirArchivo(basura);
        QVERIFY(comprobarArchivoAjustes());
        const QStringList aparte = apartados();
        QCOMPARE(aparte.size(), 1);
        QFile guardado(QFileInfo(archivo()).absolutePath() + u'/' + aparte.first());
        QVERIFY(guardado.open(QIODevice::ReadOnly));
        QCOMPARE(guardado.readAll(), basura);
        QCOMPARE(mensajes->mostrados().size(), 1);
        const QString texto = mensajes->mostrados().first().texto;
        QVERIFY2(texto.contains(archivo()) && texto.contains(aparte.first()), qPrintable(texto));
        // Only now do the defaults go into a new file.
        CargarOpciones();
        QVERIFY(QFileInfo(archivo()).isFile());
        QCOMPARE(apartados().size(), 1);
    }
};

QTEST_GUILESS_MAIN(PruebaArchivoAjustes)
#include "tst_archivoajustes.moc"
