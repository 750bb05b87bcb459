#pragma once

#include "base/LanguagePack.h"
#include "case/ReviewState.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class CADETree;
class CaseTreeFilter;
class QComboBox;
class CaseLibraryWindow;
class LibraryService;
class CDetailView;
class CRavelinView;
class ExportFlow;
class Platform;
class QAction;
class QMenu;
class QSplitter;
class RecentFileList;
class QTimer;
class QToolBar;

// The main window: toolbar, File and Help menus, and a splitter with the case tree on
// the left and the detail view on the right. It publishes the tree's selection to the
// detail view through its ReviewState members (m_nSelCase, m_tsPosition, ...).
class CMainFrame : public QMainWindow, public ReviewState
{
    Q_OBJECT
public:
    // texts: the loaded language pack with its language already chosen.
    CMainFrame(LanguagePack texts, Platform &platform, QWidget *parent = nullptr);
    ~CMainFrame() override;

    const LanguagePack &texts() const { return m_texts; }
    CRavelinView &view() { return *m_view; }
    CADETree *tree() const { return m_tree; }
    CDetailView *detailView() const { return m_detail; }
    QSplitter *splitter() const { return m_wndSplitter; }
    QToolBar *toolBar() const { return m_wndToolBar; }
    CaseTreeFilter *treeFilter() const { return m_treeFilter; }
    // The toolbar's choice of the kind F3 / Shift+F3 step through.
    QComboBox *jumpKindSelector() const { return m_jumpKind; }
    // File > Export and "Export Entire ECG...": its onExported hears of every file written.
    ExportFlow &exportFlow() const { return *m_export; }
    // The menu or toolbar action of a command identifier; null when there is none.
    QAction *action(int commandId) const { return m_actions.value(commandId); }

    // The tree's selection changed (slot of the case, event slot or -1).
    void OnSelectionChanged(int selSlot, int selEvent);
    // Renews the review locks of the open cases (every ReviewLock::RenewSeconds while the
    // window is up); a case whose lock another reviewer took over is shown read-only at once.
    void OnRenewReviewLocks();

    // The archives opened last, offered by File > Recent.
    RecentFileList &recentFiles() const { return *m_recentFiles; }
    // Fills File > Recent from the list ("&1 path", newest first), greyed when empty; runs
    // whenever the menu opens.
    void updateRecentMenu();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QAction *addCommand(int commandId, const QString &label);
    void createMenus();
    void addExportMenu(QMenu &file);
    void createToolBar();
    void createPanes();
    void holdAtLargestSize();
    // Go to time, the jumps to the next / previous event of a kind and their toolbar.
    void createNavigation(QMenu *file);
    void createNavigationBar();
    void OnJumpToEventOfKind(bool forward);
    void OnAbout();
    void OnPrintSetup();
    // The title and the Save commands follow the selected case (read-only or not).
    void updateForSelectedCase();

    LanguagePack m_texts;
    Platform &m_platform;
    std::unique_ptr<CRavelinView> m_view;
    std::unique_ptr<ExportFlow> m_export;
    QSplitter *m_wndSplitter = nullptr;
    QToolBar *m_wndToolBar = nullptr;
    CADETree *m_tree = nullptr;
    CDetailView *m_detail = nullptr;
    QMenu *m_recentMenu = nullptr;
    std::unique_ptr<RecentFileList> m_recentFiles;
    bool m_splitterPlaced = false;
    QHash<int, QAction *> m_actions;
    CaseTreeFilter *m_treeFilter = nullptr;
    QComboBox *m_jumpKind = nullptr;
    QTimer *m_lockRenewal = nullptr;

    // The case library: File > Case library..., and the archives indexed as they are opened,
    // imported and saved.
public:
    LibraryService &caseLibrary() const { return *m_library; }
    CaseLibraryWindow *OnCaseLibrary();

private:
    void indexArchiveLater(const QString &path);
    std::unique_ptr<LibraryService> m_library;
    QPointer<CaseLibraryWindow> m_libraryWindow;
};

// The window's title: the program's, and for a selected case open read-only its file name
// with "(read-only)" ("Ravelin — Q25_0001.aed (read-only)").
QString frameTitle(const QString &programTitle, const QString &casePath, bool readOnly,
                   const QString &readOnlyMark = QStringLiteral("(read-only)"));

// A frame whose client area reaches 1920 pixels wide or 1080 high is held at an outer
// size of 1920 x 1080 at the screen origin.
bool frameExceedsLargestSize(int clientWidth, int clientHeight);
// Whether the rule holds the frame in this state: only a restored (normal) window is held;
// a maximised or full-screen one keeps the screen and restores to its normal size.
bool frameHeldAtLargestSize(int clientWidth, int clientHeight, Qt::WindowStates states);
