// Finding one's way through a case in the window: keys and wheel on the ECG tabs, the
// thumb's time tip, Go to time, the jumps to events of a kind, the tree's event filter,
// and an Italian that is complete and fits.
#include "DetailFixture.h"
#include "app/CADETree.h"
#include "app/CDetailSub.h"
#include "app/CDetailSub1.h"
#include "app/CMainFrame.h"
#include "app/CRavelinView.h"
#include "app/CaseTreeFilter.h"
#include "AppArchives.h"
#include "case/AnnotationForm.h"
#include "app/OpenDialogMemory.h"
#include "app/QtTranslations.h"
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "case/NavigationTexts.h"
#include "case/SharedState.h"
#include "device/EventListBuild.h"
#include "device/OpenDialogLogic.h"
#include "ecg/CEntired.h"
#include "ecg/CMagnified.h"
#include "support/Packs.h"
#include "tools/Simulator.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QToolTip>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTranslator>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

void sendKey(QWidget *to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(to, &press);
}

void sendWheel(QWidget *to, int angleDelta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF at(to->width() / 2.0, to->height() / 2.0);
    QWheelEvent wheel(at, to->mapToGlobal(at), QPoint(), QPoint(0, angleDelta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(to, &wheel);
}

class EcgKeys : public ::testing::Test, public DetailFixture
{
protected:
    int slot = -1;

    void SetUp() override
    {
        makeDetailView();
        slot = caseWithEvents({0, 45000, 400000}); // a case of 400 s
    }
    CDetailSub1 &entire() { return *detail->entireHost(); }
};

TEST_F(EcgKeys, KeysAndWheelMoveTheReviewFromTheWindowTheTabAndTheScrollBar)
{
    enum Target { Window, Tab, Bar };
    struct Row {
        int tab; // CDetailView::EntireTab or EnlargedTab
        Target target;
        bool wheel;
        int keyOrDelta;
        Qt::KeyboardModifiers modifiers;
        int64_t from;
        int64_t to;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    constexpr int E = CDetailView::EnlargedTab;
    constexpr int W = CDetailView::EntireTab;
    const Row rows[] = {
        // Enlarged ECG: 8 s on screen, a wheel notch is one second.
        {E, Window, false, Qt::Key_Right, none, 100, 101},
        {E, Tab, false, Qt::Key_Right, shift, 100, 110},
        {E, Bar, false, Qt::Key_Left, none, 100, 99},
        {E, Window, false, Qt::Key_PageUp, none, 100, 92},
        {E, Bar, false, Qt::Key_PageDown, none, 100, 108},
        {E, Tab, false, Qt::Key_Home, none, 100, 0},
        {E, Window, false, Qt::Key_End, none, 100, 400},
        {E, Window, false, Qt::Key_Left, shift, 4, 0},
        {E, Window, true, -120, none, 100, 101},
        {E, Bar, true, 120, none, 100, 99},
        {E, Window, true, -120, shift, 100, 110},
        // Entire ECG: 150 s on screen, a notch is one arrow step of 30 s.
        {W, Window, false, Qt::Key_PageDown, none, 100, 250},
        {W, Bar, false, Qt::Key_Right, none, 100, 101},
        {W, Window, true, -120, none, 100, 130},
        {W, Bar, true, -240, none, 100, 160},
        {W, Window, true, -120, shift, 100, 400},
    };
    for (const Row &r : rows) {
        detail->tabBar()->setCurrentIndex(r.tab);
        CEcgTabHost &host = r.tab == E ? static_cast<CEcgTabHost &>(enlarged()) : entire();
        QWidget *window = r.tab == E ? static_cast<QWidget *>(enlarged().window()) : entire().window();
        QWidget *target = r.target == Window ? window : r.target == Tab ? static_cast<QWidget *>(&host)
                                                                         : host.scrollBar();
        host.moveReviewTo(r.from);
        const int selections = treeSelections;
        if (r.wheel)
            sendWheel(target, r.keyOrDelta, r.modifiers);
        else
            sendKey(target, r.keyOrDelta, r.modifiers);
        const std::string what = "tab " + std::to_string(r.tab) + " target " + std::to_string(r.target) + " "
                                 + (r.wheel ? "wheel " : "key ") + std::to_string(r.keyOrDelta);
        EXPECT_EQ(review.m_tsPosition, CTimeSpan(r.to)) << what;
        EXPECT_EQ(host.scrollBar()->value(), r.to) << what;
        const int32_t centre = r.tab == E ? enlarged().window()->m_nCentreMs : entire().window()->m_nCentreMs;
        EXPECT_EQ(centre, r.to * 1000) << what;
        EXPECT_EQ(treeSelections, selections + 1) << what; // the tree follows as with the arrows
    }
}

TEST_F(EcgKeys, CtrlWheelCyclesTheEnlargedViewsAndOtherKeysAreLeftAlone)
{
    select(slot, 100, true);
    CMagnified *w = enlarged().window();
    ASSERT_EQ(w->viewInForce(), EnlargedView::EightSecond);
    sendWheel(w, 120, Qt::ControlModifier);
    EXPECT_EQ(w->viewInForce(), EnlargedView::SixSecond);
    sendWheel(w, 120, Qt::ControlModifier);
    EXPECT_EQ(w->viewInForce(), EnlargedView::Large);
    sendKey(w, Qt::Key_PageDown); // the large view shows 2 s
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(102));
    sendWheel(w, 120, Qt::ControlModifier);
    EXPECT_EQ(w->viewInForce(), EnlargedView::EightSecond);
    sendWheel(w, -120, Qt::ControlModifier);
    EXPECT_EQ(w->viewInForce(), EnlargedView::Large);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(102)); // zooming does not move

    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&enlarged(), &other);
    EXPECT_FALSE(other.isAccepted());
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(102));
}

