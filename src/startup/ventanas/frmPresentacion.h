#pragma once

#include <QDialog>

// The splash shown during start-up; any key closes it.
class frmPresentacion : public QDialog {
    Q_OBJECT
public:
    explicit frmPresentacion(QWidget* padre = nullptr);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
};
