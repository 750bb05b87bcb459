// The right pane: which form shows for which selection and tab, and the General form's
// fields and change handlers.
#include "DetailFixture.h"
#include "app/CCprQualityTab.h"
#include "app/CDetailSub.h"
#include "app/CDetailSub1.h"
#include "ecg/CEntired.h"
#include "ecg/CGeneralNote.h"
#include "ecg/CMagnified.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <functional>
#include <gtest/gtest.h>

namespace {

class DetailView : public ::testing::Test, public DetailFixture
{
protected:
    void SetUp() override { makeDetailView(); }

    CDetailSub &general() { return *detail->general(); }
    // The forms shown, as G (General), E (entire ECG), M (enlarged ECG), N (no case).
    QString shown()
    {
        QString s;
        if (!general().isHidden())
            s += 'G';
        if (!detail->entireHost()->isHidden())
            s += 'E';
        if (!enlarged().isHidden())
            s += 'M';
        if (!detail->noCaseLabel()->isHidden())
            s += 'N';
        return s;
    }
    // The user types text into an edit.
    static void type(QLineEdit *edit, const QString &text)
    {
        edit->setText(text);
        emit edit->textEdited(text);
    }
    static void choose(QComboBox *list, int index)
    {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    static void click(QCheckBox *box)
    {
        box->setChecked(!box->isChecked());
        emit box->clicked(box->isChecked());
    }
};

TEST_F(DetailView, NoCaseLoadedUntilACaseIsSelected)
{
    EXPECT_EQ(shown(), "N");
    EXPECT_EQ(detail->noCaseLabel()->text(), "No case loaded.");
    EXPECT_EQ(detail->noCaseLabel()->pos(), QPoint(500, 350));
    EXPECT_EQ(detail->tabBar()->count(), 4);
    EXPECT_EQ(detail->tabBar()->tabText(2), "Enlarged ECG ");
    EXPECT_EQ(detail->tabBar()->tabText(3), "CPR quality");
    EXPECT_EQ(detail->tabBar()->tabIcon(1).availableSizes().value(0), QSize(16, 16));

    // Every tab shows nothing while the selection is negative.
    for (int tab : {1, 2, 3, 0}) {
        detail->tabBar()->setCurrentIndex(tab);
        EXPECT_EQ(shown(), "N") << tab;
        EXPECT_TRUE(detail->cprTab()->isHidden()) << tab;
    }
    const int slot = caseWithEvents({0, 20000});
    select(slot, 0);
    EXPECT_EQ(shown(), "G");
    select(-1, 0);
    EXPECT_EQ(shown(), "N");
}

TEST_F(DetailView, TabsShowTheirFormAtTheReviewPosition)
{
    const int slot = caseWithEvents({0, 40000, 95500});
    select(slot, 12);
    EXPECT_EQ(shown(), "G");
    EXPECT_EQ(general().shownCase(), slot);

    detail->tabBar()->setCurrentIndex(1);
    EXPECT_EQ(shown(), "E");
    EXPECT_EQ(detail->entireHost()->window()->m_nCase, slot);
    EXPECT_EQ(detail->entireHost()->window()->m_nCentreMs, 12000);
    EXPECT_EQ(detail->entireHost()->scrollBar()->value(), 12);

    detail->tabBar()->setCurrentIndex(2);
    EXPECT_EQ(shown(), "M");
    EXPECT_EQ(enlarged().window()->m_nCase, slot);
    EXPECT_EQ(enlarged().window()->m_nCentreMs, 12000);

    // An event selected in the tree moves both ECG tabs there.
    select(slot, 40);
    EXPECT_EQ(enlarged().window()->m_nCentreMs, 40000);
    EXPECT_EQ(enlarged().scrollBar()->value(), 40);

    // Both scroll bars run to the last event's whole second.
    for (CEcgTabHost *host : {static_cast<CEcgTabHost *>(detail->entireHost()), static_cast<CEcgTabHost *>(&enlarged())}) {
        EXPECT_EQ(host->scrollBar()->minimum(), 0);
        EXPECT_EQ(host->scrollBar()->maximum(), 95);
    }

    // Forms fill the pane under the tab bar.
    EXPECT_EQ(enlarged().geometry(), QRect(0, 22, 1000, 678));
    EXPECT_EQ(detail->tabBar()->geometry(), QRect(0, 0, 1000, 22));
}

// The tab forms are made when first needed: none for the empty view, then each as its tab is
// first shown, placed like the others and with the case's scroll range, so that a jump into a
// tab not made yet lands where it should.
TEST_F(DetailView, EachTabFormIsMadeWhenFirstShown)
{
    CDetailView fresh(view, review);
    fresh.resize(1000, 700);
    fresh.show();
    const auto made = [&fresh] {
        QString s;
        for (int tab : {CDetailView::GeneralTab, CDetailView::EntireTab, CDetailView::EnlargedTab,
                        CDetailView::CprQualityTab})
            s += fresh.hasForm(tab) ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };
    EXPECT_EQ(made(), "0000");

    const int slot = caseWithEvents({0, 300000});
    review.m_nSelCase = slot;
    review.m_tsPosition = CTimeSpan(0);
    review.m_bSelChanged = 1;
    fresh.refresh();
    EXPECT_EQ(made(), "1000");

    // Go to time from the General form: into the enlarged ECG, made now.
    fresh.goToPosition(250);
    EXPECT_EQ(made(), "1010");
    CDetailSub2 *enlarged = fresh.enlargedHost();
    EXPECT_EQ(fresh.tabBar()->currentIndex(), CDetailView::EnlargedTab);
    EXPECT_EQ(review.m_tsPosition.GetTotalSeconds(), 250);
    EXPECT_EQ(enlarged->scrollBar()->maximum(), 300);
    EXPECT_EQ(enlarged->scrollBar()->value(), 250);
    EXPECT_EQ(enlarged->geometry(), QRect(0, CDetailView::TabBarHeight, 1000, 700 - CDetailView::TabBarHeight));
    EXPECT_TRUE(enlarged->isVisible());
    EXPECT_FALSE(fresh.general()->isVisible());

    fresh.tabBar()->setCurrentIndex(CDetailView::EntireTab);
    EXPECT_EQ(made(), "1110");
    EXPECT_EQ(fresh.entireHost()->scrollBar()->maximum(), 300);
    EXPECT_TRUE(fresh.entireHost()->isVisible());
    EXPECT_FALSE(enlarged->isVisible());

    fresh.tabBar()->setCurrentIndex(CDetailView::CprQualityTab);
    EXPECT_EQ(made(), "1111");
    EXPECT_TRUE(fresh.cprTab()->isVisible());
    EXPECT_FALSE(fresh.entireHost()->isVisible());
}

TEST_F(DetailView, ShowEnlargedSwitchesToTheEnlargedTabOnce)
{
    const int slot = caseWithEvents({0, 30000});
    select(slot, 7, true);
    EXPECT_EQ(detail->tabBar()->currentIndex(), 2);
    EXPECT_EQ(review.m_bShowEnlarged, 0);
    EXPECT_EQ(shown(), "M");
    EXPECT_EQ(enlarged().window()->m_nCentreMs, 7000);

    // A click in the entire ECG asks for the enlarged ECG at the clicked time.
    detail->tabBar()->setCurrentIndex(1);
    CEntired &entire = *detail->entireHost()->window();
    const EntireGeometry g = entireGeometry(entire.picture().width(), entire.picture().height());
    // Row 4 starts 15 s after the centre: 5 s into it is 27 s.
    const int before = treeSelections;
    entire.OnLeftButtonUp({g.rowLeft() + 5 * g.v, g.rowRect(3).center().y()});
    ASSERT_EQ(entire.m_nMouseMs, 27000);
    EXPECT_EQ(detail->tabBar()->currentIndex(), 2);
    EXPECT_EQ(shown(), "M");
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(entire.m_nMouseMs / 1000));
    EXPECT_EQ(enlarged().window()->m_nCentreMs, entire.m_nMouseMs / 1000 * 1000);
    EXPECT_EQ(treeSelections, before + 1);
}

TEST_F(DetailView, GeneralFormShowsTheCase)
{
    const int slot = caseWithEvents({0, 3725000, 95500});
    CaseRecord *c = view.store.caseAt(slot);
    c->serialNumber = "SN-7";
    c->comments = "Bystander CPR";
    c->operatorName = "Rossi";
    c->patientId = "P-1";
    c->lastName = "Bianchi";
    c->firstName = "Anna";
    c->middleInitial = "M";
    c->nameSuffixIndex = 6;
    c->sexIndex = 2;
    c->raceIndex = 3;
    c->heightText = "170";
    c->heightUnitIndex = 1;
    c->weightText = "65";
    c->weightUnitIndex = 1;
    c->adjustedPowerOnTimeText = "2021-03-04 05:06:07";
    c->birthDateKnown = true;
    c->birthDate = CTime(1980, 5, 17, 12, 0, 0);
    c->powerOnTimeText = "2021-03-04 06:00:00";
    view.store.at(slot).recordingId = QString(64, QLatin1Char('a'));
    select(slot, 0);

    CDetailSub &g = general();
    EXPECT_EQ(g.dataDuration()->text(), "01:02:05");
    EXPECT_EQ(g.fileName()->text(), dir.file("case.aed"));
    EXPECT_EQ(g.recordingId()->text(), QString(64, QLatin1Char('a')));
    EXPECT_TRUE(g.recordingId()->isReadOnly());
    EXPECT_EQ(g.deviceType()->text(), "AED");
    EXPECT_EQ(g.serialNumber()->text(), "SN-7");
    EXPECT_EQ(g.comments()->toPlainText(), "Bystander CPR");
    EXPECT_EQ(g.operatorName()->text(), "Rossi");
    EXPECT_EQ(g.powerOnTime()->text(), "2021-03-04 06:00:00");
    EXPECT_EQ(g.adjustedPowerOnTime()->text(), "2021-03-04 05:06:07");
    EXPECT_EQ(g.lastName()->text(), "Bianchi");
    EXPECT_EQ(g.nameSuffix()->currentText(), "Jr.");
    EXPECT_EQ(g.sex()->currentText(), "Female");
    EXPECT_EQ(g.race()->currentText(), "Asian of Pacific Islander");
    EXPECT_EQ(g.heightUnit()->currentText(), "cm");
    EXPECT_EQ(g.weightUnit()->currentText(), "kg");
    EXPECT_EQ(g.birthDate()->date(), QDate(1980, 5, 17));
    EXPECT_TRUE(g.birthDateKnown()->isChecked());
    EXPECT_TRUE(g.birthDate()->isEnabled());
    EXPECT_TRUE(g.birthDateUnknown()->isEnabled());
    EXPECT_TRUE(g.runNumber()->text().isEmpty());
    EXPECT_FALSE(g.runNumber()->isEnabled());
    EXPECT_TRUE(g.startTime()->isHidden());
    EXPECT_TRUE(g.deviceId()->isHidden());
    EXPECT_EQ(g.labelOf(113)->text(), "Serial Number :");
    EXPECT_EQ(g.labelOf(107)->geometry(), CDetailSub::dialogRect(7, 28, 100, 8));

    // The three header bars above the groups.
    QList<QRect> bars;
    for (CGeneralNote *bar : g.headerBars())
        bars << bar->geometry();
    EXPECT_EQ(bars, QList<QRect>({QRect(5, 10, 610, 25), QRect(5, 225, 610, 25), QRect(5, 350, 610, 25)}));
    EXPECT_EQ(g.headerBars()[2]->kind(), 3);

    // A case without a known birth date clears the box and locks the picker.
    const int other = caseWithEvents({});
    select(other, 0);
    EXPECT_FALSE(g.birthDateKnown()->isChecked());
    EXPECT_FALSE(g.birthDate()->isEnabled());
    EXPECT_FALSE(g.birthDateUnknown()->isEnabled());
    EXPECT_FALSE(g.birthDateUnknown()->isChecked());
    EXPECT_EQ(g.dataDuration()->text(), "00:00:00");
    EXPECT_EQ(detail->entireHost()->scrollBar()->maximum(), 0);
    EXPECT_EQ(enlarged().scrollBar()->maximum(), 0);
    // Filling another case wrote nothing into the first one.
    EXPECT_EQ(c->operatorName, "Rossi");
    EXPECT_TRUE(c->birthDateKnown);
}

TEST_F(DetailView, DataDurationIsTheLatestEventAfterPowerOn)
{
    struct Case {
        std::initializer_list<int32_t> times;
        const char *text;
    };
    const Case cases[] = {
        {{}, "00:00:00"},
        {{0}, "00:00:00"},
        {{95500, 1000}, "00:01:35"},
        {{90000000}, "01:00:00"}, // hours within the day
    };
    for (const Case &k : cases) {
        select(caseWithEvents(k.times), 0);
        EXPECT_EQ(general().dataDuration()->text(), k.text);
    }
}

TEST_F(DetailView, ChangesGoStraightIntoTheShownCase)
{
    const int slot = caseWithEvents({0, 5000});
    select(slot, 0);
    CaseRecord *c = view.store.caseAt(slot);
    CDetailSub &g = general();

    const QList<QPair<QLineEdit *, QString CaseRecord::*>> edits = {
        {g.adjustedPowerOnTime(), &CaseRecord::adjustedPowerOnTimeText},
        {g.operatorName(), &CaseRecord::operatorName},
        {g.patientId(), &CaseRecord::patientId},
        {g.lastName(), &CaseRecord::lastName},
        {g.firstName(), &CaseRecord::firstName},
        {g.middleInitial(), &CaseRecord::middleInitial},
        {g.heightText(), &CaseRecord::heightText},
        {g.weightText(), &CaseRecord::weightText},
    };
    int n = 0;
    for (const auto &[edit, field] : edits) {
        const QString text = QStringLiteral("typed %1").arg(++n);
        type(edit, text);
        EXPECT_EQ(c->*field, text) << n;
    }
    g.comments()->setPlainText("line one\nline two");
    EXPECT_EQ(c->comments, "line one\nline two");

    const QList<QPair<QComboBox *, int32_t CaseRecord::*>> lists = {
        {g.nameSuffix(), &CaseRecord::nameSuffixIndex}, {g.sex(), &CaseRecord::sexIndex},
        {g.race(), &CaseRecord::raceIndex},             {g.heightUnit(), &CaseRecord::heightUnitIndex},
        {g.weightUnit(), &CaseRecord::weightUnitIndex},
    };
    for (const auto &[list, field] : lists) {
        choose(list, 2);
        EXPECT_EQ(c->*field, 2);
    }

    // The DOB box unlocks the picker; a picked day keeps the time of day.
    c->birthDate = CTime(1970, 1, 2, 8, 30, 0);
    select(slot, 0);
    click(g.birthDateKnown());
    EXPECT_TRUE(c->birthDateKnown);
    EXPECT_TRUE(g.birthDate()->isEnabled());
    g.birthDate()->setDate(QDate(1990, 7, 1));
    EXPECT_EQ(c->birthDate, CTime(1990, 7, 1, 8, 30, 0));
    click(g.birthDateUnknown());
    EXPECT_TRUE(c->birthDateUnknown);
    // Clearing DOB clears and locks Unknown, in the case as on the form.
    click(g.birthDateKnown());
    EXPECT_FALSE(c->birthDateKnown);
    EXPECT_FALSE(c->birthDateUnknown);
    EXPECT_FALSE(g.birthDateUnknown()->isChecked());
    EXPECT_FALSE(g.birthDateUnknown()->isEnabled());

    // The edits are the case's unsaved changes.
    EXPECT_TRUE(view.isChanged(slot));
    EXPECT_EQ(view.state.unsavedChanges, 1);
}

TEST_F(DetailView, EveryFieldTheArchiveKeepsMarksOnlyTheShownCaseChanged)
{
    const int other = caseWithEvents({0});
    const int slot = caseWithEvents({0});
    select(slot, 0);
    CDetailSub &g = general();
    const auto pickAnother = [](QComboBox *list) {
        const int index = list->currentIndex() == 1 ? 0 : 1;
        list->setCurrentIndex(index);
        emit list->activated(index);
    };
    const std::vector<std::pair<const char *, std::function<void()>>> edits = {
        {"comments", [&] { g.comments()->setPlainText("note"); }},
        {"operator", [&] { type(g.operatorName(), "Rossi"); }},
        {"patient id", [&] { type(g.patientId(), "P-1"); }},
        {"last name", [&] { type(g.lastName(), "Bianchi"); }},
        {"first name", [&] { type(g.firstName(), "Anna"); }},
        {"middle initial", [&] { type(g.middleInitial(), "M"); }},
        {"height", [&] { type(g.heightText(), "170"); }},
        {"weight", [&] { type(g.weightText(), "65"); }},
        {"suffix", [&] { pickAnother(g.nameSuffix()); }},
        {"sex", [&] { pickAnother(g.sex()); }},
        {"race", [&] { pickAnother(g.race()); }},
        {"height unit", [&] { pickAnother(g.heightUnit()); }},
        {"weight unit", [&] { pickAnother(g.weightUnit()); }},
        {"birth date known", [&] { click(g.birthDateKnown()); }},
        {"birth date", [&] { g.birthDate()->setDate(QDate(1990, 7, 1)); }},
        {"birth date unknown", [&] { click(g.birthDateUnknown()); }},
    };
    for (const auto &[name, edit] : edits) {
        // (The birth date and its Unknown box are open once "birth date known" was ticked.)
        view.markSaved(slot);
        ASSERT_FALSE(view.isChanged(slot)) << name;
        edit();
        EXPECT_TRUE(view.isChanged(slot)) << name;
        EXPECT_FALSE(view.isChanged(other)) << name;
        EXPECT_EQ(view.state.unsavedChanges, 1) << name;
    }

    // The typed adjusted start is a proposal, not a field of the archive.
    view.markSaved(slot);
    type(g.adjustedPowerOnTime(), "2021-03-04 05:06:07");
    EXPECT_FALSE(view.isChanged(slot));
    EXPECT_EQ(view.state.unsavedChanges, 0);
}

TEST_F(DetailView, PowerOnTimeShowsTheShownCasesOwnStart)
{
    const int first = caseWithEvents({0});
    const int second = caseWithEvents({0});
    view.store.caseAt(first)->powerOnTimeText = "2020-01-02 03:04:05";
    view.store.caseAt(second)->powerOnTimeText = "2020-02-02 00:00:00";
    select(first, 0);
    CDetailSub &g = general();
    EXPECT_EQ(g.powerOnTime()->text(), "2020-01-02 03:04:05");

    // Typing is not kept: the case's own text comes back, and no other case's.
    type(g.powerOnTime(), "2020-01-02 03:04:0");
    EXPECT_EQ(g.powerOnTime()->text(), "2020-01-02 03:04:05");
    EXPECT_EQ(view.store.caseAt(first)->powerOnTimeText, "2020-01-02 03:04:05");
    EXPECT_EQ(view.store.caseAt(second)->powerOnTimeText, "2020-02-02 00:00:00");

    select(second, 0);
    EXPECT_EQ(g.powerOnTime()->text(), "2020-02-02 00:00:00");
}

TEST_F(DetailView, AdjustHandsTheShownCaseAndTheTypedStartOn)
{
    caseWithEvents({0});
    const int slot = caseWithEvents({0});
    select(slot, 0);
    int adjustedSlot = -1;
    QString typed;
    general().onAdjustRequest = [&](int s, const QString &t) {
        adjustedSlot = s;
        typed = t;
    };
    type(general().adjustedPowerOnTime(), "2021-03-04 05:06:07");
    general().adjustButton()->click();
    EXPECT_EQ(adjustedSlot, slot);
    EXPECT_EQ(typed, "2021-03-04 05:06:07");
}

TEST_F(DetailView, UndoAdjustmentIsOfferedOnlyForAnAdjustedStartOfACaseThatCanBeChanged)
{
    const int plain = caseWithEvents({0});
    const int adjusted = caseWithEvents({0});
    view.store.at(adjusted).adjustedStart = "2021-03-04 05:06:07";
    QList<int> undone;
    view.undoAdjustment = [&undone](int s) { undone << s; };

    select(plain, 0);
    EXPECT_FALSE(general().undoAdjustButton()->isEnabled());
    general().OnUndoAdjustment();
    select(adjusted, 0);
    ASSERT_TRUE(general().undoAdjustButton()->isEnabled());
    general().undoAdjustButton()->click();
    EXPECT_EQ(undone, QList<int>{adjusted});

    view.makeReadOnly(adjusted);
    general().Fill(adjusted);
    EXPECT_FALSE(general().undoAdjustButton()->isEnabled());
    general().OnUndoAdjustment();
    EXPECT_EQ(undone, QList<int>{adjusted}) << "a read-only case keeps its start";
}

TEST(DetailViewItalian, ListsAndLabelsInItalianWithTheSameIndices)
{
    DetailFixture f;
    f.texts.setLanguage(2);
    f.makeDetailView();
    CDetailSub &g = *f.detail->general();
    auto items = [](QComboBox *list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    };
    EXPECT_EQ(items(g.sex()), QStringList({"", "Maschile", "Femminile"}));
    EXPECT_EQ(items(g.race()), QStringList({"", "Bianco", "Nero", "Asiatico o delle Isole del Pacifico",
                                            "Indiano Americano/Eschimo/Isole Aleutine", "Altro", "Sconosciuto"}));
    EXPECT_EQ(items(g.nameSuffix()), QStringList({"", "I", "II", "III", "IV", "V", "Jr.", "Sr."}));
    EXPECT_EQ(items(g.heightUnit()), QStringList({"in", "cm", "m"}));
    EXPECT_EQ(items(g.weightUnit()), QStringList({"lbs", "kg", "g"}));
    EXPECT_EQ(g.labelOf(120)->text(), "Sesso :");
    EXPECT_EQ(g.birthDateUnknown()->text(), "Sconosciuto");
    // Before any case: the "Unknown" race, the first of the other lists.
    EXPECT_EQ(g.race()->currentIndex(), 6);
    EXPECT_EQ(g.sex()->currentIndex(), 0);
    EXPECT_EQ(f.detail->noCaseLabel()->text(), "Nessun caso caricato.");

    const int slot = f.caseWithEvents({0});
    f.view.store.caseAt(slot)->sexIndex = 1;
    f.select(slot, 0);
    EXPECT_EQ(g.sex()->currentText(), "Maschile");
}

} // namespace
