#pragma once

#include "platform/ventanas/selectores.h"

#include <QQueue>
#include <QStringList>

// File and folder choosers for tests: answers from a queue (empty text, as a
// cancel, when it runs out) and a record of every title and filter asked for.
class SelectoresGuion final : public ServicioSelectores {
public:
    SelectoresGuion() { instalarSelectores(this); }
    ~SelectoresGuion() override { instalarSelectores(nullptr); }

    void responder(const QString& ruta) { respuestas_.enqueue(ruta); }
    const QStringList& titulos() const { return titulos_; }
    const QStringList& filtros() const { return filtros_; }
    // Where each chooser of a file to write first pointed.
    const QStringList& propuestos() const { return propuestos_; }

    QString elegirCarpeta(QWidget*, const QString& titulo) override {
        titulos_ << titulo;
        return respuestas_.isEmpty() ? QString() : respuestas_.dequeue();
    }
    QString elegirArchivo(QWidget*, const QString& titulo, const QString& filtro) override {
        titulos_ << titulo;
        filtros_ << filtro;
        return respuestas_.isEmpty() ? QString() : respuestas_.dequeue();
    }
    QString elegirArchivoDestino(QWidget* propietario, const QString& titulo, const QString& filtro,
                                 const QString& inicial) override {
        propuestos_ << inicial;
        return elegirArchivo(propietario, titulo, filtro);
    }
    QString elegirArchivoGuardar(QWidget*, const QString& titulo, const QString& filtro,
                                 const QString& propuesto) override {
        titulos_ << titulo;
        filtros_ << filtro;
        propuestos_ << propuesto;
        return respuestas_.isEmpty() ? QString() : respuestas_.dequeue();
    }

private:
    QQueue<QString> respuestas_;
    QStringList titulos_;
    QStringList filtros_;
    QStringList propuestos_;
};
