#pragma once

#include <QString>

// The program's own start-up (Main), driven to the point a benchmark measures,
// and the modes in which this executable runs as the measured child process.

// What the terminator installed by the benchmarks throws: the program ended.
struct ProgramaTerminado {};
// Makes terminarPrograma throw ProgramaTerminado, so that Main unwinds.
void instalarTerminadorBench();

// Instants (CLOCK_MONOTONIC, ns) of one start-up; -1 when not reached.
struct Instantes {
    qint64 loginVisible = -1;
    qint64 loginPintado = -1; // the login window has painted once
    qint64 aceptar = -1;      // just before the click on "Aceptar"
    qint64 lista = -1;        // the quote grid has painted once after Main returned
    int filas = -1;           // quotes in the list
    // The process's CPU time at the login painted, at "Aceptar" and at the
    // list painted.
    qint64 cpuLogin = -1;
    qint64 cpuAceptar = -1;
    qint64 cpuLista = -1;
};

// Main() until the login window has painted; then "Cancelar", so the program
// ends (through the terminator) and Main unwinds.
Instantes arrancarHastaLogin();
// Main() logging in as admin with the empty password once the login window
// has painted, then events until the quote grid has painted. The main window
// stays open.
Instantes arrancarHastaLista();

// The child modes: "--hasta-login" and "--hasta-lista". They print one line
// "TARVO_MEDIDA clave=valor ..." with the instants (main entry, login,
// list) and, for the list, the resident memory in KiB.
bool esModoHijo(const char* argumento);
int ejecutarHijo(const QString& modo, int argc, char** argv, qint64 inicioMainNs);
