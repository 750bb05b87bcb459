#include "OpenFlowFixture.h"
#include "archive/CaseLockFile.h"
#include "base/CommandIds.h"
#include "case/AnnotationForm.h"
#include "case/ReviewFile.h"
#include "case/ReviewLockText.h"
#include "support/ScopedTimeZone.h"

#include <deque>
#include <memory>
#include <tuple>

namespace {

using Outcome = ReviewLock::Outcome;
using Answer = Platform::Answer;

// What the scripted locks of a test were asked.
struct LockLog
{
    QList<bool> takes; // takeOverStale of every take, in order
    int releases = 0;
    bool renewSucceeds = true;
};

// A lock that answers take() from a script and records what it is asked.
class ScriptedLock : public ReviewLock
{
public:
    ScriptedLock(std::shared_ptr<LockLog> log, std::deque<Outcome> outcomes, LockHolder holder)
        : m_log(std::move(log)), m_outcomes(std::move(outcomes)), m_holder(std::move(holder))
    {
    }
    ~ScriptedLock() override { release(); }
    Outcome take(bool takeOverStale, LockHolder &holder, QString &why) override
    {
        m_log->takes << takeOverStale;
        const Outcome outcome = m_outcomes.empty() ? Outcome::Held : m_outcomes.front();
        if (!m_outcomes.empty())
            m_outcomes.pop_front();
        holder = m_holder;
        why = QStringLiteral("the folder is read-only");
        m_held = outcome == Outcome::Taken;
        return outcome;
    }
    bool renew() override { return m_held && m_log->renewSucceeds; }
    void release() override
    {
        if (m_held)
            ++m_log->releases;
        m_held = false;
    }

private:
    std::shared_ptr<LockLog> m_log;
    std::deque<Outcome> m_outcomes;
    LockHolder m_holder;
    bool m_held = false;
};

// Anna has held the case on pc-a since 2023-11-14 23:13 (Rome), last seen 23:15.
const LockHolder Anna{QStringLiteral("Anna"), QStringLiteral("pc-a"), 4242, 1700000000, 1700000100};

class ReviewLockFlow : public OpenFlowFixture
{
protected:
    ReviewLockFlow()
    {
        view.caseOpenedForReview = [this](int slot) { openedForReview << slot; };
    }

    // Every archive opened for review gets a scripted lock with these outcomes.
    void scriptLock(std::deque<Outcome> outcomes)
    {
        view.lockProvider = [this, outcomes](const QString &, const QString &) -> std::unique_ptr<ReviewLock> {
            return std::make_unique<ScriptedLock>(log, outcomes, Anna);
        };
    }

    // An archive opened for review in read-only mode (another reviewer holds it).
    int openReadOnly(const QString &archive)
    {
        scriptLock({Outcome::Held});
        platform.answerNext(Answer::Yes);
        EXPECT_TRUE(openArchiveFile(view, archive));
        platform.messages.clear();
        return 0;
    }

