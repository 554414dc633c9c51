#pragma once

#include <QDate>
#include <QString>

#include <array>

// What the quote document takes from the quote editor, each value as the
// editor's control shows it. The quote's lines are read from the database.
struct DatosDocumento {
    struct OtroCosto {
        QString concepto; // dtcConceptoN, as shown
        QString importe;  // txtImporteN, as typed
        QString moneda;   // dtcMonedaN, as shown
    };

    QString id;                      // txtFields(0): the quote's key as text
    QString numero;                  // txtFields(1): names the document file
    QString lugar;                   // dtcLugar
    QDate fecha;                     // dtpFecha
    QString saludo;                  // dtcSaludo
    QString cliente;                 // txtCliente
    std::array<QString, 3> parrafos; // rtbDescripcion1..3, plain text
    std::array<OtroCosto, 3> otrosCostos;
    bool vigencia = false; // chkVigencia ticked
    QString textoVigencia; // txtTextoVigencia
    QString diasVigencia;  // txtDiasVigencia
    QString despedida;     // rtbDespedida, plain text
    QString firma;         // rtbFirma, plain text
};
