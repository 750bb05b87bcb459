#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/CDetailView.h"
#include "base/CommandIds.h"
#include "base/MessageTexts.h"
#include "case/ReviewLockText.h"
#include "cpr/CprTexts.h"
#include "app/Icons.h"
#include "base/Platform.h"
#include "app/RecentFileList.h"
#include "archive/CaseLockFile.h"
#include "export/ExportFlow.h"
#include "export/ExportText.h"
#include "app/CADETree.h"
#include "app/CRavelinView.h"
#include "app/CaseTreeFilter.h"
#include "app/CaseLibraryWindow.h"
#include "app/KeyringPasswordStore.h"
#include "app/LibrarySettings.h"
#include "library/LibraryService.h"
#include "library/ReviewStatusFlow.h"
#include "library/LibraryText.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr int LargestWidth = 1920;
constexpr int LargestHeight = 1080;
constexpr double TreeShare = 0.4;
} // namespace

QString frameTitle(const QString &programTitle, const QString &casePath, bool readOnly, const QString &readOnlyMark)
{
    if (!readOnly)
        return programTitle;
    return QStringLiteral("%1 \u2014 %2 %3")
        .arg(programTitle, QFileInfo(casePath).fileName(), readOnlyMark);
}

bool frameExceedsLargestSize(int clientWidth, int clientHeight)
{
    return clientWidth >= LargestWidth || clientHeight >= LargestHeight;
}

bool frameHeldAtLargestSize(int clientWidth, int clientHeight, Qt::WindowStates states)
{
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return false;
    return frameExceedsLargestSize(clientWidth, clientHeight);
}

CMainFrame::CMainFrame(LanguagePack texts, Platform &platform, QWidget *parent)
    : QMainWindow(parent), m_texts(std::move(texts)), m_platform(platform),
      m_view(std::make_unique<CRavelinView>(m_texts, m_platform)), m_recentFiles(std::make_unique<RecentFileList>()),
      m_library(std::make_unique<LibraryService>(m_texts, m_platform))
{
    loadLibrarySettings(*m_library);
    m_library->setPasswordStore(std::make_unique<KeyringPasswordStore>());
    setWindowTitle(m_texts.GetText(TextId::WindowTitle));
    setWindowIcon(Icons::programIcon());
    m_export = std::make_unique<ExportFlow>(m_view->session);
    createMenus();
    m_view->session.archiveOpened = [this](const QString &path) {
        m_recentFiles->add(path);
        m_recentMenu->menuAction()->setEnabled(true);
        indexArchiveLater(path);
    };
    m_view->session.archiveSaved = [this](const QString &path) { indexArchiveLater(path); };
    m_view->session.reviewFactsChanged = [this](const QString &path) {
        if (m_library->autoIndex)
            QTimer::singleShot(0, this, [this, path] { m_library->archiveTouched(path, true); });
    };
    m_view->session.audited = [this](const QString &recordingId, const QString &path, const QString &action,
                                     const QString &details) { m_library->audit(recordingId, path, action, details); };
    // One editor at a time: a team's server keeps the lock where every reviewer sees it; else the
    // lock file beside the archive does.
    m_view->session.lockProvider = [this](const QString &path, const QString &recordingId) -> std::unique_ptr<ReviewLock> {
        if (std::unique_ptr<ReviewLock> lock = m_library->serverLock(recordingId))
            return lock;
        return std::make_unique<CaseLockFile>(path, ReviewerIdentity::current());
    };
    m_view->session.reviewStatusLine = [this](int slot) {
        return ReviewStatusLine(*m_library, m_texts, m_view->session.store.at(slot).recordingId);
    };
    m_view->session.changeReviewStatus = [this](int slot) {
        const OpenCase &entry = m_view->session.store.at(slot);
        if (ChangeReviewStatus(m_platform, *m_library, m_texts, entry.recordingId, entry.sourcePath)
            && m_view->session.tree && m_view->session.tree->selectedItem() != NoTreeItem)
            m_view->session.OnTreeSelectionChanged(m_view->session.tree->selectedItem());
    };
    m_view->session.caseOpenedForReview = [this](int slot) {
        const OpenCase &entry = m_view->session.store.at(slot);
        m_library->caseOpened(entry.recordingId, entry.sourcePath, entry.readOnly, entry.lockTakenOver);
    };
    createToolBar();
    createPanes();
    resize(1200, 800);
    m_lockRenewal = new QTimer(this);
    m_lockRenewal->setInterval(int(ReviewLock::RenewSeconds * 1000));
    connect(m_lockRenewal, &QTimer::timeout, this, &CMainFrame::OnRenewReviewLocks);
    m_lockRenewal->start();
}

