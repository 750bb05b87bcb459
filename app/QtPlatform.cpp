#include "app/QtPlatform.h"

#include "app/QtReportDialogs.h"
#include "app/CAnnotation.h"
#include "app/CCprSettingsDlg.h"
#include "app/COpenMifQ21.h"
#include "app/DesktopHandler.h"
#include "app/OpenDialogMemory.h"
#include "app/PrintSupport.h"
#include "app/PrintText.h"
#include "base/LanguagePack.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>
#include <QVBoxLayout>

QtPlatform::QtPlatform(QWidget *parent) : m_parent(parent) {}

QtPlatform::~QtPlatform() = default;

OpenDialogMemory &QtPlatform::memory()
{
    // Made at first use, so that a platform that never shows these dialogs reads no settings.
    if (!m_memory)
        m_memory = std::make_unique<OpenDialogMemory>();
    return *m_memory;
}

bool QtPlatform::askChoice(const QString &caption, const QString &label, const QStringList &items, int &index)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (index >= 0 && index < items.size())
        dialog.setTextValue(items[index]);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const int chosen = int(items.indexOf(dialog.textValue()));
    if (chosen < 0)
        return false;
    index = chosen;
    return true;
}

bool QtPlatform::askText(const QString &caption, const QString &label, QString &text)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.textValue();
    return true;
}

bool QtPlatform::askPassword(const QString &caption, const QString &label, QString &password)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = dialog.textValue();
    return true;
}

bool QtPlatform::askOptions(const QString &caption, QList<Option> &options)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    auto *layout = new QVBoxLayout(&dialog);
    QList<QCheckBox *> boxes;
    for (const Option &option : options) {
        auto *box = new QCheckBox(option.label, &dialog);
        box->setChecked(option.checked);
        layout->addWidget(box);
        boxes.append(box);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (qsizetype i = 0; i < options.size(); ++i)
        options[i].checked = boxes[i]->isChecked();
    return true;
}

Platform::Answer QtPlatform::messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent);
    box.setText(text);
    box.setWindowTitle(caption);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

QString QtPlatform::openFileDialog(const QString &caption, const QString &folder, const QString &filter)
{
    const QString file =
        QFileDialog::getOpenFileName(m_parent, caption, folder.isEmpty() ? memory().lastFolder() : folder, filter);
    memory().rememberPick(file, false);
    return file;
}

QString QtPlatform::saveFileDialog(const QString &caption, const QString &initialPath, const QString &filter,
                                   const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent, caption, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    // Every save asks before a file that is there is replaced; the writers only refuse the
    // files a case is read from.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::browseFolder(const QString &title)
{
    const QString folder =
        QFileDialog::getExistingDirectory(m_parent, title, memory().lastFolder(), QFileDialog::ShowDirsOnly);
    memory().rememberPick(folder, true);
    return folder;
}

bool QtPlatform::runOpenDialog(OpenDialogLogic &logic)
{
    memory().restore(logic);
    COpenMifQ21 dialog(logic, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    memory().remember(logic);
    return true;
}

bool QtPlatform::runAnnotationDialog(AnnotationForm &form)
{
    CAnnotation dialog(form, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::beginProgress(const QString &caption)
{
    // No parent, as a window of its own; no buttons: the work cannot be cancelled.
    m_progress = std::make_unique<QProgressDialog>(caption, QString(), 0, 10000);
    m_progress->setWindowTitle(caption);
    m_progress->setCancelButton(nullptr);
    m_progress->setWindowModality(Qt::NonModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(0);
    m_progress->setMinimumWidth(420);
    m_progress->setValue(0);
    m_progress->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::setProgress(int position)
{
    if (!m_progress || m_progress->value() == position)
        return;
    m_progress->setValue(position);
    // The work runs on the GUI thread: let the window paint its new position (and, when it
    // can be cancelled, hear its button; the window is modal then, so nothing else is).
    QCoreApplication::processEvents(m_progressCancellable ? QEventLoop::AllEvents
                                                          : QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::beginCancellableProgress(const QString &caption)
{
    beginProgress(caption);
    m_progressCancellable = true;
    m_progress->setCancelButtonText(QProgressDialog::tr("Cancel"));
    m_progress->setWindowModality(Qt::ApplicationModal);
    QCoreApplication::processEvents();
}

bool QtPlatform::progressCancelled()
{
    if (m_progress && m_progressCancellable)
        QCoreApplication::processEvents();
    return m_progress && m_progress->wasCanceled();
}

void QtPlatform::endProgress()
{
    m_progressCancellable = false;
    m_progress.reset();
}

bool QtPlatform::openWithDefaultApplication(const QString &path)
{
    // An opener that reports success with nothing to show the file would leave the user
    // without the message that says where it is.
    return DesktopHandler::desktopHasHandler(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

int QtPlatform::showReportMenu(const QList<MenuEntry> &entries, const QList<int> &disabledCommands)
{
    return QtReportDialogs::showReportMenu(m_parent, entries, disabledCommands);
}

PrintSupport *QtPlatform::printSupport()
{
    return PrintSupport::load(&m_printError);
}

const LanguagePack &QtPlatform::texts()
{
    if (m_texts)
        return *m_texts;
    if (!m_builtInTexts) {
        m_builtInTexts = std::make_unique<LanguagePack>();
        m_builtInTexts->loadBuiltIn();
        m_builtInTexts->setLanguage(1);
    }
    return *m_builtInTexts;
}

QString QtPlatform::printUnavailable()
{
    return texts().GetText(PrintText::Unavailable).arg(m_printError);
}

QPrinter *QtPlatform::printer()
{
    if (!m_printer) {
        if (PrintSupport *support = printSupport())
            m_printer = support->newPrinter();
    }
    return m_printer.get();
}

PrintOutcome QtPlatform::printSelectionReport(const SelectionReport &report)
{
    QPrinter *p = printer();
    return p ? QtReportDialogs::printSelectionReport(m_parent, report, *p, outputInputs())
             : PrintOutcome::failed(printUnavailable());
}

PrintOutcome QtPlatform::printCprQualityReport(const CprQualityReport &report)
{
    QPrinter *p = printer();
    return p ? QtReportDialogs::printCprQualityReport(m_parent, report, *p, outputInputs())
             : PrintOutcome::failed(printUnavailable());
}

bool QtPlatform::runCprSettingsDialog(CprSettingsForm &form)
{
    CCprSettingsDlg dialog(form, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::runPrintSetup()
{
    if (QPrinter *p = printer()) {
        QtReportDialogs::runPrintSetup(m_parent, *p);
        return;
    }
    showError(printUnavailable(), texts().GetText(TextId::Caption));
}
