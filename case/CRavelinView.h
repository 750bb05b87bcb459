#pragma once

#include "app/SelectionPrint.h"
#include "case/CC8Class.h"
#include "case/CaseRecord.h"
#include "case/ReviewState.h"
#include "case/SharedState.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class LanguagePack;
class Platform;

// The main view's core: it owns every open case in numbered case slots, together with
// each case's MIF file set, and runs the case commands. It is not a widget; the window
// shows it through the case tree. Every operation runs on the GUI thread.
//
// The per-slot arrays below are parallel and indexed by slot; slotCount is the number of
// slots ever made. shockCounts, tempLoaded and tempFilePresent may be longer than
// slotCount: the flows set tempFilePresent of the slot the next case will take before
// that slot is made (see nextCaseSlot()).
class CRavelinView : public QObject
{
    Q_OBJECT
public:
    CRavelinView(LanguagePack &texts, Platform &platform, QObject *parent = nullptr);
    ~CRavelinView() override;

    LanguagePack &texts() const { return m_texts; }
    Platform &platform() const { return m_platform; }
    // Text number of the language pack in the current language.
    QString GetText(int number) const;

    SharedState state;

    std::vector<std::unique_ptr<CaseRecord>> cases; // null once the case is closed
    std::vector<QString> sourcePaths;               // folder + file name the case came from
    std::vector<bool> slotUsed;                     // the slot holds an open case
    std::vector<std::unique_ptr<CC8Class>> fileSets; // null once the case is closed
    std::vector<bool> fileSetMade;
    std::vector<bool> hasCprFeedback;
    std::vector<bool> hasAudio;
    std::vector<int32_t> audioStartMs;              // case time at which the audio record starts
    std::vector<int32_t> audioDurationSec;
    std::vector<bool> viewedFlags;                  // the case node shows the viewed image
    std::vector<int32_t> shockCounts;               // shocks counted by the decoding
    std::vector<int32_t> tempLoaded;                // 1: the case has temperature data
    std::vector<int32_t> tempFilePresent;           // 1: a Temp file is to be read for the case
    int slotCount = 0;

    // Annotations read from an archive (title with its "A: ", body), in file order, waiting
    // for the event-list build to add them to the case and empty the table.
    std::vector<EventItem> pendingAnnotations;

    // The file set the open and import flows read a folder into before a slot exists.
    CC8Class scratchFileSet;

    // True when slot is below slotCount and holds an open case.
    bool isSlotUsed(int slot) const;
    // The case in a used slot; null otherwise.
    CaseRecord *caseAt(int slot) const;

    // A slot holding a new, empty case and file set: the lowest free slot, else a new one.
    int AllocateCaseSlot();
    // The slot the next AllocateCaseSlot() will return.
    int nextCaseSlot() const;
    // tempFilePresent of a slot, 0 for a slot never set.
    int32_t tempFilePresentOf(int slot) const;
    void setTempFilePresent(int slot, int32_t value);

    // Stores a new event; the texts are copied. When the table is full the limit message
    // is shown once per case and later calls for the case do nothing.
    void AddEvent(int slot, int32_t timeMs, const QString &text, const QString &detail);
    // Stores a new CPR period. Returns the table slot used when returnIndex, else 0. When
    // the table is full it shows the limit message and returns -1 if returnIndex (so no
    // caller takes period 0 for the refused one), else 0.
    int AddCprPeriod(int slot, int32_t startMs, int32_t endMs, bool returnIndex);
    // The last used CPR-period slot with startMs < timeMs < endMs; MaxCprPeriods (200)
    // when none matches or when the table is full.
    int FindCprPeriod(int slot, int32_t timeMs) const;
    // Stores a new ECG segment; a full table shows the limit message.
    void AddSegment(int slot, int32_t startMs, int32_t endMs);
    // Deletes the case and its file set and marks the slot free. The caller removes the
    // case's branch from the tree.
    void FreeCase(int slot);
    // Frees every case and empties the view's per-slot arrays (slotCount 0). shockCounts,
    // tempLoaded and tempFilePresent keep their entries; a new slot resets the first two.
    void FreeAllCases();

