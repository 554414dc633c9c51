#pragma once

class QApplication;

// The program's start-up, at the top of the layers beside main(): it wires the
// windows of every subsystem together.

// Makes the application ready for the windows: Qt's Spanish texts, the
// message boxes, the icon, and the options dialog as the way out of a
// database connection that cannot be opened.
void prepararAplicacion(QApplication& aplicacion);

// The start-up sequence: data source names, settings, template, the database
// (asking for it until it is found), the shared connection, the login, the
// splash, the automatic backup and the main window. Returns with the main
// window shown; the exits it takes (login cancelled, no connection) end the
// program at once.
void Main();
