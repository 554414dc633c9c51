#pragma once

#include "quotes/presupuesto.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

// What the quote editor's controls hold of a quote, one member per control:
// texts as the controls show them, the date, and the validity tick. The
// window writes the user's typing here; the record (Presupuesto) is made
// from it, and it from the record, only below.
struct CamposPresupuesto {
    QString id;                         // txtFields(0): the key; empty while a new quote is unsaved
    QString numero;                     // txtFields(1)
    QDate fecha;                        // dtpFecha
    QString cliente;                    // txtCliente: the contact's name
    QString clienteTag;                 // txtCliente's tag: the contact key
    QString lugar;                      // dtcLugar
    QString saludo;                     // dtcSaludo
    std::array<QString, 3> descripcion; // rtbDescripcion1..3
    std::array<QString, 3> concepto;    // dtcConcepto1..3
    std::array<QString, 3> importe;     // txtImporte1..3
    std::array<QString, 3> moneda;      // dtcMoneda1..3
    QString despedida;                  // rtbDespedida
    QString firma;                      // rtbFirma
    bool vigencia = false;              // chkVigencia
    QString textoVigencia;              // txtTextoVigencia
    QString diasVigencia;               // txtDiasVigencia

    // The sentence and days a new quote proposes.
    static QString textoVigenciaInicial();
    static QString diasVigenciaInicial();

    // The texts of a record, as a quote loads.
    static CamposPresupuesto desde(const Presupuesto& p);
    // The key in txtFields(0); none when it holds no key.
    std::optional<qint32> clave() const;
    // The days of a ticked validity as stored: none for an empty text;
    // false when the text is not a number.
    bool diasGuardados(std::optional<qint32>& dias) const;
    // The record of these texts and `lineas`, the validity as stored (an
    // empty sentence and 0 days when the box is not ticked). The amounts and
    // the days must read as numbers (ValidarPre sees to it).
    Presupuesto registro(const std::vector<LineaPresupuesto>& lineas) const;
    // Shows the validity the record stored.
    void mostrarVigencia(const Presupuesto& p);
    // Ticked when the days read as a number greater than 0 and the sentence
    // is not empty, as a quote loads.
    static bool vigenciaVigente(const QString& texto, const QString& dias);
};
