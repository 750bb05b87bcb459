#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QSocketNotifier;

// One running program per user and display: a later start hands its files to the running one
// over a local socket and ends, instead of opening a second window that fights the first over
// the settings and the recent-file list. The socket lives in the user's private runtime folder.
// It is a plain Unix-domain stream socket, so that starting the program loads no network library.
// Without a private runtime folder (owned by the user, closed to everyone else) there is no
// hand-over at all: a socket in a shared folder could be taken or faked by another user.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // How start() ended.
    enum class Role {
        HandedOver, // a running instance took the files (or has them waiting): this start ends
        Serving,    // this is the running instance now and listens for later starts
        Alone,      // neither worked (no private folder, no usable socket): run without hand-over
    };

    // Most files one request may name; a request naming more is refused as a whole.
    static constexpr int MaxRequestFiles = 100;

    explicit SingleInstance(QString serverName, QObject *parent = nullptr);
    ~SingleInstance() override;

    // files: absolute paths to open (empty: only bring the window forward); only the first
    // MaxRequestFiles are handed over, the rest are left out and stderr says how many. Tries
    // the running instance first; without one, listens. Alone at once when the server name is
    // empty or its folder is not private. Taking the name is done under an exclusive lock on
    // the sibling file "<name>.lock", so that two starts racing never remove each other's
    // socket: a socket left behind by a program that ended without closing it (nobody accepts
    // on it, checked again under the lock) is removed and taken over; the socket of a running
    // instance never is, nor anything at the name that is not a socket. timeoutMs bounds each
    // wait for the other side.
    Role start(const QStringList &files, int timeoutMs = 3000);

    const QString &serverName() const { return m_serverName; }

    // The socket path for this user's runtime folder and a display ("", ":0", "wayland-0");
    // characters a file name should not hold become '_'.
    static QString serverNameFor(const QString &runtimeFolder, const QString &display);
    // serverNameFor $XDG_RUNTIME_DIR and this session's display; "" (run alone) when that
    // folder is not privateFolder. There is no fallback to a shared folder.
    static QString defaultServerName();
    // folder when it is an absolute path to a directory (not a symbolic link) owned by this
    // user that nobody else may enter or read; "" otherwise.
    static QString privateFolder(const QString &folder);

    // The requested files split into the ones a running instance opens (absolute paths of
    // existing regular files, or of symbolic links to one, whose name ends in ".aed" in any
    // case) and the ones it refuses, both in the order requested.
    struct Sorted {
        QStringList accepted;
        QStringList refused;
    };
    static Sorted sortRequested(const QStringList &files);

    // The bytes of one request: its payload length (4 bytes, big-endian) and the payload.
    static QByteArray encodeRequest(const QStringList &files);
    // The files of a payload (without its length); nothing when the bytes are not a request
    // or name more than MaxRequestFiles files.
    static std::optional<QStringList> decodeRequest(const QByteArray &payload);

    // Largest payload accepted; a longer one drops the connection.
    static constexpr quint32 MaxPayloadBytes = 1 << 20;

signals:
    // A later start asked for these files (empty: only to show the window); only the ones
    // sortRequested accepts come here.
    void filesRequested(const QStringList &files);
    // The files of the same request that sortRequested refused; once per request, after
    // filesRequested, and only when there are any.
    void filesRefused(const QStringList &files);

private:
    // How one attempt to hand over ended.
    enum class HandOver {
        Taken,     // the running instance answered
        Delivered, // the request is in its socket; it is busy and has not answered yet
        NoServer,    // nobody listens on the name (no socket file, or a stale one)
        Unreachable, // a server may be there but did not take the request: nothing handed over
    };
    class Connection;
    HandOver handOver(const QStringList &files, int timeoutMs);
    Role takeName(const QStringList &files, int timeoutMs);
    bool listen();
    void stopListening();
    void acceptConnections();
    void readRequest(Connection *connection);

    QString m_serverName;
    int m_listener = -1;                     // the listening socket while serving
    QSocketNotifier *m_accepting = nullptr;  // tells of connections waiting on it
    // The socket file this instance made (device and inode), so that it removes no other.
    quint64 m_socketDevice = 0;
    quint64 m_socketInode = 0;
};
