#pragma once

#include "case/CaseStore.h"
#include "case/ReviewState.h"
#include "case/SharedState.h"
#include "case/TreeControl.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class LanguagePack;
class Platform;
class ReviewLock;

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

    // Writes the case in a slot to an archive the user names; true when written. Provided
    // by the layer that knows the archive format (cases closed with unsaved changes).
    std::function<bool(int)> saveCase;
    // Binds the CPR data and sound files of the folder of the case in slot to its recording and
    // loads them ("Use this folder's CPR and sound files for this case"). Provided by the layer
    // that knows those files.
    std::function<void(int)> bindCompanions;
    // "Undo adjustment": reads the case in slot again with the device's start. Provided by the
    // layer that knows the archive.
    std::function<void(int)> undoAdjustment;
    // "Review status..." of the case in slot: provided by the layer that knows the case library.
    // A read-only case may have its status changed: it is the library's, not the case's.
    std::function<void(int)> changeReviewStatus;
    // The review status of the case in slot as the General tab shows it ("" when unknown).
    std::function<QString(int)> reviewStatusLine;

    // Unsaved changes are kept per case: an edit of the General form and an added, edited
    // or deleted annotation mark the case; saving it clears the mark. state.unsavedChanges
    // is 1 while some open case is marked.
    void markChanged(int slot);
    void markSaved(int slot);
    bool isChanged(int slot) const;
    // The slots that hold an open case, in slot order.
    std::vector<int> openSlots() const;
    // Before the cases in closing are closed: when one of them is changed, asks whether to save
    // (Yes / No / Cancel). Yes saves every changed one, one after another, and proceeds only
    // when all were written; No proceeds without saving; Cancel does not proceed. The question
    // names the changed cases.
    bool confirmClose(const std::vector<int> &closing);
    // What the close question calls the case in slot: its archive's base name (the tree's
    // label while it has no archive).
    QString caseName(int slot) const;

    // The reviewer's marks of slot (CPR periods, segments, viewed mark, adjusted start)
    // changed: they are written again to the review file beside the case's archive. A
    // failure is reported once per case; the marks stay in memory.
    void reviewMarksChanged(int slot);
    // The review lock of an archive about to be opened for review (recordingId: the recording it
    // holds); null means the lock file beside the archive.
    std::function<std::unique_ptr<ReviewLock>(const QString &archivePath, const QString &recordingId)> lockProvider;
    // Told, once per open for review, the slot of a case just opened with its lock settled:
    // OpenCase::readOnly and lockTakenOver say how it was opened.
    std::function<void(int slot)> caseOpenedForReview;
    // The case in slot is open read-only (another reviewer holds it): its edits, marks,
    // annotations and saves are refused here, whoever asks.
    bool isReadOnly(int slot) const { return store.isReadOnly(slot); }
    // Renews the review lock of every open case (every ReviewLock::RenewSeconds). A case whose
    // lock is no longer its own becomes read-only, with one message; returns those slots.
    std::vector<int> RenewReviewLocks();
    // The case in slot is read-only from now on: its lock and its unsaved mark go.
    void makeReadOnly(int slot);
    // The reviewer's cause of the whole pause that starts at startMs in the case in slot (one
    // of ReviewFile::reviewerPauseCauses()), or "" for the device's reading again; kept in the
    // review file. False, changing nothing, for a read-only case or an unknown cause.
    bool setPauseCause(int slot, int32_t startMs, const QString &cause);
    // Told the path of every archive opened (the recent-file list).
    std::function<void(const QString &)> archiveOpened;
    // Told the path of every archive written by Save (the case library).
    std::function<void(const QString &)> archiveSaved;
    // Told the path of an archive whose review file now holds another start (Adjust, Undo
    // adjustment) or another cause of a pause: facts the case library keeps.
    std::function<void(const QString &)> reviewFactsChanged;

    // Told what the reviewer did to a recording (its ID and archive), for the audit trail: one
    // of AuditAction's words and what it concerns (a field's name, an export's format; never a
    // patient value).
    std::function<void(const QString &recordingId, const QString &archivePath, const QString &action,
                       const QString &details)>
        audited;
    // audited for the case open in slot.
    void audit(int slot, const char *action, const QString &details = QString());
    // A field of the General form was edited (fieldName as the form labels it): the trail
    // records it once per field until the case is saved, not at every key.
    void fieldChanged(int slot, const QString &fieldName);

    // One item per used event under the case node, in time order.
    void InsertEventItems(int slot);

    // What the tree reports: a new selected item, a right-button press.
    void OnTreeSelectionChanged(TreeItemId item);
    // Selects item as a click on it does: the tree highlights it and the selection state, the
    // menus and the windows follow, also when it was highlighted already.
    void selectAsClicked(TreeItemId item);
    void OnShowCaseMenu();
    // A command of the case or annotation menu, for the tree's current selection.
    void OnTreeMenuCommand(int commandId);
    // Closes the case in slot after confirmClose; CloseCase closes it without asking.
    void OnCloseCase(int slot);
    void CloseCase(int slot);
    // Where the tree's highlighted item is: its slot and event slot (-1 for a case node);
    // false when nothing of a case is highlighted.
    bool highlightedItem(int &slot, int &event) const;
    void OnMarkViewed(int slot);
    void OnMarkNotViewed(int slot);
    void OnAddAnnotation(int slot);
    void OnEditAnnotation(int slot, int event);
    void OnDeleteAnnotation(int slot, int event);
    // Rebuilds the event items of slot. Given an event, the review position and the tab stay,
    // the event is highlighted as the selection and the windows are told to redraw; without
    // one, the selection moves as the tree moves it when items go.
    void OnRebuildEvents(int slot, int event = -1);
    // Selects, without publishing, the event at or just before the review position.
    void OnSelectEventAtTime();
    // The annotation dialog at a case time of the enlarged ECG; true when one was added.
    bool AddAnnotationAt(int slot, int32_t timeMs);

private:
    void publishSelection();
    void refreshUnsavedFlag();
    int m_quietTree = 0; // > 0: the tree's reports are the session's own rebuilding
    bool runAnnotationDialog(int slot, int mode, int32_t value);

    ReviewState m_ownReview;
    ReviewState *m_review = &m_ownReview;
    std::function<void(int, int)> m_selectionChanged;

    LanguagePack &m_texts;
    Platform &m_platform;
};