TEST_F(EcgKeys, ThumbTipTellsClockAndElapsedTime)
{
    select(slot, 0);
    // Without a valid start the tree's clock is the elapsed time itself.
    EXPECT_EQ(entire().timeTipAt(3725), "01:02:05 (+1:02:05)");
    CaseRecord *c = view.store.caseAt(slot);
    c->startTimeValid = true;
    c->startTime = DeviceClockTime(2024, 5, 1, 23, 30, 0);
    EXPECT_EQ(entire().timeTipAt(3725), "00:32:05 (+1:02:05)");
}

TEST_F(EcgKeys, GoToTimeAsksAgainAfterABadAnswerAndShowsTheEnlargedEcg)
{
    select(slot, 0);
    ASSERT_EQ(detail->tabBar()->currentIndex(), CDetailView::GeneralTab);
    platform.textAnswers = {QStringLiteral("twelve"), QStringLiteral("+07:00"), QStringLiteral("+1:05")};
    detail->goToTime();
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_TRUE(platform.messages[0].text.contains("\"twelve\" is not a clock time")) << platform.messages[0].text.toStdString();
    EXPECT_TRUE(platform.messages[1].text.startsWith("+07:00 is outside this case")) << platform.messages[1].text.toStdString();
    EXPECT_EQ(platform.textQuestions.size(), 3);
    EXPECT_EQ(platform.textQuestions[0].value(2), "00:00:00"); // starts from where the review is
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(65));
    EXPECT_EQ(detail->tabBar()->currentIndex(), CDetailView::EnlargedTab);
    EXPECT_EQ(enlarged().window()->m_nCentreMs, 65000);
    EXPECT_TRUE(enlarged().isVisible());

    // From the Entire ECG it stays there; a cancelled question moves nothing.
    detail->tabBar()->setCurrentIndex(CDetailView::EntireTab);
    platform.textAnswers = {QStringLiteral("3")}; // the third event, at 400 s
    detail->goToTime();
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(400));
    EXPECT_EQ(entire().window()->m_nCentreMs, 400000);
    detail->goToTime();
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(400));
}

