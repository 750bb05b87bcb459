// Save and Save As of the case selected in the tree, through the scripted platform.
#include "OpenFlowFixture.h"

#include "archive/AedArchive.h"
#include "archive/SaveCommand.h"
#include "case/AnnotationForm.h"

class SaveCommandTest : public OpenFlowFixture
{
protected:
    // Opens an archive of a Q21 rescue named Q21_0905(2021-03-07).aed; returns its slot.
    // Each call opens an archive of its own (an archive already open is not opened twice).
    int openQ21Case()
    {
        const QString archive = makeArchive(dir.mkdir(m_opened++ == 0 ? QStringLiteral("in") : QStringLiteral("in%1").arg(m_opened)) + "/Q21_0905(2021-03-07).aed",
                                            rescue(DeviceFiles::Model::Q21));
        EXPECT_TRUE(openArchiveFile(view, archive));
        return view.store.slotCount() - 1;
    }

    int m_opened = 0;

    void select(int slot) { tree.click(view.store.caseAt(slot)->caseItem); }

    // Adds an annotation at a case time through the annotation dialog.
    void annotate(int slot, int32_t timeMs, const QString &title, const QString &body)
    {
        platform.annotationScript = [title, body](AnnotationForm &form) {
            form.title = title;
            form.body = body;
            return form.accept();
        };
        ASSERT_TRUE(view.AddAnnotationAt(slot, timeMs));
    }

    static QList<QPair<int32_t, QString>> annotations(const CaseRecord &c)
    {
        QList<QPair<int32_t, QString>> out;
        c.events.forEachUsed([&](int, const EventItem &e) {
            if (e.text.startsWith("A: "))
                out.append({e.timeMs, e.text + " / " + e.detail});
        });
        return out;
    }
};

TEST_F(SaveCommandTest, RefusalsAndTheirMessages)
{
    EXPECT_FALSE(SaveSelectedCase(view));
    EXPECT_EQ(platform.texts(), QStringList{view.GetText(74)}) << "no case open";

    openQ21Case();
    platform.messages.clear();
    EXPECT_FALSE(SaveSelectedCase(view));
    EXPECT_EQ(platform.texts(), QStringList{view.GetText(72)}) << "nothing selected";

    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_EQ(platform.messages[0].caption, view.GetText(66));
    EXPECT_TRUE(platform.saveRequests.isEmpty());
}

TEST_F(SaveCommandTest, ProposesTheArchiveNameWithoutItsExtension)
{
    const int slot = openQ21Case();
    select(slot);

    EXPECT_FALSE(SaveSelectedCase(view)) << "cancelled";

    ASSERT_EQ(platform.saveRequests.size(), 1);
    // The proposal is the case's own archive, in its folder.
    EXPECT_EQ(platform.saveRequests[0].folder, dir.file("in/Q21_0905(2021-03-07)"));
    EXPECT_EQ(platform.saveRequests[0].defaultSuffix, "aed");
    EXPECT_EQ(platform.saveRequests[0].filter, AedArchive::fileFilter());
    EXPECT_TRUE(platform.messages.isEmpty());

    // With the Italian pack the dialog's file types are Italian too.
    texts.setLanguage(2);
    EXPECT_FALSE(SaveSelectedCase(view));
    ASSERT_EQ(platform.saveRequests.size(), 2);
    EXPECT_EQ(platform.saveRequests[1].filter, "File di dati AED Veltris (*.aed);;Tutti i file (*.*)");
}

TEST_F(SaveCommandTest, SavedCaseReopensWithTheSameFieldsAndAnnotations)
{
    const int slot = openQ21Case();
    CaseRecord &c = *view.store.caseAt(slot);
    c.lastName = "Rossi";
    c.firstName = "Anna";
    c.patientId = "P-17";
    c.comments = "bystander CPR";
    c.sexIndex = 2;
    c.weightText = "61";
    annotate(slot, 2000, "pads", "placed on the chest");
    annotate(slot, 1000, "arrival", "");
    ASSERT_EQ(view.state.unsavedChanges, 1);
    select(slot);
    const QString saved = dir.file("saved.aed");
    platform.savePaths.push_back(saved);

    EXPECT_TRUE(SaveSelectedCase(view));
    EXPECT_EQ(view.state.unsavedChanges, 0) << "no case has unsaved changes left";
    EXPECT_EQ(c.savedAnnotationCount, 2);
    EXPECT_EQ(view.store.at(slot).sourcePath, dir.file("in/Q21_0905(2021-03-07).aed")) << "the case stays where it was";

    ASSERT_TRUE(openArchiveFile(view, saved));
    const CaseRecord &reopened = *view.store.caseAt(view.store.slotCount() - 1);
    EXPECT_EQ(reopened.lastName, "Rossi");
    EXPECT_EQ(reopened.firstName, "Anna");
    EXPECT_EQ(reopened.patientId, "P-17");
    EXPECT_EQ(reopened.comments, "bystander CPR");
    EXPECT_EQ(reopened.sexIndex, 2);
    EXPECT_EQ(reopened.weightText, "61");
    EXPECT_EQ(reopened.startTime, c.startTime);
    EXPECT_EQ(annotations(reopened), annotations(c));
    EXPECT_EQ(annotations(reopened).size(), 2);
}

TEST_F(SaveCommandTest, UnsavedFlagStaysWhileAnotherCaseHasChanges)
{
    const int first = openQ21Case();
    const int second = openQ21Case();
    annotate(first, 1000, "one", "");
    annotate(second, 1000, "two", "");
    select(first);
    platform.savePaths.push_back(dir.file("first.aed"));

    EXPECT_TRUE(SaveSelectedCase(view));

    EXPECT_EQ(view.state.unsavedChanges, 1);
}
