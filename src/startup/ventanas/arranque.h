#pragma once

// The start-up sequence: data source names, settings, template, the database
// (asking for it until it is found), the shared connection, the login, the
// splash, the automatic backup and the main window. Returns with the main
// window shown; the exits it takes (login cancelled, no connection) end the
// program at once.
void Main();
