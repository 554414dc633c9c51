#pragma once

#include <QString>

// The saved document of a quote (its number, the text of txtFields(1), and
// its key, txtFields(0); see ubicarDocumento), worked
// with the user's own programs: opened in the word processor for editing;
// converted to PDF by LibreOffice and sent to the default printer; attached to
// a new message of the mail program. Each tells the user clearly what went
// wrong (no document yet, a program or the printer missing); true on success.
// Programs they leave running for the user (the word processor, the mail
// program) belong to the user and are never ended by the editor.
bool AbrirDocumentoDe(const QString& numero, const QString& id);
bool ImprimirDocumentoDe(const QString& numero, const QString& id);
bool EnviarDocumentoDe(const QString& numero, const QString& id);
// The document converted to PDF by LibreOffice, kept beside it under the
// same name with ".pdf", and attached to a new message of the mail program
// addressed to the first usable address of `correo` (a contact's e-mail
// field; none when it holds no usable one). When no mail program takes it,
// the user is told where the PDF is and its folder is opened.
bool EnviarPdfDocumentoDe(const QString& numero, const QString& id, const QString& correo);
// The first address of an e-mail field that can be handed to the mail
// program as it is; empty when there is none.
QString direccionCorreo(const QString& texto);
// The same for a number alone: the number's own document.
bool AbrirDocumento(const QString& numero);
bool ImprimirDocumento(const QString& numero);
bool EnviarDocumento(const QString& numero);
