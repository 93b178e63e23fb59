// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testfiles {

// The settings file the program writes for its built-in defaults, known from outside the code.
inline const QByteArray builtInFile = "\"r_l\",\"raise\"\r\n\"method\",\"Acid Blend\"\r\n"
                                      "\"acidUnits\",\"g/L\"\r\n\"batchunits\",\"U.S. Gal.\"\r\n"
                                      "\"batchSize\",5\r\n\"blend_t\",50\r\n\"blend_m\",30\r\n"
                                      "\"blend_c\",20\r\n";
// The built-in file with a batch size of 10.5: what a save writes.
inline const QByteArray newFile = QByteArray(builtInFile).replace("Size\",5\r", "Size\",10.5\r");
inline const QByteArray noFile = "(none)";

inline QByteArray read(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : noFile;
}

inline bool write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace testfiles
