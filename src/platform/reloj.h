#pragma once

#include <QDate>

// The one source of today's date. Tests set it; everything that needs "today"
// (the database's Date(), the expiry notice, new quotes, backup names) reads it.
class Reloj {
public:
    static QDate hoy();
    // Fixes today's date until liberar() is called.
    static void fijar(const QDate& fecha);
    static void liberar();
};
