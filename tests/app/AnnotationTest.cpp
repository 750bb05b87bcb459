#include "case/CaseTreeFixture.h"
#include "base/CommandIds.h"
#include "case/AnnotationForm.h"
#include "app/CAnnotation.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

const QString OutOfRange = QStringLiteral("Annotation time is not in the range of the current case.");

class Annotation : public ::testing::Test, public CaseTreeFixture
{
protected:
    // Scripts the next dialog: fill in, press OK once; records what it showed.
    void fillIn(CTimeSpan afterStart, const QString &title, const QString &body)
    {
        platform.annotationScript = [=, this](AnnotationForm &form) {
            shown.append({form.pickedTime, form.title, form.body, form.timeEditable()});
            dialogWasOpen = view.annotationDialogOpen;
            form.pickedTime = form.caseStart() + afterStart;
            form.title = title;
            form.body = body;
            return form.accept();
        };
    }

    struct Shown { CTime time; QString title; QString body; bool timeEditable; };
    QList<Shown> shown;
    bool dialogWasOpen = false;

    // A case with "Power on." and one device event at 65 s, its case node selected.
    int selectedCase()
    {
        const int slot = openCase(folder({{2, 65000}}));
        tree.click(view.store.caseAt(slot)->caseItem);
        return slot;
    }
    CTime start(int slot) const { return view.store.caseAt(slot)->startTime; }
};

TEST_F(Annotation, AddedFromTheTreeAtTheStartFollowsPowerOn)
{
    const int slot = selectedCase();
    fillIn(CTimeSpan(0), "T", "body");
    tree.menuScript = [](const TreeMenu &) { return CommandId::AddAnnotation; };
    tree.pressRightButton();

    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].time, start(slot));
    EXPECT_TRUE(shown[0].timeEditable);
    EXPECT_TRUE(dialogWasOpen);
    EXPECT_FALSE(view.annotationDialogOpen);
    EXPECT_EQ(eventLines(slot), QStringList({"09:05:00 Power on.", "09:05:00 A: T", "09:06:05 Prompt : Call for help."}));
    const CaseRecord &c = *view.store.caseAt(slot);
    EXPECT_EQ(c.events[eventSlot(slot, "A: ")].detail, "body");
    EXPECT_EQ(c.annotationChangeCount, 1);
    EXPECT_EQ(c.savedAnnotationCount, 0);
    EXPECT_EQ(view.state.unsavedChanges, 1);
}

TEST_F(Annotation, EditShowsTheTitleAndKeepsTheExactTimeUnlessTheTimeChanges)
{
    const int slot = createCase(folder());
    view.store.caseAt(slot)->timeZoneIndex = seoulRow();
    view.store.caseAt(slot)->savedAnnotationCount = view.store.caseAt(slot)->annotationChangeCount = 1;
    view.store.pendingAnnotations = {EventItem::make(12345, "A: x", "old body")};
    BuildEventList(view, slot);
    const int note = eventSlot(slot, "A: ");
    tree.click(eventItem(slot, note));

    fillIn(CTimeSpan(12), "renamed", "new body");
    view.OnTreeMenuCommand(CommandId::EditAnnotation);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].title, "x");
    EXPECT_EQ(shown[0].body, "old body");
    EXPECT_EQ(shown[0].time, start(slot) + CTimeSpan(12));
    const EventItem &e = view.store.caseAt(slot)->events[note];
    EXPECT_EQ(e.timeMs, 12345);
    EXPECT_EQ(e.text, "A: renamed");
    EXPECT_EQ(e.detail, "new body");
    EXPECT_EQ(eventLines(slot).last(), "09:05:12 A: renamed");

    tree.click(eventItem(slot, note));
    fillIn(CTimeSpan(70), "renamed", "new body");
    view.OnTreeMenuCommand(CommandId::EditAnnotation);
    EXPECT_EQ(e.timeMs, 70000);
    EXPECT_EQ(e.elapsed, CTimeSpan(70));
    EXPECT_EQ(view.store.caseAt(slot)->annotationChangeCount, 1);
    // An edit is a change the archive does not hold yet.
    EXPECT_TRUE(view.isChanged(slot));
    EXPECT_EQ(view.state.unsavedChanges, 1);
}

TEST_F(Annotation, FromTheEnlargedEcgTheGivenTimeIsStoredExactly)
{
    const int slot = selectedCase();
    platform.annotationScript = [&](AnnotationForm &form) {
        shown.append({form.pickedTime, form.title, form.body, form.timeEditable()});
        form.title = "mark";
        return form.accept();
    };
    EXPECT_TRUE(view.AddAnnotationAt(slot, 12345));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].time, start(slot) + CTimeSpan(12));
    EXPECT_FALSE(shown[0].timeEditable);
    EXPECT_EQ(view.store.caseAt(slot)->events[eventSlot(slot, "A: ")].timeMs, 12345);
    EXPECT_EQ(eventLines(slot)[1], "09:05:12 A: mark");
    EXPECT_EQ(view.store.caseAt(slot)->annotationChangeCount, 1);
}