    // LoadFiles of a file set, reading Temp when the slot's tempFilePresent is 1 (the
    // flows that read into the scratch file set pass slot 0).
    int LoadFiles(CC8Class &fileSet, int slot);

    // Makes a case from the MIF folder state.mifFolderPath of state.deviceModel: a new
    // slot, its file set loaded, the start time from the ECG header and the serial number
    // typed in the Open dialog. The scratch file set's CT, ECG, HR and trend buffers are
    // discarded. Returns the slot.
    int CreateCaseFromMif();
    // Decodes the slot's file set into the case (MifDecoder). addAnnotations, when given,
    // runs after the trend-block walk and before the ECG samples, which is where the
    // event-list build adds the case's pending annotations.
    void DecodeCaseData(int slot, const std::function<void()> &addAnnotations = {});
    // Text of a device event code, worded by state.deviceModel.
    QString EventText(int code) const;

    // Selection of the case tree: slot of the selected case and its selected event slot,
    // -1 when none.
    int selSlot = -1;
    int selEvent = -1;

    // The case tree, or null before the window (or a test) hands one over. The view
    // becomes its owner and learns of its selection changes and right-button presses.
    TreeControl *tree = nullptr;
    void setTree(TreeControl *caseTree);
    // Empties the tree as a freshly made one: no items, nothing selected, and no case
    // holding a handle of a deleted item (close all, before FreeAllCases).
    void ClearCaseTree();
    bool suppressSelectionNotify = false; // the next selection change is the view's own
    bool annotationDialogOpen = false;    // the annotation dialog is up: no tree menus

    // Where the selection is published: the main frame's state and its handler of the
    // selection change (slot, event). Without a frame the view keeps its own state and
    // publishes the way the frame does (m_nSelCase = slot, m_bSelChanged = 1).
    void setReviewState(ReviewState &frameState, std::function<void(int, int)> selectionChanged);
    ReviewState &review() const { return *m_review; }

    // The case's tree branch (date, device and case nodes), its decoding with the pending
    // annotations, and its event items.
    void BuildEventList(int slot);
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

    // Commands of the main window's menus and toolbar.
    void OnOpenRequest();
    // Opens an archive as "Load AED File" does, without the Open dialog (command line,
    // recent files); true when it opened.
    bool OpenArchiveFile(const QString &path);
    // Frees every case and empties the tree (page arrows, reload).
    void CloseAllCases();
    // Told the path of every archive opened (the recent-file list).
    std::function<void(const QString &)> archiveOpened;
    // "Adjust..." of the General form: closes every case and reopens the last archive.
    void OnReloadRequest();
    // Writes the selected case to an archive the user names; true when the file was written.
    bool SaveSelectedCase();
    // The Print command: the report menu, or the print dialog of a requested segment print.
    void OnPrint();
    // Message 1135 ("Print All Segment" of the enlarged ECG): stores the print kind,
    // requests the segment print and runs the Print command.
    void OnPrintSegments(int printKind);
    // "Incident Log" of the report menu: writes the selected case's log and opens it.
    void OnIncidentLog();
    // Incident logs written since the view was made; the next is number logCounter + 1.
    int32_t logCounter = 0;
    // The segment print under way (kept when it could not be printed).
    SelectionPrintState printState;
    void OnPreviousPage();
    void OnNextPage();

private:
    void showLimitMessage(int textNumber);
    void publishSelection();
    bool runAnnotationDialog(int slot, int mode, int32_t value);

    ReviewState m_ownReview;
    ReviewState *m_review = &m_ownReview;
    std::function<void(int, int)> m_selectionChanged;

    LanguagePack &m_texts;
    Platform &m_platform;
};