CMainFrame::~CMainFrame() = default;

QAction *CMainFrame::addCommand(int commandId, const QString &label)
{
    auto *a = new QAction(label, this);
    a->setData(commandId);
    m_actions.insert(commandId, a);
    return a;
}

void CMainFrame::createMenus()
{
    // Labels carry their shortcut after a TAB, as the menus show it.
    const auto withKey = [this](int text, const char *key) {
        return m_texts.GetText(text) + QLatin1Char('\t') + QLatin1String(key);
    };

    QAction *newCase = addCommand(CommandId::New, withKey(131, "Ctrl+N"));
    newCase->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    newCase->setEnabled(false);
    newCase->setIcon(Icons::toolbarIcon(Icons::Toolbar::New));

    QAction *open = addCommand(CommandId::Open, withKey(132, "Ctrl+O"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    open->setIcon(Icons::toolbarIcon(Icons::Toolbar::Open));
    connect(open, &QAction::triggered, this, [this] { m_view->OnOpenRequest(); });

    QAction *save = addCommand(CommandId::Save, withKey(133, "Ctrl+S"));
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    save->setIcon(Icons::toolbarIcon(Icons::Toolbar::Save));
    connect(save, &QAction::triggered, this, [this] { m_view->SaveSelectedCase(); });

    QAction *saveAs = addCommand(CommandId::SaveAs, m_texts.GetText(134));
    connect(saveAs, &QAction::triggered, this, [this] { m_view->SaveSelectedCase(); });

    QAction *print = addCommand(CommandId::Print, withKey(135, "Ctrl+P"));
    print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    print->setIcon(Icons::toolbarIcon(Icons::Toolbar::Print));
    connect(print, &QAction::triggered, this, [this] { m_view->OnPrint(); });

    QAction *printSetup = addCommand(CommandId::PrintSetup, m_texts.GetText(136));
    connect(printSetup, &QAction::triggered, this, &CMainFrame::OnPrintSetup);

    // The CPR quality review's pause threshold, targets and depth unit.
    QAction *cprSettings = addCommand(CommandId::CprQualitySettings, m_texts.GetText(CprText::SettingsCommand));
    connect(cprSettings, &QAction::triggered, this, [this] { m_view->OnCprQualitySettings(); });

    QAction *exit = addCommand(CommandId::Exit, m_texts.GetText(138));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QAction *about = addCommand(CommandId::About, m_texts.GetText(139));
    about->setIcon(Icons::toolbarIcon(Icons::Toolbar::About));
    connect(about, &QAction::triggered, this, &CMainFrame::OnAbout);

    QAction *previous = addCommand(CommandId::PreviousPage, QString());
    previous->setIcon(Icons::toolbarIcon(Icons::Toolbar::PreviousPage));
    connect(previous, &QAction::triggered, this, [this] { m_view->OnPreviousPage(); });

    QAction *next = addCommand(CommandId::NextPage, QString());
    next->setIcon(Icons::toolbarIcon(Icons::Toolbar::NextPage));
    connect(next, &QAction::triggered, this, [this] { m_view->OnNextPage(); });

    QMenu *file = menuBar()->addMenu(m_texts.GetText(129));
    file->addAction(newCase);
    file->addAction(open);
    file->addAction(save);
    file->addAction(saveAs);
    file->addSeparator();
    file->addAction(print);
    file->addAction(printSetup);
    file->addAction(cprSettings);
    addExportMenu(*file);
    file->addSeparator();
    createNavigation(file);
    file->addSeparator();
    QAction *library = file->addAction(m_texts.GetText(LibraryText::MenuItem));
    connect(library, &QAction::triggered, this, &CMainFrame::OnCaseLibrary);
    file->addSeparator();
    m_recentMenu = file->addMenu(m_texts.GetText(137));
    m_recentMenu->menuAction()->setData(CommandId::RecentFileList);
    m_actions.insert(CommandId::RecentFileList, m_recentMenu->menuAction());
    // The entries are made when the menu opens, never while one of them is running.
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CMainFrame::updateRecentMenu);
    updateRecentMenu();
    file->addSeparator();
    file->addAction(exit);

    QMenu *help = menuBar()->addMenu(m_texts.GetText(130));
    help->addAction(about);
}

// File > Export: the selected case as EDF+ or one of its tables as CSV.
void CMainFrame::addExportMenu(QMenu &file)
{
    QMenu *menu = file.addMenu(m_texts.GetText(ExportText::ExportMenu));
    menu->setObjectName(QStringLiteral("exportMenu"));
    const std::pair<int, ExportKind> items[] = {
        {ExportText::EdfItem, ExportKind::Edf},
        {ExportText::EventsCsvItem, ExportKind::EventsCsv},
        {ExportText::CompressionsCsvItem, ExportKind::CompressionsCsv},
        {ExportText::PausesCsvItem, ExportKind::PausesCsv},
        {ExportText::MinutesCsvItem, ExportKind::MinutesCsv},
    };
    for (const auto &[text, kind] : items) {
        const ExportKind k = kind;
        connect(menu->addAction(m_texts.GetText(text)), &QAction::triggered, this,
                [this, k] { m_export->run(m_view->session.selSlot, k); });
    }
}

void CMainFrame::createToolBar()
{
    m_wndToolBar = addToolBar(m_texts.GetText(MessageText::StandardToolbar));
    m_wndToolBar->setObjectName(QStringLiteral("standardToolBar"));
    m_wndToolBar->setIconSize(QSize(Icons::ToolbarWidth, Icons::ToolbarHeight));
    m_wndToolBar->addAction(action(CommandId::New));
    m_wndToolBar->addAction(action(CommandId::Open));
    m_wndToolBar->addAction(action(CommandId::Save));
    m_wndToolBar->addSeparator();
    m_wndToolBar->addAction(action(CommandId::Print));
    m_wndToolBar->addAction(action(CommandId::About));
    m_wndToolBar->addAction(action(CommandId::PreviousPage));
    m_wndToolBar->addAction(action(CommandId::NextPage));
    createNavigationBar();
}

void CMainFrame::createPanes()
{
    m_wndSplitter = new QSplitter(Qt::Horizontal, this);
    m_wndSplitter->setChildrenCollapsible(false);
    // The left pane: the event filter above the case tree.
    auto *treePane = new QWidget(m_wndSplitter);
    auto *treeLayout = new QVBoxLayout(treePane);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(0);
    m_tree = new CADETree(treePane);
    m_treeFilter = new CaseTreeFilter(m_texts, *m_tree, treePane);
    treeLayout->addWidget(m_treeFilter);
    treeLayout->addWidget(m_tree, 1);
    // The view fills the tree and publishes its selection here (m_nSelCase, m_tsPosition, ...).
    m_view->setTree(m_tree);
    m_view->session.setReviewState(*this, [this](int selSlot, int selEvent) { OnSelectionChanged(selSlot, selEvent); });
    m_detail = new CDetailView(*this, m_texts, m_wndSplitter);
    // Message 1135: "Print All Segment" of the enlarged ECG goes on to the view's print.
    m_detail->onPrintSegments = [this](int printKind) { m_view->OnPrintSegments(printKind); };
    m_detail->onExportEcg = [this](int slot) { m_export->run(slot, ExportKind::Edf); };
    m_detail->setCprSettings(m_view->cprSettings);
    m_view->cprSettingsChanged = [this](const CprReviewSettings &settings) {
        m_detail->setCprSettings(settings);
        if (m_libraryWindow)
            m_libraryWindow->setDepthUnit(settings.depthUnit);
    };
    m_wndSplitter->addWidget(treePane);
    m_wndSplitter->addWidget(m_detail);
    m_wndSplitter->setStretchFactor(0, 0);
    m_wndSplitter->setStretchFactor(1, 1);
    setCentralWidget(m_wndSplitter);
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The left column starts at 40 % of the width; afterwards the user owns the bar, and a
    // resize of the window changes the right column only.
    if (!m_splitterPlaced) {
        m_splitterPlaced = true;
        const int total = m_wndSplitter->width();
        const int left = int(total * TreeShare);
        m_wndSplitter->setSizes({left, total - left});
    }
}

void CMainFrame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (frameHeldAtLargestSize(width(), height(), windowState()))
        QMetaObject::invokeMethod(this, &CMainFrame::holdAtLargestSize, Qt::QueuedConnection);
}