    std::shared_ptr<LockLog> log = std::make_shared<LockLog>();
    QList<int> openedForReview;
};

TEST_F(ReviewLockFlow, TheQuestionsDecideHowTheCaseOpens)
{
    // The times are the computer's own.
    for (const auto &[zone, since, seen] : {std::tuple{"Europe/Rome", "2023-11-14 23:13", "23:15"},
                                            std::tuple{"America/New_York", "2023-11-14 17:13", "17:15"}}) {
        const ScopedTimeZone here(zone);
        EXPECT_TRUE(ReviewLockText::openReadOnlyQuestion(view.texts(), Anna).startsWith(
            QStringLiteral("Anna is reviewing this case on pc-a since %1.").arg(QLatin1String(since))))
            << zone;
        EXPECT_TRUE(ReviewLockText::takeOverQuestion(view.texts(), Anna).startsWith(
            QStringLiteral("Anna has given no sign of life since 2023-11-14 %1. Take over the lock").arg(QLatin1String(seen))))
            << zone;
    }
    const QString held = ReviewLockText::openReadOnlyQuestion(view.texts(), Anna);
    const QString stale = ReviewLockText::openReadOnlyQuestion(view.texts(), Anna, true);
    EXPECT_NE(held, stale);
    const QString takeOver = ReviewLockText::takeOverQuestion(view.texts(), Anna);
    enum class Opens { Editing, ReadOnly, Not };
    struct Case {
        const char *what;
        std::deque<Outcome> outcomes;
        std::deque<Answer> answers;
        QStringList asked;
        QList<bool> takes;
        Opens opens;
        bool takenOver;
    } cases[] = {
        {"free", {Outcome::Taken}, {}, {}, {false}, Opens::Editing, false},
        {"held, read-only", {Outcome::Held}, {Answer::Yes}, {held}, {false}, Opens::ReadOnly, false},
        {"held, not opened", {Outcome::Held}, {Answer::No}, {held}, {false}, Opens::Not, false},
        {"stale, read-only", {Outcome::Stale}, {Answer::Yes}, {stale}, {false}, Opens::ReadOnly, false},
        {"stale, taken over", {Outcome::Stale, Outcome::Taken}, {Answer::No, Answer::Yes}, {stale, takeOver}, {false, true},
         Opens::Editing, true},
        {"stale, left alone", {Outcome::Stale}, {Answer::No, Answer::No}, {stale, takeOver}, {false}, Opens::Not, false},
        {"stale, another taker first", {Outcome::Stale, Outcome::Held}, {Answer::No, Answer::Yes, Answer::No},
         {stale, takeOver, held}, {false, true}, Opens::Not, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CloseAllCases(view);
        *log = LockLog{};
        openedForReview.clear();
        platform.messages.clear();
        platform.answers = c.answers;
        scriptLock(c.outcomes);
        const QString archive = makeArchive(dir.file(QString::fromLatin1(c.what) + ".aed"));

        const OpenFlow::Outcome outcome = OpenFlow(view).OpenArchiveFile(archive);

        EXPECT_EQ(platform.texts(), c.asked);
        EXPECT_EQ(log->takes, c.takes);
        EXPECT_EQ(outcome, c.opens == Opens::Not ? OpenFlow::Outcome::Cancelled : OpenFlow::Outcome::Opened);
        EXPECT_EQ(openCaseCount(), c.opens == Opens::Not ? 0 : 1);
        EXPECT_EQ(caseNodeCount(), openCaseCount()) << "nothing is shown of a case not opened";
        if (c.opens == Opens::Not) {
            EXPECT_TRUE(openedForReview.isEmpty());
            continue;
        }
        const OpenCase &entry = *view.store.find(0);
        EXPECT_EQ(entry.readOnly, c.opens == Opens::ReadOnly);
        EXPECT_EQ(entry.lockTakenOver, c.takenOver);
        EXPECT_EQ(entry.lock != nullptr, c.opens == Opens::Editing);
        EXPECT_EQ(openedForReview, QList<int>{0});
        view.CloseCase(0);
        EXPECT_EQ(log->releases, c.opens == Opens::Editing ? 1 : 0) << "the lock goes with the case";
    }
}

TEST_F(ReviewLockFlow, ALockThatCannotBeHadOpensForEditingWithOneWarning)
{
    scriptLock({Outcome::Failed});
    const QString archive = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, archive));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    EXPECT_TRUE(platform.messages[0].text.contains(archive));
    EXPECT_TRUE(platform.messages[0].text.contains("the folder is read-only"));
    EXPECT_TRUE(platform.messages[0].text.contains("another reviewer may change it at the same time"));
    EXPECT_FALSE(view.isReadOnly(0));
}

TEST_F(ReviewLockFlow, AReadOnlyCaseRefusesEveryEditAndWritesNoReviewFile)
{
    const QString archive = makeArchive(dir.file("a.aed"));
    openReadOnly(archive);
    ASSERT_TRUE(view.isReadOnly(0));
    const QByteArray archiveBytes = [&] {
        QFile f(archive);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    platform.annotationScript = [](AnnotationForm &form) {
        form.title = "added";
        return form.accept();
    };
    const int events = view.store.caseAt(0)->events.usedCount();
    const bool viewed = view.store.at(0).viewed;

    view.markChanged(0);
    EXPECT_FALSE(view.AddAnnotationAt(0, 1500));
    view.OnAddAnnotation(0);
    tree.click(view.store.caseAt(0)->caseItem);
    view.OnTreeMenuCommand(viewed ? CommandId::MarkNotViewed : CommandId::MarkViewed);
    viewed ? view.OnMarkNotViewed(0) : view.OnMarkViewed(0);
    view.store.caseAt(0)->cprPeriods.add(CprPeriod{1000, 2000});
    view.reviewMarksChanged(0);
    view.OnTreeMenuCommand(CommandId::BindCompanions);
    platform.savePaths.push_back(archive);
    EXPECT_FALSE(SaveCase(view, 0));
    EXPECT_EQ(OpenFlow(view).AdjustCase(0, "2021-03-07 10:00:00"), OpenFlow::Outcome::Cancelled);

    EXPECT_EQ(platform.annotationDialogRuns, 0);
    EXPECT_EQ(view.store.caseAt(0)->events.usedCount(), events);
    EXPECT_FALSE(view.isChanged(0));
    EXPECT_EQ(view.state.unsavedChanges, 0);
    EXPECT_EQ(view.store.at(0).viewed, viewed);
    EXPECT_FALSE(view.store.at(0).timeAdjusted());
    EXPECT_TRUE(platform.saveRequests.isEmpty()) << "refused before its dialog";
    EXPECT_TRUE(platform.messages.isEmpty()) << "refused quietly";
    EXPECT_FALSE(QFileInfo::exists(ReviewFile::pathFor(archive)));
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), archiveBytes);

    // The menus offer none of it.
    tree.click(view.store.caseAt(0)->caseItem);
    view.OnShowCaseMenu();
    ASSERT_EQ(tree.menusShown.size(), 1);
    const TreeMenu &shown = tree.menusShown[0];
    for (int command : {CommandId::MarkViewed, CommandId::MarkNotViewed, CommandId::AddAnnotation, CommandId::BindCompanions,
                        CommandId::UndoAdjustment})
        EXPECT_TRUE(shown.disabledCommands.contains(command)) << command;
}

