#include "tools/CliOutput.h"

#include "base/AtomicFileWriter.h"
#include "base/FileError.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

QCommandLineOption overwriteOption(const QString &description)
{
    return QCommandLineOption(QStringLiteral("overwrite"), description);
}

bool outputAllowed(const QString &path, const QString &archive, bool overwrite, QTextStream &err, const QString &name)
{
    OutputInputs inputs;
    inputs.archives << archive;
    QString refusal = OutputTarget::refusal(path, inputs);
    if (refusal.isEmpty() && !overwrite && QFileInfo::exists(path))
        refusal = QStringLiteral("\"%1\" exists already; give --overwrite to replace it").arg(QDir::toNativeSeparators(path));
    if (!refusal.isEmpty())
        err << name << ": " << refusal << "\n";
    return refusal.isEmpty();
}

bool writeOutput(const QString &path, const QByteArray &bytes, QTextStream &err, const QString &name)
{
    try {
        AtomicFileWriter::write(path, bytes);
    } catch (const FileError &e) {
        err << name << ": " << e.message() << "\n";
        return false;
    }
    return true;
}

bool writePrivateOutput(const QString &path, const QByteArray &bytes, QTextStream &err, const QString &name)
{
    try {
        AtomicFileWriter::writePrivate(path, bytes);
    } catch (const FileError &e) {
        err << name << ": " << e.message() << "\n";
        return false;
    }
    return true;
}