void CMainFrame::holdAtLargestSize()
{
    if (!frameHeldAtLargestSize(width(), height(), windowState()))
        return;
    // The outer size, decorations included, becomes 1920 x 1080 at the screen origin.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins decorations(inner.left() - outer.left(), inner.top() - outer.top(),
                               outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QPoint origin = screen() ? screen()->geometry().topLeft() : QPoint(0, 0);
    setGeometry(QRect(origin, QSize(LargestWidth, LargestHeight)).marginsRemoved(decorations));
}

void CMainFrame::updateRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_recentFiles->files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(entry, &QAction::triggered, this, [this, path] {
            // An archive that no longer opens leaves the list; its message has been shown.
            if (!m_view->OpenArchiveFile(path)) {
                m_recentFiles->remove(path);
                m_recentMenu->menuAction()->setEnabled(!m_recentFiles->files().isEmpty());
            }
        });
    }
    m_recentMenu->menuAction()->setEnabled(!files.isEmpty());
}

void CMainFrame::OnSelectionChanged(int selSlot, int /*selEvent*/)
{
    m_nSelCase = selSlot;
    m_bSelChanged = 1;
    m_detail->refresh();
    updateForSelectedCase();
}

void CMainFrame::updateForSelectedCase()
{
    const CaseSession &session = m_view->session;
    const int slot = session.selSlot;
    const bool readOnly = session.isReadOnly(slot) && session.store.caseAt(slot);
    const OpenCase *entry = session.store.find(slot);
    setWindowTitle(frameTitle(m_texts.GetText(TextId::WindowTitle), entry ? entry->sourcePath : QString(), readOnly,
                              ReviewLockText::readOnlyMark(m_texts)));
    action(CommandId::Save)->setEnabled(!readOnly);
    action(CommandId::SaveAs)->setEnabled(!readOnly);
}

