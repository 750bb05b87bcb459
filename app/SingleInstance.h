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
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // How start() ended.
    enum class Role {
        HandedOver, // a running instance took the files (or has them waiting): this start ends
        Serving,    // this is the running instance now and listens for later starts
        Alone,      // neither worked (no usable socket): run without hand-over
    };

    explicit SingleInstance(QString serverName, QObject *parent = nullptr);
    ~SingleInstance() override;

    // files: absolute paths to open (empty: only bring the window forward). Tries the running
    // instance first; without one, listens. A socket left behind by a program that ended
    // without closing it (nobody accepts on it) is removed and taken over; the socket of a
    // running instance never is. timeoutMs bounds each wait for the other side.
    Role start(const QStringList &files, int timeoutMs = 3000);

    const QString &serverName() const { return m_serverName; }

    // The socket path for this user's runtime folder and a display ("", ":0", "wayland-0");
    // characters a file name should not hold become '_'.
    static QString serverNameFor(const QString &runtimeFolder, const QString &display);
    // serverNameFor the user's runtime folder and this session's display.
    static QString defaultServerName();

    // The bytes of one request: its payload length (4 bytes, big-endian) and the payload.
    static QByteArray encodeRequest(const QStringList &files);
    // The files of a payload (without its length); nothing when the bytes are not a request.
    static std::optional<QStringList> decodeRequest(const QByteArray &payload);

    // Largest payload accepted; a longer one drops the connection.
    static constexpr quint32 MaxPayloadBytes = 1 << 20;

signals:
    // A later start asked for these files (empty: only to show the window).
    void filesRequested(const QStringList &files);

private:
    // How one attempt to hand over ended.
    enum class HandOver {
        Taken,     // the running instance answered
        Delivered, // the request is in its socket; it is busy and has not answered yet
        NoServer,  // nobody accepted the connection or the request
    };
    class Connection;
    HandOver handOver(const QStringList &files, int timeoutMs);
    bool listen();
    void stopListening();
    void acceptConnections();
    void readRequest(Connection *connection);

    QString m_serverName;
    int m_listener = -1;                     // the listening socket while serving
    QSocketNotifier *m_accepting = nullptr;  // tells of connections waiting on it
};
