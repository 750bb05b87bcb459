#pragma once

#include "base/PrintOutcome.h"

#include <QString>
#include <QStringList>

class AnnotationForm;
class CprSettingsForm;
class OpenDialogLogic;
struct MenuEntry;
struct CprQualityReport;
struct SelectionReport;

// Everything the user must see or answer goes through this seam, so that the case
// commands run the same with real Qt dialogs, with a scripted fake in tests and on the
// console in ravelin-cli. Later services (file dialogs, folder browser, progress
// window, the annotation and open forms) are added here as the commands need them.
class Platform
{
public:
    enum class Icon { None, Stop, Question, Warning, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Platform() = default;

    // A modal message box; returns the button pressed (Cancel or No when closed).
    virtual Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) = 0;

    // File dialogs and the folder browser return the chosen path, or "" when cancelled.
    // filter is in Qt's form ("MIF (*.MIF);;All Files(*.*)"); an empty caption or folder
    // leaves the platform's default. Headless platforms cancel unless they say otherwise.
    virtual QString openFileDialog([[maybe_unused]] const QString &caption, [[maybe_unused]] const QString &folder,
                                   [[maybe_unused]] const QString &filter)
    {
        return QString();
    }
    // initialPath may be a folder, a file name or both; defaultSuffix without the dot.
    // The platform asks before a file is overwritten.
    virtual QString saveFileDialog([[maybe_unused]] const QString &caption,
                                   [[maybe_unused]] const QString &initialPath, [[maybe_unused]] const QString &filter,
                                   [[maybe_unused]] const QString &defaultSuffix)
    {
        return QString();
    }
    virtual QString browseFolder([[maybe_unused]] const QString &title) { return QString(); }

    // A one-line question with OK and Cancel: text comes in as the initial answer and goes
    // out as the typed one; false when cancelled (text unchanged then).
    virtual bool askText([[maybe_unused]] const QString &caption, [[maybe_unused]] const QString &label,
                         [[maybe_unused]] QString &text)
    {
        return false;
    }

    // A choice among items with OK and Cancel: index comes in as the item first chosen and goes
    // out as the one taken; false when cancelled (index unchanged then).
    virtual bool askChoice([[maybe_unused]] const QString &caption, [[maybe_unused]] const QString &label,
                           [[maybe_unused]] const QStringList &items, [[maybe_unused]] int &index)
    {
        return false;
    }

    // One check box of askOptions: its label, and whether it is ticked.
    struct Option
    {
        QString label;
        bool checked = false;
    };
    // A small modal form of check boxes with OK and Cancel: the boxes come in as offered and
    // go out as the user left them; false when cancelled (the boxes unchanged then).
    virtual bool askOptions([[maybe_unused]] const QString &caption, [[maybe_unused]] QList<Option> &options)
    {
        return false;
    }

    // The Open dialog as a form over its logic; true when one of its buttons closed it
    // (logic.action() says which), false when cancelled.
    virtual bool runOpenDialog([[maybe_unused]] OpenDialogLogic &logic) { return false; }

    // A password question with OK and Cancel: what is typed is not shown. password goes out
    // as the typed one; false when cancelled. Headless platforms cancel.
    virtual bool askPassword([[maybe_unused]] const QString &caption, [[maybe_unused]] const QString &label,
                             [[maybe_unused]] QString &password)
    {
        return false;
    }

    // The annotation dialog, modal, as a form over its logic; true when OK closed it (the
    // form has stored the annotation then), false when cancelled.
    virtual bool runAnnotationDialog([[maybe_unused]] AnnotationForm &form) { return false; }

    // Hands a file to the desktop's default application for its type; false when none
    // took it.
    virtual bool openWithDefaultApplication([[maybe_unused]] const QString &path) { return false; }

    // The report menu of the Print command, shown 10 pixels below the cursor with the
    // given commands greyed; returns the command chosen, 0 when dismissed.
    virtual int showReportMenu([[maybe_unused]] const QList<MenuEntry> &entries,
                               [[maybe_unused]] const QList<int> &disabledCommands)
    {
        return 0;
    }

    // The print dialog for the selection report, then its pages on the chosen printer
    // with the paper of the last print setup: printed, cancelled, or failed with the
    // reason (no printer, a file that cannot be written).
    virtual PrintOutcome printSelectionReport([[maybe_unused]] const SelectionReport &report)
    {
        return PrintOutcome::cancelled();
    }
    // The same print dialog and printer for the CPR quality report.
    virtual PrintOutcome printCprQualityReport([[maybe_unused]] const CprQualityReport &report)
    {
        return PrintOutcome::cancelled();
    }
    // File > "CPR quality settings...", modal, as a form over its logic; true when OK
    // closed it (the form accepted its fields then), false when cancelled.
    virtual bool runCprSettingsDialog([[maybe_unused]] CprSettingsForm &form) { return false; }
    // File > Print setup: the paper and orientation of the next prints.
    virtual void runPrintSetup() {}

    // A modeless progress window without buttons over long work on the GUI thread: begin
    // shows it with caption, set moves its bar (0..10000), end closes it.
    virtual void beginProgress([[maybe_unused]] const QString &caption) {}
    virtual void setProgress([[maybe_unused]] int position) {}
    virtual void endProgress() {}
    // The same window with a Cancel button, for work that may stop between its steps:
    // progressCancelled() says whether the button was pressed since it was shown.
    virtual void beginCancellableProgress(const QString &caption) { beginProgress(caption); }
    virtual bool progressCancelled() { return false; }

    // The common case: text, the program's caption, stop icon, OK.
    void showError(const QString &text, const QString &caption)
    {
        messageBox(text, caption, Icon::Stop, Buttons::Ok);
    }
};
