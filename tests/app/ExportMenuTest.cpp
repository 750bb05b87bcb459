// File > Export and the enlarged ECG's "Export Entire ECG..." in the window: both reach the
// export of the selected case through the window's platform.
#include "app/CADETree.h"
#include "app/CDetailView.h"
#include "app/CMainFrame.h"
#include "app/CRavelinView.h"
#include "app/QtPlatform.h"
#include "archive/AedArchiveWriter.h"
#include "device/MifCase.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString archiveWithEcg(const TempDir &dir)
{
    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    CRavelinView view(texts, platform);
    DeviceFiles::DeviceFolder folder;
    folder.ecgRaw.assign(1000, 40);
    folder.trend = {DeviceFiles::TrendBlock{}};
    folder.write(dir.file("device"));
    view.state.mifFolderPath = dir.file("device");
    const int slot = MifCase::CreateCaseFromMif(view.session);
    WriteAedArchive(view.store, slot, dir.file("rescue.aed"), AedArchiveVariant::Conversion);
    return dir.file("rescue.aed");
}

QByteArray head(const QString &path, int bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
}

TEST(ExportMenu, FileExportAndTheEnlargedEcgWriteTheSelectedCase)
{
    TempDir dir;
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    auto *menu = frame.findChild<QMenu *>(QStringLiteral("exportMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction *a : menu->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"ECG and Events as EDF+...", "Events as CSV...", "Compressions as CSV...",
                                  "CPR Pauses as CSV...", "CPR Minutes as CSV..."}));

    menu->actions().at(0)->trigger();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Please select case.");

    ASSERT_TRUE(frame.view().OpenArchiveFile(archiveWithEcg(dir)));
    // The reviewer clicks the case node (date, device, case).
    ASSERT_EQ(frame.tree()->topLevelItemCount(), 1);
    frame.tree()->setCurrentItem(frame.tree()->topLevelItem(0)->child(0)->child(0));
    const int slot = frame.view().session.selSlot;
    ASSERT_GE(slot, 0);
    platform.savePaths = {dir.file("menu.edf"), dir.file("events.csv"), dir.file("enlarged.edf")};
    menu->actions().at(0)->trigger();
    menu->actions().at(1)->trigger();
    frame.detailView()->onExportEcg(slot);

    EXPECT_EQ(head(dir.file("menu.edf"), 8), "0       ");
    EXPECT_EQ(head(dir.file("events.csv"), 31), "time_ms,clock_time,text,detail\r");
    EXPECT_EQ(head(dir.file("enlarged.edf"), 8), "0       ");
    ASSERT_EQ(platform.saveRequests.size(), 3);
    EXPECT_EQ(platform.saveRequests[0].folder, dir.file("rescue.edf")) << "beside the archive";
}

// The program's options form: a box per option as offered; OK hands back what the reviewer
// ticked, Cancel leaves the options as they were.
TEST(ExportMenu, TheOptionsFormHandsBackWhatWasTicked)
{
    QtPlatform program;
    const auto answer = [&](QDialogButtonBox::StandardButton button, QList<Platform::Option> &options,
                            QStringList &shown) {
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            for (QCheckBox *box : dialog->findChildren<QCheckBox *>()) {
                shown << box->text() + (box->isChecked() ? " [x]" : " [ ]");
                box->click();
            }
            dialog->findChild<QDialogButtonBox *>()->button(button)->click();
        });
        poll.start();
        return program.askOptions(QStringLiteral("Export"), options);
    };

    for (const auto button : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel}) {
        QList<Platform::Option> options{{QStringLiteral("Anonymise"), false}, {QStringLiteral("With compressions"), true}};
        QStringList shown;
        EXPECT_EQ(answer(button, options, shown), button == QDialogButtonBox::Ok);
        EXPECT_EQ(shown, (QStringList{"Anonymise [ ]", "With compressions [x]"}));
        EXPECT_EQ(options[0].checked, button == QDialogButtonBox::Ok);
        EXPECT_EQ(options[1].checked, button != QDialogButtonBox::Ok);
    }
}

} // namespace
