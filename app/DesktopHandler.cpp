#include "app/DesktopHandler.h"

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace DesktopHandler {

bool hasHandler(bool asked, int exitCode, const QByteArray &answer)
{
    return !asked || exitCode != 0 || !answer.trimmed().isEmpty();
}

bool desktopHasHandler(const QString &path)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty())
        return true;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), type});
    const bool asked = query.waitForFinished(3000) && query.exitStatus() == QProcess::NormalExit;
    if (!asked)
        query.kill();
    return hasHandler(asked, asked ? query.exitCode() : -1, asked ? query.readAllStandardOutput() : QByteArray());
#else
    Q_UNUSED(path);
    return true;
#endif
}

} // namespace DesktopHandler
