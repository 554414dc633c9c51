#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <array>

// What the quote editor holds of a quote, one member per control: texts as
// the controls show them, the date, and the validity tick.
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

    // The 22 values of the quote queries, in their order; the validity as
    // stored: an empty sentence and 0 days when the box is not ticked.
    QVariantList valores(const QString& usuario) const;
    // Ticked when the days read as a number greater than 0 and the sentence
    // is not empty, as a quote loads.
    static bool vigenciaVigente(const QString& texto, const QString& dias);
};
