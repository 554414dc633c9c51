// The PostgreSQL engine on a private cluster of this machine, on the
// generated database of 100,000 quotes (its lines left out: neither the
// list nor the search reads them, and copying them would take most of the
// run):
// - the quote list (count and first page) and a search, through the
//   program, against the very statements it sent replayed through psql
//   (taken from the server's statement log; target: at most 1.3 times);
// - saving a new quote of 15 lines (target: under 20 ms);
// - two desks (two processes) saving 50 quotes each at once: the total
//   time, and that every quote got its own key, number and 15 lines.
//
// Run: tarvo_bench_servidor [veces, 10 by default]; TARVO_BENCH_SENTENCIAS=1
// also lists the statements the list, the search and one save send.
#include "basebench.h"

#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/servidorprueba.h"
#include "data/conexionsqlite.h"
#include "data/modconexion.h"
#include "main/listapresupuestos.h"
#include "quotes/repositoriopresupuestos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A new quote of 15 lines, numbered under the write lock as the editor does.
bool guardarUno() {
    Presupuesto p;
    p.fecha = QDate(2026, 12, 9);
    p.empId = 1;
    p.lugar = QStringLiteral("Montevideo");
    for (int i = 1; i <= 15; ++i) {
        LineaPresupuesto l;
        l.proId = i;
        l.precio = 10.5 * i;
        l.cantidad = i;
        p.lineas.push_back(l);
    }
    return RepositorioPresupuestos::guardar(p, std::nullopt, QStringLiteral("admin"), true)
               .resultado == RepositorioPresupuestos::Resultado::Guardado;
}

// The statements the server logged after byte `desde` of its log, in order,
// as psql can run them again: a statement with parameters gets its values
// written in.
QStringList sentenciasDelRegistro(const QString& registro, qint64 desde) {
    QFile f(registro);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(desde))
        return {};
    const QStringList lineas = QString::fromUtf8(f.readAll()).split(u'\n');
    static const QRegularExpression sentencia(
        QStringLiteral("LOG:  (?:statement|execute [^:]*): (.*)$"));
    static const QRegularExpression parametros(QStringLiteral("DETAIL:  parameters: (.*)$"));
    static const QRegularExpression parametro(QStringLiteral("\\$(\\d+) = ('(?:[^']|'')*'|NULL)"));
    QStringList r;
    for (const QString& linea : lineas) {
        if (const auto m = sentencia.match(linea); m.hasMatch()) {
            r << m.captured(1);
        } else if (const auto d = parametros.match(linea); d.hasMatch() && !r.isEmpty()) {
            QString& s = r.last();
            // From the highest number down, so that $1 does not touch $10.
            QList<QPair<int, QString>> valores;
            for (auto it = parametro.globalMatch(d.captured(1)); it.hasNext();) {
                const auto p = it.next();
                valores << qMakePair(p.captured(1).toInt(), p.captured(2));
            }
            std::sort(valores.begin(), valores.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
            for (const auto& [n, v] : valores)
                s.replace(u'$' + QString::number(n), v);
        } else if (linea.startsWith(u'\t') && !r.isEmpty()) {
            r.last() += u'\n' + linea.mid(1);
        }
    }
    r.removeIf([](const QString& s) { return s.contains(QStringLiteral("tarvo_marca")); });
    return r;
}

// The PREPARE statements, from the whole log, of the statements that
// `sentencias` executes without preparing them: the program prepared them in
// an earlier run and keeps them.
QStringList preparacionesPrevias(const QString& registro, const QStringList& sentencias) {
    QHash<QString, QString> preparaciones;
    static const QRegularExpression prepara(QStringLiteral(R"(^PREPARE (\w+) AS )"));
    for (const QString& s : sentenciasDelRegistro(registro, 0))
        if (const auto m = prepara.match(s); m.hasMatch())
            preparaciones.insert(m.captured(1), s);
    static const QRegularExpression ejecuta(QStringLiteral(R"(^EXECUTE (\w+))"));
    QStringList previas;
    QSet<QString> vistas;
    for (const QString& s : sentencias) {
        if (const auto m = prepara.match(s); m.hasMatch())
            vistas.insert(m.captured(1));
        else if (const auto e = ejecuta.match(s); e.hasMatch() && !vistas.contains(e.captured(1)) &&
                                                  preparaciones.contains(e.captured(1))) {
            vistas.insert(e.captured(1));
            previas << preparaciones.value(e.captured(1));
        }
    }
    return previas;
}

