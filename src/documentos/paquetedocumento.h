#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

// A word-processing package (a zip file) held in memory: its main document
// part is edited as text, and saving rewrites only that part, copying every
// other part unchanged.
class PaqueteDocumento {
public:
    // Reads the file and its main document part; nullopt, with the reason in
    // `error`, when the file cannot be read or is not such a package.
    static std::optional<PaqueteDocumento> abrir(const QString& ruta, QString& error);

    // The main document part's name ("word/document.xml") and content.
    const std::string& nombreParte() const { return nombreParte_; }
    const std::string& parte() const { return parte_; }

    // Writes the package with `xml` as its main document part to `ruta`,
    // replacing an existing file only once the whole file is written: a failed
    // save leaves the earlier file as it was and no partial file behind.
    bool guardarComo(const QString& ruta, const std::string& xml, QString& error) const;

private:
    PaqueteDocumento() = default;
    QByteArray bytes_; // the package as read
    std::string nombreParte_;
    std::string parte_;
};
