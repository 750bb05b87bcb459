#pragma once

#include "archive/OutputTarget.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QString>

class QTextStream;

// --overwrite: a command replaces a file already at its output only when given it.
QCommandLineOption overwriteOption(
    const QString &description = QStringLiteral("Replaces the output file when it exists (never the archive, a file "
                                                "read with it, or another archive)."));

// Whether a command that reads archive may write the file it was asked for at path: not
// when it is an input of the run (OutputTarget::refusal), nor when a file is there already
// and overwrite is false. The refusal goes to err after the command's name.
bool outputAllowed(const QString &path, const QString &archive, bool overwrite, QTextStream &err, const QString &name);

// Writes bytes whole to path (AtomicFileWriter); false after the reason went to err.
bool writeOutput(const QString &path, const QByteArray &bytes, QTextStream &err, const QString &name);
// The same for a file that holds patient data: never through a symbolic link, and 0600.
bool writePrivateOutput(const QString &path, const QByteArray &bytes, QTextStream &err, const QString &name);
