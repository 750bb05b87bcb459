#include "base/ReviewerIdentity.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {
const QString NameKey = QStringLiteral("Reviewer/Name");
} // namespace

QString ReviewerIdentity::settingsName()
{
    return QSettings().value(NameKey).toString().trimmed();
}

void ReviewerIdentity::setSettingsName(const QString &name)
{
    QSettings settings;
    if (name.trimmed().isEmpty())
        settings.remove(NameKey);
    else
        settings.setValue(NameKey, name.trimmed());
}

QString ReviewerIdentity::accountName()
{
    if (const passwd *pw = getpwuid(getuid())) {
        const QString full = QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "").section(QLatin1Char(','), 0, 0).trimmed();
        if (!full.isEmpty())
            return full;
        const QString login = QString::fromLocal8Bit(pw->pw_name ? pw->pw_name : "");
        if (!login.isEmpty())
            return login;
    }
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("uid %1").arg(getuid()) : user;
}

ReviewerIdentity ReviewerIdentity::current()
{
    ReviewerIdentity r;
    r.name = qEnvironmentVariable("RAVELIN_REVIEWER").trimmed();
    if (r.name.isEmpty())
        r.name = settingsName();
    if (r.name.isEmpty())
        r.name = accountName();
    r.host = QSysInfo::machineHostName();
    if (r.host.isEmpty())
        r.host = QStringLiteral("localhost");
    r.processId = QCoreApplication::applicationPid();
    return r;
}
