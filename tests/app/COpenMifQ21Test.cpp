#include "app/COpenMifQ21.h"

#include "base/LanguagePack.h"
#include "device/OpenDialogLogic.h"
#include "case/SharedState.h"
#include "support/FakePlatform.h"
#include "support/ScopedTimeZone.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The dialog as the Open command shows it, on a computer in zone tz, with a scripted
// platform and the built-in texts; counts how often a button closed it.
struct OpenForm
{
    explicit OpenForm(const char *tz) : zone(tz)
    {
        texts.loadBuiltIn();
        logic = std::make_unique<OpenDialogLogic>(state, platform, texts);
        dialog = std::make_unique<COpenMifQ21>(*logic);
        QObject::connect(dialog.get(), &QDialog::accepted, [this] { ++accepted; });
    }

    template<class T>
    T *child(const char *name) const
    {
        T *widget = dialog->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    ScopedTimeZone zone;
    SharedState state;
    FakePlatform platform;
    LanguagePack texts;
    std::unique_ptr<OpenDialogLogic> logic;
    std::unique_ptr<COpenMifQ21> dialog;
    int accepted = 0;
};

} // namespace

TEST(COpenMifQ21, ListsEveryZoneWithTheComputersZoneSelected)
{
    OpenForm form("AZT-4");
    EXPECT_EQ(form.dialog->windowTitle(), "Open...");
    auto *combo = form.child<QComboBox>("zoneCombo");
    ASSERT_EQ(combo->count(), 179);
    EXPECT_EQ(combo->itemText(0), "Abu Dhabi(UAE) UTC+04:00");
    EXPECT_EQ(combo->itemText(178), "Zagreb(Croatia) UTC+01:00");
    EXPECT_EQ(combo->currentIndex(), 17);
    EXPECT_EQ(combo->currentText(), "Baku(Azerbaijan) UTC+04:00");
    EXPECT_EQ(form.child<QPushButton>("loadMifButton")->text(), "Load MIF File");
    EXPECT_EQ(form.child<QPushButton>("loadAedButton")->text(), "Load AED File");
    EXPECT_EQ(form.child<QPushButton>("openDirectoryButton")->text(), "Open Directory");

    // The zone picked in the combo is the one a closing button hands over.
    combo->setCurrentIndex(141);
    form.child<QPushButton>("loadAedButton")->click();
    EXPECT_EQ(form.accepted, 1);
    EXPECT_EQ(form.state.openMode, 2);
    EXPECT_EQ(form.state.timeZoneChoice, 141);
}

TEST(COpenMifQ21, LoadMifNamesTheMissingFileAndStaysOpen)
{
    TempDir dir;
    DeviceFiles::DeviceFolder device;
    device.model = DeviceFiles::Model::Q21;
    const QString folder = dir.mkdir("rescue");
    ASSERT_TRUE(device.write(folder));
    ASSERT_TRUE(QFile::remove(folder + "/Q21 HR Data.MIF"));

    OpenForm form("KST-9");
    EXPECT_EQ(form.child<QComboBox>("zoneCombo")->currentIndex(), 141);
    form.platform.openPaths.push_back(folder + "/Q21 ECG Data.MIF");
    form.child<QPushButton>("browseButton")->click();
    EXPECT_EQ(form.child<QLineEdit>("pathEdit")->text(), folder);
    form.child<QLineEdit>("serialEdit")->setText("LM-0042");
    auto *loadMif = form.child<QPushButton>("loadMifButton");
    loadMif->click();

    EXPECT_EQ(form.platform.texts(), QStringList{"The folder you picked does not contain the file 'Q21 HR Data.MIF'."});
    EXPECT_EQ(form.accepted, 0);
    EXPECT_EQ(form.state.openMode, 0);

    // With the file back the same dialog closes and hands everything over.
    device.write(folder);
    loadMif->click();
    EXPECT_EQ(form.accepted, 1);
    EXPECT_EQ(form.state.openMode, 1);
    EXPECT_EQ(form.state.deviceModel, ModelQ21);
    EXPECT_EQ(form.state.serialNumber, "LM-0042");
    EXPECT_EQ(form.state.mifFolderPath, folder);
    EXPECT_EQ(form.state.timeZoneChoice, 141);
}
