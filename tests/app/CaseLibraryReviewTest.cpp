// The library window as a QA team uses it: review status and assignee per case, bulk changes
// of the selected cases, a case's history, a long library read a page at a time, and a server's
// remembered password.
#include "app/CaseHistoryDialog.h"
#include "app/CaseLibraryWindow.h"
#include "app/CaseTableModel.h"
#include "app/LibrarySettings.h"
#include "base/ReviewerIdentity.h"
#include "LibraryWindowFixture.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
#include "library/LibraryText.h"
#include "support/FakePasswordStore.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

LibraryCase indexedCase(const QString &path, const QString &recordingId, int64_t startTime)
{
    LibraryCase c;
    c.path = path;
    c.model = QStringLiteral("Q26");
    c.serialNumber = QStringLiteral("SN1");
    c.startTimeValid = true;
    c.startTime = startTime;
    c.recordingId = recordingId;
    return c;
}

class CaseLibraryReviewTest : public LibraryWindowFixture
{
protected:
    void SetUp() override
    {
        LibraryWindowFixture::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        // Two copies of one recording, another recording, and a row indexed before recordings were kept.
        const std::vector<LibraryCase> cases = {indexedCase(dir.file("a.aed"), "rec-a", 1),
                                                indexedCase(dir.file("a-copy.aed"), "rec-a", 2),
                                                indexedCase(dir.file("b.aed"), "rec-b", 3),
                                                indexedCase(dir.file("old.aed"), "", 4)};
        ASSERT_TRUE(library()->storeAll(cases));
        window.refresh();
    }

