#pragma once

#include "case/CaseStore.h"
#include "case/ReviewState.h"
#include "case/SharedState.h"
#include "case/TreeControl.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class LanguagePack;
class Platform;

// What the commands on the open cases share: the case store, the Open dialog's choices
// and flags, the case tree with its selection, and where the selection is published. The
// flows of the layers above take it; the window's CRavelinView owns one. Everything runs
// on the GUI thread.
class CaseSession
{
public:
    CaseSession(LanguagePack &texts, Platform &platform);
    ~CaseSession();
    CaseSession(const CaseSession &) = delete;
    CaseSession &operator=(const CaseSession &) = delete;

    LanguagePack &texts() const { return m_texts; }
    Platform &platform() const { return m_platform; }
    // Text number of the language pack in the current language.
    QString GetText(int number) const;

    SharedState state;
    CaseStore store;

    // Selection of the case tree: slot of the selected case and its selected event slot,
    // -1 when none.
    int selSlot = -1;
    int selEvent = -1;

    // The case tree, or null before the window (or a test) hands one over. The session
    // learns of its selection changes and right-button presses.
    TreeControl *tree = nullptr;
    void setTree(TreeControl *caseTree);
    // Empties the tree as a freshly made one: no items, nothing selected, and no case
    // holding a handle of a deleted item (close all, before FreeAllCases).
    void ClearCaseTree();
    bool suppressSelectionNotify = false; // the next selection change is the session's own
    bool annotationDialogOpen = false;    // the annotation dialog is up: no tree menus

    // Where the selection is published: the main frame's state and its handler of the
    // selection change (slot, event). Without a frame the session keeps its own state and
    // publishes the way the frame does (m_nSelCase = slot, m_bSelChanged = 1).
    void setReviewState(ReviewState &frameState, std::function<void(int, int)> selectionChanged);
    ReviewState &review() const { return *m_review; }

    // Writes the selected case to an archive the user names; true when written. Provided
    // by the layer that knows the archive format (a case closed with unsaved changes).
    std::function<bool()> saveSelectedCase;
    // Told the path of every archive opened (the recent-file list).
    std::function<void(const QString &)> archiveOpened;
    // Told the path of every archive written by Save (the case library).
    std::function<void(const QString &)> archiveSaved;

    // One item per used event under the case node, in time order.
    void InsertEventItems(int slot);

    // What the tree reports: a new selected item, a right-button press.
    void OnTreeSelectionChanged(TreeItemId item);
    void OnShowCaseMenu();
    // A command of the case or annotation menu, for the tree's current selection.
    void OnTreeMenuCommand(int commandId);
    void OnCloseCase(int slot);
    void OnMarkViewed(int slot);
    void OnMarkNotViewed(int slot);
    void OnAddAnnotation(int slot);
    void OnEditAnnotation(int slot, int event);
    void OnDeleteAnnotation(int slot, int event);
    void OnRebuildEvents(int slot);
    // Selects, without publishing, the event at or just before the review position.
    void OnSelectEventAtTime();
    // The annotation dialog at a case time of the enlarged ECG; true when one was added.
    bool AddAnnotationAt(int slot, int32_t timeMs);

private:
    void publishSelection();
    bool runAnnotationDialog(int slot, int mode, int32_t value);

    ReviewState m_ownReview;
    ReviewState *m_review = &m_ownReview;
    std::function<void(int, int)> m_selectionChanged;

    LanguagePack &m_texts;
    Platform &m_platform;
};
