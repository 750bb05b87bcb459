#pragma once

#include "app/PrintSupport.h"

#include <QObject>

// The printing plugin: QPrinter, QPrintDialog and QPageSetupDialog of Qt PrintSupport.
class QtPrintDialogs : public QObject, public PrintSupport
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PrintSupport_iid)
    Q_INTERFACES(PrintSupport)
public:
    std::shared_ptr<QPrinter> newPrinter() override;
    PrintOutcome runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer) override;
    PrintOutcome print(const PrintJob &job, QPrinter &printer, int fromPage, int toPage) override;
    bool runPageSetup(QWidget *parent, QPrinter &printer) override;
};
