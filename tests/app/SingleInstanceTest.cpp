// The hand-over between starts of the program: real local sockets in a private folder. A later
// start runs on its own thread (its waits block), the running instance answers from this
// thread's event loop.
#include "app/SingleInstance.h"

#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>
#include <future>
#include <gtest/gtest.h>

namespace {

// Runs work on a thread of its own while this thread's event loop keeps serving.
template <class Work>
auto whileServing(Work work)
{
    auto result = std::async(std::launch::async, work);
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return result.get();
}

SingleInstance::Role laterStart(const QString &name, const QStringList &files, int timeoutMs = 2000)
{
    return whileServing([&] { return SingleInstance(name).start(files, timeoutMs); });
}

// Sends raw bytes as a later start would and tells whether the running instance answered.
bool answeredRawBytes(const QString &name, const QByteArray &bytes)
{
    return whileServing([&] {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(2000))
            return false;
        socket.write(bytes);
        socket.waitForBytesWritten(2000);
        return socket.waitForReadyRead(500) && socket.bytesAvailable() > 0;
    });
}

class SingleInstanceTest : public ::testing::Test
{
protected:
    TempDir runtime;
    QString name = runtime.file("ravelin-_0.socket");
    SingleInstance running{name};
    QList<QStringList> requests;

    void SetUp() override
    {
        QObject::connect(&running, &SingleInstance::filesRequested,
                         [this](const QStringList &files) { requests.append(files); });
    }
};

} // namespace

TEST_F(SingleInstanceTest, LaterStartHandsItsFilesToTheRunningOne)
{
    ASSERT_EQ(running.start({}), SingleInstance::Role::Serving);

    const QStringList files{"/cases/2026/rescue one.aed", QString::fromUtf8("/casi/città/intervento.aed")};
    EXPECT_EQ(laterStart(name, files), SingleInstance::Role::HandedOver);
    EXPECT_EQ(laterStart(name, {}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0], files);
    EXPECT_EQ(requests[1], QStringList()); // only bring the window forward
}

// A program that ended abruptly leaves its socket file: the next start takes the name over
// instead of failing to hand over for ever.
TEST_F(SingleInstanceTest, FileLeftBehindIsTakenOver)
{
    runtime.write("ravelin-_0.socket", "left behind");
    ASSERT_EQ(running.start({"/a.aed"}, 500), SingleInstance::Role::Serving);
    EXPECT_EQ(laterStart(name, {"/b.aed"}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0], QStringList{"/b.aed"});
}

// A running instance busy on its one thread takes the connection but does not answer in time:
// the request waits for it in its socket, and its socket is left alone (no second window).
TEST(SingleInstanceBusy, RequestWaitsForABusyInstanceWhoseSocketIsKept)
{
    TempDir runtime;
    const QString name = runtime.file("ravelin.socket");
    QLocalServer busy;
    ASSERT_TRUE(busy.listen(name));
    EXPECT_EQ(laterStart(name, {"/late.aed"}, 300), SingleInstance::Role::HandedOver);
    EXPECT_TRUE(QFileInfo::exists(name));

    ASSERT_TRUE(busy.waitForNewConnection(1000));
    QLocalSocket *waiting = busy.nextPendingConnection();
    ASSERT_NE(waiting, nullptr);
    waiting->waitForReadyRead(1000);
    const QByteArray request = waiting->readAll();
    EXPECT_EQ(SingleInstance::decodeRequest(request.mid(4)), QStringList{"/late.aed"});
}

// Stray or hostile bytes get no answer and open nothing; the running instance keeps serving.
TEST_F(SingleInstanceTest, BytesThatAreNoRequestAreDropped)
{
    ASSERT_EQ(running.start({}), SingleInstance::Role::Serving);
    QByteArray hugeLength(4, '\0');
    qToBigEndian<quint32>(SingleInstance::MaxPayloadBytes + 1, hugeLength.data());
    QByteArray otherMarker = SingleInstance::encodeRequest({"/x.aed"});
    otherMarker[6] = 'X';
    for (const QByteArray &bytes : {QByteArray("GET / HTTP/1.0\r\n\r\n"), hugeLength + "ravelin", otherMarker})
        EXPECT_FALSE(answeredRawBytes(name, bytes)) << bytes.toStdString();
    EXPECT_EQ(laterStart(name, {"/ok.aed"}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0], QStringList{"/ok.aed"});
}

TEST(SingleInstanceRequest, DecodesWhatItEncodesAndRefusesMalformedPayloads)
{
    for (const QStringList &files : {QStringList(), QStringList{"/a.aed"},
                                     QStringList{"/with space/b.aed", "/tab\there.aed", "/line\nbreak.aed"}}) {
        const QByteArray request = SingleInstance::encodeRequest(files);
        ASSERT_GE(request.size(), 4);
        EXPECT_EQ(qFromBigEndian<quint32>(request.constData()), quint32(request.size() - 4));
        EXPECT_EQ(SingleInstance::decodeRequest(request.mid(4)), files);
    }
    const QByteArray good = SingleInstance::encodeRequest({"/a.aed"}).mid(4);
    for (const QByteArray &bad : {QByteArray(), good.chopped(1), QByteArray("ravelin-open-files/2\0/a.aed\0", 28),
                                  good + QByteArray("\0", 1), QByteArray("/a.aed\0", 7)})
        EXPECT_FALSE(SingleInstance::decodeRequest(bad).has_value()) << bad.toStdString();
}

// One server per user (the runtime folder is the user's own) and per display.
TEST(SingleInstanceRequest, ServerNameIsPerRuntimeFolderAndDisplay)
{
    struct Case {
        const char *runtime, *display, *expected;
    };
    for (const Case &c : {Case{"/run/user/1000", "", "/run/user/1000/ravelin.socket"},
                          Case{"/run/user/1000", ":0", "/run/user/1000/ravelin-_0.socket"},
                          Case{"/run/user/1000", "localhost:10.0", "/run/user/1000/ravelin-localhost_10.0.socket"},
                          Case{"/run/user/1000", "wayland-1", "/run/user/1000/ravelin-wayland-1.socket"},
                          Case{"/tmp/runtime-rev", "../../x", "/tmp/runtime-rev/ravelin-.._.._x.socket"}})
        EXPECT_EQ(SingleInstance::serverNameFor(c.runtime, c.display), c.expected) << c.display;
}
