// A scripted review in the program: what the reviewer does reaches the case library's audit
// trail in order, naming the reviewer and never a patient value, and the recording's status
// follows the review.
#include "AppArchives.h"
#include "app/CDetailSub.h"
#include "app/CDetailView.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "case/AnnotationForm.h"
#include "export/ExportFlow.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(ReviewAudit, EveryActionOfAReviewIsAuditedInOrderWithoutPatientValues)
{
    qputenv("RAVELIN_REVIEWER", "Dr Quality");
    TempDir dir;
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    const QString libraryFile = dir.file(QStringLiteral("team.sqlite"));
    frame.caseLibrary().setLocationText(libraryFile);
    frame.caseLibrary().autoIndex = false;
    const QString archive = makeArchive(dir, QStringLiteral("case.aed"));

    ASSERT_TRUE(frame.view().OpenArchiveFile(archive));
    const int slot = frame.view().session.selSlot;
    const QString recordingId = frame.view().store.at(slot).recordingId;
    frame.view().session.OnTreeSelectionChanged(frame.view().store.caseAt(slot)->caseItem);

    // Typing a name: one entry for the field, not one per key.
    CDetailSub &general = *frame.detailView()->general();
    for (const char *typed : {"R", "Ro", "Rossi"}) {
        general.lastName()->setText(QLatin1String(typed));
        emit general.lastName()->textEdited(QLatin1String(typed));
    }
    platform.annotationScript = [](AnnotationForm &form) {
        form.title = QStringLiteral("Rossi collapsed");
        form.body = QStringLiteral("bystander Bianchi");
        return form.accept();
    };
    ASSERT_TRUE(frame.view().session.AddAnnotationAt(slot, 12000));
    platform.savePaths.push_back(archive);
    ASSERT_TRUE(frame.view().SaveSelectedCase());
    platform.savePaths.push_back(dir.file(QStringLiteral("events.csv")));
    ASSERT_TRUE(frame.exportFlow().run(slot, ExportKind::EventsCsv));

    // The General tab shows the status; its button changes it.
    EXPECT_EQ(general.reviewStatus()->text(), QStringLiteral("in review"));
    platform.choiceAnswers = {2};                         // reviewed
    platform.textAnswers = {QStringLiteral("Dr Quality")}; // assigned to
    general.reviewStatusButton()->click();
    EXPECT_TRUE(general.reviewStatus()->text().startsWith(QStringLiteral("reviewed by Dr Quality, ")));

    LibraryLocation location;
    QString why;
    ASSERT_TRUE(parseLibraryLocation(libraryFile, location, why));
    CaseLibrary reader(location);
    ASSERT_TRUE(reader.open()) << reader.errorText().toStdString();
    std::vector<AuditEntry> entries;
    ASSERT_TRUE(reader.auditEntries({recordingId, {}, {}}, entries));
    QStringList seen;
    for (const AuditEntry &e : entries) {
        seen << e.action + QStringLiteral(": ") + e.details;
        EXPECT_EQ(e.reviewer, "Dr Quality");
        EXPECT_EQ(e.archivePath, frame.view().store.at(slot).sourcePath);
        for (const char *secret : {"Rossi", "Bianchi", "collapsed"})
            EXPECT_FALSE(e.details.contains(QLatin1String(secret))) << e.details.toStdString();
    }
    EXPECT_EQ(seen, (QStringList{"opened: ", "status changed: new -> in review", "field changed: lastName",
                                 "annotation added: at 12.000 s", "saved: ", "exported: events CSV, not anonymised",
                                 "status changed: in review -> reviewed; assigned to Dr Quality"}));
    qunsetenv("RAVELIN_REVIEWER");
}

} // namespace
