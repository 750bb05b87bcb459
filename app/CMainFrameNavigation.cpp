// The main window's commands for finding one's way through a case: Go to time (Ctrl+G)
// and the jumps to the next / previous event of the kind the toolbar shows (F3, Shift+F3).
#include "app/CDetailView.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "case/EventFilter.h"
#include "case/NavigationTexts.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>
#include <QToolTip>

namespace {
constexpr std::pair<EventJumpKind, int> JumpKinds[] = {
    {EventJumpKind::Shock, NavigationText::KindShocks},
    {EventJumpKind::Analysis, NavigationText::KindAnalyses},
    {EventJumpKind::Annotation, NavigationText::KindAnnotations},
};
constexpr int StatusMs = 4000;
} // namespace

void CMainFrame::createNavigation(QMenu *file)
{
    const auto withKey = [this](int text, const char *key) {
        return m_texts.GetText(text) + QLatin1Char('\t') + QLatin1String(key);
    };
    QAction *goTo = addCommand(CommandId::GoToTime, withKey(NavigationText::GoToMenu, "Ctrl+G"));
    goTo->setShortcut(QKeySequence(QStringLiteral("Ctrl+G")));
    connect(goTo, &QAction::triggered, this, [this] { m_detail->goToTime(); });

    QAction *next = addCommand(CommandId::NextEventOfKind, withKey(NavigationText::NextOfKind, "F3"));
    next->setShortcut(QKeySequence(Qt::Key_F3));
    connect(next, &QAction::triggered, this, [this] { OnJumpToEventOfKind(true); });

    QAction *previous = addCommand(CommandId::PreviousEventOfKind, withKey(NavigationText::PreviousOfKind, "Shift+F3"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(previous, &QAction::triggered, this, [this] { OnJumpToEventOfKind(false); });

    file->addAction(goTo);
    file->addAction(next);
    file->addAction(previous);
}

void CMainFrame::createNavigationBar()
{
    QToolBar *bar = addToolBar(m_texts.GetText(NavigationText::Navigate));
    bar->setObjectName(QStringLiteral("navigationToolBar"));
    m_jumpKind = new QComboBox(bar);
    m_jumpKind->setToolTip(m_texts.GetText(NavigationText::JumpKindTip));
    m_jumpKind->setFocusPolicy(Qt::NoFocus);
    m_jumpKind->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const auto &[kind, text] : JumpKinds)
        m_jumpKind->addItem(m_texts.GetText(text), int(kind));
    bar->addAction(action(CommandId::PreviousEventOfKind));
    bar->addWidget(m_jumpKind);
    bar->addAction(action(CommandId::NextEventOfKind));
    // The toolbar shows short arrows; the menu keeps the full labels.
    action(CommandId::PreviousEventOfKind)->setIconText(QStringLiteral("\u25C0 F3"));
    action(CommandId::NextEventOfKind)->setIconText(QStringLiteral("F3 \u25B6"));
}

void CMainFrame::OnJumpToEventOfKind(bool forward)
{
    const auto kind = EventJumpKind(m_jumpKind->currentData().toInt());
    // Nothing further: said beside the selector for a moment, not in a box to dismiss.
    if (!m_detail->goToEventOfKind(kind, forward))
        QToolTip::showText(m_jumpKind->mapToGlobal(QPoint(0, m_jumpKind->height())),
                           m_texts.GetText(NavigationText::NoEventOfKind), m_jumpKind, QRect(), StatusMs);
}
