#include "AppArchives.h"
#include "app/CAboutDlg.h"
#include "app/CDetailSub.h"
#include "case/AnnotationForm.h"
#include "base/ProgramInfo.h"
#include "app/CDetailView.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "base/UnsavedChangesQuestion.h"
#include "app/CADETree.h"
#include "app/CRavelinView.h"
#include "archive/OpenFlow.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"

#include <QAction>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QTabBar>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

QStringList menuTitles(const CMainFrame &frame)
{
    QStringList titles;
    for (QAction *a : frame.menuBar()->actions())
        titles << a->text();
    return titles;
}

} // namespace

TEST(MainFrame, TitleMenusAndToolbarInEnglish)
{
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);

    EXPECT_EQ(frame.windowTitle(), "Lumeron AED Event review software           _VELTRIS_");
    EXPECT_EQ(menuTitles(frame), QStringList({"File(&F)", "Help(&H)"}));
    EXPECT_EQ(frame.action(CommandId::New)->text(), "New(&N)\tCtrl+N");
    EXPECT_EQ(frame.action(CommandId::Open)->text(), "Open(&O)...\tCtrl+O");
    EXPECT_EQ(frame.action(CommandId::Save)->text(), "Save(&S)\tCtrl+S");
    EXPECT_EQ(frame.action(CommandId::SaveAs)->text(), "Save as(&A)...");
    EXPECT_EQ(frame.action(CommandId::Print)->text(), "Print(&P)...\tCtrl+P");
    EXPECT_EQ(frame.action(CommandId::PrintSetup)->text(), "Print setup(&R)...");
    EXPECT_EQ(frame.action(CommandId::RecentFileList)->text(), "Recent");
    EXPECT_EQ(frame.action(CommandId::Exit)->text(), "Exit(&X)");
    EXPECT_EQ(frame.action(CommandId::About)->text(), "Ravelin about(&A)...");

    // New is disabled everywhere; Ctrl+S is Save's own shortcut.
    EXPECT_FALSE(frame.action(CommandId::New)->isEnabled());
    EXPECT_EQ(frame.action(CommandId::Save)->shortcut(), QKeySequence("Ctrl+S"));

    QList<int> toolbar;
    for (QAction *a : frame.toolBar()->actions())
        toolbar << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(toolbar, QList<int>({CommandId::New, CommandId::Open, CommandId::Save, 0, CommandId::Print,
                                   CommandId::About, CommandId::PreviousPage, CommandId::NextPage}));
    for (QAction *a : frame.toolBar()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_EQ(a->icon().availableSizes().value(0), QSize(16, 15));
        }
    }
}

TEST(MainFrame, MenusInItalianWhenTheSecondColumnIsChosen)
{
    FakePlatform platform;
    LanguagePack pack = Packs::deployed();
    pack.setLanguage(2);
    CMainFrame frame(std::move(pack), platform);
    EXPECT_EQ(menuTitles(frame), QStringList({"File(&F)", "Guida(&G)"}));
    EXPECT_EQ(frame.action(CommandId::Open)->text(), "Apri(&A)...\tCtrl+O");
    EXPECT_EQ(frame.action(CommandId::Exit)->text(), "Esci(&E)");
}

TEST(MainFrame, PanesSplitFortySixtyAndShowNoCaseLoaded)
{
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    frame.resize(1000, 700);
    frame.show();
    QCoreApplication::processEvents();

    const QList<int> sizes = frame.splitter()->sizes();
    ASSERT_EQ(sizes.size(), 2);
    const int total = sizes[0] + sizes[1];
    EXPECT_EQ(sizes[0], int(frame.splitter()->width() * 0.4));
    EXPECT_EQ(sizes[0] + sizes[1], total);
    EXPECT_EQ(frame.m_nSelCase, -1);

    CDetailView *detail = frame.detailView();
    EXPECT_TRUE(detail->noCaseLabel()->isVisible());
    EXPECT_EQ(detail->noCaseLabel()->text(), "No case loaded.");
    EXPECT_EQ(detail->noCaseLabel()->pos(), QPoint(detail->width() / 2, detail->height() / 2));
    EXPECT_EQ(detail->tabBar()->count(), 4);
    EXPECT_EQ(detail->tabBar()->tabText(0), "General ");
    EXPECT_EQ(frame.tree()->topLevelItemCount(), 0);
    // Without a case no tab form is needed, and none is made.
    for (int tab = 0; tab < detail->tabBar()->count(); ++tab)
        EXPECT_FALSE(detail->hasForm(tab)) << tab;
}

TEST(UnsavedChangesQuestion, YesSavesAndProceedsOnlyWhenWritten)
{
    struct Case {
        Platform::Answer answer;
        bool saveWrites;
        bool proceeds;
        int saves;
    };
    const Case cases[] = {
        {Platform::Answer::Yes, true, true, 1},
        {Platform::Answer::Yes, false, false, 1}, // the save was cancelled: keep what is open
        {Platform::Answer::No, true, true, 0},
        {Platform::Answer::Cancel, true, false, 0},
    };
    const LanguagePack texts = Packs::builtInEnglish();
    for (const auto &c : cases) {
        FakePlatform platform;
        platform.answerNext(c.answer);
        int saves = 0;
        const bool proceeds = askToProceedWithUnsavedChanges(
            platform, texts, {"Q25_0905(2021-03-07)", "Q21_1010(2021-03-08)"}, [&] {
            ++saves;
            return c.saveWrites;
        });
        EXPECT_EQ(proceeds, c.proceeds) << int(c.answer);
        EXPECT_EQ(saves, c.saves);
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0].text, "Unsaved changes in: Q25_0905(2021-03-07), Q21_1010(2021-03-08)\n"
                                             "This case has unsaved changes. Save changes before proceeding?");
        EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Question);
        EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::YesNoCancel);
    }
}