TEST_F(EcgKeys, TheContextMenusOfferGoToTime)
{
    select(slot, 10, true);
    int asked = 0;
    enlarged().window()->onGoToTime = [&] { ++asked; };
    entire().window()->onGoToTime = [&] { ++asked; };
    std::unique_ptr<QMenu> menu = enlarged().window()->prepareContextMenu(10000);
    EXPECT_NE(ContextMenuBuilder::findAction(menu.get(), CommandId::GoToTime), nullptr);
    menu = entire().window()->prepareCprMenu(10000);
    EXPECT_NE(ContextMenuBuilder::findAction(menu.get(), CommandId::GoToTime), nullptr);
    enlarged().window()->OnCommand(CommandId::GoToTime);
    entire().window()->OnCommand(CommandId::GoToTime);
    EXPECT_EQ(asked, 2);
}

TEST(EventJumps, F3StepsThroughTheShocksOfASimulatedRescue)
{
    DetailFixture f;
    f.makeDetailView();
    const int slot = f.simulatedCase(12, 7);
    f.select(slot, 0);
    // Where the shocks were given, by the tree's shock image.
    std::vector<int64_t> shocks;
    f.view.store.caseAt(slot)->events.forEachUsed([&](int, const EventItem &e) {
        if (e.text.startsWith("Prompt : Shock delivered.") || e.text.startsWith("Prompt : Deliver shock now."))
            shocks.push_back(e.elapsed.GetTotalSeconds());
    });
    std::sort(shocks.begin(), shocks.end());
    shocks.erase(std::unique(shocks.begin(), shocks.end()), shocks.end());
    ASSERT_GE(shocks.size(), 2u);

    std::vector<int64_t> visited;
    while (f.detail->goToEventOfKind(EventJumpKind::Shock, true))
        visited.push_back(f.review.m_tsPosition.GetTotalSeconds());
    EXPECT_EQ(visited, shocks);
    EXPECT_EQ(f.detail->tabBar()->currentIndex(), CDetailView::EnlargedTab);
    ASSERT_TRUE(f.detail->goToEventOfKind(EventJumpKind::Shock, false));
    EXPECT_EQ(f.review.m_tsPosition, CTimeSpan(shocks[shocks.size() - 2]));
    EXPECT_FALSE(f.detail->goToEventOfKind(EventJumpKind::Annotation, true));
}

// F3 selects the event it lands on as a click on its tree item does: the frame, the views and
// the annotation's menu follow; with nothing further it says so beside the selector.
TEST(EventJumps, F3SelectsTheEventItLandsOnAsAClickDoes)
{
    TempDir dir;
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    frame.show();
    CaseSession &session = frame.view().session;
    ASSERT_TRUE(frame.view().OpenArchiveFile(makeArchive(dir, "case.aed")));
    platform.annotationScript = [](AnnotationForm &form) {
        form.title = "arrival";
        return form.accept();
    };
    ASSERT_TRUE(session.AddAnnotationAt(0, 1000));
    const CaseRecord &c = *session.store.caseAt(0);
    int note = -1;
    c.events.forEachUsed([&](int p, const EventItem &e) {
        if (e.text.startsWith("A: "))
            note = p;
    });
    ASSERT_GE(note, 0);
    auto &tree = *static_cast<CADETree *>(session.tree);
    session.tree->selectItem(c.caseItem); // the reviewer clicked the case node
    QComboBox &kind = *frame.jumpKindSelector();
    kind.setCurrentIndex(kind.findData(int(EventJumpKind::Annotation)));

    frame.action(CommandId::NextEventOfKind)->trigger();
    EXPECT_EQ(tree.selectedItem(), c.events[note].treeItem);
    EXPECT_EQ(session.selSlot, 0);
    EXPECT_EQ(session.selEvent, note);
    EXPECT_EQ(session.state.selectedAnnotationItem, c.events[note].treeItem);
    EXPECT_EQ(session.state.selectedCaseItem, NoTreeItem);
    EXPECT_EQ(frame.m_tsPosition, CTimeSpan(1));
    EXPECT_EQ(frame.detailView()->tabBar()->currentIndex(), CDetailView::EnlargedTab);

    // A right-click offers the annotation's menu at once.
    QList<int> offered;
    tree.menuRunner = [&](QMenu &menu) {
        for (int command : {CommandId::EditAnnotation, CommandId::DeleteAnnotation, CommandId::CloseCase})
            if (ContextMenuBuilder::findAction(&menu, command))
                offered << command;
        return 0;
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), tree.viewport()->mapToGlobal(QPointF(5, 5)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &press);
    EXPECT_EQ(offered, (QList<int>{CommandId::EditAnnotation, CommandId::DeleteAnnotation}));

    // Already on the last annotation: the selection stays and the selector says why.
    frame.action(CommandId::NextEventOfKind)->trigger();
    EXPECT_EQ(session.selEvent, note);
    EXPECT_EQ(QToolTip::text(), "No further event of this kind.");
}

