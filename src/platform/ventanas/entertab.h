#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QWidget;

// In data-entry windows Enter moves to the next control, as Tab does.
// Install once on a window: it watches every child.
class FiltroEnterTab : public QObject {
    Q_OBJECT
public:
    explicit FiltroEnterTab(QWidget* ventana);

    // A control that acts on Enter: Enter there first runs `accion`, then
    // moves on like anywhere else.
    void alPulsarEnter(QWidget* control, std::function<void()> accion);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QHash<QObject*, std::function<void()>> acciones_;
};
