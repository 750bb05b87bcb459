// Test main shared by every test program: a QApplication on the offscreen platform,
// with HOME and the XDG folders pointed at a temporary folder so no test touches the
// user's settings, and a pinned time zone.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);

    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("TZ"))
        setenv("TZ", "Europe/Rome", 1);
    tzset();

    QTemporaryDir home;
    setenv("HOME", qPrintable(home.path()), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(home.path() + "/config"), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home.path() + "/runtime"), 1);
    setenv("XDG_CACHE_HOME", qPrintable(home.path() + "/cache"), 1);
    setenv("XDG_DATA_HOME", qPrintable(home.path() + "/data"), 1);
    QDir().mkpath(home.path() + "/runtime");
    QFile::setPermissions(home.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