// The milliseconds psql reports for the statements, run `veces` times in
// one session (its start and `previas` left out); the median of the runs'
// sums.
double porPsql(const QString& base, const QStringList& previas, const QStringList& sentencias,
               int veces) {
    // The program's session plans each run of a prepared statement anew.
    QString guion = QStringLiteral("\\o /dev/null\nSET plan_cache_mode = force_custom_plan;\n");
    for (const QString& s : previas)
        guion += s + QStringLiteral(";\n");
    guion += QStringLiteral("\\timing on\n");
    for (int i = 0; i < veces; ++i) {
        guion += QStringLiteral("\\timing off\n\\echo vuelta\n\\timing on\n");
        for (const QString& s : sentencias)
            guion += s + QStringLiteral(";\n");
    }
    QProcess psql;
    servidorprueba::psqlAparte(psql, base, guion);
    psql.waitForFinished(-1);
    std::vector<double> sumas;
    static const QRegularExpression tiempo(QStringLiteral("^Time: ([0-9.]+) ms"));
    for (const QString& l : QString::fromUtf8(psql.readAllStandardOutput()).split(u'\n')) {
        if (l == u"vuelta")
            sumas.push_back(0);
        else if (const auto m = tiempo.match(l); m.hasMatch() && !sumas.empty())
            sumas.back() += m.captured(1).toDouble();
    }
    if (psql.exitCode() != 0)
        std::fprintf(stderr, "psql: %s\n", psql.readAllStandardError().constData());
    return mediana(sumas);
}

