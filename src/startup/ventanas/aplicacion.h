#pragma once

class QApplication;

// Makes the application ready for the windows: Qt's Spanish texts, the
// message boxes, the icon, and the options dialog as the way out of a
// database connection that cannot be opened.
void prepararAplicacion(QApplication& aplicacion);
