#include "app/SingleInstance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

namespace {

// First value of every payload: tells a request of this program from stray bytes.
const char *const RequestMarker = "ravelin-open-files/1";
// The running instance's answer once it has taken a request.
constexpr char Taken = 'K';
// A connection that has not completed its request by then is dropped.
constexpr int RequestDeadlineMs = 10000;
constexpr int LengthBytes = 4;

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject *parent)
    : QObject(parent), m_serverName(std::move(serverName))
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::start(const QStringList &files, int timeoutMs)
{
    if (handOver(files, timeoutMs) != HandOver::NoServer)
        return Role::HandedOver;
    if (listen())
        return Role::Serving;
    // The name is taken: either another start got there first (it answers now) or a program that
    // ended abruptly left its socket file (nobody accepts a connection: the file is stale).
    if (handOver(files, timeoutMs) != HandOver::NoServer)
        return Role::HandedOver;
    QLocalServer::removeServer(m_serverName);
    return listen() ? Role::Serving : Role::Alone;
}

// A running instance that took the connection but has not answered yet is busy (everything
// runs on its one thread): the request waits in its socket and opens when it is free. Its
// socket is never taken from it, so that no second window starts beside it.
SingleInstance::HandOver SingleInstance::handOver(const QStringList &files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return HandOver::NoServer;
    socket.write(encodeRequest(files));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return HandOver::NoServer;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return socket.state() == QLocalSocket::ConnectedState ? HandOver::Delivered : HandOver::NoServer;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == Taken ? HandOver::Taken : HandOver::NoServer;
}

bool SingleInstance::listen()
{
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        QTimer::singleShot(RequestDeadlineMs, socket, [socket] { socket->abort(); });
        readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < LengthBytes)
        return;
    uchar lengthBytes[LengthBytes];
    socket->peek(reinterpret_cast<char *>(lengthBytes), LengthBytes);
    const quint32 length = qFromBigEndian<quint32>(lengthBytes);
    if (length > MaxPayloadBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(LengthBytes) + length)
        return;
    socket->skip(LengthBytes);
    const std::optional<QStringList> files = decodeRequest(socket->read(length));
    if (!files) {
        socket->abort();
        return;
    }
    socket->putChar(Taken);
    socket->flush();
    socket->disconnectFromServer();
    emit filesRequested(*files);
}

QString SingleInstance::serverNameFor(const QString &runtimeFolder, const QString &display)
{
    QString name = QStringLiteral("ravelin");
    if (!display.isEmpty()) {
        QString part = display;
        for (QChar &c : part) {
            if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-'))
                c = QLatin1Char('_');
        }
        name += QLatin1Char('-') + part;
    }
    return runtimeFolder + QLatin1Char('/') + name + QStringLiteral(".socket");
}

QString SingleInstance::defaultServerName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    return serverNameFor(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), display);
}

// The payload is the marker and then each path in the file system's encoding, every one ended
// by a NUL (which no path holds).
QByteArray SingleInstance::encodeRequest(const QStringList &files)
{
    QByteArray payload(RequestMarker);
    payload += '\0';
    for (const QString &file : files)
        payload += QFile::encodeName(file) + '\0';
    QByteArray request(LengthBytes, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), request.data());
    return request + payload;
}

std::optional<QStringList> SingleInstance::decodeRequest(const QByteArray &payload)
{
    if (!payload.endsWith('\0'))
        return std::nullopt;
    const QList<QByteArray> parts = payload.chopped(1).split('\0');
    if (parts.front() != RequestMarker)
        return std::nullopt;
    QStringList files;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].isEmpty())
            return std::nullopt;
        files.append(QFile::decodeName(parts[i]));
    }
    return files;
}
