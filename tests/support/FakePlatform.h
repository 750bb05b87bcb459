#pragma once

#include "base/ContextMenuTemplate.h"
#include "base/Platform.h"
#include "report/CprQualityReport.h"
#include "report/SelectionPrint.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

// A scripted Platform: records every message box and answers from a queue (Ok, or the
// last button's "no" when the script runs dry, so an unscripted question never says yes).
class FakePlatform : public Platform
{
public:
    struct Message {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    // One file dialog or folder browser shown: what it was asked with.
    struct PathRequest {
        QString caption;
        QString folder;     // initial folder or path; "" for the folder browser
        QString filter;
        QString defaultSuffix;
    };

    QList<Message> messages;
    std::deque<Answer> answers;

    // Paths the next file-open, file-save and folder dialogs return; "" (cancel) when dry.
    std::deque<QString> openPaths;
    std::deque<QString> savePaths;
    std::deque<QString> folderPaths;
    QList<PathRequest> openRequests;
    QList<PathRequest> saveRequests;
    QList<PathRequest> folderRequests;

    // Fills in and presses the buttons of the Open dialog; returns whether it closed.
    // Without a script the dialog is cancelled.
    std::function<bool(OpenDialogLogic &)> openDialogScript;
    int openDialogRuns = 0;

    // Fills in the annotation dialog and presses its buttons (AnnotationForm::accept for
    // OK); returns whether OK closed it. Without a script the dialog is cancelled.
    std::function<bool(AnnotationForm &)> annotationScript;
    int annotationDialogRuns = 0;

    // The progress window: the captions it was opened with, every bar position in order,
    // how often it was closed, and whether it is open now.
    QStringList progressCaptions;
    QList<int> progressPositions;
    int progressEnds = 0;
    bool progressOpen = false;
    // A progress window with a Cancel button answers "cancelled" once it has been asked this
    // many times (never when negative).
    int cancelProgressAfterChecks = -1;
    int progressChecks = 0;

    // Files handed to the default application, in order; what the hand-over answers.
    QStringList openedFiles;
    bool openWithDefaultResult = true;

    // Report menus shown (entries and greyed commands), and the commands chosen from the
    // next ones; dismissed (0) when dry.
    struct ReportMenu {
        QList<MenuEntry> entries;
        QList<int> disabledCommands;
    };
    QList<ReportMenu> reportMenus;
    std::deque<int> reportMenuChoices;

    // Selection reports handed to the print dialog (copies), and what the dialog does:
    // the script prints (or not) and says how it ended; cancelled without a script.
    QList<SelectionReport> printedReports;
    std::function<PrintOutcome(const SelectionReport &)> printScript;
    int printSetups = 0;

    void answerNext(Answer a) { answers.push_back(a); }

    // Answers of the next one-line questions (cancelled when dry), and what was asked:
    // caption, label and the initial text of each.
    std::deque<QString> textAnswers;
    QList<QStringList> textQuestions;
    bool askText(const QString &caption, const QString &label, QString &text) override
    {
        textQuestions.append({caption, label, text});
        if (textAnswers.empty())
            return false;
        text = textAnswers.front();
        textAnswers.pop_front();
        return true;
    }

    // The choices offered: caption, label, items and the item first chosen; choiceAnswers
    // takes one in turn (-1 cancels; none left cancels too).
    struct ChoiceQuestion
    {
        QString caption, label;
        QStringList items;
        int index = -1;
    };
    QList<ChoiceQuestion> choiceQuestions;
    std::deque<int> choiceAnswers;
    bool askChoice(const QString &caption, const QString &label, const QStringList &items, int &index) override
    {
        choiceQuestions.append({caption, label, items, index});
        if (choiceAnswers.empty() || choiceAnswers.front() < 0) {
            if (!choiceAnswers.empty())
                choiceAnswers.pop_front();
            return false;
        }
        index = choiceAnswers.front();
        choiceAnswers.pop_front();
        return true;
    }