// The case tree of a simulated rescue with its filter above it.
class TreeFilter : public ::testing::Test, public CaseViewFixture
{
protected:
    CADETree tree;
    std::unique_ptr<CaseTreeFilter> filter;
    int slot = -1;

    void SetUp() override
    {
        view.setTree(&tree);
        filter = std::make_unique<CaseTreeFilter>(texts, tree);
        slot = openRescue(20, 3);
        tree.resize(500, 700);
        tree.show();
    }

    int openRescue(double minutes, uint32_t seed)
    {
        SimulationOptions options;
        options.minutes = minutes;
        options.seed = seed;
        const int s = createCase(simulateRescue(options));
        view.store.caseAt(s)->serialNumber = QStringLiteral("SN-%1").arg(seed);
        BuildEventList(view, s);
        return s;
    }

    // Labels of the shown event items of a case.
    QStringList shownEvents(int s) const
    {
        QStringList out;
        QTreeWidgetItem *caseNode = CADETree::itemOf(view.store.caseAt(s)->caseItem);
        for (int i = 0; i < caseNode->childCount(); ++i)
            if (!caseNode->child(i)->isHidden())
                out << caseNode->child(i)->text(0);
        return out;
    }
    int eventCount(int s) const { return view.store.caseAt(s)->events.usedCount(); }
    void only(std::initializer_list<EventCategory> kinds)
    {
        for (int k = 0; k < EventCategoryCount; ++k)
            filter->checkBox(EventCategory(k))->setChecked(std::find(kinds.begin(), kinds.end(), EventCategory(k)) != kinds.end());
    }
    static int countContaining(const QStringList &labels, const char *text)
    {
        int n = 0;
        for (const QString &l : labels)
            n += l.contains(QLatin1String(text)) ? 1 : 0;
        return n;
    }
};