TEST_F(Annotation, TimeBeforeTheStartIsRefusedAndTheDialogStays)
{
    const int slot = selectedCase();
    struct Case { int64_t afterStart; bool accepted; };
    // Days after the power-off are fine; past the reach of a 32-bit ms count is not.
    const Case cases[] = {{-1, false}, {3 * 86400, true}, {24 * 86400, true}, {25 * 86400, false}};
    for (const Case &k : cases) {
        platform.messages.clear();
        bool firstTry = false;
        platform.annotationScript = [&](AnnotationForm &form) {
            form.pickedTime = form.caseStart() + CTimeSpan(k.afterStart);
            form.title = "t";
            firstTry = form.accept();
            return firstTry; // a refused OK leaves the dialog up; the user cancels then
        };
        const int before = view.store.caseAt(slot)->events.usedCount();
        view.OnAddAnnotation(slot);
        EXPECT_EQ(firstTry, k.accepted) << k.afterStart;
        EXPECT_EQ(view.store.caseAt(slot)->events.usedCount(), before + (k.accepted ? 1 : 0)) << k.afterStart;
        if (k.accepted)
            continue;
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0].text, OutOfRange);
        EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    }
    EXPECT_EQ(view.store.caseAt(slot)->annotationChangeCount, 2);
}

TEST_F(Annotation, CancelStoresNothingAndNoTreeMenuOpensMeanwhile)
{
    const int slot = selectedCase();
    platform.annotationScript = [&](AnnotationForm &) {
        tree.pressRightButton();
        return false;
    };
    view.OnAddAnnotation(slot);
    EXPECT_EQ(platform.annotationDialogRuns, 1);
    EXPECT_TRUE(tree.menusShown.isEmpty());
    EXPECT_EQ(view.store.caseAt(slot)->events.usedCount(), 2);
    EXPECT_EQ(view.store.caseAt(slot)->annotationChangeCount, 0);
    EXPECT_EQ(view.state.unsavedChanges, 0);
}

TEST(AnnotationLabels, FollowTheLanguageNumber)
{
    const AnnotationForm::Labels english = AnnotationForm::labelsFor(1);
    const AnnotationForm::Labels italian = AnnotationForm::labelsFor(2);
    EXPECT_EQ(QStringList({english.caption, english.time, english.title, english.annotation, english.cancel}),
              QStringList({"Annotation Case", "Time", "Title", "Annotation", "Cancel"}));
    EXPECT_EQ(QStringList({italian.caption, italian.time, italian.title, italian.annotation, italian.cancel}),
              QStringList({"Annotazione caso", "Orario", "Titolo", "Annotazione", "Annulla"}));
    EXPECT_EQ(AnnotationForm::labelsFor(0).caption, "Annotation Case");
    EXPECT_EQ(AnnotationForm::labelsFor(7).cancel, "Cancel");
}

TEST_F(Annotation, DialogShowsTheFormAndLimitsWhatCanBeTyped)
{
    const int slot = selectedCase();
    AnnotationForm form(view, slot, AnnotationForm::AddFromTree, 0);
    CAnnotation dialog(form);
    EXPECT_EQ(dialog.windowTitle(), "Annotation Case");
    EXPECT_EQ(dialog.timePicker()->displayFormat(), "yyyy-MM-dd HH:mm:ss");
    // The picker shows the device clock's fields, whatever the computer's zone.
    EXPECT_EQ(dialog.timePicker()->dateTime().toString("yyyy-MM-dd HH:mm:ss"), "2021-03-07 09:05:00");
    EXPECT_EQ(dialog.titleEdit()->maxLength(), 20);
    EXPECT_EQ(dialog.titleRemaining()->text(), "20 characters left");
    dialog.titleEdit()->setText(QString(15, QLatin1Char('t')));
    EXPECT_EQ(dialog.titleRemaining()->text(), "5 characters left");

    dialog.titleEdit()->setText(QString(30, QLatin1Char('t')));
    EXPECT_EQ(dialog.titleRemaining()->text(), "0 characters left");
    dialog.bodyEdit()->setPlainText(QString(300, QLatin1Char('b')));
    EXPECT_EQ(dialog.titleEdit()->text().size(), 20);
    EXPECT_EQ(dialog.bodyEdit()->toPlainText().size(), 255);

    dialog.timePicker()->setDateTime(DeviceClockDateTime(start(slot) - CTimeSpan(1)));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(platform.texts(), QStringList({OutOfRange}));

    dialog.timePicker()->setDateTime(DeviceClockDateTime(start(slot) + CTimeSpan(61)));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(eventLines(slot)[1], "09:06:01 A: " + QString(20, QLatin1Char('t')));
}

TEST_F(Annotation, DialogInModeThreeCannotChangeTheTimeAndKeepsLongerArchivedTexts)
{
    const int slot = selectedCase();
    AnnotationForm atTime(view, slot, AnnotationForm::AddAtTime, 12345);
    CAnnotation fixed(atTime);
    EXPECT_FALSE(fixed.timePicker()->isEnabled());

    view.store.AddEvent(slot, 1000, "A: " + QString(25, QLatin1Char('x')), QString(300, QLatin1Char('y')));
    AnnotationForm edit(view, slot, AnnotationForm::Edit, eventSlot(slot, "A: "));
    CAnnotation dialog(edit);
    EXPECT_EQ(dialog.titleEdit()->text().size(), 25);
    EXPECT_EQ(dialog.bodyEdit()->toPlainText().size(), 300);
}

TEST_F(Annotation, ItalianDialogLabels)
{
    texts.setLanguage(2);
    const int slot = selectedCase();
    AnnotationForm form(view, slot, AnnotationForm::AddFromTree, 0);
    CAnnotation dialog(form);
    EXPECT_EQ(dialog.windowTitle(), "Annotazione caso");
    EXPECT_EQ(dialog.titleRemaining()->text(), "20 caratteri rimasti");
}

} // namespace
