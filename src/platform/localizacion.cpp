#include "platform/localizacion.h"

const QLocale& localeTarvo() {
    static const QLocale locale = [] {
        const QLocale sistema = QLocale::system();
        return sistema.language() == QLocale::Spanish ? sistema
                                                      : QLocale(QLocale::Spanish, QLocale::Spain);
    }();
    return locale;
}