    CaseLibrary *library() { return service.library(); }
    CaseTableModel &model() { return *window.casesModel(); }
    void select(std::initializer_list<int> rows)
    {
        window.casesTable()->clearSelection();
        for (int r : rows)
            window.casesTable()->selectionModel()->select(model().index(r, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::vector<AuditEntry> trail(const QString &recordingId)
    {
        std::vector<AuditEntry> entries;
        AuditQuery query;
        query.recordingId = recordingId;
        EXPECT_TRUE(library()->auditEntries(query, entries));
        return entries;
    }
};

TEST_F(CaseLibraryReviewTest, StatusAndAssigneeAreColumnsAndFilters)
{
    ReviewStatusChange followUp;
    followUp.stage = ReviewStatus::Stage::FollowUp;
    followUp.assignee = QStringLiteral("maria");
    ASSERT_TRUE(library()->changeReviewStatuses({{"rec-b", dir.file("b.aed")}}, followUp, ReviewerIdentity::current()));
    window.refresh();
    EXPECT_EQ(column(CaseTableModel::Status), (QStringList{"new", "new", "follow-up", "new"}));
    EXPECT_EQ(column(CaseTableModel::Assignee), (QStringList{"", "", "maria", ""}));
    EXPECT_EQ(model().headerData(CaseTableModel::Status, Qt::Horizontal).toString(), texts.GetText(LibraryText::Status));

    struct Case {
        int stage; // index in the status box: 0 all, then new, in review, reviewed, follow-up
        QString assignee;
        QStringList paths;
    };
    const std::vector<Case> cases = {
        {0, "", {"a.aed", "a-copy.aed", "b.aed", "old.aed"}},
        {1, "", {"a.aed", "a-copy.aed", "old.aed"}},
        {4, "", {"b.aed"}},
        {3, "", {}},
        {0, "maria", {"b.aed"}},
        {1, "maria", {}},
    };
    for (const Case &c : cases) {
        window.stageBox()->setCurrentIndex(c.stage);
        window.assigneeField()->setText(c.assignee);
        window.refresh();
        QStringList names;
        for (const QString &path : column(CaseTableModel::Path))
            names << QFileInfo(path).fileName();
        EXPECT_EQ(names, c.paths) << c.stage << " " << c.assignee.toStdString();
    }

    // The status column sorts in the order a review goes (new first), the assignee by name.
    window.stageBox()->setCurrentIndex(0);
    window.assigneeField()->clear();
    window.sortByColumn(CaseTableModel::Status);
    EXPECT_EQ(column(CaseTableModel::Status), (QStringList{"new", "new", "new", "follow-up"}));
    window.sortByColumn(CaseTableModel::Status);
    EXPECT_EQ(column(CaseTableModel::Status), (QStringList{"follow-up", "new", "new", "new"}));
    window.sortByColumn(CaseTableModel::Assignee);
    EXPECT_EQ(column(CaseTableModel::Assignee), (QStringList{"", "", "", "maria"}));
    EXPECT_TRUE(platform.messages.isEmpty());
}

// One transaction for the selection: each recording gets one audit entry (copies share it),
// the old row is refused with one message, and the table shows the change at once.
TEST_F(CaseLibraryReviewTest, BulkAssignmentAuditsEachRecordingOnceAndRefreshes)
{
    select({0, 1, 2, 3});
    platform.textAnswers.push_back(QStringLiteral("  luca "));
    window.assignSelected();

    ASSERT_EQ(platform.textQuestions.size(), 1);
    EXPECT_EQ(platform.textQuestions[0][1], texts.GetText(LibraryText::AssignQuestion));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("old.aed"))) << platform.messages[0].text.toStdString();
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("again")));
    EXPECT_EQ(column(CaseTableModel::Assignee), (QStringList{"luca", "luca", "luca", ""}));
    EXPECT_EQ(window.selectedRows(), (QList<int>{0, 1, 2, 3})) << "the selection stays";
    for (const char *recording : {"rec-a", "rec-b"}) {
        const std::vector<AuditEntry> entries = trail(QLatin1String(recording));
        ASSERT_EQ(entries.size(), 1u) << recording;
        EXPECT_EQ(entries[0].action, QLatin1String(AuditAction::StatusChanged));
        EXPECT_EQ(entries[0].details, QStringLiteral("assigned to luca"));
    }

    // "" unassigns; a cancelled question changes nothing.
    select({2});
    platform.textAnswers.push_back(QString());
    window.assignSelected();
    window.assignSelected();
    EXPECT_EQ(column(CaseTableModel::Assignee), (QStringList{"luca", "luca", "", ""}));
    EXPECT_EQ(trail("rec-b").size(), 2u);
    EXPECT_EQ(trail("rec-b").back().details, QStringLiteral("unassigned"));
}

TEST_F(CaseLibraryReviewTest, AFollowUpAsksItsNoteAndAnotherStageDropsIt)
{
    select({2});
    platform.textAnswers.push_back(QStringLiteral("check the second shock"));
    window.setStatusOfSelected(ReviewStatus::Stage::FollowUp);
    ASSERT_EQ(platform.textQuestions.size(), 1);
    EXPECT_EQ(platform.textQuestions[0][1], texts.GetText(LibraryText::FollowUpNote));
    EXPECT_EQ(service.reviewStatus("rec-b")->note, QStringLiteral("check the second shock"));
    EXPECT_EQ(model().index(2, CaseTableModel::Status).data(Qt::ToolTipRole).toString(), "check the second shock");

    window.setStatusOfSelected(ReviewStatus::Stage::Reviewed);
    EXPECT_EQ(platform.textQuestions.size(), 1) << "only a follow-up asks";
    const ReviewStatus after = *service.reviewStatus("rec-b");
    EXPECT_EQ(after.stage, ReviewStatus::Stage::Reviewed);
    EXPECT_TRUE(after.note.isEmpty());
    EXPECT_EQ(column(CaseTableModel::Status)[2], "reviewed");

    // Cancelling the note leaves the case as it was; nothing selected asks for a selection.
    window.setStatusOfSelected(ReviewStatus::Stage::FollowUp);
    EXPECT_EQ(service.reviewStatus("rec-b")->stage, ReviewStatus::Stage::Reviewed);
    window.casesTable()->clearSelection();
    window.setStatusOfSelected(ReviewStatus::Stage::New);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, texts.GetText(LibraryText::SelectCases));
    EXPECT_EQ(trail("rec-b").size(), 2u);
}

