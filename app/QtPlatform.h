#pragma once

#include "archive/OutputTarget.h"
#include "base/Platform.h"

#include <functional>
#include <memory>

class LanguagePack;
class OpenDialogMemory;
class PrintSupport;
class QPrinter;
class QProgressDialog;
class QWidget;

// The real dialogs: Qt message boxes and file dialogs, parented to the main window.
class QtPlatform : public Platform
{
public:
    explicit QtPlatform(QWidget *parent = nullptr);
    ~QtPlatform() override;
    void setParent(QWidget *parent) { m_parent = parent; }
    QWidget *parentWidget() const { return m_parent; }
    // The language pack of the platform's own messages; the built-in one (English) unless set.
    // It must outlive the platform.
    void setTexts(const LanguagePack &texts) { m_texts = &texts; }
    // The files the open cases are read from, which a print into a PDF file never replaces.
    void setOutputInputs(std::function<OutputInputs()> inputs) { m_outputInputs = std::move(inputs); }

    Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) override;
    QString openFileDialog(const QString &caption, const QString &folder, const QString &filter) override;
    QString saveFileDialog(const QString &caption, const QString &initialPath, const QString &filter,
                           const QString &defaultSuffix) override;
    QString browseFolder(const QString &title) override;
    bool askChoice(const QString &caption, const QString &label, const QStringList &items, int &index) override;
    bool askText(const QString &caption, const QString &label, QString &text) override;
    bool askOptions(const QString &caption, QList<Option> &options) override;
    bool runOpenDialog(OpenDialogLogic &logic) override;
    bool askPassword(const QString &caption, const QString &label, QString &password) override;
    bool runAnnotationDialog(AnnotationForm &form) override;
    bool openWithDefaultApplication(const QString &path) override;
    int showReportMenu(const QList<MenuEntry> &entries, const QList<int> &disabledCommands) override;
    PrintOutcome printSelectionReport(const SelectionReport &report) override;
    PrintOutcome printCprQualityReport(const CprQualityReport &report) override;
    bool runCprSettingsDialog(CprSettingsForm &form) override;
    void runPrintSetup() override;
    // The printer every print and print setup uses, so that the setup's paper and
    // orientation hold for the next prints; null when the printing plugin cannot be loaded.
    QPrinter *printer();
    void beginProgress(const QString &caption) override;
    void setProgress(int position) override;
    void endProgress() override;
    void beginCancellableProgress(const QString &caption) override;
    bool progressCancelled() override;

private:
    OpenDialogMemory &memory();
    // The printing plugin, loaded at first use; null when missing, printUnavailable() says why.
    PrintSupport *printSupport();
    QString printUnavailable();
    OutputInputs outputInputs() const { return m_outputInputs ? m_outputInputs() : OutputInputs(); }
    const LanguagePack &texts();

    QWidget *m_parent;
    std::unique_ptr<QProgressDialog> m_progress; // while a progress window is shown
    bool m_progressCancellable = false;           // it has a Cancel button that must be heard
    const LanguagePack *m_texts = nullptr;
    std::unique_ptr<LanguagePack> m_builtInTexts; // made when a message needs it and none was set
    std::shared_ptr<QPrinter> m_printer; // made by the printing plugin at the first print or print setup
    QString m_printError;                // why the printing plugin could not be loaded
    std::unique_ptr<OpenDialogMemory> m_memory;  // the Open dialog's and file dialogs' last choices
    std::function<OutputInputs()> m_outputInputs;
};
