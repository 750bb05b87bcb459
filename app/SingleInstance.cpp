#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// First value of every payload: tells a request of this program from stray bytes.
const char *const RequestMarker = "ravelin-open-files/1";
// The running instance's answer once it has taken a request.
constexpr char Taken = 'K';
// A connection that has not completed its request by then is dropped.
constexpr int RequestDeadlineMs = 10000;
constexpr int LengthBytes = 4;

// The socket address of a path; false when the path is too long for one.
bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

// Waits until fd is ready for events; false when the deadline passed or the wait failed.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 1 << 30)));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// Closes a socket on every way out of a scope.
struct SocketCloser
{
    int fd;
    ~SocketCloser()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The exclusive lock on "<socket>.lock" around everything that binds or removes the socket
// file. The lock file is made 0600 and never followed through a symbolic link; it stays, since
// removing it would let two starts lock two different files.
class NameLock
{
public:
    ~NameLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // and with it the lock
    }

    // Waits for the lock until the deadline; false when it passed or the lock file is not a
    // regular file of this user's.
    bool acquire(const QString &socketPath, const QDeadlineTimer &deadline)
    {
        const QByteArray path = QFile::encodeName(socketPath + QStringLiteral(".lock"));
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        struct stat st;
        if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            return false;
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return true;
            if (errno != EWOULDBLOCK && errno != EINTR)
                return false;
            if (deadline.hasExpired())
                return false;
            ::usleep(2000);
        }
    }

private:
    int m_fd = -1;
};

} // namespace

// One connection of a later start to the running instance: its bytes so far, dropped when it
// has not sent a whole request in time.
class SingleInstance::Connection : public QObject
{
public:
    Connection(int fd, QObject *parent) : QObject(parent), m_fd(fd), m_readable(fd, QSocketNotifier::Read)
    {
        QTimer::singleShot(RequestDeadlineMs, this, [this] { drop(); });
    }
    ~Connection() override { ::close(m_fd); }

    QSocketNotifier &readable() { return m_readable; }
    QByteArray &received() { return m_received; }
    // Reads what has arrived; false when the other side has closed or the socket failed.
    bool readAvailable()
    {
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n > 0) {
                m_received.append(chunk, n);
                if (m_received.size() > qsizetype(LengthBytes + MaxPayloadBytes))
                    return false;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        }
    }
    void answer()
    {
        const char taken = Taken;
        [[maybe_unused]] const ssize_t sent = ::send(m_fd, &taken, 1, MSG_NOSIGNAL);
    }
    void drop()
    {
        m_readable.setEnabled(false);
        deleteLater();
    }

private:
    int m_fd;
    QSocketNotifier m_readable;
    QByteArray m_received;
};

SingleInstance::SingleInstance(QString serverName, QObject *parent)
    : QObject(parent), m_serverName(std::move(serverName))
{
}

SingleInstance::~SingleInstance()
{
    stopListening();
}

SingleInstance::Role SingleInstance::start(const QStringList &files, int timeoutMs)
{
    if (m_serverName.isEmpty() || privateFolder(QFileInfo(m_serverName).path()).isEmpty())
        return Role::Alone;
    QStringList request = files;
    if (request.size() > MaxRequestFiles) {
        std::fprintf(stderr, "ravelin: only the first %d files are handed over to the running program; %d left out\n",
                     MaxRequestFiles, int(request.size() - MaxRequestFiles));
        request = request.mid(0, MaxRequestFiles);
    }
    switch (handOver(request, timeoutMs)) {
    case HandOver::Taken:
    case HandOver::Delivered:
        return Role::HandedOver;
    case HandOver::Unreachable:
        return Role::Alone;
    case HandOver::NoServer:
        break;
    }
    return takeName(request, timeoutMs);
}

