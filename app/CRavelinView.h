#pragma once

#include "case/CaseSession.h"
#include "cpr/CprReviewSettings.h"
#include "report/SelectionPrint.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class LanguagePack;
class Platform;

// The window's command router: it owns the open cases (the session with its store and the
// case tree) and turns the commands of the menus, the toolbar and the General form into
// calls of the flows. It is not a widget; the window shows it through the case tree. Every
// operation runs on the GUI thread.
class CRavelinView : public QObject
{
    Q_OBJECT
public:
    CRavelinView(LanguagePack &texts, Platform &platform, QObject *parent = nullptr);
    ~CRavelinView() override;

    LanguagePack &texts() const { return session.texts(); }
    Platform &platform() const { return session.platform(); }
    // Text number of the language pack in the current language.
    QString GetText(int number) const { return session.GetText(number); }

    CaseSession session;
    SharedState &state = session.state; // the session's, under the name the windows use
    CaseStore &store = session.store;

    // The case tree; the session learns of its selection changes and right-button presses.
    void setTree(TreeControl *caseTree) { session.setTree(caseTree); }

    // Commands of the main window's menus and toolbar.
    void OnOpenRequest();
    // Opens an archive as "Load AED File" does, without the Open dialog (command line,
    // recent files); true when it opened.
    bool OpenArchiveFile(const QString &path);
    // Frees every case and empties the tree.
    void CloseAllCases();
    // "Adjust..." of the General form for the case in slot: reads that case's archive again
    // with the typed start (a message and no change for a text that is not a date and time).
    void OnAdjustRequest(int slot, const QString &typedStart);
    // Writes the selected case to an archive the user names; true when the file was written.
    bool SaveSelectedCase();
    // The Print command: the report menu, or the print dialog of a requested segment print.
    void OnPrint();
    // "Print All Segment" of the enlarged ECG: stores the print kind, requests the segment
    // print and runs the Print command.
    void OnPrintSegments(int printKind);
    // "Incident Log" of the report menu: writes the selected case's log and opens it.
    void OnIncidentLog();
    // Number of the last incident log this view wrote (0 before the first); the next tries
    // logCounter + 1 and moves on past numbers already taken.
    int32_t logCounter = 0;
    // The segment print under way (kept when it could not be printed).
    SelectionPrintState printState;
    void OnPreviousPage();
    void OnNextPage();

    // The CPR quality review's settings, read from the per-user settings at start.
    CprReviewSettings cprSettings;
    // File > "CPR quality settings...": the dialog, then the settings kept and announced.
    void OnCprQualitySettings();
    // Runs after the CPR quality settings changed (the window refreshes the tab).
    std::function<void(const CprReviewSettings &)> cprSettingsChanged;
    // "CPR quality report" of the report menu: the selected case's report to the print dialog.
    void OnCprQualityReport();
};