TEST_F(ReviewLockFlow, AReviewFileOfAnotherRecordingIsLeftWhereItIsByAReadOnlyOpen)
{
    const QString archive = makeArchive(dir.file("a.aed"));
    const QString review = ReviewFile::pathFor(archive);
    {
        QFile f(review);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ damaged");
    }
    scriptLock({Outcome::Held});
    platform.answerNext(Answer::Yes);
    ASSERT_TRUE(openArchiveFile(view, archive));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.json"}, QDir::Files), QStringList{QFileInfo(review).fileName()});
}

TEST_F(ReviewLockFlow, ALockLostToAnotherReviewerMakesTheCaseReadOnlyWithOneMessage)
{
    scriptLock({Outcome::Taken});
    const QString a = makeArchive(dir.file("a.aed"));
    const QString b = makeArchive(dir.file("b.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    ASSERT_TRUE(openArchiveFile(view, b));
    view.store.caseAt(0)->lastName = "Typed";
    view.markChanged(0);

    EXPECT_TRUE(view.RenewReviewLocks().empty());
    EXPECT_TRUE(platform.messages.isEmpty());

    log->renewSucceeds = false;
    EXPECT_EQ(view.RenewReviewLocks(), (std::vector<int>{0, 1}));
    EXPECT_EQ(platform.texts(), QStringList({ReviewLockText::lockLostText(view.texts(), a), ReviewLockText::lockLostText(view.texts(), b)}));
    EXPECT_TRUE(view.isReadOnly(0) && view.isReadOnly(1));
    EXPECT_FALSE(view.isChanged(0)) << "what cannot be saved is not asked about at close";
    platform.messages.clear();
    EXPECT_TRUE(view.RenewReviewLocks().empty()) << "said once";
    EXPECT_TRUE(platform.messages.isEmpty());
}

// The lock file itself, between two sessions of this process and a reading command.
TEST_F(ReviewLockFlow, TheLockFileGoesWithTheCaseAndAdjustKeepsIt)
{
    const QString archive = makeArchive(dir.file("a.aed"));
    const QString lockPath = CaseLockFile::pathFor(archive);

    CaseTreeFixture reader;
    OpenFlow reading(reader.view, OpenWrites::none());
    reading.OpenArchiveFile(archive);
    ASSERT_GE(reading.openedSlot(), 0);
    EXPECT_FALSE(QFileInfo::exists(lockPath)) << "a reading command takes no lock";

    ASSERT_TRUE(openArchiveFile(view, archive));
    EXPECT_TRUE(QFileInfo::exists(lockPath));
    EXPECT_TRUE(platform.messages.isEmpty());
    const QByteArray lockBytes = [&] {
        QFile f(lockPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    CaseTreeFixture other;
    other.platform.answerNext(Answer::Yes);
    ASSERT_TRUE(openArchiveFile(other.view, archive));
    ASSERT_EQ(other.platform.messages.size(), 1);
    EXPECT_TRUE(other.platform.messages[0].text.startsWith(ReviewerIdentity::current().name + " is reviewing this case on "));
    EXPECT_TRUE(other.view.isReadOnly(0));

    // "Adjust..." reads the case again without asking itself for the lock.
    ASSERT_EQ(OpenFlow(view).AdjustCase(0, "2021-03-07 10:00:00"), OpenFlow::Outcome::Opened);
    EXPECT_TRUE(platform.messages.isEmpty());
    ASSERT_EQ(openCaseCount(), 1);
    QFile f(lockPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), lockBytes);

    // Opening it again only shows it.
    ASSERT_TRUE(openArchiveFile(view, archive));
    EXPECT_TRUE(platform.messages.isEmpty());

    CloseAllCases(view);
    EXPECT_FALSE(QFileInfo::exists(lockPath));
    EXPECT_TRUE(QFileInfo::exists(archive));
}

} // namespace
