#pragma once

#include "platform/mensajes.h"

// The message service of the running program: QMessageBox and QInputDialog,
// with Qt's Spanish button texts.
class MensajesQt final : public ServicioMensajes {
public:
    Respuesta mostrar(const QString& texto, Botones botones, Icono icono,
                      const QString& titulo) override;
    QString pedirTexto(const QString& mensaje, const QString& titulo,
                       const QString& valorInicial) override;
};

// Loads Qt's Spanish translation into the application, so that standard
// buttons read "Sí", "No", "Aceptar", "Cancelar". False when it is missing.
bool cargarTraduccionQt();
