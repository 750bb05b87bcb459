#pragma once

#include "base/PrintOutcome.h"

#include <QByteArray>
#include <QString>
#include <QtPlugin>
#include <functional>
#include <memory>

class QPageLayout;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

// What the print path needs of a report: its name, its pages, how it paints them on a printer
// (pages from..to, 0 for the first or the last), and how it writes them whole into a PDF file
// for a paper.
struct PrintJob
{
    QString documentName;
    int pageCount = 0;
    std::function<PrintOutcome(const QString &path, const QPageLayout &, int from, int to)> writePdf;
    std::function<bool(QPagedPaintDevice &, int from, int to)> print;
};

// What the printing plugin gives the program: the printer, the print and page setup dialogs
// and the printing itself (the plugin holds the Qt PrintSupport part, so that the program
// loads it only when printing is first used).
class PrintSupport
{
public:
    virtual ~PrintSupport() = default;

    // A printer at high resolution over all of the paper it reaches, without margins (the
    // reports bring their own). The pointer deletes it with the plugin's code.
    virtual std::shared_ptr<QPrinter> newPrinter() = 0;
    // The print dialog for the job's pages on printer (its paper and orientation as the print
    // setup left them), then the chosen pages on the chosen printer or PDF file.
    virtual PrintOutcome runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer) = 0;
    // Pages from..to (0: the first or last page) on a printer as the dialog left it.
    virtual PrintOutcome print(const PrintJob &job, QPrinter &printer, int fromPage, int toPage) = 0;
    // The page setup dialog over printer; true when accepted.
    virtual bool runPageSetup(QWidget *parent, QPrinter &printer) = 0;

    // The plugin, loaded at the first call; null when it cannot be, with the reason in error.
    static PrintSupport *load(QString *error);
};

#define PrintSupport_iid "org.ravelin.PrintSupport/1"
Q_DECLARE_INTERFACE(PrintSupport, PrintSupport_iid)

// The plugin's name for ProgramPlugin.
inline constexpr char PrintSupportPluginName[] = "ravelin_print_support";
