#include "programa.h"

#include "medidas.h"
#include "memoria.h"

#include "app/arranque.h"
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "main/listapresupuestos.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/salida.h"
#include "users/ventanas/frmLogin.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>

#include <cstdio>
#include <cstring>

namespace {

// Main(), which ends either by returning or through the terminator; the
// polling timer is gone afterwards whatever happened.
bool ejecutarMain(QTimer* sondeo) {
    QPointer<QTimer> reloj(sondeo);
    bool termino = false;
    try {
        Main();
    } catch (const ProgramaTerminado&) {
        termino = true;
    }
    delete reloj.data();
    return !termino;
}

} // namespace

void instalarTerminadorBench() {
    instalarTerminador([](int) { throw ProgramaTerminado(); });
}

Instantes arrancarHastaLogin() {
    Instantes t;
    VigiaPintura login(medidas::esDeLogin);
    auto* sondeo = sondear<frmLogin>([&](frmLogin& f) {
        if (t.loginVisible < 0)
            t.loginVisible = medidas::ahoraNs();
        if (!login.pintado())
            return false;
        t.loginPintado = medidas::ahoraNs();
        t.cpuLogin = medidas::cpuNs();
        f.cancelar();
        return true;
    });
    ejecutarMain(sondeo);
    return t;
}

Instantes arrancarHastaLista() {
    Instantes t;
    VigiaPintura login(medidas::esDeLogin);
    VigiaPintura grilla(medidas::esGrilla);
    auto* sondeo = sondear<frmLogin>([&](frmLogin& f) {
        if (t.loginVisible < 0)
            t.loginVisible = medidas::ahoraNs();
        // "Aceptar" as a user would press it: once the window is on screen.
        auto* aceptar = f.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        if (!login.pintado() || !aceptar)
            return false;
        t.loginPintado = medidas::ahoraNs();
        t.cpuLogin = medidas::cpuNs();
        grilla.reiniciar();
        t.cpuAceptar = medidas::cpuNs();
        t.aceptar = medidas::ahoraNs();
        aceptar->click();
        return true;
    });
    if (!ejecutarMain(sondeo) || t.aceptar < 0 || !grilla.esperar())
        return t;
    t.lista = medidas::ahoraNs();
    t.cpuLista = medidas::cpuNs();
    if (auto* principal = ventanaVisible<frmPrincipal>())
        t.filas = principal->lista().cantidad();
    return t;
}

bool esModoHijo(const char* argumento) {
    return std::strcmp(argumento, "--hasta-login") == 0 ||
           std::strcmp(argumento, "--hasta-lista") == 0;
}

int ejecutarHijo(const QString& modo, int argc, char** argv, qint64 inicioMainNs) {
    // As the program's main() does, with the account the parent prepared.
    QApplication aplicacion(argc, argv);
    adoptarEntornoHeredado();
    prepararAplicacion(aplicacion);
    // No message is expected; should one come, it is recorded rather than
    // left waiting for a click that never comes.
    MensajesGuion mensajes;
    instalarTerminadorBench();

    const bool hastaLista = modo == u"--hasta-lista";
    const Instantes t = hastaLista ? arrancarHastaLista() : arrancarHastaLogin();
    const qint64 rss = memoria::kib("VmRSS");
    const qint64 hwm = memoria::kib("VmHWM");
    for (const auto& m : mensajes.mostrados())
        std::fprintf(stderr, "Mensaje: %s: %s\n", qPrintable(m.titulo), qPrintable(m.texto));
    const auto n = [](qint64 v) { return static_cast<long long>(v); };
    std::printf("TARVO_MEDIDA main=%lld visible=%lld login=%lld aceptar=%lld lista=%lld "
                "cpu_login=%lld cpu_aceptar=%lld cpu_lista=%lld filas=%d rss=%lld hwm=%lld "
                "mensajes=%lld\n",
                n(inicioMainNs), n(t.loginVisible), n(t.loginPintado), n(t.aceptar), n(t.lista),
                n(t.cpuLogin), n(t.cpuAceptar), n(t.cpuLista), t.filas, n(rss), n(hwm),
                n(mensajes.mostrados().size()));
    std::fflush(stdout);
    medidas::cerrarVentanas();
    const bool ok = hastaLista ? t.lista >= 0 : t.loginPintado >= 0;
    return ok && mensajes.mostrados().isEmpty() ? 0 : 1;
}
