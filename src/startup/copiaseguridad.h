#pragma once

#include <QDate>
#include <QString>

// How a backup ended; the procedure reports its own outcome to the user.
enum class ResultadoCopia {
    Hecha,
    EnUso,
    Fallida,
    // A server's backup of today was already made (or is being made) by
    // another desk.
    YaHecha,
};

// The backup's file name for a day: "bd2000" & ddMMMyyyy & ".mdb", with the
// locale's abbreviated month (7 December 2026: bd200007dic2026.mdb).
QString nombreCopiaSeguridad(const QDate& dia);

// Copies the database into the backup folder under today's name, replacing a
// copy of the same day. While copying it holds the database's exclusive lock,
// so the copy is consistent; when another connection holds a lock on the file
// it shows the "in use" message. Any other failure is told in one box with
// where the copy was to go and why; start-up goes on either way. The copy is
// written under a temporary name and renamed, so a failed copy never leaves a
// partial file under the day's name.
ResultadoCopia CopiaSeguridad(const QString& rutaBase, const QString& carpetaDestino);
