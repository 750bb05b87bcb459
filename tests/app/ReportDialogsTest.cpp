// The widgets behind the report services: the report menu under the cursor and the print
// dialog that prints the selection report (here into a PDF file).
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "base/ContextMenuTemplate.h"
#include "app/QtPlatform.h"
#include "app/QtReportDialogs.h"
#include "app/ReportFixture.h"
#include "archive/OutputTarget.h"
#include "base/ProgramPlugin.h"
#include "report/CprQualityReport.h"
#include "report/SelectionReportPainter.h"
#include "support/PdfWords.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs act on the popup menu (or the modal dialog) the code under test opens, once it is up.
void whenShown(bool popup, std::function<void(QWidget *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, popup, act] {
        QWidget *shown = popup ? nullptr : QApplication::activeModalWidget();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (popup && qobject_cast<QMenu *>(w) && w->isVisible())
                shown = w;
        if (!shown || !shown->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(shown);
    });
    poll->start();
}

class ReportDialogsTest : public ReportFixture, public ::testing::Test
{
protected:
    // A report of five pieces (two pages) of the selected case.
    SelectionReport fivePieces()
    {
        const int slot = addCase();
        for (int32_t start : {10000, 30000, 50000, 70000, 90000})
            view.store.AddSegment(slot, start, start + 2000);
        const CaseRecord *c = view.store.caseAt(slot);
        return SelectionPrint::report(c, SelectionPrint::buildPrintList(SelectionPrint::sortedSegments(c->segments)),
                                      1);
    }

    // Closes the print dialog once it is up: accepted or rejected.
    static void closePrintDialog(bool accept, int *seenMaximum = nullptr)
    {
        whenShown(false, [accept, seenMaximum](QWidget *shown) {
            auto *dialog = qobject_cast<QPrintDialog *>(shown);
            ASSERT_NE(dialog, nullptr);
            if (seenMaximum)
                *seenMaximum = dialog->maxPage();
            accept ? dialog->accept() : dialog->reject();
        });
    }
};

