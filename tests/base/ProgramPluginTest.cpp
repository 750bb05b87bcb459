// Finding the plugins the program loads at first use: where they are looked for, and what is
// said when one cannot be loaded.
#include "base/ProgramPlugin.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(ProgramPlugin, AMissingOrBrokenPluginSaysWhereItWasLookedForAndWhy)
{
    const QStringList kept = ProgramPlugin::folders();
    TempDir first, second;
    ProgramPlugin::setFolders({first.path(), second.path()});

    QString error = QStringLiteral("unchanged");
    EXPECT_EQ(ProgramPlugin::instance(QStringLiteral("ravelin_test_part"), &error), nullptr);
    EXPECT_EQ(error, QStringLiteral("libravelin_test_part.so is in none of these folders: %1, %2")
                         .arg(first.path(), second.path()));

    // The first file found is the one tried; one that is no library is reported with its path.
    const QString broken = second.write(QStringLiteral("libravelin_test_part.so"), "not a library");
    ProgramPlugin::setFolders({first.path(), second.path()});
    EXPECT_EQ(ProgramPlugin::instance(QStringLiteral("ravelin_test_part"), &error), nullptr);
    EXPECT_TRUE(error.startsWith(broken + QStringLiteral(" could not be loaded: "))) << error.toStdString();

    ProgramPlugin::setFolders({});
    EXPECT_EQ(ProgramPlugin::folders(), ProgramPlugin::defaultFolders(QCoreApplication::applicationDirPath()));
    ProgramPlugin::setFolders(kept);
}

} // namespace
