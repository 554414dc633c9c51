#pragma once

#include <QObject>

class QWidget;

// In data-entry windows Enter moves to the next control, as Tab does.
// Install once on a window: it watches every child.
class FiltroEnterTab : public QObject {
    Q_OBJECT
public:
    explicit FiltroEnterTab(QWidget* ventana);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};