void CMainFrame::OnRenewReviewLocks()
{
    if (!m_view->session.RenewReviewLocks().empty())
        OnSelectionChanged(m_view->session.selSlot, m_view->session.selEvent);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // Every changed case is asked for, not only the one shown.
    if (!m_view->session.confirmClose(m_view->session.openSlots())) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::OnAbout()
{
    CAboutDlg about(m_texts, this);
    about.exec();
}

void CMainFrame::OnPrintSetup()
{
    m_platform.runPrintSetup();
}

// The archive is indexed once the command that opened or wrote it has finished.
void CMainFrame::indexArchiveLater(const QString &path)
{
    if (m_library->autoIndex)
        QTimer::singleShot(0, this, [this, path] { m_library->archiveTouched(path); });
}

CaseLibraryWindow *CMainFrame::OnCaseLibrary()
{
    if (!m_libraryWindow) {
        m_libraryWindow = new CaseLibraryWindow(m_texts, m_platform, *m_library, this);
        m_libraryWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_libraryWindow->openArchive = [this](const QString &path) { m_view->OpenArchiveFile(path); };
        m_libraryWindow->settingsChanged = [this] { saveLibrarySettings(*m_library); };
        m_libraryWindow->setDepthUnit(m_view->cprSettings.depthUnit);
        m_libraryWindow->ccfTarget = [this] { return m_view->cprSettings.quality.ccfTarget; };
        m_libraryWindow->refresh();
    }
    m_libraryWindow->show();
    m_libraryWindow->raise();
    m_libraryWindow->activateWindow();
    return m_libraryWindow;
}