// One desk in a process of its own: 50 saves, one after another.
int puesto(const QString& servidor, int puerto, const QString& base) {
    EntornoPrueba cuenta;
    MensajesGuion mensajes;
    DatosServidor d{servidor, puerto, base, QStringLiteral("postgres"), {}};
    if (!CrearDSNServidor(QStringLiteral("TARVO_PUESTO"), d))
        return 1;
    AbrirConexion(QStringLiteral("TARVO_PUESTO"), QStringLiteral("pelmor"));
    if (!conexion())
        return 1;
    for (int i = 0; i < 50; ++i)
        if (!guardarUno()) {
            std::fprintf(stderr, "%s\n", qPrintable(mensajes.textos().join(u'\n')));
            return 1;
        }
    CerrarConexion();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("TARVO_PRUEBA_MOTOR", "postgresql");
    QCoreApplication aplicacion(argc, argv);
    const QStringList args = aplicacion.arguments();
    if (args.size() == 5 && args[1] == u"--puesto")
        return puesto(args[2], args[3].toInt(), args[4]);
    const int veces = args.size() > 1 ? std::max(1, args[1].toInt()) : 10;

    QTemporaryDir carpeta;
    const QString ruta = basebench::copiarA(carpeta.path() + QStringLiteral("/bd2000.mdb"));
    if (!carpeta.isValid() || ruta.isEmpty())
        return 1;
    ConexionSqlite(ruta).ejecutar(QStringLiteral("DELETE FROM PRESUPUESTOS_PRODUCTOS"));
    QElapsedTimer reloj;
    reloj.start();
    Fixtura datos(ruta); // copies the file to a database of the cluster
    const DatosServidor d = servidorprueba::baseDeArchivo(ruta);
    std::printf("Copia al servidor: %d presupuestos en %.1f s\n",
                datos.contar(QStringLiteral("PRESUPUESTOS")), reloj.elapsed() / 1000.0);
    datos.ejecutar(QStringLiteral("ALTER DATABASE %1 SET log_statement = 'all'").arg(d.baseDatos));
    const QString registro = d.servidor + QStringLiteral("/servidor.log");

    EntornoPrueba cuenta;
    MensajesGuion mensajes;
    abrirConexionDePrueba(ruta);

    // The list and a search, each run with its count complete.
    const auto medir = [&](const char* nombre, const std::function<void(ListaPresupuestos&)>& h) {
        std::vector<double> programa;
        QStringList sentencias;
        // One list for every run, as the main window keeps its own (and its
        // counting connection with it).
        ListaPresupuestos lista;
        for (int i = 0; i < veces; ++i) {
            const qint64 desde = QFile(registro).size();
            conexion()->ejecutar(QStringLiteral("SELECT 'tarvo_marca'"));
            QSignalSpy completo(&lista.modelo(), &ModeloVentana::conteoCompleto);
            reloj.restart();
            h(lista);
            if (lista.modelo().conteoPendiente())
                completo.wait(60000);
            programa.push_back(reloj.nsecsElapsed() / 1e6);
            // The last run's: what the window sends once its list is open.
            if (i == veces - 1)
                sentencias = sentenciasDelRegistro(registro, desde);
        }
        if (qEnvironmentVariableIsSet("TARVO_BENCH_SENTENCIAS"))
            for (const QString& s : std::as_const(sentencias))
                std::printf("  %s\n", qPrintable(s));
        const double psql =
            porPsql(d.baseDatos, preparacionesPrevias(registro, sentencias), sentencias, veces);
        const double p = mediana(programa);
        std::printf("%-18s programa %8.2f ms   psql %8.2f ms   %.2fx   (%lld sentencias)\n", nombre,
                    p, psql, psql > 0 ? p / psql : 0.0, qint64(sentencias.size()));
    };
    medir("lista", [](ListaPresupuestos& l) { l.cargar(); });
    medir("buscar Sevilla", [](ListaPresupuestos& l) { l.buscarTexto(QStringLiteral("Sevilla")); });

    std::vector<double> guardados;
    for (int i = 0; i < std::max(veces, 20); ++i) {
        reloj.restart();
        if (!guardarUno()) {
            std::fprintf(stderr, "No se guardó: %s\n", qPrintable(mensajes.textos().join(u'\n')));
            return 1;
        }
        guardados.push_back(reloj.nsecsElapsed() / 1e6);
    }
    // What one save sends: each statement is a round trip to the server.
    const qint64 desde = QFile(registro).size();
    guardarUno();
    const QStringList deUno = sentenciasDelRegistro(registro, desde);
    const qint64 sentencias = deUno.size();
    // TARVO_BENCH_SENTENCIAS=1 lists them, to see where the round trips go.
    if (qEnvironmentVariableIsSet("TARVO_BENCH_SENTENCIAS"))
        for (const QString& s : deUno)
            std::printf("  %s\n", qPrintable(s.left(160)));
    std::printf("guardar 15 líneas  mediana %.2f ms, máximo %.2f ms (%zu veces), %lld "
                "sentencias cada vez\n",
                mediana(guardados), *std::max_element(guardados.begin(), guardados.end()),
                guardados.size(), sentencias);
    CerrarConexion();

    // Two desks at once.
    const int antes = datos.contar(QStringLiteral("PRESUPUESTOS"));
    const qint64 ultimo = datos.conexion()
                              .ejecutar(QStringLiteral("SELECT MAX(PreId) FROM PRESUPUESTOS"))
                              .filas->valor(0, 0)
                              .toLongLong();
    reloj.restart();
    QProcess a, b;
    for (QProcess* p : {&a, &b}) {
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(aplicacion.applicationFilePath(),
                 {QStringLiteral("--puesto"), d.servidor, QString::number(d.puerto), d.baseDatos});
    }
    const bool bien =
        a.waitForFinished(-1) && b.waitForFinished(-1) && a.exitCode() == 0 && b.exitCode() == 0;
    const double total = reloj.elapsed();
    const QVariant distintos =
        datos.conexion()
            .ejecutar(QStringLiteral("SELECT COUNT(DISTINCT PreNumero) FROM PRESUPUESTOS WHERE "
                                     "PreId > ?"),
                      {ultimo})
            .filas->valor(0, 0);
    const QVariant malas =
        datos.conexion()
            .ejecutar(QStringLiteral("SELECT COUNT(*) FROM (SELECT P.PreId FROM PRESUPUESTOS P "
                                     "LEFT JOIN PRESUPUESTOS_PRODUCTOS L ON L.PreId = P.PreId "
                                     "WHERE P.PreId > ? GROUP BY P.PreId HAVING COUNT(L.ProId) "
                                     "<> 15) x"),
                      {ultimo})
            .filas->valor(0, 0);
    const int nuevos = datos.contar(QStringLiteral("PRESUPUESTOS")) - antes;
    std::printf("dos puestos x 50   %s en %.0f ms: %d presupuestos nuevos, %lld números "
                "distintos entre ellos, %lld sin sus 15 líneas\n",
                bien ? "bien" : "FALLÓ", total, nuevos, distintos.toLongLong(), malas.toLongLong());
    return bien ? 0 : 1;
}
