#include "platform/reloj.h"

namespace {
QDate fechaFijada;
}

QDate Reloj::hoy() {
    return fechaFijada.isValid() ? fechaFijada : QDate::currentDate();
}

void Reloj::fijar(const QDate& fecha) {
    fechaFijada = fecha;
}

void Reloj::liberar() {
    fechaFijada = QDate();
}
