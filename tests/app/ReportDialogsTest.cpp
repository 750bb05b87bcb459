// The widgets behind the report services: the report menu under the cursor and the print
// dialog that prints the selection report (here into a PDF file).
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "base/ContextMenuTemplate.h"
#include "app/QtReportDialogs.h"
#include "app/ReportFixture.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
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
    EXPECT_FALSE(QtReportDialogs::printSelectionReport(nullptr, report, printer));
    EXPECT_FALSE(QFileInfo::exists(cancelledPdf));

    const QString pdf = dir.file("printed.pdf");
    printer.setOutputFileName(pdf);
    int maximum = 0;
    closePrintDialog(true, &maximum);
    EXPECT_TRUE(QtReportDialogs::printSelectionReport(nullptr, report, printer));
    EXPECT_EQ(maximum, 2);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(60000);
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\n")));
}

} // namespace
