// A case another reviewer holds opens read-only: the window shows it so and offers none of its
// edits, marks or saves, while the cases this reviewer holds stay editable.
#include "AppArchives.h"
#include "app/CADETree.h"
#include "app/CDetailSub.h"
#include "app/CDetailSub1.h"
#include "app/CDetailSub2.h"
#include "app/CDetailView.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "case/ReviewLockText.h"
#include "ecg/CEntired.h"
#include "ecg/CMagnified.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// A lock that is either someone else's (Held) or ours until renew says it is lost.
class TestLock : public ReviewLock
{
public:
    TestLock(Outcome outcome, const bool &lost) : m_outcome(outcome), m_lost(lost) {}
    Outcome take(bool, LockHolder &holder, QString &) override
    {
        holder = {QStringLiteral("Anna"), QStringLiteral("pc-a"), 4242, 1700000000, 1700000000};
        return m_outcome;
    }
    bool renew() override { return !m_lost; }
    void release() override {}

private:
    Outcome m_outcome;
    const bool &m_lost;
};

class ReadOnlyCase : public ::testing::Test
{
protected:
    ReadOnlyCase()
    {
        frame.view().session.lockProvider = [this](const QString &path, const QString &) -> std::unique_ptr<ReviewLock> {
            return std::make_unique<TestLock>(path.endsWith("held.aed") ? ReviewLock::Outcome::Held : ReviewLock::Outcome::Taken,
                                              lost);
        };
    }

    // Opens an archive (read-only when its name says "held", answering the question so).
    int open(const QString &name)
    {
        if (name.startsWith("held"))
            platform.answerNext(Platform::Answer::Yes);
        EXPECT_TRUE(frame.view().OpenArchiveFile(makeArchive(dir, name)));
        return frame.view().session.selSlot;
    }

    void select(int slot)
    {
        frame.view().session.suppressSelectionNotify = false;
        frame.view().session.OnTreeSelectionChanged(frame.view().store.caseAt(slot)->caseItem);
    }

    // Whether every edit the window offers for the selected case is enabled (true) or none is
    // (false); a mixture fails.
    bool editsOffered(int slot)
    {
        CDetailSub &general = *frame.detailView()->general();
        CMagnified &enlarged = *frame.detailView()->enlargedHost()->window();
        CEntired &entire = *frame.detailView()->entireHost()->window();
        enlarged.m_nCase = slot;
        entire.m_nCase = slot;
        const std::unique_ptr<QMenu> enlargedMenu = enlarged.prepareContextMenu(500);
        const std::unique_ptr<QMenu> entireMenu = entire.prepareCprMenu(500);
        const QList<bool> offered = {
            frame.action(CommandId::Save)->isEnabled(),
            frame.action(CommandId::SaveAs)->isEnabled(),
            !general.lastName()->isReadOnly(),
            !general.operatorName()->isReadOnly(),
            !general.comments()->isReadOnly(),
            general.sex()->isEnabled(),
            general.birthDateKnown()->isEnabled(),
            general.adjustButton()->isEnabled(),
            ContextMenuBuilder::findAction(enlargedMenu.get(), CommandId::EnlargedAddAnnotation)->isEnabled(),
            ContextMenuBuilder::findAction(enlargedMenu.get(), CommandId::EnlargedCprStart)->isEnabled(),
            ContextMenuBuilder::findAction(entireMenu.get(), CommandId::EntireCprStart)->isEnabled(),
        };
        EXPECT_TRUE(offered.count(offered.first()) == offered.size()) << "some edits offered, some not";
        return offered.first();
    }

    TempDir dir;
    FakePlatform platform;
    CMainFrame frame{Packs::builtInEnglish(), platform};
    bool lost = false;
};

TEST_F(ReadOnlyCase, TheWindowSaysReadOnlyAndOffersNoEditOfThatCase)
{
    const QString title = frame.windowTitle();
    const int mine = open("mine.aed");
    const int held = open("held.aed");
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.startsWith("Anna is reviewing this case on pc-a since "));

    select(held);
    EXPECT_EQ(frame.windowTitle(), title + QString::fromUtf8(" \u2014 held.aed (read-only)"));
    EXPECT_FALSE(editsOffered(held));
    // Still shown and copyable.
    EXPECT_EQ(frame.detailView()->general()->fileName()->text(), frame.view().store.at(held).sourcePath);

    select(mine);
    EXPECT_EQ(frame.windowTitle(), title);
    EXPECT_TRUE(editsOffered(mine));
}

TEST_F(ReadOnlyCase, ALockLostWhileOpenTurnsTheShownCaseReadOnly)
{
    const int mine = open("mine.aed");
    select(mine);
    ASSERT_TRUE(editsOffered(mine));
    platform.messages.clear();

    frame.OnRenewReviewLocks();
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(editsOffered(mine));

    lost = true;
    frame.OnRenewReviewLocks();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, ReviewLockText::lockLostText(frame.view().texts(), frame.view().store.at(mine).sourcePath));
    EXPECT_TRUE(frame.windowTitle().endsWith("mine.aed (read-only)"));
    EXPECT_FALSE(editsOffered(mine));
}

} // namespace
