// Start-up measured from a fresh process: this executable started again in a
// child mode, in a private account, once per iteration. The parent notes the
// instant just before starting it; the child reports its own instants on the
// same monotonic clock, so the time before main() (starting the process,
// loading the libraries, static initialisation) is counted too.
#include "medidas.h"
#include "registro.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Lanzamiento {
    bool ok = false;
    std::string error;
    qint64 lanzado = 0;
    QHash<QString, qint64> valores; // what the child printed
    qint64 valor(const char* clave) const { return valores.value(QString::fromLatin1(clave), -1); }
};

Lanzamiento lanzar(const EntornoPrueba& cuenta, const QString& modo) {
    Lanzamiento l;
    QProcess hijo;
    hijo.setProgram(QCoreApplication::applicationFilePath());
    hijo.setArguments({modo});
    hijo.setProcessEnvironment(cuenta.entornoHijo());
    l.lanzado = medidas::ahoraNs();
    hijo.start();
    if (!hijo.waitForFinished(120000)) {
        hijo.kill();
        hijo.waitForFinished();
        l.error = "el proceso hijo no terminó: " + hijo.errorString().toStdString();
        return l;
    }
    const QString salida = QString::fromUtf8(hijo.readAllStandardOutput());
    for (const QString& linea : salida.split(u'\n')) {
        if (!linea.startsWith(u"TARVO_MEDIDA "))
            continue;
        for (const QString& par : linea.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype igual = par.indexOf(u'=');
            if (igual > 0)
                l.valores.insert(par.left(igual), par.mid(igual + 1).toLongLong());
        }
    }
    l.ok = hijo.exitStatus() == QProcess::NormalExit && hijo.exitCode() == 0 && l.valor("main") > 0;
    if (!l.ok)
        l.error = "el proceso hijo falló (código " + std::to_string(hijo.exitCode()) +
                  "): " + QString::fromUtf8(hijo.readAllStandardError()).toStdString();
    return l;
}

// Process start to the login window painted.
void hastaLogin(benchmark::State& estado) {
    registro::Cuenta cuenta;
    // The account's first start (settings completed, template copied) is not
    // the one measured.
    if (const Lanzamiento primero = lanzar(cuenta, QStringLiteral("--hasta-login")); !primero.ok) {
        estado.SkipWithError(primero.error.c_str());
        return;
    }
    std::vector<double> total, antesDeMain, mainALogin, cpu;
    for (auto _ : estado) {
        const Lanzamiento l = lanzar(cuenta, QStringLiteral("--hasta-login"));
        if (!l.ok || l.valor("login") < 0) {
            estado.SkipWithError(l.error.c_str());
            break;
        }
        total.push_back(medidas::milisegundos(l.lanzado, l.valor("login")));
        antesDeMain.push_back(medidas::milisegundos(l.lanzado, l.valor("main")));
        mainALogin.push_back(medidas::milisegundos(l.valor("main"), l.valor("login")));
        cpu.push_back(double(l.valor("cpu_login")) / 1e6);
        estado.SetIterationTime(total.back() / 1e3);
    }
    estado.counters["mediana_ms"] = medidas::mediana(total);
    estado.counters["antes_main_ms"] = medidas::mediana(antesDeMain);
    estado.counters["main_login_ms"] = medidas::mediana(mainALogin);
    // CPU time of the child from its start to the login painted.
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
}

// In a fresh process: "Aceptar" to the quote list painted, and the resident
// memory with the list on screen.
void aceptarHastaLista(benchmark::State& estado) {
    registro::Cuenta cuenta;
    if (const Lanzamiento primero = lanzar(cuenta, QStringLiteral("--hasta-login")); !primero.ok) {
        estado.SkipWithError(primero.error.c_str());
        return;
    }
    std::vector<double> lista, desdeInicio, cpu, rss, hwm;
    double filas = 0;
    for (auto _ : estado) {
        const Lanzamiento l = lanzar(cuenta, QStringLiteral("--hasta-lista"));
        if (!l.ok || l.valor("lista") < 0) {
            estado.SkipWithError(l.error.c_str());
            break;
        }
        lista.push_back(medidas::milisegundos(l.valor("aceptar"), l.valor("lista")));
        desdeInicio.push_back(medidas::milisegundos(l.lanzado, l.valor("lista")) -
                              medidas::milisegundos(l.valor("login"), l.valor("aceptar")));
        cpu.push_back(medidas::milisegundos(l.valor("cpu_aceptar"), l.valor("cpu_lista")));
        rss.push_back(double(l.valor("rss")) / 1024.0);
        hwm.push_back(double(l.valor("hwm")) / 1024.0);
        filas = double(l.valor("filas"));
        estado.SetIterationTime(lista.back() / 1e3);
    }
    estado.counters["mediana_ms"] = medidas::mediana(lista);
    estado.counters["inicio_lista_ms"] = medidas::mediana(desdeInicio);
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    estado.counters["VmRSS_MiB"] = medidas::mediana(rss);
    estado.counters["VmHWM_MiB"] = medidas::mediana(hwm);
    estado.counters["filas"] = filas;
}

} // namespace

namespace registro {

void registrarProcesos() {
    benchmark::RegisterBenchmark("proceso/inicio_hasta_login", hastaLogin)
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("proceso/aceptar_hasta_lista", aceptarHastaLista)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
}

} // namespace registro
