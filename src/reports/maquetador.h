#pragma once

#include "data/registros.h"
#include "reports/maquetado.h"
#include "reports/medidor.h"
#include "reports/recorrido.h"

#include <QDate>
#include <QLocale>

#include <memory>
#include <unordered_map>
#include <vector>

// The first pass: walks the rows, measures each band instance (fields that
// grow push what lies below them), and assigns the instances to pages,
// keeping the page footer's room free. A band that does not fit in what is
// left of a page moves to the next one; a band taller than a page is cut
// between lines of text. It works in steps, so that a window can show the
// first pages while the rest are laid out.
class Maquetador {
public:
    Maquetador(std::shared_ptr<const DefinicionInforme> definicion, const Registros& filas,
               const QDate& hoy, const QLocale& locale);
    ~Maquetador();
    Maquetador(const Maquetador&) = delete;
    Maquetador& operator=(const Maquetador&) = delete;

    // Lays out up to `pasos` more bands; true once everything is laid out.
    bool avanzar(int pasos);
    // Lays out everything that is left.
    void completar();
    bool terminado() const { return maquetado_->completo; }
    // How far it has gone, from 0 to 1.
    double progreso() const;

    const Maquetado& maquetado() const { return *maquetado_; }
    std::shared_ptr<const Maquetado> resultado() const { return maquetado_; }

private:
    struct Plan;
    struct Acumulador {
        const Control* control;
        int nivel; // the group whose rows it counts
        double suma = 0;
        qint64 cuenta = 0;
        int nivelCampo = -2; // where the summed field lives; -2 until looked up
        int columna = -1;
    };

    // Measures one instance of the band with the rows of levels up to
    // `nivel` (-1: no rows); appends its elements and returns its height.
    double medir(const Banda& banda, int nivel);
    QString textoDe(const Control& control, int nivel);
    QVariant valorCampo(const Control& control, const QString& campo, int nivel);
    const Plan& plan(const Banda& banda);
    void ponerTexto(const QRectF& rect, const QString& texto, const Control& control);

    void nuevaPagina();
    // Places the instance whose elements start at `primero`.
    void colocar(int primero, double alto);
    void poner(int primero, int cantidad, double desde, double hasta);
    // The lowest point at or above `limite` where no line of text is cut.
    double corte(int primero, int ultimo, double desde, double limite) const;

    std::shared_ptr<Maquetado> maquetado_;
    std::shared_ptr<const DefinicionInforme> def_;
    Recorrido recorrido_;
    QDate hoy_;
    QLocale locale_;
    Medidor medidor_;
    std::vector<Acumulador> acumuladores_;
    std::unordered_map<const Control*, std::pair<int, int>> columnas_; // level, column
    std::unordered_map<const Banda*, std::unique_ptr<Plan>> planes_;

    // The page being filled.
    double y_ = 0;
    double fondo_ = 0;
    double altoUtil_ = 0; // room for bands on a page after the first
    bool contenido_ = false;
    int primeroEncabezadoPagina_ = 0;
    int cantidadEncabezadoPagina_ = 0;
    double altoEncabezadoPagina_ = 0;
    bool comenzado_ = false;
};
