#include "library/LibraryLocation.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QRegularExpression>
#include <QUrlQuery>

namespace {

// Connection parameters of a URL's query that the driver passes on to libpq as they are.
const QStringList &passedParameters()
{
    static const QStringList names = {QStringLiteral("sslmode"), QStringLiteral("connect_timeout"),
                                      QStringLiteral("application_name")};
    return names;
}

// A password in the user part ("user:secret@") or the query ("password=secret") of a URL.
const QRegularExpression &userPartPassword()
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z]+://[^/@:?#]*:)([^/@?#]+)@"));
    return pattern;
}
const QRegularExpression &parameterPassword()
{
    static const QRegularExpression pattern(QStringLiteral("([?&]password=)([^&#]+)"));
    return pattern;
}

bool parsePostgresUrl(const QString &text, LibraryLocation &location, QString &why)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        why = QStringLiteral("\"%1\" is not a PostgreSQL URL").arg(maskedLocationText(text));
        return false;
    }
    if (!url.password().isEmpty()) {
        why = QStringLiteral("the library URL must not carry a password; put it in PGPASSWORD or ~/.pgpass");
        return false;
    }
    location.engine = LibraryLocation::Engine::Postgres;
    location.host = url.host();
    location.port = url.port(-1);
    location.user = url.userName();
    location.database = url.path().mid(1);
    QStringList options;
    const QUrlQuery query(url);
    for (const auto &[name, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (name == QLatin1String("host")) {
            location.host = value;
        } else if (name == QLatin1String("port")) {
            bool ok = false;
            location.port = value.toInt(&ok);
            if (!ok || location.port <= 0 || location.port > 65535) {
                why = QStringLiteral("\"%1\" is not a port number").arg(value);
                return false;
            }
        } else if (name == QLatin1String("password")) {
            why = QStringLiteral("the library URL must not carry a password; put it in PGPASSWORD or ~/.pgpass");
            return false;
        } else if (passedParameters().contains(name)) {
            options << name + QLatin1Char('=') + value;
        } else {
            why = QStringLiteral("unknown parameter \"%1\" in the library URL").arg(name);
            return false;
        }
    }
    location.connectOptions = options.join(QLatin1Char(';'));
    return true;
}

} // namespace

QString LibraryLocation::displayName() const
{
    if (engine == Engine::Sqlite)
        return QDir::toNativeSeparators(sqliteFile);
    QString url = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        url += user + QLatin1Char('@');
    if (!host.startsWith(QLatin1Char('/')))
        url += host;
    if (port > 0)
        url += QLatin1Char(':') + QString::number(port);
    url += QLatin1Char('/') + database;
    if (host.startsWith(QLatin1Char('/')))
        url += QStringLiteral("?host=") + host;
    return url;
}

QString LibraryLocation::passwordKey() const
{
    return displayName().remove(QRegularExpression(QStringLiteral("^postgresql://")));
}

bool parseLibraryLocation(const QString &text, LibraryLocation &location, QString &why)
{
    location = LibraryLocation();
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("postgresql://")) || trimmed.startsWith(QLatin1String("postgres://")))
        return parsePostgresUrl(trimmed, location, why);
    QString file = trimmed;
    if (file.startsWith(QLatin1String("sqlite:")))
        file = file.mid(7);
    location.sqliteFile = file.isEmpty() ? defaultLibraryFile() : QDir::cleanPath(QDir::current().absoluteFilePath(file));
    return true;
}

QString defaultLibraryFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/library.sqlite");
}

QString maskedLocationText(const QString &text)
{
    QString masked = text;
    masked.replace(userPartPassword(), QStringLiteral("\\1***@"));
    masked.replace(parameterPassword(), QStringLiteral("\\1***"));
    return masked;
}

bool locationCarriesPassword(const QString &text)
{
    return userPartPassword().match(text).hasMatch() || parameterPassword().match(text).hasMatch();
}

QString locationWithoutPassword(const QString &text)
{
    QString plain = text;
    plain.replace(userPartPassword(), QStringLiteral("\\1@"));
    plain.replace(QStringLiteral(":@"), QStringLiteral("@"));
    plain.replace(QRegularExpression(QStringLiteral("\\?password=[^&#]+&")), QStringLiteral("?"));
    plain.remove(parameterPassword());
    return plain;
}
