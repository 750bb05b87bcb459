// Test main shared by every test program: a QApplication on the offscreen platform (a
// QCoreApplication for the programs of the folders without widgets),
// with HOME and the XDG folders pointed at a temporary folder so no test touches the
// user's settings, and a pinned time zone. The plugins the program loads at first use (sound
// output, printing) come from the build folder.
#ifdef RAVELIN_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include "base/ProgramPlugin.h"

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

    TestApplication app(argc, argv);
    ProgramPlugin::setFolders({QStringLiteral(RAVELIN_PLUGIN_BUILD_DIR)});
    return RUN_ALL_TESTS();
}
