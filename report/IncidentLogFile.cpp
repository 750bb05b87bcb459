#include "report/IncidentLogFile.h"

#include "base/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <limits>

namespace IncidentLog {

namespace {

constexpr QFileDevice::Permissions OwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions OwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Makes the report folder, or narrows an existing one, to owner-only access.
void makePrivateFolder(const QString &folder)
{
    const QFileInfo info(folder);
    const bool made = info.isDir() || (QDir().mkpath(info.absolutePath()) && QDir().mkdir(folder, OwnerOnlyFolder));
    if (!made || info.isSymLink() || !QFile::setPermissions(folder, OwnerOnlyFolder))
        throw FileError(folder, FileError::Kind::CreateFailed);
}

} // namespace

QString reportFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/VELTRIS AED/Incident Logs");
}

QString reportPath(int32_t number)
{
    return reportFolder() + QStringLiteral("/veltris_aed%1.html").arg(number);
}

int32_t writeNewReport(int32_t firstNumber, const QByteArray &bytes)
{
    makePrivateFolder(reportFolder());
    for (int32_t number = std::max(firstNumber, 1);; ++number) {
        const QString path = reportPath(number);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnlyFile)) {
            // A name already taken (by an earlier run, another instance, anything at all)
            // moves on to the next number; any other failure ends the report.
            const QFileInfo taken(path);
            if ((taken.exists() || taken.isSymLink()) && number < std::numeric_limits<int32_t>::max())
                continue;
            throw FileError(path, FileError::Kind::CreateFailed, file.errorString());
        }
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            const QString why = file.errorString();
            file.close();
            file.remove();
            throw FileError(path, FileError::Kind::WriteFailed, why);
        }
        return number;
    }
}

} // namespace IncidentLog