TEST_F(CaseLibraryReviewTest, HistoryListsTheRecordingsEntriesOldestFirst)
{
    ASSERT_TRUE(library()->audit(ReviewerIdentity::current(), "rec-a", dir.file("a.aed"), AuditAction::Opened));
    ASSERT_TRUE(library()->audit(ReviewerIdentity::current(), "rec-b", dir.file("b.aed"), AuditAction::Opened));
    ASSERT_TRUE(library()->audit(ReviewerIdentity::current(), "rec-a", dir.file("a-copy.aed"), AuditAction::Saved,
                                 QStringLiteral("format aed")));
    select({1}); // the copy shows its recording's whole trail
    CaseHistoryDialog *history = window.showHistory();
    ASSERT_NE(history, nullptr);
    QTableWidget *table = history->entriesTable();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 3)->text(), "opened");
    EXPECT_EQ(table->item(1, 3)->text(), "saved");
    EXPECT_EQ(table->item(1, 4)->text(), "format aed");
    EXPECT_EQ(table->item(0, 1)->text(), ReviewerIdentity::current().name);
    EXPECT_EQ(table->item(0, 2)->text(), ReviewerIdentity::current().host);
    const std::vector<AuditEntry> entries = trail("rec-a");
    EXPECT_EQ(table->item(0, 0)->text(),
              QDateTime::fromMSecsSinceEpoch(entries[0].atMs, QTimeZone::utc()).toString("yyyy-MM-dd HH:mm:ss"));
    history->close();

    select({3});
    EXPECT_EQ(window.showHistory(), nullptr);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("old.aed")));
}

TEST_F(CaseLibraryReviewTest, ALongLibraryIsReadAPageAtATime)
{
    constexpr int Total = 1000;
    std::vector<LibraryCase> cases;
    for (int i = 0; i < Total; ++i)
        cases.push_back(indexedCase(dir.file(QStringLiteral("many/%1.aed").arg(i, 4, 10, QLatin1Char('0'))),
                                    QStringLiteral("rec-%1").arg(i), 100 + i % 7));
    ASSERT_TRUE(library()->storeAll(cases));
    window.refresh();
    const int first = model().rowCount();
    EXPECT_EQ(first, CaseTableModel::PageSize);
    ASSERT_TRUE(model().canFetchMore(QModelIndex()));

    window.resize(800, 600);
    window.show();
    window.casesTable()->scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_GT(model().rowCount(), first) << "scrolling to the end reads on";
    EXPECT_LE(model().rowCount(), first + CaseTableModel::PageSize) << "one page, not the whole library";

    while (model().canFetchMore(QModelIndex()))
        model().fetchMore(QModelIndex());
    std::vector<LibraryCase> whole;
    ASSERT_TRUE(library()->list(window.filter(), whole));
    ASSERT_EQ(model().rowCount(), int(whole.size()));
    ASSERT_EQ(model().rowCount(), Total + 4);
    for (int r = 0; r < model().rowCount(); ++r)
        ASSERT_EQ(model().caseAt(r).path, whole[std::size_t(r)].path) << r;

    // A header click starts again from the first page, in the new order.
    window.sortByColumn(CaseTableModel::Path);
    EXPECT_EQ(model().rowCount(), CaseTableModel::PageSize);
    EXPECT_EQ(QFileInfo(model().caseAt(0).path).fileName(), "a-copy.aed");
    window.close();
}