TEST_F(ReportDialogsTest, ReportMenuOpensTenPixelsBelowTheCursorWithEcgWaveformGreyed)
{
    QPoint shownAt;
    bool waveformEnabled = true;
    whenShown(true, [&](QWidget *shown) {
        auto *menu = qobject_cast<QMenu *>(shown);
        ASSERT_NE(menu, nullptr);
        shownAt = menu->pos();
        waveformEnabled = ContextMenuBuilder::findAction(menu, CommandId::EcgWaveform)->isEnabled();
        menu->setActiveAction(ContextMenuBuilder::findAction(menu, CommandId::IncidentLog));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    const int chosen = QtReportDialogs::showReportMenu(nullptr, ContextMenus::submenu(texts, ContextSubmenu::Report),
                                                       {CommandId::EcgWaveform});
    EXPECT_EQ(chosen, CommandId::IncidentLog);
    EXPECT_FALSE(waveformEnabled);
    EXPECT_EQ(shownAt, ContextMenus::reportMenuPosition(QCursor::pos()));
}

TEST_F(ReportDialogsTest, AnAcceptedPrintDialogPrintsEveryPageACancelledOneNothing)
{
    const SelectionReport report = fivePieces();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString cancelledPdf = dir.file("cancelled.pdf");
    printer.setOutputFileName(cancelledPdf);
    closePrintDialog(false);
    EXPECT_EQ(QtReportDialogs::printSelectionReport(nullptr, report, printer).result,
              PrintOutcome::Result::Cancelled);
    EXPECT_FALSE(QFileInfo::exists(cancelledPdf));

    const QString pdf = dir.file("printed.pdf");
    printer.setOutputFileName(pdf);
    int maximum = 0;
    closePrintDialog(true, &maximum);
    EXPECT_EQ(QtReportDialogs::printSelectionReport(nullptr, report, printer).result,
              PrintOutcome::Result::Printed);
    EXPECT_EQ(maximum, 2);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(60000);
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\n")));
}

TEST_F(ReportDialogsTest, TheCprQualityReportGoesThroughTheSamePrintDialog)
{
    const int slot = addCase();
    caseAt(slot).cprFeedback = {{1000, 55}, {1550, 55}, {9050, 55}, {9600, 55}};
    const CprQualityReport report = makeCprQualityReport(caseAt(slot), true, {}, CprReviewSettings(), texts);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.file("cpr.pdf");
    printer.setOutputFileName(pdf);
    int maximum = 0;
    closePrintDialog(true, &maximum);
    EXPECT_EQ(QtReportDialogs::printCprQualityReport(nullptr, report, printer).result, PrintOutcome::Result::Printed);
    EXPECT_EQ(maximum, 2) << "the summary and pauses, then the hands-off time";
    EXPECT_EQ(printer.docName(), "CPR quality report");
    const QList<PdfPage> pages = pdfPages(pdf);
    if (pages.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(pages.size(), 2);
    EXPECT_FALSE(pages[0].word("Definitions").text.isEmpty());
    EXPECT_FALSE(pages[0].word("7.5").text.isEmpty()) << "the pause of 7500 ms";
    EXPECT_FALSE(pages[1].word("Hands-off").text.isEmpty());
}

TEST_F(ReportDialogsTest, PrintSetupsLandscapeReachesTheNextPrintScaledToFitThePage)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const SelectionReport report = fivePieces();
    QtPlatform program;
    ASSERT_NE(program.printer(), nullptr) << "the program's printing plugin is not there";
    QPrinter &printer = *program.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("landscape.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));

    // File > Print setup: the reviewer turns the paper to landscape.
    bool sawLandscape = false;
    whenShown(false, [&](QWidget *shown) {
        auto *setup = qobject_cast<QPageSetupDialog *>(shown);
        ASSERT_NE(setup, nullptr);
        auto *landscape = setup->findChild<QRadioButton *>(QStringLiteral("landscape"));
        sawLandscape = landscape != nullptr;
        if (landscape)
            landscape->click();
        setup->accept();
    });
    program.runPrintSetup();
    ASSERT_TRUE(sawLandscape);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    closePrintDialog(true);
    const PrintOutcome outcome = program.printSelectionReport(report);
    ASSERT_EQ(outcome.result, PrintOutcome::Result::Printed) << outcome.reason.toStdString();
    const QList<PdfPage> pages = pdfPages(dir.file("landscape.pdf"));
    ASSERT_EQ(pages.size(), 2);
    const PdfPage &page = pages[0];
    EXPECT_NEAR(page.width, 842, 0.5); // A4 across
    EXPECT_NEAR(page.height, 595, 0.5);

    // The layout with its 1000-twip margins, scaled to the page's height (15800 twips to
    // 595 points) and centred across: nothing is cut off, nothing runs off the page.
    const double scale = page.height * 20 / 15800;
    const double left = (page.width * 20 - 12000 * scale) / 2;
    const auto points = [&](double twips) { return twips * scale / 20; };
    for (const PdfWord &w : page.words) {
        EXPECT_GE(w.xMin, left / 20 + points(900)) << w.text.toStdString();
        EXPECT_LE(w.xMax, left / 20 + points(11100)) << w.text.toStdString();
        EXPECT_GE(w.yMin, points(900)) << w.text.toStdString();
        EXPECT_LE(w.yMax, points(14900)) << w.text.toStdString();
    }
    const PdfWord title = page.word("Lumeron");
    EXPECT_NEAR(title.xMin, left / 20 + points(1000), 1.5);
    EXPECT_GE(title.yMin, points(1000) - 1);
    EXPECT_LE(title.yMax, points(1425) + 1);
    const PdfWord footer = page.word("recorded");
    EXPECT_GE(footer.yMin, points(14400) - 1);
    EXPECT_LE(footer.yMax, points(14800) + 1);
    EXPECT_NEAR((footer.xMin + page.word("software").xMax) / 2, left / 20 + points(6000), 2);

    // ravelin-cli prints this very page for the same paper.
    const QString cli = dir.file("cli.pdf");
    QFile out(cli);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(SelectionReportPainter::pdf(
        report, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF())));
    out.close();
    const QList<PdfPage> cliPages = pdfPages(cli);
    ASSERT_EQ(cliPages.size(), 2);
    ASSERT_EQ(cliPages[0].words.size(), page.words.size());
    for (qsizetype i = 0; i < page.words.size(); ++i) {
        EXPECT_EQ(cliPages[0].words[i].text, page.words[i].text);
        EXPECT_NEAR(cliPages[0].words[i].xMin, page.words[i].xMin, 0.01);
        EXPECT_NEAR(cliPages[0].words[i].yMin, page.words[i].yMin, 0.01);
    }
}

TEST_F(ReportDialogsTest, APrintThatCannotBeStartedOrWrittenSaysWhyAndKeepsTheFileThere)
{
    const SelectionReport report = fivePieces();
    const QString blocked = dir.mkdir("blocked.pdf");     // a folder where the file should go
    const QString missingFolder = dir.file("no/such/folder/report.pdf");
    const QString existing = dir.write("existing.pdf", "an earlier report");
    struct Row {
        const char *what;
        QPrinter::OutputFormat format;
        QString file;
        QString printerName;
        QString reason; // part of the reason given
    };
    const Row rows[] = {
        {"a folder in the way", QPrinter::PdfFormat, blocked, {}, blocked},
        {"a folder that does not exist", QPrinter::PdfFormat, missingFolder, {}, missingFolder},
        {"no printer and no file", QPrinter::PdfFormat, {}, {}, "No printer is available"},
        // Without a print system Qt falls back to PDF, and there is no file either.
        {"a printer that is not there", QPrinter::NativeFormat, {}, "no-such-printer",
         QPrinterInfo::availablePrinters().isEmpty() ? "No printer is available" : "\"no-such-printer\""},
    };
    for (const Row &row : rows) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(row.format);
        if (row.format == QPrinter::PdfFormat)
            printer.setOutputFileName(row.file);
        else
            printer.setPrinterName(row.printerName);
        const PrintOutcome outcome = QtReportDialogs::printReport(report, printer);
        EXPECT_EQ(outcome.result, PrintOutcome::Result::Failed) << row.what;
        EXPECT_TRUE(outcome.reason.contains(row.reason)) << row.what << ": " << outcome.reason.toStdString();
    }
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_FALSE(QFileInfo::exists(missingFolder));

    // A file that can be written replaces the one there whole.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(existing);
    ASSERT_EQ(QtReportDialogs::printReport(report, printer).result, PrintOutcome::Result::Printed);
    EXPECT_TRUE(dir.read("existing.pdf").startsWith("%PDF"));
}

// A PDF is never printed over a file an open case is read from: the print fails with the
// reason, which the view shows, and nothing is written.
TEST_F(ReportDialogsTest, APdfIsNeverPrintedOverAFileTheOpenCaseIsReadFrom)
{
    const SelectionReport report = fivePieces();
    const QString archive = dir.write("case/rescue.aed", "the reviewed archive");
    view.store.at(view.session.selSlot).sourcePath = archive;
    QtPlatform program;
    ASSERT_NE(program.printer(), nullptr) << "the program's printing plugin is not there";
    program.setOutputInputs([this] { return OutputTarget::openCaseInputs(view.store); });
    QPrinter &printer = *program.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);

    // Files not there yet, so that the dialog has nothing to ask about.
    for (const QString &target : {dir.file("case/CPR Feedback.bin"), archive + ".review.json"}) {
        printer.setOutputFileName(target);
        closePrintDialog(true);
        const PrintOutcome outcome = program.printSelectionReport(report);
        EXPECT_EQ(outcome.result, PrintOutcome::Result::Failed) << target.toStdString();
        EXPECT_EQ(outcome.reason, OutputTarget::refusal(target, OutputTarget::openCaseInputs(view.store)));
        EXPECT_FALSE(QFileInfo::exists(target));
    }
    printer.setOutputFileName(archive);
    const PrintOutcome outcome = QtReportDialogs::printReport(report, printer, 0, 0, OutputTarget::openCaseInputs(view.store));
    EXPECT_EQ(outcome.result, PrintOutcome::Result::Failed);
    EXPECT_TRUE(outcome.reason.contains("is the archive being read")) << outcome.reason.toStdString();
    EXPECT_EQ(dir.read("case/rescue.aed"), QByteArray("the reviewed archive"));
}