TEST_F(TreeFilter, KindsAndWordsNarrowTheEventsAndClearingKeepsTheSelection)
{
    const int total = eventCount(slot);
    QCoreApplication::processEvents(); // the count follows the inserted items
    EXPECT_EQ(filter->countLabel()->text(), QStringLiteral("%1 of %1 events shown").arg(total));
    const QStringList all = shownEvents(slot);
    ASSERT_EQ(all.size(), total);
    const int beeps = countContaining(all, "Chest compression Beep.");
    const int delivered = countContaining(all, "Prompt : Shock delivered.");
    const int analyses = countContaining(all, "Prompt : Analyzing heart rhythm.");
    ASSERT_GT(beeps, 0);
    ASSERT_GT(delivered, 0);
    ASSERT_GT(analyses, 0);

    // Select an analysis, then filter it away: the selection stays.
    QTreeWidgetItem *caseNode = CADETree::itemOf(view.store.caseAt(slot)->caseItem);
    QTreeWidgetItem *analysis = nullptr;
    for (int i = 0; i < caseNode->childCount() && !analysis; ++i)
        if (caseNode->child(i)->text(0).contains("Analyzing heart rhythm"))
            analysis = caseNode->child(i);
    tree.selectItem(CADETree::idOf(analysis));

    filter->checkBox(EventCategory::CompressionBeep)->setChecked(false);
    EXPECT_EQ(shownEvents(slot).size(), total - beeps);
    EXPECT_EQ(countContaining(shownEvents(slot), "Chest compression Beep."), 0);
    EXPECT_EQ(filter->countLabel()->text(), QStringLiteral("%1 of %2 events shown").arg(total - beeps).arg(total));

    only({EventCategory::Shock, EventCategory::Analysis});
    const QStringList kept = shownEvents(slot);
    EXPECT_EQ(countContaining(kept, "Prompt : Shock delivered."), delivered);
    EXPECT_EQ(countContaining(kept, "Prompt : Analyzing heart rhythm."), analyses);
    for (const QString &label : kept)
        EXPECT_TRUE(label.contains("hock") || label.contains("nalyz") || label.contains("Charging")) << label.toStdString();

    only({EventCategory::CompressionBeep});
    EXPECT_EQ(shownEvents(slot).size(), beeps);
    EXPECT_TRUE(analysis->isHidden());
    EXPECT_EQ(tree.selectedItem(), CADETree::idOf(analysis));
    // The date, device and case nodes stay.
    EXPECT_FALSE(caseNode->isHidden());
    EXPECT_FALSE(caseNode->parent()->isHidden());

    // Words: every kind, the events holding all the words, in any case and order.
    only({EventCategory::Shock, EventCategory::Analysis, EventCategory::CprPrompt, EventCategory::CompressionBeep,
          EventCategory::PadsAndPower, EventCategory::OtherPrompt, EventCategory::Annotation});
    filter->searchField()->setText(QStringLiteral("DELIVERED shock"));
    int both = 0;
    for (const QString &label : all)
        both += label.contains("delivered", Qt::CaseInsensitive) && label.contains("shock", Qt::CaseInsensitive) ? 1 : 0;
    EXPECT_GT(both, delivered); // "Shock will be delivered" too
    EXPECT_EQ(shownEvents(slot).size(), both);

    filter->clear();
    EXPECT_EQ(shownEvents(slot), all);
    EXPECT_EQ(tree.selectedItem(), CADETree::idOf(analysis));
    EXPECT_FALSE(analysis->isHidden());
}

TEST_F(TreeFilter, ACaseOpenedUnderAFilterIsFilteredToo)
{
    only({EventCategory::Shock});
    const int second = openRescue(8, 11);
    const QStringList shown = shownEvents(second);
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(countContaining(shown, "Chest compression Beep."), 0);
    QCoreApplication::processEvents();
    const CADETree::EventCounts counts = tree.eventCounts();
    EXPECT_EQ(counts.total, eventCount(slot) + eventCount(second));
    EXPECT_EQ(filter->countLabel()->text(), QStringLiteral("%1 of %2 events shown").arg(counts.shown).arg(counts.total));
}

TEST(Italian, EveryNewTextIsInBothPacksInBothLanguages)
{
    LanguagePack builtIn = Packs::builtInEnglish();
    LanguagePack deployed = Packs::deployed();
    for (int n = NavigationText::GoToMenu; n <= NavigationText::Navigate; ++n) {
        for (LanguagePack *pack : {&builtIn, &deployed}) {
            pack->setLanguage(2);
            ASSERT_TRUE(pack->hasText(n)) << n;
            pack->setLanguage(1);
            const QString english = pack->GetText(n);
            pack->setLanguage(2);
            const QString italian = pack->GetText(n);
            EXPECT_FALSE(english.isEmpty()) << n;
            EXPECT_FALSE(italian.isEmpty()) << n;
            EXPECT_NE(english, italian) << n << " " << english.toStdString();
        }
        builtIn.setLanguage(1);
        deployed.setLanguage(1);
        EXPECT_EQ(builtIn.columns(n), deployed.columns(n)) << n;
    }
}

