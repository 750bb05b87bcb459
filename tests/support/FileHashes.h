#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>

// Every file of a folder (hidden ones too) with the SHA-256 of its bytes: two calls give
// equal maps when nothing in the folder changed.
inline QMap<QString, QByteArray> fileHashesIn(const QString &folder)
{
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::ReadOnly);
        out.insert(name, QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256));
    }
    return out;
}