// Without the printing plugin a print fails with the reason, which names the file looked for
// and where, and print setup says the same in one message; once the plugin is there again,
// printing works.
TEST_F(ReportDialogsTest, WithoutThePrintingPluginPrintAndPrintSetupSayWhy)
{
    const SelectionReport report = fivePieces();
    const QStringList buildFolders = ProgramPlugin::folders();
    const QString empty = dir.mkdir("no-plugins");
    ProgramPlugin::setFolders({empty});
    {
        QtPlatform program;
        program.setTexts(texts);
        EXPECT_EQ(program.printer(), nullptr);
        const PrintOutcome outcome = program.printSelectionReport(report);
        EXPECT_EQ(outcome.result, PrintOutcome::Result::Failed);
        EXPECT_TRUE(outcome.reason.startsWith("Printing is not available: libravelin_print_support.so"))
            << outcome.reason.toStdString();
        EXPECT_TRUE(outcome.reason.contains(empty)) << outcome.reason.toStdString();
        EXPECT_EQ(program.printCprQualityReport(CprQualityReport()).reason, outcome.reason);

        QStringList shown;
        whenShown(false, [&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            shown << box->text();
            box->accept();
        });
        program.runPrintSetup();
        EXPECT_EQ(shown, QStringList{outcome.reason});
    }
    ProgramPlugin::setFolders(buildFolders);
    QtPlatform program;
    ASSERT_NE(program.printer(), nullptr);
    program.printer()->setOutputFormat(QPrinter::PdfFormat);
    program.printer()->setOutputFileName(dir.file("again.pdf"));
    closePrintDialog(true);
    EXPECT_EQ(program.printSelectionReport(report).result, PrintOutcome::Result::Printed);
    EXPECT_TRUE(dir.read("again.pdf").startsWith("%PDF"));
}

} // namespace