// Whether a control's text fits in it: labels by their text, buttons and check boxes by
// what they ask for with their frame and box.
std::vector<std::string> clippedControls(const QWidget &page)
{
    std::vector<std::string> out;
    for (const QLabel *l : page.findChildren<QLabel *>()) {
        if (!l->isHidden() && l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width())
            out.push_back(l->text().toStdString() + " needs " + std::to_string(l->fontMetrics().horizontalAdvance(l->text()))
                          + " has " + std::to_string(l->contentsRect().width()));
    }
    for (const QAbstractButton *b : page.findChildren<QAbstractButton *>()) {
        if (!b->isHidden() && !b->text().isEmpty() && b->sizeHint().width() > b->width())
            out.push_back(b->text().toStdString());
    }
    return out;
}

TEST(Italian, TheGeneralFormIsTranslatedAndNothingOnItIsClipped)
{
    for (uint8_t language : {1, 2}) {
        DetailFixture f;
        f.texts.setLanguage(language);
        f.makeDetailView();
        const QWidget &page = *f.detail->general()->widget();
        EXPECT_EQ(clippedControls(page), std::vector<std::string>()) << "language " << int(language);
        if (language == 2) {
            EXPECT_EQ(f.detail->general()->adjustButton()->text(), "Correggi...");
            EXPECT_EQ(f.detail->general()->undoAdjustButton()->text(), "Annulla correzione");
            for (const QLabel *l : page.findChildren<QLabel *>())
                EXPECT_FALSE(l->text().contains("Power on time")) << l->text().toStdString();
        }
    }
}

TEST(Italian, QtsOwnButtonsSpeakItalianWithTheItalianPack)
{
    LanguagePack english = Packs::builtInEnglish();
    english.setLanguage(1);
    EXPECT_EQ(installQtTranslations(*qApp, english), nullptr);

    LanguagePack italian = Packs::builtInEnglish();
    italian.setLanguage(2);
    QTranslator *translator = installQtTranslations(*qApp, italian);
    ASSERT_NE(translator, nullptr) << "Qt's Italian translations (qt6-translations-l10n) are not installed";
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), "Annulla");
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text().remove('&'), QString::fromUtf8("Sì"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace

namespace {

TEST(OpenDialogMemory, TheNextOpenDialogStartsWithTheLastSerialZoneAndFolder)
{
    TempDir dir;
    const QString ini = dir.file(QStringLiteral("settings.ini"));
    SharedState state;
    FakePlatform platform;
    const LanguagePack texts = Packs::builtInEnglish();
    {
        OpenDialogMemory memory(std::make_unique<QSettings>(ini, QSettings::IniFormat));
        OpenDialogLogic first(state, platform, texts);
        const int preselected = first.zoneRow();
        memory.restore(first); // nothing remembered yet
        EXPECT_EQ(first.serialText(), "");
        EXPECT_EQ(first.zoneRow(), preselected);
        EXPECT_EQ(memory.lastFolder(), "");
        first.setSerialText(QStringLiteral("SN-0042"));
        first.setZoneRow(42);
        memory.remember(first);
        memory.rememberPick(QStringLiteral("/media/card/Q25 CT Data.MIF"), false);
    }
    OpenDialogMemory memory(std::make_unique<QSettings>(ini, QSettings::IniFormat));
    OpenDialogLogic next(state, platform, texts);
    memory.restore(next);
    EXPECT_EQ(next.serialText(), "SN-0042");
    EXPECT_EQ(next.zoneRow(), 42);
    EXPECT_EQ(memory.lastFolder(), "/media/card");
    memory.rememberPick(QStringLiteral("/media/other"), true);
    EXPECT_EQ(memory.lastFolder(), "/media/other");
    // A row the table does not have is not restored.
    QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("OpenDialog/timeZoneRow"), 9999);
    OpenDialogMemory odd(std::make_unique<QSettings>(ini, QSettings::IniFormat));
    OpenDialogLogic third(state, platform, texts);
    const int preselected = third.zoneRow();
    odd.restore(third);
    EXPECT_EQ(third.zoneRow(), preselected);
}

} // namespace