TEST(MainFrame, ClosingTheWindowAsksForEveryChangedCaseAndYesWritesThem)
{
    struct Case {
        Platform::Answer answer;
        bool closes;
        bool written;
    };
    const Case cases[] = {
        {Platform::Answer::Yes, true, true},
        {Platform::Answer::No, true, false},
        {Platform::Answer::Cancel, false, false},
    };
    for (const auto &c : cases) {
        TempDir dir;
        FakePlatform platform;
        CMainFrame frame(Packs::builtInEnglish(), platform);
        const QString first = makeArchive(dir, "first.aed");
        const QString second = makeArchive(dir, "second.aed");
        ASSERT_TRUE(frame.view().OpenArchiveFile(first));
        // An annotation on the first case, then the second is opened and shown.
        platform.annotationScript = [](AnnotationForm &form) {
            form.title = "arrival";
            return form.accept();
        };
        ASSERT_TRUE(frame.view().session.AddAnnotationAt(0, 1000));
        ASSERT_TRUE(frame.view().OpenArchiveFile(second));
        CDetailSub &general = *frame.detailView()->general();
        ASSERT_EQ(general.shownCase(), 1);
        general.lastName()->setText("Typed");
        emit general.lastName()->textEdited("Typed");

        platform.answerNext(c.answer);
        platform.savePaths = {first, second};
        QCloseEvent event;
        QCoreApplication::sendEvent(&frame, &event);

        EXPECT_EQ(event.isAccepted(), c.closes) << int(c.answer);
        EXPECT_EQ(platform.texts(), QStringList{"Unsaved changes in: first, second\n"
                                                "This case has unsaved changes. Save changes before proceeding?"});
        EXPECT_EQ(platform.saveRequests.size(), c.written ? 2 : 0);
        LanguagePack texts = Packs::builtInEnglish();
        FakePlatform quiet;
        CRavelinView back(texts, quiet);
        // Read back as a reading command does: the window still holds both cases for review.
        for (const QString &path : {first, second}) {
            OpenFlow reading(back.session, OpenWrites::none());
            reading.OpenArchiveFile(path);
            ASSERT_GE(reading.openedSlot(), 0);
        }
        EXPECT_EQ(back.store.caseAt(0)->savedAnnotationCount, c.written ? 1 : 0);
        EXPECT_EQ(back.store.caseAt(1)->lastName, c.written ? "Typed" : "");
    }
}

TEST(MainFrame, ClosingWithoutChangesAsksNothing)
{
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    QCloseEvent event;
    QCoreApplication::sendEvent(&frame, &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST(MainFrame, SelectionIsPublishedToTheDetailView)
{
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    frame.show();
    frame.OnSelectionChanged(0, -1);
    EXPECT_EQ(frame.m_nSelCase, 0);
    EXPECT_EQ(frame.m_bSelChanged, 1);
    EXPECT_FALSE(frame.detailView()->noCaseLabel()->isVisible());
}

TEST(MainFrame, LargestSizeRule)
{
    EXPECT_FALSE(frameExceedsLargestSize(1919, 1079));
    EXPECT_TRUE(frameExceedsLargestSize(1920, 500));
    EXPECT_TRUE(frameExceedsLargestSize(500, 1080));
    // Only a restored window is held: a maximised one keeps the whole screen.
    EXPECT_TRUE(frameHeldAtLargestSize(2500, 1400, Qt::WindowNoState));
    EXPECT_TRUE(frameHeldAtLargestSize(2500, 1400, Qt::WindowActive));
    EXPECT_FALSE(frameHeldAtLargestSize(2500, 1400, Qt::WindowMaximized));
    EXPECT_FALSE(frameHeldAtLargestSize(2500, 1400, Qt::WindowFullScreen | Qt::WindowActive));
    EXPECT_FALSE(frameHeldAtLargestSize(1000, 700, Qt::WindowNoState));

    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    frame.show();
    frame.resize(2500, 1400);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.frameGeometry().size(), QSize(1920, 1080));
}

TEST(AboutBox, ShowsTitleAndVersionLine)
{
    const LanguagePack texts = Packs::builtInEnglish();
    CAboutDlg about(texts);
    EXPECT_EQ(about.windowTitle(), "Ravelin Information");
    EXPECT_EQ(about.versionLine()->text(), QStringLiteral("Ravelin ver. %1 test").arg(ProgramInfo::Version));
}

// The number comes from the build's version in whatever language the pack speaks.
TEST(AboutBox, VersionLineCarriesTheProgramVersion)
{
    struct Case {
        const char *pack, *expected;
    };
    for (const Case &c : {Case{"Ravelin ver. 1.0.3.8 test", "Ravelin ver. 2.1.0 test"},
                          Case{"Ravelin ver. 1.0.3.8 di prova", "Ravelin ver. 2.1.0 di prova"},
                          Case{"Versione 1.0 (build 7)", "Versione 2.1.0 (build 7)"},
                          Case{"Ravelin", "Ravelin 2.1.0"}, Case{"", "2.1.0"}})
        EXPECT_EQ(CAboutDlg::versionLineText(c.pack, "2.1.0"), c.expected) << c.pack;
}
