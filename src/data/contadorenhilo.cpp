#include "data/contadorenhilo.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QtGlobal>

#include <mutex>

namespace {

// How long closing waits for an interrupted count to give up.
constexpr int kEsperaCierreMs = 5000;

} // namespace

// What the window's thread and the counting thread both reach.
struct ContadorEnHilo::Compartido {
    std::mutex mutex;
    quint64 ultimo = 0;         // number of the last count asked; others are dropped
    Conexion* activa = nullptr; // the connection counting now
    bool interrumpida = false;  // activa was told to stop
    bool cerrado = false;       // the ContadorEnHilo is going: nothing is sent to it
    // Only in the counting thread: the connection kept for the next count
    // with the same key.
    std::unique_ptr<Conexion> guardada;
    QString claveGuardada;

    // Under the mutex.
    void interrumpir() {
        if (activa) {
            activa->interrumpir();
            interrumpida = true;
        }
    }
};

ContadorEnHilo::ContadorEnHilo(QObject* padre)
    : QObject(padre), compartido_(std::make_shared<Compartido>()) {}

ContadorEnHilo::~ContadorEnHilo() {
    {
        std::lock_guard bloqueo(compartido_->mutex);
        compartido_->cerrado = true;
        ++compartido_->ultimo;
        compartido_->interrumpir();
    }
    if (!hilo_)
        return;
    hilo_->quit();
    if (hilo_->wait(QDeadlineTimer(kEsperaCierreMs))) {
        delete enHilo_;
        delete hilo_;
        return;
    }
    // A count the engine would not stop: the thread is left to end on its
    // own (it sends nothing once closed) rather than destroyed while running.
    qWarning("El conteo en curso no se detuvo; se deja terminar solo.");
    QObject::connect(hilo_, &QThread::finished, hilo_, &QObject::deleteLater);
    QObject::connect(hilo_, &QThread::finished, enHilo_, &QObject::deleteLater);
}

void ContadorEnHilo::descartar() {
    std::lock_guard bloqueo(compartido_->mutex);
    ++compartido_->ultimo;
    compartido_->interrumpir();
}

void ContadorEnHilo::contar(quint64 generacion, Conexion::Abridor abridor, const QString& sql,
                            const QVariantList& valores, const QString& conservar) {
    quint64 numero = 0;
    {
        std::lock_guard bloqueo(compartido_->mutex);
        numero = ++compartido_->ultimo;
        compartido_->interrumpir();
    }
    if (!hilo_) {
        hilo_ = new QThread;
        hilo_->setObjectName(QStringLiteral("conteo"));
        enHilo_ = new QObject;
        enHilo_->moveToThread(hilo_);
        // A kept connection is closed in the thread that opened it, as it ends.
        connect(
            hilo_, &QThread::finished, hilo_, [c = compartido_] { c->guardada.reset(); },
            Qt::DirectConnection);
        hilo_->start();
    }
    QMetaObject::invokeMethod(
        enHilo_,
        [c = compartido_, numero, generacion, abridor = std::move(abridor), sql, valores, conservar,
         receptor = this] {
            const auto vigente = [&] { return c->ultimo == numero && !c->cerrado; };
            {
                std::lock_guard bloqueo(c->mutex);
                if (!vigente())
                    return;
            }
            std::unique_ptr<Conexion> conexion;
            if (!conservar.isEmpty() && c->claveGuardada == conservar && c->guardada &&
                c->guardada->abierta())
                conexion = std::move(c->guardada);
            else if (abridor)
                conexion = abridor();
            c->guardada.reset();
            c->claveGuardada.clear();
            qint64 filas = -1;
            bool conservable = false;
            if (conexion && conexion->abierta()) {
                {
                    std::lock_guard bloqueo(c->mutex);
                    if (!vigente())
                        return;
                    c->activa = conexion.get();
                    c->interrumpida = false;
                }
                const ResultadoSentencia r = conexion->ejecutar(sql, valores);
                {
                    std::lock_guard bloqueo(c->mutex);
                    c->activa = nullptr;
                    // An interrupted connection fails every later statement.
                    conservable = r.ok && !c->interrumpida;
                }
                if (r.ok && r.filas && r.filas->filas() == 1)
                    filas = r.filas->valor(0, 0).toLongLong();
            }
            if (conservable && !conservar.isEmpty()) {
                c->guardada = std::move(conexion);
                c->claveGuardada = conservar;
            }
            conexion.reset(); // closed in the thread that opened it
            // Sent under the lock: the receiver cannot be going meanwhile.
            std::lock_guard bloqueo(c->mutex);
            if (vigente())
                QMetaObject::invokeMethod(
                    receptor,
                    [receptor, generacion, filas] { emit receptor->contado(generacion, filas); },
                    Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}