    // The option forms shown: caption and boxes as offered. The script ticks the boxes and
    // says whether OK closed the form; without one the form is confirmed as offered, so a
    // flow that asks it goes on as the caller set it up.
    struct OptionsForm {
        QString caption;
        QList<Option> options;
    };
    QList<OptionsForm> optionForms;
    std::function<bool(QList<Option> &)> optionsScript;
    bool askOptions(const QString &caption, QList<Option> &options) override
    {
        optionForms.append({caption, options});
        return optionsScript ? optionsScript(options) : true;
    }

    Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) override
    {
        messages.append({text, caption, icon, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::YesNo: return Answer::No;
        case Buttons::YesNoCancel:
        case Buttons::OkCancel: return Answer::Cancel;
        }
        return Answer::Cancel;
    }

    QString openFileDialog(const QString &caption, const QString &folder, const QString &filter) override
    {
        openRequests.append({caption, folder, filter, QString()});
        return next(openPaths);
    }

    QString saveFileDialog(const QString &caption, const QString &initialPath, const QString &filter,
                           const QString &defaultSuffix) override
    {
        saveRequests.append({caption, initialPath, filter, defaultSuffix});
        return next(savePaths);
    }

    QString browseFolder(const QString &title) override
    {
        folderRequests.append({title, QString(), QString(), QString()});
        return next(folderPaths);
    }

    bool runOpenDialog(OpenDialogLogic &logic) override
    {
        ++openDialogRuns;
        return openDialogScript ? openDialogScript(logic) : false;
    }

    bool runAnnotationDialog(AnnotationForm &form) override
    {
        ++annotationDialogRuns;
        return annotationScript ? annotationScript(form) : false;
    }

    void beginProgress(const QString &caption) override
    {
        progressCaptions.append(caption);
        progressOpen = true;
    }
    void setProgress(int position) override { progressPositions.append(position); }
    bool progressCancelled() override
    {
        return cancelProgressAfterChecks >= 0 && ++progressChecks > cancelProgressAfterChecks;
    }
    void endProgress() override
    {
        ++progressEnds;
        progressOpen = false;
    }

    bool openWithDefaultApplication(const QString &path) override
    {
        openedFiles.append(path);
        return openWithDefaultResult;
    }

    int showReportMenu(const QList<MenuEntry> &entries, const QList<int> &disabledCommands) override
    {
        reportMenus.append({entries, disabledCommands});
        if (reportMenuChoices.empty())
            return 0;
        const int command = reportMenuChoices.front();
        reportMenuChoices.pop_front();
        return command;
    }

    PrintOutcome printSelectionReport(const SelectionReport &report) override
    {
        printedReports.append(report);
        return printScript ? printScript(report) : PrintOutcome::cancelled();
    }
    void runPrintSetup() override { ++printSetups; }

    // CPR quality reports handed to the print dialog (copies) and what it does with them;
    // cancelled without a script.
    QList<CprQualityReport> printedCprReports;
    std::function<PrintOutcome(const CprQualityReport &)> cprPrintScript;
    PrintOutcome printCprQualityReport(const CprQualityReport &report) override
    {
        printedCprReports.append(report);
        return cprPrintScript ? cprPrintScript(report) : PrintOutcome::cancelled();
    }

    // Fills in the CPR quality settings and presses its buttons (CprSettingsForm::accept
    // for OK); returns whether OK closed it. Without a script the dialog is cancelled.
    std::function<bool(CprSettingsForm &)> cprSettingsScript;
    int cprSettingsDialogRuns = 0;
    bool runCprSettingsDialog(CprSettingsForm &form) override
    {
        ++cprSettingsDialogRuns;
        return cprSettingsScript ? cprSettingsScript(form) : false;
    }

    // Answers of the next password questions (cancelled when dry), and what was asked:
    // caption and label of each.
    std::deque<QString> passwordAnswers;
    QList<QStringList> passwordQuestions;
    bool askPassword(const QString &caption, const QString &label, QString &password) override
    {
        passwordQuestions.append({caption, label});
        if (passwordAnswers.empty())
            return false;
        password = next(passwordAnswers);
        return true;
    }

    static QString next(std::deque<QString> &queue)
    {
        if (queue.empty())
            return QString();
        QString path = queue.front();
        queue.pop_front();
        return path;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages)
            out << m.text;
        return out;
    }
};