// Ticking "Remember password" asks the password without showing it and keeps it in the
// keyring; unticking forgets it. It is in no setting and no message.
TEST_F(CaseLibraryReviewTest, ARememberedPasswordGoesToTheKeyringOnly)
{
    // The settings are the whole test program's: the library's are put back as they were.
    struct SettingsBack
    {
        QVariantMap before;
        SettingsBack()
        {
            QSettings settings;
            for (const QString &name : settings.allKeys())
                if (name.startsWith(QStringLiteral("CaseLibrary/")))
                    before.insert(name, settings.value(name));
        }
        ~SettingsBack()
        {
            QSettings settings;
            settings.remove(QStringLiteral("CaseLibrary"));
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                settings.setValue(it.key(), it.value());
        }
    } settingsBack;
    const QString secret = QStringLiteral("s3cret-word");
    auto keyring = std::make_unique<FakePasswordStore>();
    FakePasswordStore &store = *keyring;
    service.setPasswordStore(std::move(keyring));
    const QString url = QStringLiteral("postgresql://qa@/cases?host=") + dir.file(QStringLiteral("no-server"));
    service.setLocationText(url);
    CaseLibraryWindow server(texts, platform, service);
    server.settingsChanged = [this] { saveLibrarySettings(service); };
    ASSERT_TRUE(server.rememberPasswordBox()->isEnabled());

    platform.passwordAnswers.push_back(secret);
    server.rememberPasswordBox()->setChecked(true);
    ASSERT_EQ(platform.passwordQuestions.size(), 1);
    EXPECT_TRUE(platform.passwordQuestions[0][1].contains(QStringLiteral("qa@")));
    const QString key = QStringLiteral("qa@/cases?host=") + dir.file(QStringLiteral("no-server"));
    EXPECT_EQ(store.kept.value(key), secret);
    EXPECT_TRUE(QSettings().value(QStringLiteral("CaseLibrary/RememberPassword")).toBool());

    const auto saidOrKept = [&] {
        QStringList found;
        for (const QString &text : platform.texts())
            if (text.contains(secret))
                found << QStringLiteral("message: ") + text;
        QSettings settings;
        settings.sync();
        for (const QString &name : settings.allKeys())
            if (settings.value(name).toString().contains(secret))
                found << QStringLiteral("setting ") + name;
        QDirIterator files(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(secret.toUtf8()))
                found << QStringLiteral("file ") + file.fileName();
        }
        if (server.locationEdit()->text().contains(secret))
            found << QStringLiteral("the location field");
        return found;
    };
    EXPECT_EQ(saidOrKept(), QStringList());

    server.rememberPasswordBox()->setChecked(false);
    EXPECT_FALSE(store.kept.contains(key));
    EXPECT_FALSE(QSettings().value(QStringLiteral("CaseLibrary/RememberPassword")).toBool());

    // Without a keyring the program says so once; the box on a file library is greyed.
    store.available = false;
    platform.passwordAnswers.push_back(secret);
    platform.messages.clear();
    server.rememberPasswordBox()->setChecked(true);
    int cannot = 0;
    for (const QString &text : platform.texts())
        cannot += text.contains(QStringLiteral("cannot be remembered")) ? 1 : 0;
    EXPECT_EQ(cannot, 1);
    EXPECT_EQ(saidOrKept(), QStringList());
    service.setLocationText(dir.file(QStringLiteral("library.sqlite")));
    CaseLibraryWindow local(texts, platform, service);
    EXPECT_FALSE(local.rememberPasswordBox()->isEnabled());
}

} // namespace

namespace {

// The reviewer's name typed in the window names the reviewer from then on; emptied, the
// account's name does again.
TEST_F(CaseLibraryReviewTest, TheReviewersNameIsKeptInTheSettings)
{
    qunsetenv("RAVELIN_REVIEWER");
    QLineEdit &name = *window.reviewerEdit();
    EXPECT_EQ(name.placeholderText(), ReviewerIdentity::accountName());
    name.setText(QStringLiteral("  Dr Quality "));
    emit name.editingFinished();
    EXPECT_EQ(ReviewerIdentity::current().name, "Dr Quality");
    name.clear();
    emit name.editingFinished();
    EXPECT_EQ(ReviewerIdentity::current().name, ReviewerIdentity::accountName());
}

} // namespace