// Under the lock nobody else binds or removes the socket file: a later start that finds the
// name taken there either reaches the instance that took it or knows the file is stale.
SingleInstance::Role SingleInstance::takeName(const QStringList &files, int timeoutMs)
{
    NameLock lock;
    // The holder may be in the middle of a whole hand-over of its own.
    if (!lock.acquire(m_serverName, QDeadlineTimer(2 * qint64(timeoutMs) + 1000)))
        return Role::Alone;
    if (listen())
        return Role::Serving;
    // The name is taken: either another start got there first (it answers now) or a program that
    // ended abruptly left its socket file (nobody accepts a connection: the file is stale).
    switch (handOver(files, timeoutMs)) {
    case HandOver::Taken:
    case HandOver::Delivered:
        return Role::HandedOver;
    case HandOver::Unreachable:
        return Role::Alone;
    case HandOver::NoServer:
        break;
    }
    const QByteArray path = QFile::encodeName(m_serverName);
    struct stat st;
    if (::lstat(path.constData(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return Role::Alone; // not ours to remove
        ::unlink(path.constData());
    }
    return listen() ? Role::Serving : Role::Alone;
}

// A running instance that took the connection but has not answered yet is busy (everything
// runs on its one thread): the request waits in its socket and opens when it is free. Its
// socket is never taken from it, so that no second window starts beside it.
SingleInstance::HandOver SingleInstance::handOver(const QStringList &files, int timeoutMs)
{
    sockaddr_un address;
    if (!socketAddress(m_serverName, address))
        return HandOver::Unreachable;
    const SocketCloser socket{newSocket()};
    if (socket.fd < 0)
        return HandOver::Unreachable;
    const QDeadlineTimer deadline(timeoutMs);
    while (::connect(socket.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        // A server whose queue of waiting connections is full takes this one once it has room;
        // when it stays full the server is alive all the same.
        if (errno == EAGAIN && !deadline.hasExpired())
            ::usleep(5000);
        else if (errno == ECONNREFUSED || errno == ENOENT)
            return HandOver::NoServer;
        else if (errno != EINTR)
            return HandOver::Unreachable;
    }
    // From here on a server is there: whatever goes wrong, its socket is not stale.
    const QByteArray request = encodeRequest(files);
    for (qsizetype written = 0; written < request.size();) {
        const ssize_t n = ::send(socket.fd, request.constData() + written, size_t(request.size() - written),
                                 MSG_NOSIGNAL);
        if (n > 0) {
            written += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(socket.fd, POLLOUT, deadline))
                return HandOver::Unreachable;
        } else {
            return HandOver::Unreachable;
        }
    }
    for (;;) {
        if (!waitFor(socket.fd, POLLIN, deadline))
            return HandOver::Delivered; // taken into its socket, not answered yet
        char answer = 0;
        const ssize_t n = ::read(socket.fd, &answer, 1);
        if (n == 1)
            return answer == Taken ? HandOver::Taken : HandOver::Unreachable;
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        return HandOver::Unreachable; // closed without an answer
    }
}

bool SingleInstance::listen()
{
    stopListening();
    sockaddr_un address;
    if (!socketAddress(m_serverName, address))
        return false;
    SocketCloser socket{newSocket()};
    if (socket.fd < 0 || ::bind(socket.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return false;
    // Only this user may connect (the runtime folder is private too).
    ::chmod(address.sun_path, S_IRUSR | S_IWUSR);
    struct stat st;
    if (::lstat(address.sun_path, &st) != 0 || ::listen(socket.fd, SOMAXCONN) != 0) {
        ::unlink(address.sun_path);
        return false;
    }
    m_socketDevice = quint64(st.st_dev);
    m_socketInode = quint64(st.st_ino);
    m_listener = socket.fd;
    socket.fd = -1;
    m_accepting = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_accepting, &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::stopListening()
{
    if (m_listener < 0)
        return;
    delete m_accepting;
    m_accepting = nullptr;
    ::close(m_listener);
    m_listener = -1;
    // Only the file this instance made: after a stale-looking moment another start may have
    // replaced it with its own.
    NameLock lock;
    if (!lock.acquire(m_serverName, QDeadlineTimer(1000)))
        return; // left for the next start, which finds it stale
    const QByteArray path = QFile::encodeName(m_serverName);
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode) && quint64(st.st_dev) == m_socketDevice
        && quint64(st.st_ino) == m_socketInode)
        ::unlink(path.constData());
}

void SingleInstance::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        auto *connection = new Connection(fd, this);
        connect(&connection->readable(), &QSocketNotifier::activated, connection,
                [this, connection] { readRequest(connection); });
        readRequest(connection);
    }
}

void SingleInstance::readRequest(Connection *connection)
{
    const bool open = connection->readAvailable();
    const QByteArray &bytes = connection->received();
    if (bytes.size() >= LengthBytes) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData());
        if (length > MaxPayloadBytes) {
            connection->drop();
            return;
        }
        if (bytes.size() >= qsizetype(LengthBytes) + qsizetype(length)) {
            const std::optional<QStringList> files = decodeRequest(bytes.mid(LengthBytes, length));
            if (files)
                connection->answer();
            connection->drop();
            if (files) {
                const Sorted sorted = sortRequested(*files);
                emit filesRequested(sorted.accepted);
                if (!sorted.refused.isEmpty())
                    emit filesRefused(sorted.refused);
            }
            return;
        }
    }
    if (!open)
        connection->drop();
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
    const QString folder = privateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    return folder.isEmpty() ? QString() : serverNameFor(folder, display);
}

QString SingleInstance::privateFolder(const QString &folder)
{
    if (!folder.startsWith(QLatin1Char('/')))
        return QString();
    struct stat st;
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()
        || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return QString();
    return folder;
}

// A symbolic link is followed: a link named like an archive to a regular file is taken, as
// opening it by hand would; a link to anything else (a folder, a device) is not.
SingleInstance::Sorted SingleInstance::sortRequested(const QStringList &files)
{
    Sorted sorted;
    for (const QString &file : files) {
        struct stat st;
        const bool archive = file.startsWith(QLatin1Char('/')) && file.endsWith(QLatin1String(".aed"), Qt::CaseInsensitive)
                             && ::stat(QFile::encodeName(file).constData(), &st) == 0 && S_ISREG(st.st_mode);
        (archive ? sorted.accepted : sorted.refused).append(file);
    }
    return sorted;
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
    if (parts.size() - 1 > MaxRequestFiles)
        return std::nullopt;
    QStringList files;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].isEmpty())
            return std::nullopt;
        files.append(QFile::decodeName(parts[i]));
    }
    return files;
}
