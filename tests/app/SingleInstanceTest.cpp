// The hand-over between starts of the program: real local sockets in a private folder. A later
// start runs on its own thread (its waits block), the running instance answers from this
// thread's event loop.
#include "app/SingleInstance.h"

#include "app/HandedOverFiles.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <QtEndian>
#include <future>
#include <gtest/gtest.h>
#include <latch>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>

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

// A socket file as a program that ended abruptly leaves it: bound, then closed unremoved.
void leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
}

bool isSocket(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// Sets XDG_RUNTIME_DIR (unset when null) for one scope.
class ScopedRuntimeDir
{
public:
    explicit ScopedRuntimeDir(const char *value)
        : m_was(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")), m_old(qgetenv("XDG_RUNTIME_DIR"))
    {
        if (value)
            qputenv("XDG_RUNTIME_DIR", value);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    ~ScopedRuntimeDir()
    {
        if (m_was)
            qputenv("XDG_RUNTIME_DIR", m_old);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }

private:
    bool m_was;
    QByteArray m_old;
};

class SingleInstanceTest : public ::testing::Test
{
protected:
    TempDir runtime;
    QString name = runtime.file("ravelin-_0.socket");
    SingleInstance running{name};
    QList<QStringList> requests;
    QList<QStringList> refusals;

    void SetUp() override
    {
        QObject::connect(&running, &SingleInstance::filesRequested,
                         [this](const QStringList &files) { requests.append(files); });
        QObject::connect(&running, &SingleInstance::filesRefused,
                         [this](const QStringList &files) { refusals.append(files); });
    }
};

} // namespace

TEST_F(SingleInstanceTest, LaterStartHandsItsFilesToTheRunningOne)
{
    ASSERT_EQ(running.start({}), SingleInstance::Role::Serving);

    const QStringList files{runtime.write("2026/rescue one.aed", "a"),
                            runtime.write(QString::fromUtf8("città/intervento.aed"), "b")};
    EXPECT_EQ(laterStart(name, files), SingleInstance::Role::HandedOver);
    EXPECT_EQ(laterStart(name, {}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0], files);
    EXPECT_EQ(requests[1], QStringList()); // only bring the window forward
}

// A program that ended abruptly leaves its socket file: the next start takes the name over
// instead of failing to hand over for ever. Anything at the name that is not a socket is not
// the program's to remove: that start runs alone and the file stays.
TEST_F(SingleInstanceTest, SocketLeftBehindIsTakenOverButNothingElseIsRemoved)
{
    leaveStaleSocket(name);
    ASSERT_EQ(running.start({"/a.aed"}, 500), SingleInstance::Role::Serving);
    const QString archive = runtime.write("b.aed", "archive");
    EXPECT_EQ(laterStart(name, {archive}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0], QStringList{archive});

    const QString other = runtime.write("other.socket", "not a socket");
    EXPECT_EQ(SingleInstance(other).start({}, 300), SingleInstance::Role::Alone);
    EXPECT_EQ(runtime.read("other.socket"), "not a socket");
}

// The socket only ever lives in the user's private runtime folder; without one the program
// runs alone (no shared fallback folder is made or used).
TEST(SingleInstanceFolder, OnlyAPrivateRuntimeFolderServes)
{
    TempDir root;
    const QString owned = root.mkdir("owned"), open = root.mkdir("open"), shared = root.mkdir("shared");
    ::chmod(QFile::encodeName(owned).constData(), 0700);
    ::chmod(QFile::encodeName(open).constData(), 0750);
    ::chmod(QFile::encodeName(shared).constData(), 0703);
    const QString file = root.write("file", "x");
    ASSERT_TRUE(QFile::link(owned, root.file("link")));
    struct Case {
        const char *what;
        std::optional<QString> runtime;
        SingleInstance::Role expected;
    };
    for (const Case &c : {Case{"unset", std::nullopt, SingleInstance::Role::Alone},
                          Case{"empty", QString(), SingleInstance::Role::Alone},
                          Case{"missing", root.file("missing"), SingleInstance::Role::Alone},
                          Case{"not a folder", file, SingleInstance::Role::Alone},
                          Case{"group may read", open, SingleInstance::Role::Alone},
                          Case{"others may enter", shared, SingleInstance::Role::Alone},
                          Case{"symbolic link to a private folder", root.file("link"), SingleInstance::Role::Alone},
                          Case{"relative", QStringLiteral("owned"), SingleInstance::Role::Alone},
                          Case{"private", owned, SingleInstance::Role::Serving}}) {
        const QByteArray value = c.runtime ? QFile::encodeName(*c.runtime) : QByteArray();
        const ScopedRuntimeDir env(c.runtime ? value.constData() : nullptr);
        SingleInstance instance(SingleInstance::defaultServerName());
        EXPECT_EQ(instance.start({}, 300), c.expected) << c.what;
    }
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 5)
        << "nothing made beside the folders";
    EXPECT_EQ(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList());
}

// A request names at most MaxRequestFiles files: one naming more gets no answer and opens
// nothing; a start given more hands over the first ones only.
TEST_F(SingleInstanceTest, RequestOfTooManyFilesIsRefusedWhole)
{
    ASSERT_EQ(running.start({}), SingleInstance::Role::Serving);
    QStringList files;
    for (int i = 0; i <= SingleInstance::MaxRequestFiles; ++i)
        files << QStringLiteral("/cases/%1.aed").arg(i);
    EXPECT_FALSE(answeredRawBytes(name, SingleInstance::encodeRequest(files)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(requests.isEmpty());
    EXPECT_TRUE(refusals.isEmpty());
    EXPECT_TRUE(answeredRawBytes(name, SingleInstance::encodeRequest(files.mid(1))));

    EXPECT_EQ(laterStart(name, files + files), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(refusals.size(), 2); // none of them exists
    EXPECT_EQ(refusals[1], files.mid(0, SingleInstance::MaxRequestFiles));
}

// Only absolute paths of existing regular files named *.aed open; the rest is told in one
// message naming them, and the files that are fine still open.
TEST_F(SingleInstanceTest, OnlyExistingArchivesOpenAndTheRestIsToldOnce)
{
    ASSERT_EQ(running.start({}), SingleInstance::Role::Serving);
    const QString good = runtime.write("cases/one.aed", "a"), upper = runtime.write("cases/TWO.AED", "b");
    const QString linked = runtime.file("cases/link.aed");
    ASSERT_TRUE(QFile::link(good, linked));
    const QString text = runtime.write("cases/notes.txt", "c");
    const QString folder = runtime.mkdir("cases/folder.aed");
    const QString linkToFolder = runtime.file("cases/folder-link.aed");
    ASSERT_TRUE(QFile::link(folder, linkToFolder));
    const QString fifo = runtime.file("cases/pipe.aed");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QStringList refused{text, runtime.file("cases/missing.aed"), folder, linkToFolder, fifo, "cases/one.aed",
                              ":/one.aed"};

    FakePlatform platform;
    const LanguagePack texts = Packs::builtInEnglish();
    QWidget window;
    QStringList opened;
    HandedOverFiles handedOver;
    QObject::connect(&running, &SingleInstance::filesRequested, &handedOver, &HandedOverFiles::take);
    QObject::connect(&running, &SingleInstance::filesRefused, &handedOver, &HandedOverFiles::refuse);
    handedOver.attach(window, platform, texts, [&opened](const QString &file) { opened << file; });

    EXPECT_EQ(laterStart(name, {text, good, refused[1], folder, upper, linkToFolder, fifo, linked, refused[5],
                                refused[6]}),
              SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, (QStringList{good, upper, linked}));
    EXPECT_EQ(refusals, QList<QStringList>{refused});
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, HandedOverFiles::refusedText(texts, refused));
    EXPECT_TRUE(platform.messages[0].text.startsWith("7 of the files")) << platform.messages[0].text.toStdString();
    for (const QString &file : refused)
        EXPECT_TRUE(platform.messages[0].text.contains(file)) << file.toStdString();

    EXPECT_EQ(laterStart(name, {good}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    EXPECT_EQ(platform.messages.size(), 1) << "no message when nothing is refused";
}

// Two starts racing over a stale socket file: exactly one serves, the other hands over to it,
// and the socket that ends up there is the live one.
TEST(SingleInstanceRace, TwoStartsOverAStaleSocketFindOneServer)
{
    for (int round = 0; round < 10; ++round) {
        TempDir runtime;
        const QString name = runtime.file("ravelin.socket");
        leaveStaleSocket(name);
        std::latch ready(2);
        SingleInstance::Role roles[2];
        std::unique_ptr<SingleInstance> instances[2];
        QThread *mainThread = QThread::currentThread();
        std::unique_ptr<QThread> threads[2];
        for (int i = 0; i < 2; ++i) {
            threads[i].reset(QThread::create([&, i] {
                auto instance = std::make_unique<SingleInstance>(name);
                ready.arrive_and_wait();
                roles[i] = instance->start({}, 1000);
                instance->moveToThread(mainThread); // served from this thread's event loop
                instances[i] = std::move(instance);
            }));
            threads[i]->start();
        }
        for (auto &thread : threads) {
            while (!thread->wait(5))
                QCoreApplication::processEvents();
        }
        const int serving = int(roles[0] == SingleInstance::Role::Serving) + int(roles[1] == SingleInstance::Role::Serving);
        ASSERT_EQ(serving, 1) << "round " << round;
        EXPECT_TRUE(roles[0] == SingleInstance::Role::HandedOver || roles[1] == SingleInstance::Role::HandedOver);
        SingleInstance &server = *instances[roles[0] == SingleInstance::Role::Serving ? 0 : 1];
        QStringList received;
        QObject::connect(&server, &SingleInstance::filesRequested, [&received](const QStringList &) { received << "x"; });
        EXPECT_EQ(laterStart(name, {}), SingleInstance::Role::HandedOver);
        QCoreApplication::processEvents();
        EXPECT_EQ(received.size(), 1) << "the live server took the later start, round " << round;
    }
}

// An instance that ends removes only the socket file it made: one that another start has put
// at the name since (after the first was removed by hand) stays and keeps serving.
TEST(SingleInstanceRace, EndingInstanceLeavesAnotherOnesSocket)
{
    TempDir runtime;
    const QString name = runtime.file("ravelin.socket");
    auto first = std::make_unique<SingleInstance>(name);
    ASSERT_EQ(first->start({}), SingleInstance::Role::Serving);
    ASSERT_TRUE(QFile::remove(name));
    SingleInstance second(name);
    ASSERT_EQ(second.start({}, 300), SingleInstance::Role::Serving);
    first.reset();
    EXPECT_TRUE(isSocket(name));
    int received = 0;
    QObject::connect(&second, &SingleInstance::filesRequested, [&received] { ++received; });
    EXPECT_EQ(laterStart(name, {}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    EXPECT_EQ(received, 1);
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
    const QString archive = runtime.write("ok.aed", "archive");
    EXPECT_EQ(laterStart(name, {archive}), SingleInstance::Role::HandedOver);
    QCoreApplication::processEvents();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0], QStringList{archive});
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
